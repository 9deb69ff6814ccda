#include "mirror_box.h"

#include "object_names.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace widgets {

namespace names = objectnames::mirror_box;

namespace {

// The viewer draws its rows this far from the left edge and from the top
// edge not at all; the box puts its lines on the same pixels.
constexpr int kLeftMargin = 2;

bool scrollsViewer(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

MirrorBox::MirrorBox(QWidget* parent)
    : QPlainTextEdit(parent) {
    named(this, names::box);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    setViewportMargins(kLeftMargin, 0, 0, 0);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    popup_ = new QMenu(this);
    named(popup_, names::popupMenu);
    addPopupEntry(QStringLiteral("Text in Suchleiste links übertragen"), PopupEntry::TransferLeft);
    addPopupEntry(QStringLiteral("Text in Suchleiste links einfügen"), PopupEntry::InsertLeft);
    // Keeps the two pairs apart, as it always has; choosing it does nothing.
    popup_->addAction(QStringLiteral("          "));
    addPopupEntry(QStringLiteral("Text in Suchleiste rechts übertragen"),
                  PopupEntry::TransferRight);
    addPopupEntry(QStringLiteral("Text in Suchleiste rechts einfügen"), PopupEntry::InsertRight);
}

QAction* MirrorBox::addPopupEntry(const QString& text, PopupEntry entry) {
    QAction* action = popup_->addAction(text);
    connect(action, &QAction::triggered, this, [this, entry] { Q_EMIT popupEntryChosen(entry); });
    entries_.append(action);
    return action;
}

void MirrorBox::setHint(const QString& text) {
    hint_ = text;
    setToolTip(hintShown_ ? hint_ : QString());
}

void MirrorBox::setHintShown(bool shown) {
    hintShown_ = shown;
    setToolTip(hintShown_ ? hint_ : QString());
}

QString MirrorBox::selectedText() const {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

bool MirrorBox::hasSelection() const {
    return textCursor().hasSelection();
}

void MirrorBox::clearSelection() {
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
}

void MirrorBox::selectRange(qsizetype start, qsizetype length) {
    QTextCursor cursor(document());
    const int end = static_cast<int>(document()->characterCount() - 1);
    cursor.setPosition(std::clamp(static_cast<int>(start), 0, end));
    cursor.setPosition(std::clamp(static_cast<int>(start + length), 0, end),
                       QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString MirrorBox::selectLineAtCaret() {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return cursor.block().text();
}

void MirrorBox::enablePopupEntriesForSelection() {
    const bool selected = hasSelection();
    for (QAction* entry : entries_)
        entry->setEnabled(selected);
}

// Tab leaves the box for the find bar; the owner decides where focus goes.
bool MirrorBox::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            Q_EMIT keyPressed(Qt::Key_Tab);
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void MirrorBox::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier));
    if (plain && scrollsViewer(event->key())) {
        Q_EMIT keyPressed(event->key());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MirrorBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        Q_EMIT rightButtonPressed();
        event->accept();
        return; // the selection stays for the menu
    }
    QPlainTextEdit::mousePressEvent(event);
}

void MirrorBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void MirrorBox::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() != QContextMenuEvent::Mouse)
        Q_EMIT rightButtonPressed();
    popup_->popup(event->globalPos());
}

// The box never scrolls; the page under it does.
void MirrorBox::wheelEvent(QWheelEvent* event) {
    if (wheelTarget_)
        QCoreApplication::sendEvent(wheelTarget_, event);
    else
        event->ignore();
}

} // namespace widgets
