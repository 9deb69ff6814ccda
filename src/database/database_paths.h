#pragma once

#include <QString>

// Where the files of a database named <name> lie below the program directory.
namespace database {

QString documentListPath(const QString& programDirectory, const QString& name); // <name>.dat
QString databaseTextPath(const QString& programDirectory,
                         const QString& name); // <name>_UTF8Dokument.txt
QString indexLogPath(const QString& programDirectory, const QString& name); // <name>.log
QString filePositionListPath(const QString& programDirectory,
                             const QString& name); // <name>_TitelPositionen.txt
QString mhtTextPath(const QString& programDirectory, const QString& name); // <name>_MHTtext.txt
QString searchHistoryPath(const QString& programDirectory,
                          const QString& name); // beside the program
QString mhtSearchHistoryPath(const QString& programDirectory, const QString& name);

// A database exists exactly when its document list does.
bool databaseExists(const QString& programDirectory, const QString& name);

} // namespace database
