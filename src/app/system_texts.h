#pragma once

#include "platform/drive_map.h"
#include "platform/os_family.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

namespace app {

// The windows' texts that describe the system the program runs on. On Windows
// each is the program's original text, byte for byte; elsewhere it says what
// really happens there. Each text is chosen here and nowhere else.
namespace systemtexts {

// The three note lines of the new-database dialog: how the drive file
// list is made. Off Windows the tool needs no rights and nothing is asked, so
// the third line is empty.
QStringList fileListToolNote(platform::OsFamily os);

// The hint, once per run, that files on drive C: want administrator rights.
// Nothing off Windows, where drive letters are the program's own mapping.
std::optional<QString> driveCHint(platform::OsFamily os);

// The refusal of a drive that the file-list tool cannot walk. On Windows the
// check is the NTFS file system; elsewhere the drive's mapped folder must lie
// on a local file system (not a network share, not one of the kernel's).
QString unindexableDriveMessage(platform::OsFamily os, QChar drive,
                                const std::optional<QString>& mappedDirectory);

// The example of a path entry in the search window's hint: a Windows folder
// on Windows; elsewhere a file in the user's own home folder, in the form the
// drive map gives it (#Z:\home\anna\Texte\Beispiel.odt).
QString pathEntryExample(platform::OsFamily os, const platform::DriveMap& drives,
                         const QString& homeFolder);

// The hint label of the search window, three lines ending in the example.
QString searchHintText(const QString& pathEntryExample);

} // namespace systemtexts

} // namespace app
