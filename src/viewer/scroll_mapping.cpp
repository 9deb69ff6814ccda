#include "scroll_mapping.h"

#include <algorithm>
#include <limits>

namespace viewer {

ScrollMapping::ScrollMapping(qint64 lastPageTop)
    : lastPageTop_(std::max<qint64>(lastPageTop, 0)) {
    while ((lastPageTop_ >> shift_) > std::numeric_limits<int>::max())
        ++shift_;
    maximum_ = static_cast<int>(lastPageTop_ >> shift_);
}

int ScrollMapping::valueForTop(qint64 top) const {
    if (top >= lastPageTop_)
        return maximum_;
    return static_cast<int>(std::max<qint64>(top, 0) >> shift_);
}

qint64 ScrollMapping::offsetForValue(int value) const {
    if (value >= maximum_)
        return lastPageTop_;
    return static_cast<qint64>(std::max(value, 0)) << shift_;
}

} // namespace viewer
