#include "list_lines.h"

namespace filelist {

void appendDirectoryLines(QByteArray& out, QByteArrayView windowsDirectory,
                          const std::vector<QByteArray>& fileNames) {
    bool dittoReadsRight = false;
    for (const QByteArray& name : fileNames) {
        if (dittoReadsRight) {
            out.append("\" ", 2);
        } else {
            out.append(windowsDirectory);
        }
        out.append(name);
        out.append("\r\n", 2);
        if (!dittoReadsRight)
            dittoReadsRight = !name.contains(':');
    }
}

} // namespace filelist
