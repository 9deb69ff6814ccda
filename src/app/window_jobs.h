#pragma once

#include "app_services.h"

#include "jobs/job_runner.h"
#include "platform/run_context.h"

#include <functional>
#include <type_traits>

// Long work of a window (an index run, a search, a list build, the position
// list, a find) runs as a job on a worker thread. The handler that starts it
// returns at once, so the window keeps painting and hears "Abbrechen" as an
// ordinary click; what the job reports, and then its end, reach the
// window's thread in the order the job gave them.
namespace app::windowjobs {

// The context a job of the window works with: the token of the runner's
// job, and the services' checkpoint hook, run on the window's thread.
platform::RunContext jobContext(jobs::JobRunner& runner, const AppServices& services,
                                const jobs::CancelToken& token);

// Starts `work` and returns at once; `onEnd` comes on the window's thread
// after all the work reported. False, and nothing started, while another
// job of the runner works.
[[nodiscard]] bool start(jobs::JobRunner& runner, const AppServices& services,
                         std::function<void(const platform::RunContext&)> work,
                         std::function<void()> onEnd);

// A callback for the job that makes `call` on the window's thread.
template <typename... Args>
std::function<void(Args...)> onWindowThread(jobs::JobRunner& runner,
                                            std::function<void(Args...)> call) {
    return [&runner, call = std::move(call)](Args... args) {
        runner.post([call, ... copied = std::decay_t<Args>(args)] { call(copied...); });
    };
}

} // namespace app::windowjobs
