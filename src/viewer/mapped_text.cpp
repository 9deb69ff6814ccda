#include "mapped_text.h"

#include "textio/regular_file.h"

#include <QFile>

namespace viewer {

bool mapViewerText(search::MappedStore& store, const QString& fileName) {
    store.close();
    QFile probe;
    if (fileName.isEmpty() || !textio::openRegularFile(probe, fileName))
        return false;
    const bool empty = probe.size() == 0;
    probe.close();
    return empty || store.open(fileName);
}

} // namespace viewer
