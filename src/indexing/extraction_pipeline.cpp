#include "extraction_pipeline.h"

#include <chrono>

namespace indexing {
namespace {

// How long the writer waits for a reader before it lets the window work.
constexpr std::chrono::milliseconds kWaitSlice{10};

} // namespace

struct ExtractionPipeline::Job {
    QString windowsPath;
    QString nativePath;
    bool done = false;
    bool passedOver = false; // the run skipped it: its text is never taken
    qint64 heldBytes = 0;    // counted in heldBytes_ while done and not taken
    Taken result;
};

namespace {

qint64 textBytesOf(const DocumentExtraction& extraction) {
    return extraction.text.bytes().size() + extraction.text.lineLengths().size();
}

} // namespace

ExtractionPipeline::ExtractionPipeline(Options options)
    : options_(std::move(options)) {
    if (options_.threads > 1) {
        for (int i = 0; i < options_.threads; ++i)
            readers_.emplace_back([this] { readerLoop(); });
    }
}

ExtractionPipeline::~ExtractionPipeline() {
    {
        std::lock_guard lock(mutex_);
        stop_.store(true);
        queued_.clear();
    }
    workReady_.notify_all();
    for (std::thread& reader : readers_)
        reader.join();
}

void ExtractionPipeline::submit(const QString& windowsPath, const QString& nativePath) {
    auto job = std::make_shared<Job>();
    job->windowsPath = windowsPath;
    job->nativePath = nativePath;
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(job);
        if (!readers_.empty())
            queued_.push_back(job);
    }
    if (!readers_.empty())
        workReady_.notify_one();
}

// The stamp is taken before the document is read: a document that changes
// while it is read then has a newer stamp than its entry and is read again
// next time. The entry of a document read anew is made here too, so the
// writer's thread only copies it.
void ExtractionPipeline::extract(Job& job, const ExtractionControl& control) const {
    const std::optional<DocumentStamp> stamp = documentStamp(job.nativePath);
    if (options_.cache && stamp) {
        job.result.cacheEntry = options_.cache->find(job.windowsPath, job.nativePath, *stamp);
        if (job.result.cacheEntry) {
            job.result.extraction = job.result.cacheEntry->extraction;
            return;
        }
    }
    job.result.extraction =
        extractDocument(job.windowsPath, job.nativePath, options_.limits, control);
    if (stamp && job.result.extraction.outcome != DocumentExtraction::Outcome::Stopped) {
        job.result.cacheEntry =
            makeCacheEntry(job.windowsPath, job.nativePath, *stamp, job.result.extraction);
        job.result.extraction = job.result.cacheEntry->extraction;
    }
}

void ExtractionPipeline::readerLoop() {
    const ExtractionControl control{{}, &stop_};
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(mutex_);
            workReady_.wait(lock, [&] {
                return stop_.load() || (!queued_.empty() && (heldBytes_ <= kHeldTextBudget ||
                                                             queued_.front() == awaited_));
            });
            if (stop_.load())
                return;
            job = std::move(queued_.front());
            queued_.pop_front();
        }
        extract(*job, control);
        {
            std::lock_guard lock(mutex_);
            job->done = true;
            if (job->passedOver) {
                job->result = {};
            } else {
                job->heldBytes = textBytesOf(job->result.extraction);
                heldBytes_ += job->heldBytes;
            }
        }
        jobDone_.notify_all();
    }
}

std::optional<ExtractionPipeline::Taken> ExtractionPipeline::take(const QString& windowsPath) {
    std::shared_ptr<Job> job;
    {
        std::lock_guard lock(mutex_);
        while (!jobs_.empty() && jobs_.front()->windowsPath != windowsPath) {
            // Passed over by the run: a reader that has not started it never will.
            const auto skipped = jobs_.front();
            jobs_.pop_front();
            std::erase(queued_, skipped);
            heldBytes_ -= skipped->heldBytes;
            skipped->heldBytes = 0;
            skipped->passedOver = true;
        }
        if (jobs_.empty())
            return std::nullopt;
        job = jobs_.front();
        jobs_.pop_front();
        awaited_ = job;
    }
    // A reader held back by the budget may start the awaited document.
    workReady_.notify_all();
    if (readers_.empty()) {
        awaited_.reset();
        extract(*job, ExtractionControl{options_.checkpoint, nullptr});
        return std::move(job->result);
    }
    std::unique_lock lock(mutex_);
    while (!job->done) {
        if (!jobDone_.wait_for(lock, kWaitSlice, [&] { return job->done; })) {
            lock.unlock();
            if (options_.checkpoint)
                options_.checkpoint();
            lock.lock();
        }
    }
    heldBytes_ -= job->heldBytes;
    job->heldBytes = 0;
    awaited_.reset();
    lock.unlock();
    workReady_.notify_all(); // the budget may have room again
    return std::move(job->result);
}

} // namespace indexing
