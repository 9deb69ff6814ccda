#pragma once

#include "prompts.h"

#include <functional>

namespace platform {

// What long work (an index run, a search, a list build) receives from its
// driver: a way to keep the window responsive, the flags it must poll, and
// where its messages go. The GUI yields to the event loop, the CLI and tests
// pass what they need.
struct RunContext {
    std::function<void()> yield = [] {};
    // Waits the given milliseconds while the driver stays responsive.
    std::function<void(int)> pause = [](int) {};
    // Polled at every check; the driver sets the flag it points to.
    const bool* cancelRequested = nullptr;
    Prompts* prompts = nullptr;

    bool cancelled() const { return cancelRequested && *cancelRequested; }
};

} // namespace platform
