#include "clock.h"

#include <chrono>

namespace platform {

qint64 SteadyClock::milliseconds() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace platform
