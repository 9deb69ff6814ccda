#pragma once

#include "text_cache.h"
#include "unpack_document.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace indexing {

// Extracts documents ahead of the run's one writer. The run submits the
// documents in the order of the document list and takes their extractions
// in the same order, so the database text, the part files, the captions
// and the messages come out exactly as in a run that extracts each
// document when it gets to it; only the waiting is shorter.
//
// With one thread nothing runs ahead: take() extracts on the calling
// thread, passing the run's checkpoints. With more, that many reader
// threads work through the submitted documents in order, while the caller
// waits for the one it takes, passing its checkpoints meanwhile. A document whose stamp matches its
// entry in the text cache is not read again either way.
//
// The extractions done ahead hold their text until the writer takes them.
// A container may give up to a gigabyte of text, so the readers start no
// further document while those hold more than kHeldTextBudget, unless it
// is the one the writer waits for.
class ExtractionPipeline {
public:
    static constexpr qint64 kHeldTextBudget = 256LL << 20;

    struct Options {
        int threads = 1;
        ExtractionLimits limits;
        const TextCache* cache = nullptr; // may be null
        std::function<void()> checkpoint; // the run's
    };

    explicit ExtractionPipeline(Options options);
    // Stops the readers (each stops within its current part) and waits for
    // them; extractions not taken are dropped.
    ~ExtractionPipeline();
    ExtractionPipeline(const ExtractionPipeline&) = delete;
    ExtractionPipeline& operator=(const ExtractionPipeline&) = delete;

    // The next document of the run, which may be extracted from now on.
    void submit(const QString& windowsPath, const QString& nativePath);

    struct Taken {
        DocumentExtraction extraction;
        // What the text cache keeps of it; nothing when the document could
        // not be looked at.
        std::optional<CacheEntry> cacheEntry;
    };
    // The extraction of the submitted document `windowsPath`: documents
    // submitted before it and not taken are passed over (the run skipped
    // them). Nothing when it was never submitted.
    std::optional<Taken> take(const QString& windowsPath);

private:
    struct Job;
    void readerLoop();
    void extract(Job& job, const ExtractionControl& control) const;

    Options options_;
    mutable std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable jobDone_;
    std::deque<std::shared_ptr<Job>> jobs_;   // in submission order
    std::deque<std::shared_ptr<Job>> queued_; // not yet picked by a reader
    std::shared_ptr<Job> awaited_;            // the one the writer waits for
    qint64 heldBytes_ = 0;                    // text of extractions done, not yet taken
    std::vector<std::thread> readers_;
    std::atomic<bool> stop_{false};
};

} // namespace indexing
