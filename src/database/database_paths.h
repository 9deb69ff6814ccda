#pragma once

#include <QString>

// Where the files of a database named <name> lie below the program directory.
namespace database {

QString documentListPath(const QString& programDirectory, const QString& name); // <name>.dat
QString databaseTextPath(const QString& programDirectory,
                         const QString& name); // <name>_UTF8Dokument.txt
QString indexLogPath(const QString& programDirectory, const QString& name); // <name>.log
QString mhtTextPath(const QString& programDirectory, const QString& name);  // <name>_MHTtext.txt
// <name>_TitelPositionen.txt, the file-position list of the viewer
QString titlePositionsPath(const QString& programDirectory, const QString& name);
// <name>_Phrasen_Woerter_Utf8Liste.txt, the sorted word and phrase list
QString sortedListPath(const QString& programDirectory, const QString& name);
// <name>_Phrasen_Woerter_MHTListe.txt, the same list of the variant text store
QString mhtSortedListPath(const QString& programDirectory, const QString& name);
QString searchHistoryPath(const QString& programDirectory,
                          const QString& name); // beside the program
QString mhtSearchHistoryPath(const QString& programDirectory, const QString& name);

// A database exists exactly when its document list does.
bool databaseExists(const QString& programDirectory, const QString& name);

} // namespace database
