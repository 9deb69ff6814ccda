#pragma once

// Keeping the window alive during long work on the UI thread.
namespace platform {

// Processes the pending events once.
void yieldToEvents();

// Waits the given milliseconds while the event loop keeps running.
void pauseWithEvents(int milliseconds);

} // namespace platform
