#include "viewer_panel.h"

#include "object_names.h"
#include "window_colours.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace widgets {
namespace {

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
    setObjectName(QStringLiteral("PanelRechts"));
    caption_ = named(new QLabel(this), "Label8");
    findBar_ = named(new QLineEdit(this), "TntEdit1");
    auto* clearFind = panelButton(this, "Button2", QStringLiteral("X"));
    clearFind->setFixedWidth(28);
    findButton_ = panelButton(this, "WeiterSuche", QStringLiteral("Suchen"));
    auto* bookmark = panelButton(this, "LesezeichenBtn", QStringLiteral("Lesezeichen"),
                                 QStringLiteral("Lesezeichen speichern"));
    bookmark->hide();
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findBar_, 1);
    findRow->addWidget(clearFind);
    findRow->addWidget(findButton_);
    findRow->addWidget(bookmark);

    viewer_ = named(new QPlainTextEdit(this), "Viewer");
    viewer_->setReadOnly(true);
    viewer_->installEventFilter(this);
    mirror_ = named(new QPlainTextEdit(this), "ViewerMemo");
    mirror_->setReadOnly(true);
    pageOffset_ = named(new QLabel(this), "Label2");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addLayout(findRow);
    layout->addWidget(viewer_, 1);
    layout->addWidget(pageOffset_);

    connect(findBar_, &QLineEdit::textChanged, this, &ViewerPanel::findTextChanged);
    connect(clearFind, &QPushButton::clicked, this, &ViewerPanel::clearFindClicked);
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

void ViewerPanel::clearPageOffset() {
    pageOffset_->clear();
}

QString ViewerPanel::findText() const {
    return findBar_->text();
}

void ViewerPanel::clearFindText() {
    findBar_->clear();
}

void ViewerPanel::setFindButtonEnabled(bool enabled) {
    findButton_->setEnabled(enabled);
}

void ViewerPanel::setFindControlsEnabled(bool enabled) {
    findBar_->setEnabled(enabled);
    findButton_->setEnabled(enabled);
}

void ViewerPanel::resetViewer() {
    viewer_->clear();
    mirror_->clear();
}

void ViewerPanel::setFontSize(int points) {
    for (QPlainTextEdit* box : {viewer_, mirror_}) {
        QFont font = box->font();
        font.setPointSize(points);
        box->setFont(font);
    }
}

int ViewerPanel::fontSize() const {
    return mirror_->font().pointSize();
}

void ViewerPanel::setMirrorHint(const QString& text) {
    mirror_->setToolTip(text);
}

bool ViewerPanel::mirrorHasText() const {
    return !mirror_->toPlainText().isEmpty();
}

void ViewerPanel::setMirrorText(const QString& text) {
    mirror_->setPlainText(text);
}

void ViewerPanel::focusMirror() {
    mirror_->setFocus();
}

void ViewerPanel::focusViewer() {
    viewer_->setFocus();
}

void ViewerPanel::placeMirrorBox() {
    mirror_->setGeometry(viewer_->geometry());
}

void ViewerPanel::colourHintTexts(const QColor& colour) {
    setTextColour(caption_, colour);
    setTextColour(pageOffset_, colour);
}

bool ViewerPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewer_ && event->type() == QEvent::Resize)
        placeMirrorBox();
    return QFrame::eventFilter(watched, event);
}

} // namespace widgets
