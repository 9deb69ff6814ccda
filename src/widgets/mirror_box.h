#pragma once

#include <QPlainTextEdit>
#include <QString>

class QAction;
class QMenu;

namespace widgets {

// The mirror box: a read-only text box that lies over the paged
// viewer and holds the decoded rows of the page it shows, one row per line,
// so that the user can select, double-click and copy text. It never wraps
// or scrolls by itself: every row of the viewer is one line here, and
// scrolling is the viewer's (the box hands on the wheel and leaves the
// navigation keys to its owner). Its pop-up menu moves the
// selection into the search bars.
class MirrorBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    enum class PopupEntry { TransferLeft, InsertLeft, TransferRight, InsertRight };

    explicit MirrorBox(QWidget* parent);

    // The box shows the hint at the mouse cursor only while it is switched
    // on (setting Kurzhinweis_imViewer_anzeigen).
    void setHint(const QString& text);
    void setHintShown(bool shown);
    bool hintShown() const { return hintShown_; }

    // The selection as text, line breaks as CR LF.
    QString selectedText() const;
    bool hasSelection() const;
    void clearSelection();
    // Selects units [start, start + length) of the text and puts the caret
    // at the end of the range.
    void selectRange(qsizetype start, qsizetype length);
    // Selects the whole line the caret stands on and returns its text.
    QString selectLineAtCaret();

    // The four entries that move text are enabled exactly while something
    // is selected.
    void enablePopupEntriesForSelection();
    QMenu* popupMenu() const { return popup_; }

    // Where the wheel goes: the viewer's viewport.
    void setWheelTarget(QWidget* target) { wheelTarget_ = target; }

Q_SIGNALS:
    void doubleClicked();
    // Tab, and the keys that scroll the viewer (Up, Down, Page Up, Page
    // Down, Home, End); the box itself does nothing with them.
    void keyPressed(int key);
    void rightButtonPressed();
    void popupEntryChosen(widgets::MirrorBox::PopupEntry entry);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QAction* addPopupEntry(const QString& text, PopupEntry entry);

    QString hint_;
    bool hintShown_ = true;
    QMenu* popup_ = nullptr;
    QList<QAction*> entries_;
    QWidget* wheelTarget_ = nullptr;
};

} // namespace widgets
