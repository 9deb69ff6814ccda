#include "run_indicators.h"

namespace filelist {

qint64 elapsedSeconds(qint64 startTickMs, qint64 nowTickMs) {
    return nowTickMs / 1000 - startTickMs / 1000;
}

QString progressLineText(qint64 fileCount, const QString& elapsedTimeText, const QLocale& locale) {
    return QStringLiteral("Anzahl Dateien:     ") + locale.toString(fileCount) +
           QStringLiteral("     Zeit: ") + elapsedTimeText;
}

QString PatienceMarks::advance() {
    ++step_;
    if (step_ >= 6) {
        step_ = 0;
        return QString();
    }
    QString marks = QStringLiteral("°");
    for (int i = 1; i < step_; ++i)
        marks += QStringLiteral(" °");
    return marks;
}

QPoint patienceLabelPosition(const QRect& closeButton, int statusLineTop) {
    return QPoint(closeButton.left() + closeButton.width() / 2 - 20, statusLineTop + 2);
}

int patienceLabelLeftAfterTimeout(const QRect& closeButton) {
    return closeButton.left() + closeButton.width() - 10;
}

} // namespace filelist
