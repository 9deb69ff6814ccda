#pragma once

#include "filelist/tree_walker.h"

#include <QChar>
#include <QString>

#include <atomic>

namespace filelist {

struct ListWriteResult {
    bool ok = false;        // the new list is in place
    bool cancelled = false; // stopped on request; the previous list is untouched
    QString error;          // German, when neither
    qint64 files = 0;
    qint64 directories = 0;
    qint64 skippedDirectories = 0;
};

// Lists every regular file below the native directory `nativeRoot` as the
// drive `driveLetter` into `listFile` (full and ditto lines, UTF-8 without
// mark, CR LF). The list is written under a temporary name beside the list
// and renamed over it only when complete, so a reader never sees half a list
// and a run that fails or is cancelled leaves the previous list in place.
// `filesFound`, when given, counts the files listed so far, for a window that
// shows the progress from another thread.
ListWriteResult writeDriveFileList(const QString& nativeRoot, QChar driveLetter,
                                   const QString& listFile, const WalkOptions& options,
                                   std::atomic<qint64>* filesFound = nullptr);

} // namespace filelist
