#pragma once

#include <atomic>
#include <memory>

namespace jobs {

// The one way to ask a job to stop. Copies share the flag, so the window
// keeps one and the job polls another; the flag is atomic because the two
// sit on different threads. Once set it stays set: a job is never asked to
// go on again.
class CancelToken {
public:
    CancelToken()
        : flag_(std::make_shared<std::atomic<bool>>(false)) {}

    void requestStop() const { flag_->store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool stopRequested() const { return flag_->load(std::memory_order_relaxed); }

private:
    std::shared_ptr<std::atomic<bool>> flag_;
};

} // namespace jobs
