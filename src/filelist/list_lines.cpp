#include "list_lines.h"

#include "database/drive_file_list.h"

#include <algorithm>

namespace filelist {

void appendDirectoryLines(QByteArray& out, QByteArrayView windowsDirectory,
                          const std::vector<QByteArray>& fileNames) {
    // Room for the directory at once (a full line at most per name),
    // growing as appending would, so many small directories stay linear.
    qsizetype needed = out.size();
    for (const QByteArray& name : fileNames)
        needed += windowsDirectory.size() + name.size() + 2;
    if (needed > out.capacity())
        out.reserve(std::max(needed, 2 * out.capacity()));
    bool dittoReadsRight = false;
    for (const QByteArray& name : fileNames) {
        if (dittoReadsRight)
            database::appendDittoLine(out, name);
        else
            database::appendFullLine(out, windowsDirectory, name);
        if (!dittoReadsRight)
            dittoReadsRight = !name.contains(':');
    }
}

} // namespace filelist
