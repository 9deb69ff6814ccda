#include "document_hits.h"

#include <algorithm>

namespace search {

QList<DocumentResult> documentResults(const QList<qint64>& occurrences,
                                      const OccurrenceReader& reader, bool wholeWords,
                                      const std::function<QString(const QString&)>& resolvePath,
                                      QList<HitContextEntry>& hitContexts,
                                      const platform::DriveMap& drives,
                                      const platform::RunContext& run) {
    // The locators answer from memory only for descending queries.
    Q_ASSERT(std::is_sorted(occurrences.cbegin(), occurrences.cend()));
    QStringList acceptedPaths;
    for (auto it = occurrences.crbegin(); it != occurrences.crend(); ++it) {
        const qint64 occurrence = *it;
        const qint64 start = reader.documentStart(occurrence);
        if (start < 0)
            continue;
        const QString headerPath = reader.headerPath(start);
        run.checkpoint();
        if (run.cancelled())
            return {};
        if (wholeWords && !reader.wholeWord(occurrence))
            continue;
        const QString path = resolvePath(headerPath);
        acceptedPaths.append(path);
        hitContexts.append(reader.context(occurrence, start, path));
        run.checkpoint();
        if (run.cancelled())
            return {};
    }
    return countPerDocument(acceptedPaths, drives, run);
}

} // namespace search
