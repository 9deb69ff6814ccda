#pragma once

#include <QString>

#include <optional>

// Where the files of a database named <name> lie below the program directory.
namespace database {

QString documentListPath(const QString& programDirectory, const QString& name); // <name>.dat
QString databaseTextPath(const QString& programDirectory,
                         const QString& name); // <name>_UTF8Dokument.txt
QString indexLogPath(const QString& programDirectory, const QString& name); // <name>.log
QString filePositionListPath(const QString& programDirectory,
                             const QString& name); // <name>_TitelPositionen.txt
QString mhtTextPath(const QString& programDirectory, const QString& name); // <name>_MHTtext.txt
// <name>_Textcache.bin: what the last index run extracted, per document.
QString textCachePath(const QString& programDirectory, const QString& name);
// <name>_Phrasen_Woerter_MHTListe.txt, the sorted list of the variant text store
QString mhtSortedListPath(const QString& programDirectory, const QString& name);
QString searchHistoryPath(const QString& programDirectory,
                          const QString& name); // beside the program
QString mhtSearchHistoryPath(const QString& programDirectory, const QString& name);
QString sortedListPath(const QString& programDirectory,
                       const QString& name); // <name>_Phrasen_Woerter_Utf8Liste.txt

// The piece files of a sorted-list build in Datenbank/Temp: "SplitDokument"
// and the piece number with at least three digits, then ".txt".
QString listPieceFileName(int number);
// The piece number a file name stands for; nothing for any other name.
std::optional<int> listPieceNumber(const QString& fileName);

// A database exists exactly when its document list does.
bool databaseExists(const QString& programDirectory, const QString& name);

} // namespace database
