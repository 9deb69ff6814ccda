#include "question_window.h"

#include "widgets/object_names.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QVBoxLayout>

namespace app {

namespace names = widgets::objectnames::question_window;

QuestionWindow::QuestionWindow(QWidget* parent)
    : QDialog(parent) {
    widgets::named(this, names::window);
    setWindowTitle(QStringLiteral("Information"));
    memo_ = new QPlainTextEdit(this);
    widgets::named(memo_, names::text);
    memo_->setReadOnly(true);
    auto* yes = new QPushButton(QStringLiteral("Ja"), this);
    widgets::named(yes, names::yesButton);
    yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("Nein"), this);
    widgets::named(no, names::noButton);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    layout->addLayout(buttons);
    resize(560, 330);
}

void QuestionWindow::setText(const QString& text) {
    memo_->clear();
    memo_->setPlainText(text);
}

QString QuestionWindow::text() const {
    return memo_->toPlainText();
}

QString listQuestionText(QChar driveLetter, const QString& dateText) {
    const QStringList lines = {
        QString(),
        QStringLiteral("Die \"Haupt_Dateinamen_Liste_Laufwerk_") + driveLetter +
            QStringLiteral(".txt\" ist schon vorhanden."),
        QString(),
        QStringLiteral("\tSie wurde am: ") + dateText + QStringLiteral(" erstellt."),
        QString(),
        QStringLiteral("\t\tSoll sie neu erstellt werden?"),
        QStringLiteral("\t\t") + QString(38, QLatin1Char('-')),
        QString(),
        QStringLiteral("  Das geht relativ schnell. Für 300.000 Dateien etwa 25 Sekunden."),
        QString(),
        QString(13, QLatin1Char(' ')) +
            QStringLiteral("Test-PC:  Prozessor: Intel Core i5-7400 4 x 3.00 GHz"),
        QString(),
        QStringLiteral("Die Geschwindigkeit ist abhängig von der Leistungsfähigkeit des PC."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

namespace {

// The locale's short date, its two-digit year widened to four digits.
QString dateFormatWithFullYear(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    format.replace(twoDigitYear, QStringLiteral("yyyy"));
    return format;
}

// The locale's time with seconds, without the time zone it names.
QString timeFormatWithSeconds(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    static const QRegularExpression timeZone(QStringLiteral("\\s*(?<![A-Za-z'])t+(?![A-Za-z'])"));
    format.remove(timeZone);
    return format.trimmed();
}

} // namespace

QString listDateText(const QDateTime& moment, const QLocale& locale) {
    return locale.toString(moment.toLocalTime(), dateFormatWithFullYear(locale) + QLatin1Char(' ') +
                                                     timeFormatWithSeconds(locale));
}

} // namespace app
