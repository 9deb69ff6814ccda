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

// The history of a database, read with mark detection: the history file,
// else the second form <name>_MHT_Suchwoerterliste.txt, else empty.
QStringList loadSearchHistory(const QString& programDirectory, const QString& databaseName);

// After a search: the history is saved only when it holds entries and the
// search found something, so a failed search leaves the file as it was.
bool shouldSaveSearchHistory(const QStringList& history, bool searchFoundSomething);

} // namespace database
