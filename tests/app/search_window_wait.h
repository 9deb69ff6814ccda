#pragma once

#include "app/search_window.h"

#include <QSignalSpy>
#include <QTest>

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
