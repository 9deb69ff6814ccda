#include "list_lines.h"

#include "database/drive_file_list.h"

namespace filelist {

void appendDirectoryLines(QByteArray& out, QByteArrayView windowsDirectory,
                          const std::vector<QByteArray>& fileNames) {
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
