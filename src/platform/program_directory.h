#pragma once

#include "prompts.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// The program directory: the executable's directory when the program was
// given any first argument, else the current directory. Always ends in the
// native separator.
QString decideProgramDirectory(const QStringList& arguments, const QString& executableDirectory,
                               const QString& currentDirectory);

QString withTrailingSeparator(const QString& directory);

// Native paths of the working directories below a program directory.
QString databaseDirectory(const QString& programDirectory); // .../Datenbank/
QString tempDirectory(const QString& programDirectory);     // .../Datenbank/Temp/
QString unpackDirectory(const QString& programDirectory);   // .../Datenbank/Temp/ZipTemp/

// Creates Datenbank, Datenbank/Temp and Datenbank/Temp/ZipTemp/ where missing.
// A directory that cannot be made is reported with its warning; start-up goes
// on. Returns false when any failed.
bool ensureWorkingDirectories(const QString& programDirectory, Prompts& prompts);

// Creates the unpack folder when missing, reporting a failure.
bool ensureUnpackDirectory(const QString& programDirectory, Prompts& prompts);
// The same without a box: the message when the folder could not be made.
[[nodiscard]] std::optional<QString> makeUnpackDirectory(const QString& programDirectory);

// Deletes everything inside Datenbank/Temp (files and sub-folders), silently,
// but for the entries named in `keep`.
void emptyTempDirectory(const QString& programDirectory, const QStringList& keep = {});

} // namespace platform
