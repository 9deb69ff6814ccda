#include "search_bar.h"

#include "object_names.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <memory>

namespace widgets {

namespace names = objectnames::search_bar;

SearchBar::SearchBar(QWidget* overlay, QWidget* parent)
    : QWidget(parent)
    , overlay_(overlay) {
    edit_ = named(new QLineEdit(this), names::text);
    clear_ = named(new QPushButton(QStringLiteral("X"), this), names::clearButton);
    clear_->setFixedWidth(28);
    // Enter belongs to the bar's own rule, never to a default button.
    clear_->setAutoDefault(false);
    clear_->setDefault(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit_);
    row->addWidget(clear_);

    history_ = named(new QListWidget(overlay_), names::history);
    history_->hide();
    edit_->installEventFilter(this);

    // The field reports a user's edit (textEdited) just before the change
    // itself; a change it does not report as edited came from the program.
    connect(edit_, &QLineEdit::textEdited, this, [this] { userEdit_ = true; });
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        lastArrival_ = arrivalOfChange(text);
        userEdit_ = false;
        shownText_ = text;
        Q_EMIT textChanged(text);
    });
    connect(clear_, &QPushButton::clicked, this, &SearchBar::clearClicked);
    connect(history_, &QListWidget::itemClicked, this, &SearchBar::historyEntryClicked);
}

QString SearchBar::text() const {
    return edit_->text();
}

void SearchBar::setText(const QString& text, Arrival arrival) {
    const std::optional<Arrival> outer = settingArrival_;
    settingArrival_ = arrival;
    edit_->setText(text);
    settingArrival_ = outer;
}

SearchBar::Arrival SearchBar::arrivalOfChange(const QString& text) const {
    if (settingArrival_)
        return *settingArrival_;
    if (!userEdit_)
        return Arrival::Whole;
    return arrivalOfEdit(shownText_, text);
}

void SearchBar::clear() {
    setText(QString());
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
    setText(entry->text());
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
        if (event->type() == QEvent::ContextMenu) {
            // The field's own menu opens without waiting; this one waits, so
            // that "Einfügen" in it counts as pasting.
            const std::unique_ptr<QMenu> menu(edit_->createStandardContextMenu());
            const std::optional<Arrival> outer = settingArrival_;
            settingArrival_ = Arrival::Whole;
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            settingArrival_ = outer;
            return true;
        }
        if (bringsTextInWhole(event)) {
            // Pasted text arrives whole even where it differs from the text
            // it replaces by one character only.
            const std::optional<Arrival> outer = settingArrival_;
            settingArrival_ = Arrival::Whole;
            static_cast<QObject*>(edit_)->event(event);
            settingArrival_ = outer;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Pasting by key or by the middle button, and dropping.
bool SearchBar::bringsTextInWhole(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste);
    case QEvent::Drop:
        return true;
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

SearchBar::Arrival arrivalOfEdit(const QString& before, const QString& after) {
    const qsizetype shorter = qMin(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    const qsizetype inserted = after.size() - prefix - suffix;
    return inserted > 1 ? SearchBar::Arrival::Whole : SearchBar::Arrival::Typed;
}

} // namespace widgets
