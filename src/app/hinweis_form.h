#pragma once

#include <QChar>
#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

// The question window of the new-database dialog: a text and the buttons
// "Ja" (accept) and "Nein" (reject).
class THinweisForm : public QDialog {
    Q_OBJECT
public:
    explicit THinweisForm(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

private:
    QPlainTextEdit* memo_;
};

// The question whether the drive file list of a drive is to be built again,
// with the date it was made. Lines joined by CR LF; the text begins with a
// line break.
QString listQuestionText(QChar driveLetter, const QString& dateText);
