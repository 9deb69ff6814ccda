#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>

namespace filelist {

// The kernel's own file systems (process tables, devices, control files):
// they hold no documents, some never end and some block when read, so the
// walk does not enter them.
bool isPseudoFileSystemType(QByteArrayView type);

// Mount points of pseudo file systems, read from /proc/self/mountinfo (its
// fifth field is the mount point with blanks and the like as octal escapes,
// the field after " - " the file system type). Empty where the table cannot be
// read; the walk then still catches them by their statfs type.
QSet<QByteArray> pseudoMountPoints();
QSet<QByteArray> pseudoMountPointsFromMountInfo(QByteArrayView mountInfo);

// True when the open directory lies on a pseudo file system by its statfs
// magic number. devtmpfs reports itself as tmpfs and is only found by the
// mount table.
bool isOnPseudoFileSystem(int directoryFd);

} // namespace filelist
