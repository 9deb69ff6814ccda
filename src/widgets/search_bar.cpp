#include "search_bar.h"

#include "object_names.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace widgets {

SearchBar::SearchBar(QWidget* overlay, QWidget* parent)
    : QWidget(parent)
    , overlay_(overlay) {
    edit_ = named(new QLineEdit(this), "TntEdit2");
    clear_ = named(new QPushButton(QStringLiteral("X"), this), "Button1");
    clear_->setFixedWidth(28);
    // Enter belongs to the bar's own rule, never to a default button.
    clear_->setAutoDefault(false);
    clear_->setDefault(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit_);
    row->addWidget(clear_);

    history_ = named(new QListWidget(overlay_), "TntListBox2");
    history_->hide();
    edit_->installEventFilter(this);

    connect(edit_, &QLineEdit::textChanged, this, &SearchBar::textChanged);
    connect(clear_, &QPushButton::clicked, this, &SearchBar::clearClicked);
    connect(history_, &QListWidget::itemClicked, this, &SearchBar::historyEntryClicked);
}

QString SearchBar::text() const {
    return edit_->text();
}

void SearchBar::setText(const QString& text) {
    edit_->setText(text);
}

void SearchBar::clear() {
    edit_->clear();
}

void SearchBar::focusText() {
    edit_->setFocus();
}

bool SearchBar::textHasFocus() const {
    return edit_->hasFocus();
}

void SearchBar::setHistory(const QStringList& entries) {
    history_->clear();
    history_->addItems(entries);
}

QStringList SearchBar::history() const {
    QStringList entries;
    for (int i = 0; i < history_->count(); ++i)
        entries.append(history_->item(i)->text());
    return entries;
}

bool SearchBar::historyShown() const {
    return history_->isVisible();
}

void SearchBar::hideHistory() {
    history_->hide();
}

int SearchBar::dropDownTop() const {
    return edit_->mapTo(overlay_, QPoint(0, edit_->height())).y();
}

void SearchBar::dropDownHistory(int height) {
    const QPoint below = edit_->mapTo(overlay_, QPoint(0, edit_->height()));
    history_->setGeometry(below.x(), below.y(), edit_->width(), qMax(height, 20));
    history_->show();
    history_->raise();
}

void SearchBar::takeChosenEntry() {
    const QListWidgetItem* entry = history_->currentItem();
    if (!entry)
        return;
    edit_->setText(entry->text());
    history_->hide();
    edit_->setFocus();
    edit_->deselect();
    edit_->setCursorPosition(edit_->text().size());
}

bool SearchBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::MouseButtonPress)
            Q_EMIT pressed();
        if (event->type() == QEvent::KeyPress) {
            history_->hide();
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Q_EMIT enterPressed();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace widgets
