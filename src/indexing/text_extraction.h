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

// What an extraction is given by the thread that runs it: the run's
// checkpoint when the writer's thread extracts, a stop flag when it runs
// ahead on a reader thread.
struct ExtractionControl {
    std::function<void()> checkpoint;
    const std::atomic<bool>* stop = nullptr;

    bool stopped() const { return stop && stop->load(std::memory_order_relaxed); }
    void checkpointNow() const {
        if (checkpoint)
            checkpoint();
    }
};

// What the extraction takes from a member, by its name in the container.
enum class MemberRole {
    Text,
    // No running text: metadata, settings, styles, an EPUB's title page or
    // table of contents, macro source (Basic/, Scripts/), Word's building
    // blocks (word/glossary/).
    Skipped,
    // The styles of an OpenDocument file (styles.xml at the root): only the
    // headers and footers of its master pages.
    HeadersAndFooters,
};
MemberRole memberRole(const QString& memberName);

// extractDocumentText: the text of a document's members, with one scanner for
// all members. One line per paragraph (Word's w:p, OpenDocument's text:p
// and text:h, the block elements of XHTML), whatever markup splits it into
// runs; text outside paragraphs one line per text run, a run equal to the
// line before left out. Checks for a stop after every member and every part. False when
// it was stopped before the end (the text is then partial).
bool extractDocumentText(MemberSource& members, ExtractedText& text,
                         const ExtractionControl& control = {});

} // namespace indexing
