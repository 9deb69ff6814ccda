#include "catalogue.h"

#include "database_name.h"
#include "database_paths.h"
#include "generation_switch.h"

#include "platform/program_directory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace database {

QStringList scanCatalogue(const QString& programDirectory) {
    completeInterruptedSwitches(programDirectory);
    QDir directory(platform::databaseDirectory(programDirectory));
    const auto entries =
        directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QStringList names;
    for (const QString& entry : entries) {
        if (!entry.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive))
            continue;
        if (entry.contains(QStringLiteral("_mht.dat"), Qt::CaseInsensitive))
            continue;
        // A file whose name gives no valid database name is not offered: a
        // name with a line break would be listed as two, one with ".." could
        // lead a deletion out of Datenbank.
        const QString name = entry.chopped(4);
        if (isValidDatabaseName(name))
            names.append(name);
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

namespace {

// True when the file is gone afterwards (or was never there).
bool removeIfPresent(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return QFile::remove(path);
}

} // namespace

QStringList deleteDatabaseFiles(const QString& programDirectory, const QString& name) {
    completeInterruptedSwitch(programDirectory, name);
    QStringList left;
    const QStringList paths = databaseFilePaths(programDirectory, name);
    // paths.first() is the document list.
    for (const QString& path : paths.mid(1)) {
        if (!removeIfPresent(path))
            left.append(QDir::toNativeSeparators(path));
    }
    // A switch that could not be completed must not come back later.
    const QString journal = switchJournalPath(programDirectory, name);
    QFile::remove(journal + QStringLiteral(".neu"));
    if (!removeIfPresent(journal))
        left.append(QDir::toNativeSeparators(journal));
    QDir(stagingFolder(programDirectory, name)).removeRecursively();
    // Kept when anything else stayed, and then named among what is left.
    if (!left.isEmpty() ? QFileInfo::exists(paths.first()) : !removeIfPresent(paths.first()))
        left.prepend(QDir::toNativeSeparators(paths.first()));
    return left;
}

QString filesLeftMessage(const QString& name, const QStringList& paths) {
    return QStringLiteral("Die Datenbank \"") + name +
           QStringLiteral("\" konnte nicht vollständig gelöscht werden. Diese Dateien konnten "
                          "nicht entfernt werden:") +
           QStringLiteral("\r\n") + paths.join(QStringLiteral("\r\n"));
}

} // namespace database
