#pragma once

#include "platform/os_family.h"

#include <QString>

#include <optional>

namespace filelist {

// The scanner check (every second, switched on by the index run's list
// reading): while the platform's malware scanner runs, the main window says
// that it may be checking the program. The window calls tick() and applies
// what comes back. The notice names Windows Defender, so it is shown on
// Windows only; elsewhere the watch leaves the caption and the status line alone.
class ScannerNotice {
public:
    explicit ScannerNotice(platform::OsFamily os)
        : os_(os) {}

    struct Inputs {
        bool scannerRunning = false; // the process test for "MSMPENG.exe"
        QString statusText;          // the status line now
        QString caption;             // the main window's caption now
        bool updateMode = false;     // re-indexing rather than a new database
    };
    struct Outputs {
        bool stopTimer = false;
        std::optional<QString> caption;    // set the caption to this
        std::optional<QString> statusText; // set the status line to this
    };

    // The counter is 0 again (switching the timer on).
    void reset() { counter_ = 0; }
    Outputs tick(const Inputs& in);
    int counter() const { return counter_; }

    // The process the notice is about.
    static QString scannerProcessName() { return QStringLiteral("MSMPENG.exe"); }
    // The caption while the scanner checks the program; nothing where there
    // is no such scanner.
    static std::optional<QString> noticeText(platform::OsFamily os);

private:
    platform::OsFamily os_;
    int counter_ = 0;
};

} // namespace filelist
