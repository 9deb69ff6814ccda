#include "part_files.h"

#include "platform/program_directory.h"

#include <QDir>
#include <QMap>

#include <algorithm>

namespace database {
namespace {

QString partFilePrefix(const QString& name) {
    return name + QStringLiteral("_UTF8Dokument");
}

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString partNumberText(int n) {
    if (n >= 1 && n <= 9)
        return QString::number(n);
    return QLatin1Char('9') + QString::number(n);
}

std::optional<int> partNumberOfText(const QString& text) {
    if (!allDigits(text))
        return std::nullopt;
    if (text.size() == 1)
        return text.at(0) == u'0' ? std::nullopt : std::optional<int>(text.toInt());
    if (text.at(0) != u'9' || text.at(1) == u'0')
        return std::nullopt;
    bool ok = false;
    const int n = text.mid(1).toInt(&ok);
    if (!ok || n < 10)
        return std::nullopt;
    return n;
}

QString partFilePath(const QString& scratchFolder, const QString& name, int n) {
    return platform::withTrailingSeparator(scratchFolder) + partFilePrefix(name) +
           partNumberText(n) + QStringLiteral(".txt");
}

QList<QString> partFilesInMergeOrder(const QString& scratchFolder, const QString& name) {
    const QString prefix = partFilePrefix(name);
    QDir temp(scratchFolder);
    QMap<int, QString> byNumber;
    const auto files =
        temp.entryList({prefix + QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden);
    for (const QString& file : files) {
        const QString k = file.mid(prefix.size(), file.size() - prefix.size() - 4);
        if (const auto n = partNumberOfText(k))
            byNumber.insert(*n, temp.filePath(file));
    }
    return byNumber.values();
}

} // namespace database
