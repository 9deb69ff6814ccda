#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace widgets {

// The search bar of the search window: the text field, its clear button
// ("X") and the history, which drops down from the
// bar over the window's controls below it. The window decides when the
// history drops down and how high; the bar draws it and takes an entry.
class SearchBar final : public QWidget {
    Q_OBJECT
public:
    // How the last change of the text came about. Whole: the text arrived at
    // once (set by the program, taken from the history or the viewer,
    // pasted or dropped, or any edit of the user's that put in more than one
    // character). Typed: the user typed or deleted character by character.
    enum class Arrival { Whole, Typed };

    // The history becomes a child of `overlay` (the window), so that it can
    // lie over the window's other controls.
    SearchBar(QWidget* overlay, QWidget* parent);

    QString text() const;
    // Text set by the program arrives whole, unless the caller passes on the
    // arrival of a change it is only tidying up.
    void setText(const QString& text, Arrival arrival = Arrival::Whole);
    void clear();
    Arrival lastArrival() const { return lastArrival_; }
    void focusText();
    bool textHasFocus() const;

    // The search-term history, newest first.
    void setHistory(const QStringList& entries);
    QStringList history() const;
    bool historyShown() const;
    void hideHistory();
    // Where the history starts: just below the bar, in the overlay's
    // coordinates.
    int dropDownTop() const;
    // Shows the history below the bar, as wide as the text field and
    // `height` pixels high (at least 20).
    void dropDownHistory(int height);
    // The entry chosen in the history becomes the bar's text, with the cursor
    // at its end, and the history folds up. Without a chosen entry nothing
    // happens.
    void takeChosenEntry();

Q_SIGNALS:
    // Every change of the text; lastArrival() tells how it came about.
    void textChanged(const QString& text);
    // A mouse press in the text field.
    void pressed();
    // Return or Enter in the text field; the key goes no further.
    void enterPressed();
    void clearClicked();
    void historyEntryClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Arrival arrivalOfChange(const QString& text) const;
    static bool bringsTextInWhole(QEvent* event);

    QLineEdit* edit_ = nullptr;
    QPushButton* clear_ = nullptr;
    QListWidget* history_ = nullptr;
    QWidget* overlay_ = nullptr;

    QString shownText_; // the text before the change being reported
    Arrival lastArrival_ = Arrival::Whole;
    std::optional<Arrival> settingArrival_; // set while setText() or a paste runs
    bool userEdit_ = false;                 // the field reported the change as edited
};

// Typed when the change from `before` to `after` put in at most one
// character; anything longer arrived at once.
SearchBar::Arrival arrivalOfEdit(const QString& before, const QString& after);

} // namespace widgets
