#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The small notice shown while the second, longer pass of a search runs. It
// shows the search text and offers "Abbrechen", which asks the running search
// to stop at its next check.
class TBinbeimSuchenForm : public QDialog {
    Q_OBJECT
public:
    explicit TBinbeimSuchenForm(QWidget* parent = nullptr);

    void setSearchText(const QString& text);
    QString searchText() const;

Q_SIGNALS:
    void cancelRequested();

public Q_SLOTS:
    void CancelButtonClick();

private:
    QLineEdit* text_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
