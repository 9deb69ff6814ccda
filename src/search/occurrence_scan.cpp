#include "occurrence_scan.h"

#include <algorithm>

namespace search {
namespace {

// Large enough that the vector loop runs undisturbed, small enough that a
// cancel is seen within a few milliseconds.
constexpr qint64 kBlockSize = qint64(8) << 20;

// The three lines of one blank that open every document block.
constexpr QByteArrayView kBlockOpening(" \r\n \r\n \r\n");
// A header line is "#" and a path; a path of the longest length the file
// systems allow, written as UTF-8, ends well within this.
constexpr qint64 kLongestHeaderLine = qint64(256) << 10;

} // namespace

bool isWrittenDocumentMarker(QByteArrayView text, qint64 position) {
    const qint64 opening = position - kBlockOpening.size();
    if (opening < 0 || text.sliced(opening, kBlockOpening.size()) != kBlockOpening)
        return false;
    const qint64 lineEnd = std::min<qint64>(position + kLongestHeaderLine, text.size());
    const qsizetype lineFeed = text.sliced(position, lineEnd - position).indexOf('\n');
    const qint64 underline = position + lineFeed + 1;
    return lineFeed >= 0 && underline < text.size() && text[underline] == '=';
}

OccurrenceScan scanOccurrences(QByteArrayView text, const ByteFinder& finder, int limit,
                               const platform::RunContext& run,
                               const std::function<void(qint64, qint64)>& passed) {
    OccurrenceScan scan;
    if (finder.isEmpty() || text.isEmpty())
        return scan;
    qint64 from = 0;
    while (true) {
        run.checkpoint();
        if (run.cancelled())
            return scan;
        if (limit > 0 && scan.positions.size() >= limit)
            return scan;
        qint64 found = -1;
        while (from < text.size()) {
            const qint64 blockEnd = std::min<qint64>(from + kBlockSize, text.size());
            found = finder.find(text, from, blockEnd);
            if (found >= 0)
                break;
            if (passed)
                passed(from, blockEnd);
            from = blockEnd;
            run.checkpoint();
            if (run.cancelled())
                return scan;
        }
        if (found < 0) {
            scan.reachedEnd = true;
            return scan;
        }
        scan.positions.append(found);
        from = found + 1;
    }
}

qint64 DocumentStartLocator::documentStartBefore(qint64 occurrence) {
    // No marker starts in (knownStart_, knownUpTo_), so any occurrence in
    // (knownStart_, knownUpTo_] belongs to the known start.
    if (knownUpTo_ >= 0 && occurrence > knownStart_ && occurrence <= knownUpTo_)
        return knownStart_;
    qint64 start = marker_.findLast(text_, occurrence);
    while (start >= 0 && !counts(start))
        start = marker_.findLast(text_, start);
    knownStart_ = start;
    knownUpTo_ = occurrence;
    return start;
}

qint64 DocumentStartLocator::documentStartAfter(qint64 occurrence, qint64 before) const {
    qint64 start = marker_.find(text_, occurrence + 1, before);
    while (start >= 0 && !counts(start))
        start = marker_.find(text_, start + 1, before);
    return start;
}

} // namespace search
