#pragma once

#include <QString>
#include <QStringList>

// The set of databases is the set of document lists in Datenbank.
namespace database {

// Completes the interrupted switches of the databases first (see
// generation_switch.h), so the names listed are those of whole databases.
// Every entry of Datenbank whose name ends in ".dat" in any letter case
// (files and, as the shell lists them, folders too), without names holding
// "_mht.dat", each shown without its final extension, and only where that is
// a valid database name (database_name.h); ordered by lower-cased name so
// every file system lists them alike.
QStringList scanCatalogue(const QString& programDirectory);

// Deletes the files of a database that exist, in a fixed order, and
// returns those that are left (native paths; empty when all went). The
// document list goes last and only when every other file went, else it is
// named first among those left:
// a database that could not be deleted whole stays in the catalogue, where
// it can be deleted again. A switch of its files that did not finish is
// completed first, so no reader brings the staged files back afterwards.
// The bookmark in the settings store stays.
QStringList deleteDatabaseFiles(const QString& programDirectory, const QString& name);

// The German message for files a deletion left: "Die Datenbank "N" konnte
// nicht vollständig gelöscht werden. ..." and one path per line.
QString filesLeftMessage(const QString& name, const QStringList& paths);

// The paths deleteDatabaseFiles looks at, in its order.
QStringList databaseFilePaths(const QString& programDirectory, const QString& name);

} // namespace database
