#pragma once

#include <QtGlobal>

namespace viewer {

// A scroll bar holds an int; a text can be many gigabytes. The bar's value is
// the top offset shifted right just far enough for the top of the last page
// to fit, so texts under 2 GiB map byte for byte and larger ones lose only
// the lowest bits. The bar's end always means the last page, whatever bits
// were lost on the way.
class ScrollMapping {
public:
    explicit ScrollMapping(qint64 lastPageTop);

    int maximum() const { return maximum_; }
    int shift() const { return shift_; }
    int valueForTop(qint64 top) const;
    bool isEnd(int value) const { return value >= maximum_; }
    // The offset a value stands for (below the end).
    qint64 offsetForValue(int value) const;

private:
    qint64 lastPageTop_;
    int shift_ = 0;
    int maximum_ = 0;
};

} // namespace viewer
