#pragma once

#include <QString>

// Database names come from users, from the command line and from the file
// names found in Datenbank; every file of a database is named after it. A
// name is checked before any file operation, so that no name can reach a
// file outside Datenbank or one the file system cannot make.
namespace database {

enum class NameProblem {
    None,
    Empty,
    // "/", "\", "..", a control character (a line break too); on Windows
    // also the characters its file names cannot hold.
    ForbiddenCharacter,
    // With the longest ending the program adds, a file name would be longer
    // than the file system allows.
    TooLong,
};

NameProblem databaseNameProblem(const QString& name);
inline bool isValidDatabaseName(const QString& name) {
    return databaseNameProblem(name) == NameProblem::None;
}

// The German message for a name that is refused; empty for a good one. It
// does not repeat the name, which may hold control characters.
QString databaseNameMessage(const QString& name);

// The longest name the check lets pass, in the units the file system counts
// (UTF-8 bytes; UTF-16 code units on Windows).
int longestDatabaseName();

} // namespace database
