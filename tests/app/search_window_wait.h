#pragma once

#include "app/search_window.h"

#include <QSignalSpy>
#include <QTest>

// How long a test waits for a job's end. A job over a large text takes far
// longer than QSignalSpy's default five seconds in a sanitizer build or
// under Wine; a job that never ends still fails the test.
constexpr int kJobEndWait = 240000;

// The result the search window closes with. A local search started by the
// user's action ends on its own: its end is waited for first.
inline int resultOnceSearchEnded(app::SearchWindow& window) {
    if (window.localSearchUnderWay()) {
        QSignalSpy ended(&window, &app::SearchWindow::localSearchEnded);
        if (!ended.wait(30000))
            qWarning("The local search did not end within 30 s");
    }
    return window.result();
}
