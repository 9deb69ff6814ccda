#pragma once

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
// The warnings for the directories that could not be made, in that order
// (start-up shows them and goes on); empty when all are there.
[[nodiscard]] QStringList makeWorkingDirectories(const QString& programDirectory);

// Creates the unpack folder when missing: the warning when it could not be
// made.
[[nodiscard]] std::optional<QString> makeUnpackDirectory(const QString& programDirectory);

// Deletes everything inside Datenbank/Temp (files and sub-folders), silently,
// but for the entries named in `keep`.
void emptyTempDirectory(const QString& programDirectory, const QStringList& keep = {});

} // namespace platform
