#pragma once

#include <QString>

#include <optional>

// The hand-off file Datenbank/Suchtext.txt below the control directory: a
// search text written by a sibling edition of the program.
namespace search {

QString handOffFilePath(const QString& controlDirectory);

// The whole text, lines read with mark detection and joined with CR LF;
// nothing when the file is missing or unreadable.
std::optional<QString> readHandOffSearchText(const QString& controlDirectory);

// Removes the file once its text has been taken over.
bool deleteHandOffFile(const QString& controlDirectory);

} // namespace search
