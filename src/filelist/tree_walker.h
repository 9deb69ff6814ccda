#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>

#include <functional>
#include <vector>

namespace filelist {

// What a walk is told.
struct WalkOptions {
    // Threads reading directories, the caller's own included; 0 means one per
    // processor. The order of what the walk delivers does not depend on it.
    int threads = 0;
    // Polled between directories; true stops the walk.
    std::function<bool()> cancelled;
    // Native paths of mount points not to enter (see pseudo_file_systems.h).
    QSet<QByteArray> skippedMountPoints;
    // How many names (files and sub-directories) the readers may hold in
    // directories the consumer has not taken yet. A slow consumer then holds
    // the readers back instead of letting them keep the whole tree in memory.
    qint64 readAheadNames = 1 << 18;
    // Called by a reader after it stored a directory, with the names now
    // held ahead of the consumer (for tests that watch the bound).
    std::function<void(qint64 heldNames)> readAheadChanged;
};

struct WalkResult {
    bool ok = false;        // false: the root could not be read, nothing delivered
    bool cancelled = false; // stopped by the cancel poll; what came so far is partial
    QString error;          // German text when not ok
    qint64 files = 0;
    qint64 directories = 0;        // read, the root included
    qint64 skippedDirectories = 0; // unreadable, pseudo file system or a loop
    qint64 peakReadAheadNames = 0; // the most names held ahead of the consumer
};

// Receives each directory that holds files, in list order: its Windows-form
// path as list bytes ending in a backslash ("Z:\home\anna\"), and the names of
// its regular files as list bytes, in order. Directories without files are
// not delivered.
using DirectoryConsumer =
    std::function<void(QByteArrayView windowsDirectory, const std::vector<QByteArray>& fileNames)>;

// Walks the tree below the native directory `nativeRoot`, whose Windows form
// is `windowsRoot` (as list bytes, ending in a backslash, e.g. "Z:\").
//
// Order: a directory's files first, then its sub-directories one after the
// other with everything below each, both by name lower-cased (UTF-16 code
// units; names equal that way by their bytes).
//
// Only regular files are listed. Symbolic links are neither listed nor
// followed (the root itself may be one); directories that cannot be opened,
// the mount points in `skippedMountPoints`, directories on a pseudo file
// system and a directory that is its own ancestor (bind mounts) are passed
// over silently. Names are turned into list bytes by listBytesFromNative().
//
// Directories are read by a pool of threads ahead of the consumer, which is
// called on the calling thread only, so the consumer needs no locking. The
// readers stop when they hold options.readAheadNames names (plus at most the
// directories they are reading at that moment).
WalkResult walkTree(const QByteArray& nativeRoot, QByteArrayView windowsRoot,
                    const WalkOptions& options, const DirectoryConsumer& consume);

// The sort key of a native name: its text lower-cased.
QString nameSortKey(QByteArrayView nativeName);

} // namespace filelist
