#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The search window. Created once at start-up and shown modally by the main
// window for the selected database. The main window reaches the controls it
// touches by their object names (Label2, Label8, ZeilenAlsListeSortieren,
// TntListBox2, Viewer, ViewerMemo, PanelLinks, PanelRechts, PanelUnten,
// Panel2) and through the few calls below.
class TSuchForm : public QDialog {
    Q_OBJECT
public:
    explicit TSuchForm(QWidget* parent = nullptr);

    // The viewer shows no document any more; Viewer and ViewerMemo are emptied.
    void resetViewer();

    // The search-term history of the selected database, newest first.
    void setHistory(const QStringList& entries);
    QStringList history() const;

    // True when the last size change reported the maximised state.
    bool isMaximisedBySizeMessage() const { return maximised_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    bool maximised_ = false;
};
