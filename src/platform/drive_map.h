#pragma once

#include "settings_store.h"

#include <QMap>
#include <QString>

#include <optional>

namespace platform {

// The one place where a Windows-form path (D:\Texte\Brief.odt), as the
// program's data holds it, becomes a native path and back. On Windows both
// directions are the identity. Elsewhere each drive letter maps to a
// directory: the settings value Laufwerk_<X>, overridden for one run with
// setDrive(); with nothing stored, Z: is the root "/".
class DriveMap {
public:
    // Identity map on Windows, where a letter given a folder with setDrive
    // stands for that folder as `subst` would make it (the command line's
    // --drive, the tests); elsewhere only the default Z: = "/".
    DriveMap();
    // Reads Laufwerk_A .. Laufwerk_Z from the store (not on Windows).
    explicit DriveMap(SettingsStore& store);

    void setDrive(QChar letter, const QString& nativeDirectory);
    void removeDrive(QChar letter);

    // The native directory of a drive letter (any letter case), without a
    // trailing separator except for the root "/".
    std::optional<QString> driveDirectory(QChar letter) const;

    // D:\Texte\Brief.odt -> /media/daten/Texte/Brief.odt. Nothing when the
    // path is not in Windows form or its drive is not mapped.
    std::optional<QString> toNative(const QString& windowsPath) const;

    // The reverse: the letter whose directory is the longest prefix of the
    // path. Nothing when no mapped directory holds the path.
    std::optional<QString> toWindows(const QString& nativePath) const;

    // The mappings in force, letter -> directory, for handing on to a tool.
    QMap<QChar, QString> drives() const { return drives_; }

private:
    QMap<QChar, QString> drives_; // upper-case letter -> native directory
    bool identity_ = false;
};

// "X=DIR" as given on a command line; nothing when malformed.
std::optional<std::pair<QChar, QString>> parseDriveOption(const QString& option);

} // namespace platform
