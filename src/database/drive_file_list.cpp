#include "drive_file_list.h"

#include "platform/program_directory.h"

#include <QDir>
#include <QFileInfo>

namespace database {

QString driveFileListName(QChar driveLetter) {
    return QStringLiteral("Haupt_Dateinamen_Liste_Laufwerk_") + QString(driveLetter) +
           QStringLiteral(".txt");
}

QString driveFileListPath(const QString& programDirectory, QChar driveLetter) {
    return platform::databaseDirectory(programDirectory) + driveFileListName(driveLetter);
}

std::optional<QString> findDriveFileList(const QString& programDirectory, QChar driveLetter) {
    for (QChar letter : {driveLetter, driveLetter.toUpper(), driveLetter.toLower()}) {
        const QString path = driveFileListPath(programDirectory, letter);
        if (QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}

bool isDittoLine(QStringView line) {
    return line.startsWith(QStringLiteral("\" "));
}

void appendFullLine(QByteArray& out, QByteArrayView windowsDirectoryUtf8,
                    QByteArrayView fileNameUtf8) {
    out.append(windowsDirectoryUtf8);
    out.append(fileNameUtf8);
    out.append("\r\n", 2);
}

void appendDittoLine(QByteArray& out, QByteArrayView fileNameUtf8) {
    out.append("\" ", 2);
    out.append(fileNameUtf8);
    out.append("\r\n", 2);
}

} // namespace database
