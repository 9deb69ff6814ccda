#include "job_runner.h"

#include "job_log.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace jobs {

JobRunner::JobRunner(QObject* parent)
    : QObject(parent) {}

JobRunner::~JobRunner() {
    if (!thread_)
        return;
    token_.requestStop();
    thread_->wait();
    delete thread_;
}

bool JobRunner::start(std::function<void(const CancelToken&)> work, std::function<void()> onEnd) {
    Q_ASSERT(QThread::currentThread() == thread());
    if (running_)
        return false;
    if (thread_) {
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
    }
    token_ = CancelToken();
    running_ = true;
    const CancelToken token = token_;
    thread_ = QThread::create([this, token, work = std::move(work), onEnd = std::move(onEnd)] {
        qCDebug(lcJobs) << "job started";
        work(token);
        qCDebug(lcJobs) << "job ended" << (token.stopRequested() ? "after a stop request" : "");
        // The last call of the job: whatever it posted is delivered before.
        post([this, onEnd] {
            running_ = false;
            if (onEnd)
                onEnd();
            Q_EMIT finished();
        });
    });
    thread_->start();
    return true;
}

void JobRunner::post(std::function<void()> call) {
    // Reported before the work went to its thread (a run's first status):
    // shown at once, behind whatever is being shown.
    if (QThread::currentThread() == thread()) {
        deliver(std::move(call));
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, call = std::move(call)]() mutable { deliver(std::move(call)); },
        Qt::QueuedConnection);
}

void JobRunner::deliver(std::function<void()> call) {
    pending_.push_back(std::move(call));
    // A call that opened a modal box lets further calls arrive meanwhile:
    // they wait for it instead of opening their boxes on top of it.
    if (delivering_)
        return;
    delivering_ = true;
    while (!pending_.empty()) {
        const std::function<void()> next = std::move(pending_.front());
        pending_.pop_front();
        next();
    }
    delivering_ = false;
}

void JobRunner::callAndWait(const std::function<void()>& call) {
    if (QThread::currentThread() == thread())
        call();
    else
        QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

void JobRunner::waitForEnd() {
    // Waiting inside a delivered call would hold back the end it waits for.
    Q_ASSERT(QThread::currentThread() == thread() && !delivering_);
    if (!running_)
        return;
    QEventLoop loop;
    connect(this, &JobRunner::finished, &loop, &QEventLoop::quit);
    loop.exec();
    if (!running_)
        return;
    // The loop was ended from outside: the program quits (its last window
    // closed during the work). The caller must not go on while the work
    // still uses what it handed over, so the work is waited for, and what it
    // reported is delivered in order.
    qCDebug(lcJobs) << "waiting for a job while the program quits";
    thread_->wait();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    Q_ASSERT(!running_);
}

void runOnWorkerThread(const std::function<void()>& work) {
    std::unique_ptr<QThread> thread(QThread::create(work));
    thread->start();
    thread->wait();
}

} // namespace jobs
