#include "viewer_panel.h"

#include "document_view.h"
#include "mirror_box.h"
#include "object_names.h"
#include "window_colours.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace widgets {

namespace names = objectnames::viewer_panel;

namespace {

// The mirror box leaves the viewer's scroll bar free by this much.
constexpr int kScrollBarAllowance = 20;
// The viewer's scroll bar is as wide as that allowance leaves room for: the
// mirror box, whose text area then ends where the viewer's rows are wrapped,
// shows every row whole, and the bar stays uncovered.
constexpr int kScrollBarWidth = 18;

class ScrollBarWidthStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_ScrollBarExtent)
            return kScrollBarWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QPushButton* panelButton(QWidget* parent, const char* name, const QString& caption,
                         const QString& hint = {}) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setToolTip(hint);
    // Enter belongs to the search bar's own rule, never to a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

ViewerPanel::ViewerPanel(QWidget* parent)
    : QFrame(parent) {
    named(this, names::panel);
    caption_ = named(new QLabel(this), names::caption);
    pageOffset_ = named(new QLabel(this), names::pageOffset);
    // The offset line is cut to the panel's width by the window; it must not
    // widen the panel meanwhile.
    pageOffset_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(caption_);
    captionRow->addWidget(pageOffset_, 1);

    findBar_ = named(new QLineEdit(this), names::findBar);
    findBar_->installEventFilter(this);
    auto* clearFind = panelButton(this, names::clearFindButton, QStringLiteral("X"));
    clearFind->setFixedWidth(28);
    findButton_ = panelButton(this, names::findButton, QStringLiteral("Suchen"));
    bookmark_ = panelButton(this, names::bookmarkButton, QStringLiteral("Lesezeichen"),
                            QStringLiteral("Lesezeichen speichern"));
    bookmark_->hide();
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findBar_, 1);
    findRow->addWidget(clearFind);
    findRow->addWidget(findButton_);
    findRow->addWidget(bookmark_);

    view_ = new DocumentView(this);
    view_->installEventFilter(this);
    auto* barStyle = new ScrollBarWidthStyle;
    barStyle->setParent(view_->verticalScrollBar());
    view_->verticalScrollBar()->setStyle(barStyle);
    mirror_ = new MirrorBox(this);
    mirror_->setFont(view_->font());
    mirror_->setWheelTarget(view_->viewport());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(captionRow);
    layout->addLayout(findRow);
    layout->addWidget(view_, 1);

    connect(findBar_, &QLineEdit::textChanged, this, &ViewerPanel::findTextChanged);
    connect(clearFind, &QPushButton::clicked, this, &ViewerPanel::clearFindClicked);
    connect(findButton_, &QPushButton::clicked, this, &ViewerPanel::findClicked);
    connect(bookmark_, &QPushButton::clicked, this, &ViewerPanel::bookmarkClicked);
    // The scroll bar comes and goes with the text the viewer shows.
    connect(view_, &DocumentView::pageDrawn, this, &ViewerPanel::placeMirrorBox);
}

void ViewerPanel::setCaption(const QString& text) {
    caption_->setText(text);
}

QString ViewerPanel::caption() const {
    return caption_->text();
}

void ViewerPanel::clearCaptions() {
    caption_->clear();
    pageOffset_->clear();
}

void ViewerPanel::hidePageOffset() {
    pageOffset_->hide();
}

void ViewerPanel::showPageOffset(const QString& text) {
    pageOffset_->setText(text);
    pageOffset_->show();
}

void ViewerPanel::clearPageOffset() {
    pageOffset_->clear();
}

QString ViewerPanel::pageOffsetText() const {
    return pageOffset_->text();
}

int ViewerPanel::pageOffsetLeft() {
    // The caption may just have changed; the row is laid out anew first.
    if (QLayout* panelLayout = layout())
        panelLayout->activate();
    return pageOffset_->x();
}

int ViewerPanel::pageOffsetTextWidth(QStringView text) const {
    return pageOffset_->fontMetrics().horizontalAdvance(text.toString());
}

QString ViewerPanel::findText() const {
    return findBar_->text();
}

void ViewerPanel::setFindText(const QString& text) {
    findBar_->setText(text);
}

void ViewerPanel::clearFindText() {
    findBar_->clear();
}

void ViewerPanel::focusFindBarAtEnd() {
    findBar_->setFocus(Qt::TabFocusReason);
    findBar_->deselect();
    findBar_->end(false);
}

void ViewerPanel::setFindButtonEnabled(bool enabled) {
    findButton_->setEnabled(enabled);
}

void ViewerPanel::setFindControlsEnabled(bool enabled) {
    findBar_->setEnabled(enabled);
    findButton_->setEnabled(enabled);
}

bool ViewerPanel::findButtonEnabled() const {
    return findButton_->isEnabled();
}

void ViewerPanel::setFindButtonCaption(const QString& caption) {
    findButton_->setText(caption);
}

void ViewerPanel::setBookmarkButtonShown(bool shown) {
    bookmark_->setVisible(shown);
}

void ViewerPanel::resetViewer() {
    view_->closeFile();
    mirror_->clear();
}

void ViewerPanel::setFontSize(int points) {
    view_->setFontSize(points);
    // The mirror's lines lie on the viewer's rows: the same font, always.
    mirror_->setFont(view_->font());
}

int ViewerPanel::fontSize() const {
    return mirror_->font().pointSize();
}

void ViewerPanel::setHintShownAtCursor(bool shown) {
    mirror_->setHintShown(shown);
}

bool ViewerPanel::hintShownAtCursor() const {
    return mirror_->hintShown();
}

void ViewerPanel::setMirrorHint(const QString& text) {
    mirror_->setHint(text);
}

bool ViewerPanel::mirrorHasText() const {
    return !mirror_->document()->isEmpty();
}

void ViewerPanel::setMirrorText(const QString& text) {
    mirror_->setPlainText(text);
}

void ViewerPanel::focusMirror() {
    mirror_->setFocus();
}

void ViewerPanel::focusViewer() {
    view_->setFocus();
}

void ViewerPanel::placeMirrorBox() {
    QRect area = view_->geometry();
    if (view_->showsScrollBar())
        area.setWidth(area.width() - kScrollBarAllowance);
    mirror_->setGeometry(area);
    mirror_->raise();
}

void ViewerPanel::colourHintTexts(const QColor& colour) {
    setTextColour(caption_, colour);
    setTextColour(pageOffset_, colour);
}

bool ViewerPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeMirrorBox();
    if (watched == findBar_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Q_EMIT findEnterPressed();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace widgets
