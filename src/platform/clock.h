#pragma once

#include <QtGlobal>

namespace platform {

// Milliseconds of a steady clock: the elapsed time of a run is taken from it.
// Behind a seam so that tests set the time instead of waiting for it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 milliseconds() const = 0;
};

class SteadyClock final : public Clock {
public:
    qint64 milliseconds() const override;
};

} // namespace platform
