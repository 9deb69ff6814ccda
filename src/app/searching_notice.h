#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace app {

// The small notice shown while the second, longer pass of a search runs. It
// shows the search text and offers "Abbrechen", which asks the running search
// to stop at its next check.
class SearchingNotice : public QDialog {
    Q_OBJECT
public:
    explicit SearchingNotice(QWidget* parent = nullptr);

    void setSearchText(const QString& text);
    QString searchText() const;

Q_SIGNALS:
    void cancelRequested();

public Q_SLOTS:
    void onCancelClicked();

private:
    QLineEdit* text_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace app
