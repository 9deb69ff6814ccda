#pragma once

#include <QString>

class QFileDevice;
class QSaveFile;

// Making what was written survive a power cut: a file's bytes and a
// folder's entries (a rename, a new or removed name) reach the disk only
// when asked for. A file that is renamed into place is synced before the
// rename and its folder after it, so after a crash the name holds either
// the old bytes or all of the new ones.
namespace textio {

// Writes the file's bytes through to the disk. False (with the system's
// reason) when the file cannot be opened or the disk refuses.
bool syncFileToDisk(const QString& path, QString* error = nullptr);

// Writes a folder's entries through to the disk. On Windows, which cannot
// open a folder for this, renames are written through by the system itself
// and this does nothing.
bool syncFolderToDisk(const QString& folder, QString* error = nullptr);

// The folder that holds a file, to sync after the file was renamed there.
QString folderOf(const QString& path);

// Puts a QSaveFile in place (its bytes are synced before the rename) and
// syncs its folder, so the rename survives a crash too. Bytes that could
// not be written, even those still buffered, fail it. On failure the
// previous file stays as it was, the save file says why, and its new bytes
// are discarded when it is destroyed.
bool commitDurably(QSaveFile& file);

// Why writing the file failed, in the system's words, asked at once (before
// a failed save file is discarded and frees its room again). After a short
// write Qt keeps no reason ("Unknown error"), and a cancelled save file says
// only that it was cancelled; when the volume is (nearly) full, that is the
// reason, said as the system says it ("No space left on device").
QString writeFailureReason(const QFileDevice& file);

// The system's words for a volume without room, as writeFailureReason and
// the file functions give them.
QString diskFullReason();

#ifdef Q_OS_WIN
// The system's text for a Windows error code (GetLastError()).
QString windowsErrorText(unsigned long code);
#endif

} // namespace textio
