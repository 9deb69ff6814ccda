#pragma once

#include "platform/os_family.h"

#include <QString>

namespace filelist {

// What the main window's tool-watch timer (every 500 ms) does while the
// file-list tool runs, without the window: the main window calls tick() on
// every timer event and acts on the answer; the tool launcher's notifications
// go to toolProcessStarted() and toolProcessFinished() as they arrive.
//
//   Waiting       tool started, nothing seen yet; the wait counter counts ticks
//   ToolRunning   the tool has been seen (its window, or its process started)
//   ToolFinished  seen and then gone: read the list now
//   TimedOut      120 ticks (60 s) in Waiting: the run is given up
//
// "Seen" is the tool's window where top-level windows can be enumerated
// (the caller passes whether the window was found), and otherwise, and also there,
// the start notification of the tool's process. "Gone" is the finish
// notification of the process, or, for a tool seen only by its window, the
// window no longer being found. Because the notifications are latched, a tool
// that starts and ends between two ticks is still seen and finished on the
// next tick, instead of running into the time-out although its list exists.
class ToolMonitor {
public:
    enum class State { Idle, Waiting, ToolRunning, ToolFinished, TimedOut };

    // What one tick asks of the main window.
    enum class TickAction {
        None,               // Idle, finished or timed out already: nothing to do
        ToolVisible,        // clear the caption
        ShowWaitingCaption, // disable the four buttons, caption waitingCaption()
        ReadList,           // like ShowWaitingCaption, enable the close button, then
                            // clear the caption, stop the tool-watch timer and read
                            // the list
        TimeOut,            // stop the timers, clear the run flags, the status line gets
                            // timeoutStatusText(), a plain message box
                            // timeoutMessageText(), enable the four buttons
    };

    static constexpr int kTimeoutTicks = 120;

    // Starting the tool: wait counter 0, both flags cleared, state Waiting.
    void start();

    void toolProcessStarted();
    void toolProcessFinished();

    // One monitor tick. `toolWindowFound`: a top-level window with the tool's
    // title exists (always false where windows cannot be enumerated).
    TickAction tick(bool toolWindowFound);

    State state() const { return state_; }
    // 0 at the start, +1 per tick in Waiting, -1 after the time-out.
    int waitCounter() const { return waitCounter_; }
    bool toolSeen() const { return seen_; }
    bool toolFinished() const { return finished_; }

private:
    State state_ = State::Idle;
    int waitCounter_ = 0;
    bool seen_ = false;
    bool finished_ = false;
    bool processStarted_ = false;
    bool processFinished_ = false;
};

// "Trovex-ODT wartet auf Erstellung der Hauptdatei-Liste! " + elapsed time.
QString waitingCaption(const QString& elapsedTimeText);
// The status line after the time-out. On Windows the tool is started elevated and
// the user may not have said "JA" yet; elsewhere nothing is asked.
QString timeoutStatusText(platform::OsFamily os);
// The plain message box after the time-out. Only Windows has a task bar
// button that waits for the elevation question.
QString timeoutMessageText(platform::OsFamily os);

} // namespace filelist
