#pragma once

#include <QElapsedTimer>

// Keeping the window alive during long work on the UI thread.
namespace platform {

// Processes the pending events once.
void yieldToEvents();

// Waits the given milliseconds while the event loop keeps running.
void pauseWithEvents(int milliseconds);

// Yields at most once per interval. Long work calls its yield at every small
// step (each XML part of a document); handling events that often would cost
// more than the work, while a tenth of that rate still answers a click on
// "Abbrechen" at once.
class ThrottledYield {
public:
    explicit ThrottledYield(int intervalMilliseconds = 15)
        : interval_(intervalMilliseconds) {}
    void operator()();

private:
    QElapsedTimer sinceLast_;
    int interval_;
};

} // namespace platform
