#pragma once

#include "line_index.h"
#include "row_layout.h"

#include "search/mapped_store.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace viewer {

// A row of the page as it is drawn: where its bytes begin in the file, the
// bytes themselves without the line end, and where the next row begins.
struct PageLine {
    qint64 start = 0;
    QByteArray bytes;
    qint64 next = 0;
};

// The paged view of a text file of any size, straight from the mapped file:
// the top of the page is a byte offset, the page is the rows from there on,
// and every move is byte arithmetic near the current page. Only the page's
// neighbourhood stays in memory; what the view has left is let go.
//
// Moves and their rule:
// - scrollTo(offset): the page starts with the row that holds the offset;
//   an offset of 0 or less shows the beginning, one at or past the end the
//   last page.
// - lineDown/lineUp: one row; lineDown stops when the last row is the top.
// - pageDown: the row after the page becomes the top, unless the page
//   already shows the end of the text. pageUp: as many rows back as a page
//   holds, at most to the beginning.
// - bringIntoView(offset): nothing when the page shows the offset (it lies
//   in one of the page's rows or their line ends); otherwise the row that
//   holds it becomes the top row, as scrollTo does.
class PagedText {
public:
    PagedText();
    PagedText(const PagedText&) = delete;
    PagedText& operator=(const PagedText&) = delete;
    ~PagedText();

    // False when the file cannot be opened (the view is closed then). An
    // empty file opens and has no rows.
    bool open(const QString& fileName);
    void close();
    bool isOpen() const { return open_; }
    QString fileName() const { return fileName_; }
    qint64 size() const { return lines_.size(); }

    void setRowsPerPage(int rows);
    int rowsPerPage() const { return rowsPerPage_; }
    // An empty function switches word wrap off. The top stays on the row that
    // holds it under the new wrap.
    void setWrapFunction(WrapFunction wrap);
    bool wordWrap() const { return layout_.wordWrap(); }

    qint64 top() const { return top_; }
    void scrollTo(qint64 offset);
    void scrollToStart() { scrollTo(0); }
    void scrollToEnd();
    bool lineDown();
    bool lineUp();
    bool pageDown();
    bool pageUp();

    bool pageHolds(qint64 offset) const;
    void bringIntoView(qint64 offset);

    // The rows of the page, at most rowsPerPage, and where the page ends
    // (the start of the first row not shown, or the size).
    const QList<TextLine>& pageRows() const { return page_; }
    QList<PageLine> pageLines() const;
    qint64 pageEnd() const;
    bool pageShowsEnd() const { return pageEnd() >= size(); }
    // The top of the last full page, where scrollToEnd goes.
    qint64 lastPageTop() const;

    // The whole line (not row) that holds an offset; the text must not be
    // empty.
    TextLine lineAt(qint64 offset) const { return lines_.lineAt(offset); }
    QByteArray bytes(qint64 from, qint64 to) const;
    QByteArrayView view() const { return lines_.bytes(); }

private:
    void setTop(qint64 top);
    void layOutPage();
    void releaseFarFrom(qint64 offset);

    search::MappedStore store_;
    LineIndex lines_{QByteArrayView()};
    RowLayout layout_{lines_};
    QString fileName_;
    bool open_ = false;
    int rowsPerPage_ = 1;
    qint64 top_ = 0;
    QList<TextLine> page_;
    qint64 keptAround_ = 0;
};

} // namespace viewer
