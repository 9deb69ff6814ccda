#include "mapped_text.h"

#include <QFile>

namespace viewer {

bool mapViewerText(search::MappedStore& store, const QString& fileName) {
    store.close();
    QFile probe(fileName);
    if (fileName.isEmpty() || !probe.open(QIODevice::ReadOnly))
        return false;
    const bool empty = probe.size() == 0;
    probe.close();
    return empty || store.open(fileName);
}

} // namespace viewer
