#pragma once

#include <QChar>
#include <QDialog>
#include <QString>

class QDateTime;
class QLocale;
class QPlainTextEdit;
class QPushButton;

namespace app {

// The question window of the new-database dialog: a text and the buttons
// "Ja" (accept) and "Nein" (reject).
class QuestionWindow : public QDialog {
    Q_OBJECT
public:
    explicit QuestionWindow(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

private:
    QPlainTextEdit* memo_;
};

// The question whether the drive file list of a drive is to be built again,
// with the date it was made. Lines joined by CR LF; the text begins with a
// line break.
QString listQuestionText(QChar driveLetter, const QString& dateText);

// The date of the list question: the moment in local time, daylight saving
// included, as the locale writes a date with a four-digit year and a time
// with seconds (German: 10.12.2026 05:40:12).
QString listDateText(const QDateTime& moment, const QLocale& locale);

} // namespace app
