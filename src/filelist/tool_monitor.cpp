#include "tool_monitor.h"

namespace filelist {

void ToolMonitor::start() {
    state_ = State::Waiting;
    waitCounter_ = 0;
    seen_ = false;
    finished_ = false;
    processStarted_ = false;
    processFinished_ = false;
}

void ToolMonitor::toolProcessStarted() {
    processStarted_ = true;
}

void ToolMonitor::toolProcessFinished() {
    processFinished_ = true;
}

ToolMonitor::TickAction ToolMonitor::tick(bool toolWindowFound) {
    if (state_ != State::Waiting && state_ != State::ToolRunning)
        return TickAction::None;

    if (processStarted_)
        seen_ = true;
    const bool processRunning = processStarted_ && !processFinished_;
    if (toolWindowFound || processRunning) {
        seen_ = true;
        state_ = State::ToolRunning;
        return TickAction::ToolVisible;
    }

    if (seen_) {
        finished_ = true;
        waitCounter_ = 0;
        state_ = State::ToolFinished;
        return TickAction::ReadList;
    }
    ++waitCounter_;
    if (waitCounter_ >= kTimeoutTicks) {
        waitCounter_ = -1;
        state_ = State::TimedOut;
        return TickAction::TimeOut;
    }
    return TickAction::ShowWaitingCaption;
}

QString waitingCaption(const QString& elapsedTimeText) {
    return QStringLiteral("Trovex-ODT wartet auf Erstellung der Hauptdatei-Liste! ") +
           elapsedTimeText;
}

QString timeoutStatusText(platform::OsFamily os) {
    if (os == platform::OsFamily::Windows)
        return QStringLiteral("\"ErstelleDateiliste.exe\" wurde abgebrochen, Vorgabezeit "
                              "überschritten oder noch nicht mit \"JA\" bestätigt!");
    return QStringLiteral("\"ErstelleDateiliste\" wurde abgebrochen oder die Vorgabezeit ist "
                          "überschritten!");
}

QString timeoutMessageText(platform::OsFamily os) {
    if (os == platform::OsFamily::Windows)
        return QStringLiteral(
            "Die Vorgabezeit ist überschritten! Sie hätten in der Taskleiste von Windows auf das "
            "blinkende Symbol mit dem Namen \"ErstelleDateiliste.exe\" klicken müssen. Wenn noch "
            "nicht geschehen, dann klicken Sie nun darauf und wählen Sie \"Nein\" aus, denn das "
            "aktuelle Indizieren ist leider gescheitert!");
    return QStringLiteral(
        "Die Vorgabezeit ist überschritten! Das Programm \"ErstelleDateiliste\" hat sich nicht "
        "innerhalb von 60 Sekunden gemeldet. Das aktuelle Indizieren ist leider gescheitert!");
}

} // namespace filelist
