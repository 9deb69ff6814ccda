#include "stream_search.h"

#include "mapped_text.h"

#include <algorithm>

namespace viewer {
namespace {

constexpr qint64 kScanBlock = 16 << 20;
// A fault maps the pages around it as well (fault-around), also the ones
// before a scan's start; letting go from an aligned start below it catches
// those too, or a find next after every hit would leave a trail of them.
constexpr qint64 kReleaseAlignment = 2 << 20;

} // namespace

search::ByteFinder makeViewerFinder(QByteArrayView findText, search::UmlautFolding umlauts) {
    return search::ByteFinder(findText, /*caseFolded=*/true, umlauts);
}

bool Search::setFileName(const QString& fileName) {
    store_.close();
    fileSet_ = false;
    fileName_ = fileName;
    foundStart_ = -1;
    if (!mapViewerText(store_, fileName))
        return false;
    fileSet_ = true;
    return true;
}

bool Search::findFirst(QByteArrayView findText, qint64 from) {
    finder_.emplace(makeViewerFinder(findText, umlauts_));
    foundStart_ = -1;
    return scanFrom(std::max<qint64>(from, 0));
}

bool Search::findNext() {
    if (!finder_ || foundStart_ < 0)
        return false;
    return scanFrom(foundStart_ + 1);
}

bool Search::scanFrom(qint64 from) {
    if (!fileSet_ || !store_.isOpen() || finder_->isEmpty())
        return false;
    const QByteArrayView text = store_.bytes();
    for (qint64 block = from; block < text.size(); block += kScanBlock) {
        const qint64 blockEnd = std::min(block + kScanBlock, text.size());
        const qint64 hit = finder_->find(text, block, blockEnd);
        store_.release(block / kReleaseAlignment * kReleaseAlignment, blockEnd);
        if (hit >= 0) {
            foundStart_ = hit;
            return true;
        }
        if (run_) {
            run_->checkpoint();
            if (run_->cancelled())
                return false;
        }
    }
    return false;
}

} // namespace viewer
