#include "scanner_notice.h"

namespace filelist {

std::optional<QString> ScannerNotice::noticeText(platform::OsFamily os) {
    if (os != platform::OsFamily::Windows)
        return std::nullopt;
    return QStringLiteral("Bitte Geduld! Windows Defender überprüft gerade Trovex.");
}

ScannerNotice::Outputs ScannerNotice::tick(const Inputs& in) {
    Outputs out;
    const std::optional<QString> notice = noticeText(os_);
    // The "-" says that no scanner is checking the program; where there is
    // none to check it, it would only stand in the caption for a moment now
    // and then during the whole run.
    if (!notice)
        return out;
    if (!in.scannerRunning) {
        out.caption = QStringLiteral("-");
        return out;
    }
    ++counter_;
    const QString runText = in.updateMode ? QStringLiteral("Datenbank wird aktualisiert.")
                                          : QStringLiteral("Datenbank wird neu erstellt.");
    if (counter_ >= 5 || in.statusText.contains(QStringLiteral("Fertig mit der Indizierung."))) {
        out.stopTimer = true;
        counter_ = 0;
        out.caption = QString();
        if (!in.statusText.contains(QStringLiteral("Fertig mit der Indizierung")))
            out.statusText = runText;
        return out;
    }
    if (counter_ >= 2 && !in.caption.isEmpty() && !in.caption.contains(QStringLiteral("-Datei:"))) {
        out.caption = *notice;
        out.statusText = runText + QLatin1Char(' ') + *notice;
    }
    return out;
}

} // namespace filelist
