#include "window_jobs.h"

namespace app::windowjobs {

platform::RunContext jobContext(jobs::JobRunner& runner, const AppServices& services,
                                const jobs::CancelToken& token) {
    platform::RunContext context;
    context.cancel = token;
    if (services.jobCheckpoint) {
        context.onCheckpoint = [&runner, checkpoint = services.jobCheckpoint] {
            runner.callAndWait(checkpoint);
        };
    }
    return context;
}

bool start(jobs::JobRunner& runner, const AppServices& services,
           std::function<void(const platform::RunContext&)> work, std::function<void()> onEnd) {
    return runner.start(
        [&runner, &services, work = std::move(work)](const jobs::CancelToken& token) {
            work(jobContext(runner, services, token));
        },
        std::move(onEnd));
}

} // namespace app::windowjobs
