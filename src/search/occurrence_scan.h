#pragma once

#include "byte_finder.h"

#include "platform/run_context.h"

#include <QByteArrayView>
#include <QList>

#include <functional>

namespace search {

struct [[nodiscard]] OccurrenceScan {
    QList<qint64> positions; // ascending
    bool reachedEnd = false; // the whole text was searched (not stopped by the limit or a cancel)
};

// The occurrence scan: every match of the finder, each search starting one
// byte after the previous match, so overlapping matches count. Stops after
// `limit` positions (0: no limit) and at the cancel token; checks after each
// match and between blocks, so a scan that finds nothing in a large file
// still answers "Abbrechen" quickly.
// `passed` is told each block that held no match, so the caller can let go
// of its memory.
OccurrenceScan scanOccurrences(QByteArrayView text, const ByteFinder& finder, int limit,
                               const platform::RunContext& run,
                               const std::function<void(qint64, qint64)>& passed = {});

// Whether the document marker at `position` is one the writer put there: it
// starts a line after the block's three lines of one blank, and the line
// after it is the underline. The writer keeps every line of document text from starting in
// the marker's form, so in a database it wrote no text line passes; in one
// written before, a text line passes only with the whole block header
// around it.
bool isWrittenDocumentMarker(QByteArrayView text, qint64 position);

// Finds the document an occurrence belongs to: the last document start
// strictly before it. Queried with descending occurrences, as the engine
// walks them, it searches backwards only as far as the document start and
// answers the following occurrences of the same document from memory, so
// assigning the first occurrences never depends on the size of the store.
// The answer equals taking the last entry below the occurrence from a full
// list of document starts.
class DocumentStartLocator {
public:
    // `writtenOnly`: only markers the writer put count (the database text);
    // the variant store, written by another edition, takes every marker.
    DocumentStartLocator(QByteArrayView text, const ByteFinder& marker, bool writtenOnly = false)
        : text_(text)
        , marker_(marker)
        , writtenOnly_(writtenOnly) {}

    // -1 when no document starts before the occurrence.
    qint64 documentStartBefore(qint64 occurrence);

    // The first document start after the occurrence and before `before`,
    // or -1: where the occurrence's document ends, looked for only as far
    // as the caller needs to know.
    qint64 documentStartAfter(qint64 occurrence, qint64 before) const;

private:
    bool counts(qint64 position) const {
        return !writtenOnly_ || isWrittenDocumentMarker(text_, position);
    }

    QByteArrayView text_;
    const ByteFinder& marker_;
    bool writtenOnly_;
    qint64 knownStart_ = -1; // a document start found earlier ...
    qint64 knownUpTo_ = -1;  // ... and the end of the range it answers for
};

} // namespace search
