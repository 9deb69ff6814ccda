#include "line_index.h"

#include <algorithm>
#include <cstring>

namespace viewer {
namespace {

bool isBreak(unsigned char byte) {
    return byte == '\r' || byte == '\n';
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

bool LineIndex::startsPhysicalLine(qint64 offset) const {
    if (offset <= 0)
        return true;
    const unsigned char before = at(offset - 1);
    if (before == '\n')
        return true;
    // The CR of a CR LF pair does not end the line; its LF does.
    return before == '\r' && (offset >= size() || at(offset) != '\n');
}

// The last start of a physical line in [limit, offset], or 0 when limit is 0
// and none was found, or -1: the line began before limit.
qint64 LineIndex::physicalStartBack(qint64 offset, qint64 limit) const {
    limit = std::max<qint64>(limit, 0);
    for (qint64 q = offset - 1; q >= std::max<qint64>(limit - 1, 0); --q) {
        if (isBreak(at(q)) && startsPhysicalLine(q + 1))
            return q + 1;
    }
    return limit == 0 ? 0 : -1;
}

// The first CR or LF in [from, to), or -1.
qint64 LineIndex::firstBreakFrom(qint64 from, qint64 to) const {
    to = std::min(to, size());
    if (from >= to)
        return -1;
    const char* base = bytes_.data();
    const qint64 length = to - from;
    const void* lf = std::memchr(base + from, '\n', static_cast<size_t>(length));
    const qint64 lfAt = lf ? static_cast<const char*>(lf) - base : to;
    const void* cr = std::memchr(base + from, '\r', static_cast<size_t>(lfAt - from));
    if (cr)
        return static_cast<const char*>(cr) - base;
    return lf ? lfAt : -1;
}

// Where a split of a long line near a multiple of the limit would fall: the
// multiple, moved past continuation bytes so that no character is cut.
qint64 LineIndex::splitCandidate(qint64 multiple) const {
    qint64 at_ = multiple;
    for (int step = 0; step < 3 && at_ < size() && isContinuation(at(at_)); ++step)
        ++at_;
    return at_;
}

// Whether a split candidate lies inside a line longer than the limit (not at
// its start and not on its line end). Callers know that the line began
// before the multiple the candidate was made from.
bool LineIndex::splitsLongLine(qint64 candidate) const {
    if (candidate <= 0 || candidate >= size() || startsPhysicalLine(candidate) ||
        isBreak(at(candidate)))
        return false;
    const qint64 start = physicalStartBack(candidate, candidate - longest_);
    if (start < 0)
        return true;
    const qint64 limit = start + longest_ + 1;
    qint64 end = firstBreakFrom(candidate, limit);
    if (end < 0 && limit > size())
        end = size();
    return end < 0 || end - start > longest_;
}

TextLine LineIndex::lineAt(qint64 offset) const {
    offset = std::clamp<qint64>(offset, 0, size() - 1);
    // The line begins at the last start of a physical line or the last split
    // at or before the offset. Splits lie one limit apart, so only the few
    // nearest candidates need a look.
    for (qint64 multiple = offset / longest_ * longest_; multiple > 0; multiple -= longest_) {
        const qint64 start = physicalStartBack(offset, multiple);
        if (start >= 0)
            return lineFrom(start);
        // The line began before the multiple, so a split near it counts.
        const qint64 candidate = splitCandidate(multiple);
        if (candidate <= offset && splitsLongLine(candidate))
            return lineFrom(candidate);
    }
    return lineFrom(physicalStartBack(offset, 0));
}

TextLine LineIndex::lineFrom(qint64 start) const {
    TextLine line;
    line.start = start;
    const qint64 split = splitCandidate((start / longest_ + 1) * longest_);
    qint64 end = firstBreakFrom(start, split);
    if (end < 0) {
        if (split < size() && splitsLongLine(split)) {
            line.end = line.next = split;
            return line;
        }
        end = firstBreakFrom(split, size());
        if (end < 0)
            end = size();
    }
    line.end = end;
    if (end >= size())
        line.next = size();
    else if (at(end) == '\r' && end + 1 < size() && at(end + 1) == '\n')
        line.next = end + 2;
    else
        line.next = end + 1;
    return line;
}

std::optional<TextLine> LineIndex::lineAfter(const TextLine& line) const {
    if (line.next >= size())
        return std::nullopt;
    return lineFrom(line.next);
}

std::optional<TextLine> LineIndex::lineBefore(const TextLine& line) const {
    if (line.start <= 0)
        return std::nullopt;
    return lineAt(line.start - 1);
}

} // namespace viewer
