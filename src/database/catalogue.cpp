#include "catalogue.h"

#include "database_paths.h"

#include "platform/program_directory.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace database {

QStringList scanCatalogue(const QString& programDirectory) {
    QDir directory(platform::databaseDirectory(programDirectory));
    const auto entries =
        directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList names;
    for (const QString& entry : entries) {
        if (!entry.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive))
            continue;
        if (entry.contains(QStringLiteral("_mht.dat"), Qt::CaseInsensitive))
            continue;
        names.append(entry.chopped(4));
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.toLower() < b.toLower(); });
    return names;
}

QStringList databaseFilePaths(const QString& programDirectory, const QString& name) {
    return {
        documentListPath(programDirectory, name),     indexLogPath(programDirectory, name),
        databaseTextPath(programDirectory, name),     mhtTextPath(programDirectory, name),
        filePositionListPath(programDirectory, name), mhtSortedListPath(programDirectory, name),
        sortedListPath(programDirectory, name),       searchHistoryPath(programDirectory, name),
        mhtSearchHistoryPath(programDirectory, name), textCachePath(programDirectory, name),
    };
}

void deleteDatabaseFiles(const QString& programDirectory, const QString& name) {
    for (const QString& path : databaseFilePaths(programDirectory, name)) {
        if (QFile::exists(path))
            QFile::remove(path);
    }
}

} // namespace database
