#pragma once

#include "cancel_token.h"

#include <QObject>

#include <deque>
#include <functional>

class QThread;

namespace jobs {

// Runs one piece of long work on a worker thread of its own and brings what
// it reports back to the thread that owns the runner (the window's).
//
// Calls posted by the work are delivered in the order they were posted and
// never inside one another: a message box shown by one call holds back the
// next until it is closed, so the user meets the messages in the order the
// work gave them. finished() comes after the last of them.
class JobRunner : public QObject {
    Q_OBJECT

public:
    explicit JobRunner(QObject* parent = nullptr);
    // Asks a running job to stop and waits for its thread.
    ~JobRunner() override;

    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Starts `work` on a new worker thread with a fresh cancel token; `onEnd`
    // comes on the owner's thread after everything the work posted, just
    // before finished(). Only one job at a time: false (and nothing
    // started) while one runs.
    [[nodiscard]] bool start(std::function<void(const CancelToken&)> work,
                             std::function<void()> onEnd = {});
    [[nodiscard]] bool running() const { return running_; }
    // The token of the job that runs or ran last.
    [[nodiscard]] CancelToken token() const { return token_; }
    void cancel() const { token_.requestStop(); }

    // From the worker: runs `call` on the owner's thread, in order. From
    // the owner's thread: runs it at once, or after the call being shown.
    void post(std::function<void()> call);
    // From the worker: runs `call` on the owner's thread and waits until it
    // has run. From the owner's thread: runs it at once.
    void callAndWait(const std::function<void()>& call);

    // Owner's thread: returns when the job has ended and finished() has
    // been delivered; the owner's events are handled meanwhile. Also when
    // the program quits meanwhile: the work is then waited for.
    void waitForEnd();

Q_SIGNALS:
    void finished();

private:
    void deliver(std::function<void()> call);

    QThread* thread_ = nullptr;
    CancelToken token_;
    bool running_ = false;
    bool delivering_ = false;
    std::deque<std::function<void()>> pending_;
};

// For a driver without an event loop of its own (the command line): runs
// `work` on a worker thread and returns when it has ended.
void runOnWorkerThread(const std::function<void()>& work);

} // namespace jobs
