#include "database_paths.h"

#include "platform/program_directory.h"

#include <QFileInfo>

namespace database {

using platform::databaseDirectory;
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

QString mhtTextPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral("_MHTtext.txt");
}

QString titlePositionsPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name + QStringLiteral("_TitelPositionen.txt");
}

QString sortedListPath(const QString& programDirectory, const QString& name) {
    return databaseDirectory(programDirectory) + name +
           QStringLiteral("_Phrasen_Woerter_Utf8Liste.txt");
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

bool databaseExists(const QString& programDirectory, const QString& name) {
    return QFileInfo::exists(documentListPath(programDirectory, name));
}

} // namespace database
