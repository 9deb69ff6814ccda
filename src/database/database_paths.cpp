#include "database_paths.h"

#include "platform/program_directory.h"

#include <QFileInfo>

namespace database {

using platform::databaseDirectory;
using platform::tempDirectory;
using platform::withTrailingSeparator;

QString documentListPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral(".dat");
}

QString databaseTextPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral("_UTF8Dokument.txt");
}

QString indexLogPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral(".log");
}

QString filePositionListPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral("_TitelPositionen.txt");
}

QString mhtTextPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral("_MHTtext.txt");
}

QString textCachePath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral("_Textcache.bin");
}

QString mhtSortedListPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name +
           QStringLiteral("_Phrasen_Woerter_MHTListe.txt");
}

QString searchHistoryPath(const QString& programDirectory, const QString& name) {
    return withTrailingSeparator(programDirectory) + name + QStringLiteral("_Suchwoerterliste.txt");
}

QString mhtSearchHistoryPath(const QString& programDirectory, const QString& name) {
    return withTrailingSeparator(programDirectory) + name +
           QStringLiteral("_MHT_Suchwoerterliste.txt");
}

QString sortedListPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name +
           QStringLiteral("_Phrasen_Woerter_Utf8Liste.txt");
}

namespace {
constexpr QLatin1StringView kListPiecePrefix{"SplitDokument"};
constexpr QLatin1StringView kListPieceSuffix{".txt"};
} // namespace

QString listPieceFileName(int number) {
    return kListPiecePrefix + QString::number(number).rightJustified(3, u'0') + kListPieceSuffix;
}

std::optional<int> listPieceNumber(const QString& fileName) {
    if (!fileName.startsWith(kListPiecePrefix) || !fileName.endsWith(kListPieceSuffix))
        return std::nullopt;
    const QStringView digits = QStringView(fileName).sliced(
        kListPiecePrefix.size(),
        fileName.size() - kListPiecePrefix.size() - kListPieceSuffix.size());
    if (digits.size() < 3)
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok || number < 1 || listPieceFileName(number) != fileName)
        return std::nullopt;
    return number;
}

bool databaseExists(const QString& programDirectory, const QString& name) {
    return QFileInfo::exists(documentListPath(programDirectory, name));
}

} // namespace database
