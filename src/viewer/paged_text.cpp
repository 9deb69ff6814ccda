#include "paged_text.h"

#include "mapped_text.h"

#include <algorithm>
#include <cstdlib>

namespace viewer {
namespace {

// How much of the file around the page may stay resident, and how far the
// page may move before the rest is let go.
constexpr qint64 kKeptAroundPage = 1 << 20;
constexpr qint64 kReleaseDistance = 4 << 20;

} // namespace

PagedText::PagedText() = default;
PagedText::~PagedText() = default;

bool PagedText::open(const QString& fileName) {
    close();
    if (!mapViewerText(store_, fileName))
        return false;
    lines_ = LineIndex(store_.bytes());
    layout_.forgetRows();
    fileName_ = fileName;
    open_ = true;
    keptAround_ = 0;
    setTop(0);
    return true;
}

void PagedText::close() {
    store_.close();
    lines_ = LineIndex(QByteArrayView());
    layout_.forgetRows();
    fileName_.clear();
    open_ = false;
    top_ = 0;
    page_.clear();
}

void PagedText::setRowsPerPage(int rows) {
    rowsPerPage_ = std::max(rows, 1);
    layOutPage();
}

void PagedText::setWrapFunction(WrapFunction wrap) {
    layout_.setWrapFunction(std::move(wrap));
    setTop(top_);
}

void PagedText::setTop(qint64 top) {
    top_ = lines_.isEmpty() ? 0 : layout_.rowAt(top).start;
    releaseFarFrom(top_);
    layOutPage();
}

void PagedText::layOutPage() {
    page_.clear();
    if (lines_.isEmpty())
        return;
    std::optional<TextLine> row = layout_.rowAt(top_);
    while (row && page_.size() < rowsPerPage_) {
        page_.append(*row);
        row = layout_.rowAfter(*row);
    }
}

qint64 PagedText::pageEnd() const {
    return page_.isEmpty() ? size() : page_.last().next;
}

void PagedText::scrollTo(qint64 offset) {
    if (offset >= size()) {
        scrollToEnd();
        return;
    }
    setTop(std::max<qint64>(offset, 0));
}

qint64 PagedText::lastPageTop() const {
    if (lines_.isEmpty())
        return 0;
    TextLine row = layout_.rowAt(size() - 1);
    for (int shown = 1; shown < rowsPerPage_; ++shown) {
        const auto before = layout_.rowBefore(row);
        if (!before)
            break;
        row = *before;
    }
    return row.start;
}

void PagedText::scrollToEnd() {
    setTop(lastPageTop());
}

bool PagedText::lineDown() {
    if (page_.isEmpty() || page_.first().next >= size())
        return false;
    setTop(page_.first().next);
    return true;
}

bool PagedText::lineUp() {
    if (page_.isEmpty() || top_ == 0)
        return false;
    setTop(layout_.rowBefore(page_.first())->start);
    return true;
}

bool PagedText::pageDown() {
    if (pageShowsEnd())
        return false;
    setTop(pageEnd());
    return true;
}

bool PagedText::pageUp() {
    if (page_.isEmpty() || top_ == 0)
        return false;
    TextLine row = page_.first();
    for (int moved = 0; moved < rowsPerPage_; ++moved) {
        const auto before = layout_.rowBefore(row);
        if (!before)
            break;
        row = *before;
    }
    setTop(row.start);
    return true;
}

bool PagedText::pageHolds(qint64 offset) const {
    return !page_.isEmpty() && offset >= top_ && offset < pageEnd();
}

void PagedText::bringIntoView(qint64 offset) {
    if (!pageHolds(offset))
        scrollTo(offset);
}

QList<PageLine> PagedText::pageLines() const {
    QList<PageLine> lines;
    lines.reserve(page_.size());
    for (const TextLine& row : page_)
        lines.append({row.start, bytes(row.start, row.end), row.next});
    return lines;
}

QByteArray PagedText::bytes(qint64 from, qint64 to) const {
    return store_.isOpen() ? store_.readRange(from, to) : QByteArray();
}

// Reading near the page faults those bytes in; once the page has moved on,
// the kernel may have them back, so a long session over a file of many
// gigabytes keeps only the neighbourhood of the page in memory.
void PagedText::releaseFarFrom(qint64 offset) {
    if (!store_.isOpen() || std::llabs(offset - keptAround_) < kReleaseDistance)
        return;
    store_.release(0, offset - kKeptAroundPage);
    store_.release(offset + kKeptAroundPage, size());
    keptAround_ = offset;
}

} // namespace viewer
