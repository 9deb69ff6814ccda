#pragma once

#include "hit_context.h"
#include "search_engine.h"

#include "platform/drive_map.h"
#include "platform/run_context.h"

#include <QList>
#include <QString>

#include <functional>

namespace search {

// How one store (the database text, the variant store) answers the
// questions the hit loop asks about an occurrence.
struct OccurrenceReader {
    // The start of the document the occurrence lies in; -1 when no document
    // starts before it (the occurrence is not counted).
    std::function<qint64(qint64 occurrence)> documentStart;
    // The path the header at a document start names, as read.
    std::function<QString(qint64 documentStart)> headerPath;
    // Whether the occurrence stands as a whole word; asked only when whole
    // words were asked for.
    std::function<bool(qint64 occurrence)> wholeWord;
    // The context the page shows for an accepted occurrence of the document.
    std::function<HitContextEntry(qint64 occurrence, qint64 documentStart, const QString& path)>
        context;
};

// The one loop from occurrences to result lines: every occurrence, from the
// last to the first, is assigned to its document, checked as a whole word,
// its path resolved and its context kept (appended to `hitContexts`); then
// the accepted ones are counted per document. A stop request ends it with
// nothing.
QList<DocumentResult> documentResults(const QList<qint64>& occurrences,
                                      const OccurrenceReader& reader, bool wholeWords,
                                      const std::function<QString(const QString&)>& resolvePath,
                                      QList<HitContextEntry>& hitContexts,
                                      const platform::DriveMap& drives,
                                      const platform::RunContext& run);

} // namespace search
