#include "row_layout.h"

#include "decoded_text.h"

namespace viewer {
namespace {

constexpr qsizetype kWrappedLinesKept = 512;

} // namespace

void RowLayout::setWrapFunction(WrapFunction wrap) {
    wrap_ = std::move(wrap);
    wrapped_.clear();
}

const QList<TextLine>& RowLayout::rowsOf(const TextLine& line) const {
    const auto cached = wrapped_.constFind(line.start);
    if (cached != wrapped_.cend())
        return *cached;
    if (wrapped_.size() >= kWrappedLinesKept)
        wrapped_.clear();

    const DecodedText decoded =
        decodeWithByteOffsets(lines_.bytes().sliced(line.start, line.end - line.start));
    QList<TextLine> rows;
    qint64 rowStart = line.start;
    qsizetype lastUnit = 0;
    for (const qsizetype unit : wrap_(decoded.text)) {
        // A break must move forward and may not split a surrogate pair.
        if (unit <= lastUnit || unit >= decoded.text.size() ||
            decoded.unitStart[unit] == decoded.unitStart[unit - 1])
            continue;
        const qint64 breakAt = line.start + decoded.unitStart[unit];
        rows.append({rowStart, breakAt, breakAt});
        rowStart = breakAt;
        lastUnit = unit;
    }
    rows.append({rowStart, line.end, line.next});
    return *wrapped_.insert(line.start, rows);
}

TextLine RowLayout::rowAt(qint64 offset) const {
    const TextLine line = lines_.lineAt(offset);
    if (!wrap_)
        return line;
    const QList<TextLine>& rows = rowsOf(line);
    for (qsizetype i = rows.size() - 1; i > 0; --i) {
        if (rows[i].start <= offset)
            return rows[i];
    }
    return rows.first();
}

std::optional<TextLine> RowLayout::rowAfter(const TextLine& row) const {
    if (row.next >= lines_.size())
        return std::nullopt;
    if (!wrap_)
        return lines_.lineFrom(row.next);
    return rowAt(row.next);
}

std::optional<TextLine> RowLayout::rowBefore(const TextLine& row) const {
    if (row.start <= 0)
        return std::nullopt;
    return rowAt(row.start - 1);
}

} // namespace viewer
