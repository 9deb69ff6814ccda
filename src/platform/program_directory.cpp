#include "program_directory.h"

#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

// The messages name the directory as the program's own data names it, with
// backslashes, whatever the platform writes.
QString shownPath(const QString& programDirectory, const QString& rest) {
    return QDir::toNativeSeparators(programDirectory + rest);
}

bool makeDirectory(const QString& path) {
    return QFileInfo(path).isDir() || QDir().mkpath(path);
}

} // namespace

QString withTrailingSeparator(const QString& directory) {
    QString native = QDir::toNativeSeparators(directory);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

QString decideProgramDirectory(const QStringList& arguments, const QString& executableDirectory,
                               const QString& currentDirectory) {
    const bool hasFirstArgument = arguments.size() > 1 && !arguments.at(1).isEmpty();
    return withTrailingSeparator(hasFirstArgument ? executableDirectory : currentDirectory);
}

QString databaseDirectory(const QString& programDirectory) {
    return withTrailingSeparator(programDirectory) + QStringLiteral("Datenbank") +
           QDir::separator();
}

QString tempDirectory(const QString& programDirectory) {
    return databaseDirectory(programDirectory) + QStringLiteral("Temp") + QDir::separator();
}

QString unpackDirectory(const QString& programDirectory) {
    return tempDirectory(programDirectory) + QStringLiteral("ZipTemp") + QDir::separator();
}

std::optional<QString> makeUnpackDirectory(const QString& programDirectory) {
    const QString unpack = unpackDirectory(programDirectory);
    if (makeDirectory(unpack))
        return std::nullopt;
    return QStringLiteral("Kann das temporäre Verzeichnis ") + unpack +
           QStringLiteral(" nicht anlegen!");
}

QStringList makeWorkingDirectories(const QString& programDirectory) {
    const QString program = withTrailingSeparator(programDirectory);
    QStringList problems;
    for (const QString& folder : {QStringLiteral("Datenbank"), QStringLiteral("Datenbank/Temp")}) {
        if (!makeDirectory(program + folder))
            problems.append(QStringLiteral("Kann das Verzeichnis ") + shownPath(program, folder) +
                            QStringLiteral(" nicht anlegen!"));
    }
    if (const std::optional<QString> problem = makeUnpackDirectory(program))
        problems.append(*problem);
    return problems;
}

void emptyTempDirectory(const QString& programDirectory, const QStringList& keep) {
    QDir temp(tempDirectory(programDirectory));
    if (!temp.exists())
        return;
    const auto entries =
        temp.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (keep.contains(entry.fileName()))
            continue;
        if (entry.isDir() && !entry.isSymLink()) {
            QDir(entry.absoluteFilePath()).removeRecursively();
        } else if (!QFile::remove(entry.absoluteFilePath())) {
            // Windows keeps a read-only file; the shell's deletion removes it.
            QFile::setPermissions(entry.absoluteFilePath(),
                                  entry.permissions() | QFileDevice::WriteUser);
            QFile::remove(entry.absoluteFilePath());
        }
    }
}

} // namespace platform
