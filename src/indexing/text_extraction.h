#pragma once

#include "extracted_text.h"
#include "member_source.h"

#include <QString>

#include <atomic>
#include <functional>

namespace indexing {

// A document's text is written out as a part file whenever it has reached
// this many characters.
inline constexpr qint64 kDefaultSplitLimit = 10'000'000;

// What an extraction is given by the thread that runs it: the run's yield
// when it runs on the window's thread, a stop flag when it runs ahead on a
// thread of its own.
struct ExtractionControl {
    std::function<void()> yield;
    const std::atomic<bool>* stop = nullptr;

    bool stopped() const { return stop && stop->load(std::memory_order_relaxed); }
    void yieldNow() const {
        if (yield)
            yield();
    }
};

// The member path, lower-cased, names a part that carries no running text
// (metadata, settings, styles, an EPUB's title page or table of contents).
bool isSkippedMember(const QString& memberPath);

// LoadXMLDocument: the text of a document's members, one line per text run,
// with one scanner for all members. Yields after every member and every
// part. False when it was stopped before the end (the text is then partial).
bool LoadXMLDocument(MemberSource& members, ExtractedText& text,
                     const ExtractionControl& control = {});

} // namespace indexing
