#include "document_view.h"

#include "object_names.h"
#include "textio/utf8.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QWheelEvent>

#include <algorithm>

namespace widgets {

namespace names = objectnames::document_view;

namespace {

constexpr int kMargin = 2;
constexpr int kWheelLines = 3;
// Without word wrap a row is cut at the right edge; no screen shows more
// characters than this in one row.
constexpr qsizetype kDrawnCharacters = 2000;

// Word wrap as the viewport shows it: rows break where QTextLayout breaks a
// paragraph of the viewer's font at the viewport's width.
viewer::WrapFunction wrapToWidth(const QFont& font, int width) {
    return [font, width](QStringView text) {
        QList<qsizetype> breaks;
        QTextLayout layout(text.toString(), font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (line.textStart() > 0)
                breaks.append(line.textStart());
        }
        layout.endLayout();
        return breaks;
    };
}

} // namespace

DocumentView::DocumentView(QWidget* parent)
    : QAbstractScrollArea(parent) {
    named(this, names::view);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &DocumentView::followScrollBar);

    popup_ = new QMenu(this);
    transferAction_ = popup_->addAction(QStringLiteral("Text Übertragen"));
    selectLineAction_ = popup_->addAction(QStringLiteral("Zeile auswählen"));
    connect(transferAction_, &QAction::triggered, this, &DocumentView::transferSelection);
    connect(selectLineAction_, &QAction::triggered, this, &DocumentView::selectLineUnderPopup);
}

DocumentView::~DocumentView() = default;

bool DocumentView::openFile(const QString& fileName) {
    if (fileName.isEmpty()) {
        closeFile();
        return true;
    }
    if (text_.isOpen() && fileName == text_.fileName())
        return true;
    clearSelection();
    toldRows_.clear();
    const bool opened = text_.open(fileName);
    applyWrap();
    updateScrollRange();
    showPage(false);
    return opened;
}

void DocumentView::closeFile() {
    text_.close();
    rows_.clear();
    toldRows_.clear();
    clearSelection();
    updateScrollRange();
    viewport()->update();
}

void DocumentView::setWordWrap(bool on) {
    if (on == wordWrap_)
        return;
    wordWrap_ = on;
    applyWrap();
    updateScrollRange();
    showPage(false);
}

void DocumentView::setFontSize(int pointSize) {
    QFont changed = font();
    changed.setPointSize(std::max(pointSize, 1));
    setFont(changed);
}

void DocumentView::scrollToOffset(qint64 offset) {
    text_.scrollTo(offset);
    showPage(false);
    placeScrollBar();
}

void DocumentView::selectRange(qint64 start, qint64 length) {
    selectionStart_ = start;
    selectionLength_ = std::max<qint64>(length, 0);
    text_.bringIntoView(start);
    showPage(true);
    placeScrollBar();
}

void DocumentView::clearSelection() {
    selectionStart_ = -1;
    selectionLength_ = 0;
    viewport()->update();
}

QByteArray DocumentView::selectedBytes() const {
    if (selectionStart_ < 0 || selectionLength_ <= 0)
        return {};
    return text_.bytes(selectionStart_, selectionStart_ + selectionLength_);
}

bool DocumentView::handleNavigationKey(int key) {
    switch (key) {
    case Qt::Key_Up:
        text_.lineUp();
        break;
    case Qt::Key_Down:
        text_.lineDown();
        break;
    case Qt::Key_PageUp:
        text_.pageUp();
        break;
    case Qt::Key_PageDown:
        text_.pageDown();
        break;
    case Qt::Key_Home:
        text_.scrollToStart();
        break;
    case Qt::Key_End:
        text_.scrollToEnd();
        break;
    default:
        return false;
    }
    showPage(false);
    placeScrollBar();
    return true;
}

// The scroll area shows or hides its bar only after the event loop ran; the
// range says already what it will do.
bool DocumentView::showsScrollBar() const {
    return verticalScrollBar()->maximum() > verticalScrollBar()->minimum();
}

QMenu* DocumentView::preparePopupMenu(const QPoint& viewportPoint) {
    popupRow_ = rowAtPoint(viewportPoint);
    transferAction_->setEnabled(selectionLength_ > 0);
    selectLineAction_->setEnabled(popupRow_ >= 0);
    return popup_;
}

void DocumentView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int lineSpacing = fontMetrics().lineSpacing();
    const qint64 selectionEnd = selectionStart_ + selectionLength_;
    QTextCharFormat selected;
    selected.setBackground(palette().highlight());
    selected.setForeground(palette().highlightedText());
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        const DrawnRow& row = rows_[i];
        QTextLayout layout(row.decoded.text.left(kDrawnCharacters), font());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setNumColumns(static_cast<int>(layout.text().size()));
        layout.endLayout();
        QList<QTextLayout::FormatRange> selections;
        const qint64 rowStart = row.line.start;
        const qint64 rowEnd = rowStart + row.line.bytes.size();
        if (selectionLength_ > 0 && selectionStart_ < rowEnd && selectionEnd > rowStart) {
            const qsizetype from =
                row.decoded.unitAtByte(std::max(selectionStart_, rowStart) - rowStart);
            const qsizetype to =
                row.decoded.unitFromByte(std::min(selectionEnd, rowEnd) - rowStart);
            selections.append({static_cast<int>(from), static_cast<int>(to - from), selected});
        }
        layout.draw(&painter, QPointF(kMargin, i * lineSpacing), selections);
    }
}

// However the font changes (the font size of the settings, a font the window
// passes on), the page holds another number of rows.
void DocumentView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitPageToViewport();
}

void DocumentView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    fitPageToViewport();
}

void DocumentView::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier) ||
        !handleNavigationKey(event->key()))
        QAbstractScrollArea::keyPressEvent(event);
}

void DocumentView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120 * kWheelLines;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (!(steps > 0 ? text_.lineUp() : text_.lineDown()))
            break;
    }
    showPage(false);
    placeScrollBar();
    event->accept();
}

void DocumentView::contextMenuEvent(QContextMenuEvent* event) {
    preparePopupMenu(event->pos())->popup(event->globalPos());
}

// QAbstractScrollArea calls this when the bar's value changed; the contents
// are not pixels to shift but a page to look up at the new offset.
void DocumentView::scrollContentsBy(int, int) {
    if (placingScrollBar_)
        return;
    const int value = verticalScrollBar()->value();
    if (value == mapping_.valueForTop(text_.top()))
        return;
    if (mapping_.isEnd(value))
        text_.scrollToEnd();
    else
        text_.scrollTo(mapping_.offsetForValue(value));
    showPage(false);
}

// Steps of the scroll bar (arrows, clicks beside the handle, its ends) move
// by rows and pages as the keys do; dragging the handle jumps to its offset
// (scrollContentsBy).
void DocumentView::followScrollBar(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        text_.lineDown();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        text_.lineUp();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        text_.pageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        text_.pageUp();
        break;
    case QAbstractSlider::SliderToMinimum:
        text_.scrollToStart();
        break;
    case QAbstractSlider::SliderToMaximum:
        text_.scrollToEnd();
        break;
    default:
        return;
    }
    showPage(false);
    verticalScrollBar()->setSliderPosition(mapping_.valueForTop(text_.top()));
}

void DocumentView::fitPageToViewport() {
    text_.setRowsPerPage(std::max(1, viewport()->height() / fontMetrics().lineSpacing()));
    applyWrap();
    updateScrollRange();
    showPage(false);
}

void DocumentView::applyWrap() {
    text_.setWrapFunction(wordWrap_ ? wrapToWidth(font(), viewport()->width() - 2 * kMargin)
                                    : viewer::WrapFunction());
}

void DocumentView::showPage(bool alwaysTell) {
    rows_.clear();
    QList<std::pair<qint64, qint64>> shown;
    for (const viewer::PageLine& line : text_.pageLines()) {
        rows_.append({line, viewer::decodeWithByteOffsets(line.bytes)});
        shown.append({line.start, line.next});
    }
    if (text_.isOpen() && (alwaysTell || shown != toldRows_)) {
        toldRows_ = shown;
        tellPage();
    }
    viewport()->update();
}

void DocumentView::tellPage() {
    Q_EMIT pageAboutToBeDrawn(text_.top());
    for (const DrawnRow& row : rows_)
        Q_EMIT lineDrawn(row.decoded.text);
    Q_EMIT pageDrawn();
}

void DocumentView::updateScrollRange() {
    mapping_ = viewer::ScrollMapping(text_.lastPageTop());
    QScrollBar* bar = verticalScrollBar();
    const qint64 pageBytes = std::max<qint64>(text_.pageEnd() - text_.top(), 1);
    placingScrollBar_ = true;
    bar->setRange(0, mapping_.maximum());
    bar->setPageStep(static_cast<int>(
        std::clamp<qint64>(pageBytes >> mapping_.shift(), 1, std::max(mapping_.maximum(), 1))));
    bar->setSingleStep(std::max(1, bar->pageStep() / std::max(1, rowsPerPage())));
    bar->setValue(mapping_.valueForTop(text_.top()));
    placingScrollBar_ = false;
}

void DocumentView::placeScrollBar() {
    placingScrollBar_ = true;
    verticalScrollBar()->setValue(mapping_.valueForTop(text_.top()));
    placingScrollBar_ = false;
}

int DocumentView::rowAtPoint(const QPoint& viewportPoint) const {
    const int row = viewportPoint.y() / fontMetrics().lineSpacing();
    return viewportPoint.y() >= 0 && row < rows_.size() ? row : -1;
}

void DocumentView::selectLineUnderPopup() {
    if (popupRow_ < 0 || popupRow_ >= rows_.size())
        return;
    const viewer::TextLine line = text_.lineAt(rows_[popupRow_].line.start);
    selectRange(line.start, line.end - line.start);
}

void DocumentView::transferSelection() {
    Q_EMIT textTransferRequested(textio::utf8DecodeLenient(selectedBytes()));
}

} // namespace widgets
