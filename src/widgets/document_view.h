#pragma once

#include "viewer/decoded_text.h"
#include "viewer/paged_text.h"
#include "viewer/scroll_mapping.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QString>

class QAction;
class QMenu;

namespace widgets {

// The paged viewer of a text file of any size. It
// draws only the rows of the current page, straight from the mapped file;
// the scroll bar stands for byte offsets. Every time it lays out a page that
// differs from the last one, and every time a range is selected, it tells
// its owner the rows it draws: pageAboutToBeDrawn, lineDrawn for each row,
// pageDrawn. These come at once, not at the next paint, so the owner's
// mirror of the page is up to date when a call such as selectRange returns.
class DocumentView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit DocumentView(QWidget* parent = nullptr);
    ~DocumentView() override;

    // Opens a file for paged viewing at its beginning. The name already open
    // does nothing; an empty name closes the view. False when the file cannot
    // be opened (the view is closed then).
    bool openFile(const QString& fileName);
    void closeFile();
    bool isOpen() const { return text_.isOpen(); }
    QString fileName() const { return text_.fileName(); }
    qint64 fileSize() const { return text_.size(); }

    void setWordWrap(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setFontSize(int pointSize);

    // The top-of-page offset, and scrolling as the viewer model does it:
    // the page starts with the row that holds the offset; 0 or less shows
    // the beginning, at or past the end the last page.
    qint64 topOffset() const { return text_.top(); }
    void scrollToOffset(qint64 offset);

    // Selects a byte range and shows it: a range whose first byte is not on
    // the page becomes the top row. The page is drawn again either way.
    void selectRange(qint64 start, qint64 length);
    void clearSelection();
    qint64 selectionStart() const { return selectionStart_; }
    qint64 selectionLength() const { return selectionLength_; }
    QByteArray selectedBytes() const;

    // Up, Down, Page Up, Page Down, Home and End, also when another control
    // (the mirror box) forwards them. False for any other key.
    bool handleNavigationKey(int key);

    int rowsPerPage() const { return text_.rowsPerPage(); }
    QList<viewer::PageLine> pageLines() const { return text_.pageLines(); }
    bool showsScrollBar() const;

    // The pop-up menu as it is about to be shown for a click at a point of
    // the viewport: "Text Übertragen" is enabled with a selection, "Zeile
    // auswählen" when there is a row under the point.
    QMenu* preparePopupMenu(const QPoint& viewportPoint);

Q_SIGNALS:
    void pageAboutToBeDrawn(qint64 top);
    void lineDrawn(const QString& text);
    void pageDrawn();
    // "Text Übertragen": the selected bytes, decoded from UTF-8.
    void textTransferRequested(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct DrawnRow {
        viewer::PageLine line;
        viewer::DecodedText decoded;
    };

    void fitPageToViewport();
    void applyWrap();
    void showPage(bool alwaysTell);
    void tellPage();
    void updateScrollRange();
    void placeScrollBar();
    void followScrollBar(int action);
    int rowAtPoint(const QPoint& viewportPoint) const;
    void selectLineUnderPopup();
    void transferSelection();

    viewer::PagedText text_;
    viewer::ScrollMapping mapping_{0};
    QList<DrawnRow> rows_;
    QList<std::pair<qint64, qint64>> toldRows_;
    bool wordWrap_ = true;
    qint64 selectionStart_ = -1;
    qint64 selectionLength_ = 0;
    bool placingScrollBar_ = false;
    QMenu* popup_ = nullptr;
    QAction* transferAction_ = nullptr;
    QAction* selectLineAction_ = nullptr;
    int popupRow_ = -1;
};

} // namespace widgets
