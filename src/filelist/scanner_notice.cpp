#include "scanner_notice.h"

namespace filelist {

ScannerNotice::Outputs ScannerNotice::tick(const Inputs& in) {
    Outputs out;
    if (!in.scannerRunning) {
        out.caption = QStringLiteral("-");
        return out;
    }
    ++counter_;
    const QString statusText = in.updateMode ? QStringLiteral("Datenbank wird aktualisiert.")
                                             : QStringLiteral("Datenbank wird neu erstellt.");
    if (counter_ >= 5 || in.label1.contains(QStringLiteral("Fertig mit der Indizierung."))) {
        out.stopTimer = true;
        counter_ = 0;
        out.caption = QString();
        if (!in.label1.contains(QStringLiteral("Fertig mit der Indizierung")))
            out.label1 = statusText;
        return out;
    }
    if (counter_ >= 2 && !in.caption.isEmpty() && !in.caption.contains(QStringLiteral("-Datei:"))) {
        const QString notice =
            QStringLiteral("Bitte Geduld! Windows Defender überprüft gerade Trovex.");
        out.caption = notice;
        out.label1 = statusText + QLatin1Char(' ') + notice;
    }
    return out;
}

} // namespace filelist
