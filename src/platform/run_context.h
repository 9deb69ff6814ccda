#pragma once

#include "jobs/cancel_token.h"

#include <functional>

namespace platform {

// What long work (an index run, a search, a list build, a find) receives
// from its driver: the token that asks it to stop, and a hook at every point
// where it looks at that token. The work runs on a thread of its own; it
// never talks to the user, it reports.
struct RunContext {
    jobs::CancelToken cancel;
    // Called on the work's thread at every point where the work may stop.
    // Drivers leave it empty; tests hold the work there to act as a user
    // would at that moment (click "Abbrechen", close the window).
    std::function<void()> onCheckpoint;

    void checkpoint() const {
        if (onCheckpoint)
            onCheckpoint();
    }
    [[nodiscard]] bool cancelled() const { return cancel.stopRequested(); }
};

} // namespace platform
