#pragma once

#include <QString>
#include <QStringList>

// The search-term history of a database: <name>_Suchwoerterliste.txt in the
// program directory, one search text per line, newest first, at most 50.
namespace database {

inline constexpr int kSearchHistoryLimit = 50;

// Files a search text (as typed, not trimmed) in the history: an equal entry
// (case-sensitive) goes, empty entries go, the text goes on top, the
// placeholder entry "Sie_haben_keinen_Suchtext_eingegeben!" goes, and the
// oldest entries beyond 50 go.
QStringList updateSearchHistory(QStringList history, const QString& searchText);

// Written as UTF-16LE with mark, CR LF after every line, replacing the file.
bool saveSearchHistory(const QStringList& history, const QString& programDirectory,
                       const QString& databaseName, QString* error = nullptr);

// The entries of a history file that are offered, read with mark detection:
// the first 50 lines, and no more of the file than they take (a hand-edited
// file may be of any size). Empty when the file cannot be read.
QStringList readSearchHistoryFile(const QString& fileName);

// The history of a database: the history file, else the second form
// <name>_MHT_Suchwoerterliste.txt, else empty.
QStringList loadSearchHistory(const QString& programDirectory, const QString& databaseName);

// After a search: the history is saved only when it holds entries and the
// search found something, so a failed search leaves the file as it was.
bool shouldSaveSearchHistory(const QStringList& history, bool searchFoundSomething);

} // namespace database
