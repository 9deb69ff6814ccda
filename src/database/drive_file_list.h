#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// The drive file list Datenbank/Haupt_Dateinamen_Liste_Laufwerk_<X>.txt:
// UTF-8 without mark, CR LF after every line. A full line holds the
// Windows-form path of a file; a ditto line ('"' + blank + file name) names a
// further file in the directory of the nearest full line before it.
namespace database {

QString driveFileListName(QChar driveLetter);
QString driveFileListPath(const QString& programDirectory, QChar driveLetter);

// The list of a drive below a program directory, found whatever the case of
// the drive letter in its name (file systems that tell cases apart).
std::optional<QString> findDriveFileList(const QString& programDirectory, QChar driveLetter);

bool isDittoLine(QStringView line);

// The two line forms, appended with their CR LF; directory (with its final
// backslash) and name are given as the UTF-8 bytes that go into the file.
void appendFullLine(QByteArray& out, QByteArrayView windowsDirectoryUtf8,
                    QByteArrayView fileNameUtf8);
void appendDittoLine(QByteArray& out, QByteArrayView fileNameUtf8);

} // namespace database
