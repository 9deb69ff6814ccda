#include "search_handoff.h"

#include "platform/program_directory.h"
#include "textio/text_files.h"

#include <QFile>

namespace search {

QString handOffFilePath(const QString& controlDirectory) {
    return platform::databaseDirectory(controlDirectory) + QStringLiteral("Suchtext.txt");
}

std::optional<QString> readHandOffSearchText(const QString& controlDirectory) {
    const QString path = handOffFilePath(controlDirectory);
    if (!QFile::exists(path))
        return std::nullopt;
    const auto lines = textio::loadLinesWithMarkDetection(path);
    if (!lines)
        return std::nullopt;
    return lines->join(QStringLiteral("\r\n"));
}

bool deleteHandOffFile(const QString& controlDirectory) {
    return QFile::remove(handOffFilePath(controlDirectory));
}

} // namespace search
