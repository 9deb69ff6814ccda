#pragma once

#include <QString>
#include <QStringList>

// The set of databases is the set of document lists in Datenbank.
namespace database {

// Every entry of Datenbank whose name ends in ".dat" in any letter case
// (files and, as the shell lists them, folders too), without names holding
// "_mht.dat", each shown without its final extension; ordered by lower-cased
// name so every file system lists them alike.
QStringList scanCatalogue(const QString& programDirectory);

// Deletes the files of a database that exist, in a fixed order, silently.
// The bookmark in the settings store stays.
void deleteDatabaseFiles(const QString& programDirectory, const QString& name);

// The paths deleteDatabaseFiles looks at, in its order.
QStringList databaseFilePaths(const QString& programDirectory, const QString& name);

} // namespace database
