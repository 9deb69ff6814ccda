#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace filelist {

// Appends the lines of one directory's files to the drive file list: a full
// line (directory + name) for the first file, then a ditto line ("\" " + name)
// for each further one, every line ending in CR LF.
//
// A reader takes the directory of a full line to end at its last backslash or
// colon. When a file name holds a colon (legal off Windows), that reading
// would cut the name, so the file after it gets a full line again instead of
// a ditto line; the list then still names every file exactly.
void appendDirectoryLines(QByteArray& out, QByteArrayView windowsDirectory,
                          const std::vector<QByteArray>& fileNames);

} // namespace filelist
