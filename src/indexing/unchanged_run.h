#pragma once

#include "text_cache.h"

#include "platform/drive_map.h"
#include "platform/run_context.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace indexing {

// What a re-index knows once it has staged its document list, to tell
// whether the database beside the text cache is the one it would write.
struct UnchangedRunInputs {
    QString programDirectory;
    QString name;
    QString stagedDocumentList; // the document list this run staged
    qint64 documentListSize = 0;
    quint32 documentListChecksum = 0;
    quint32 exclusionChecksum = 0;
    qint64 splitLimit = 0;
    const platform::DriveMap* drives = nullptr;
    const platform::RunContext* context = nullptr;
    // The builder's test of a listed path (container extension and slot).
    std::function<bool(const QString& path)> admitted;
    std::function<bool()> aborted;
};

// What the text-document builder would have counted and reported.
struct UnchangedRun {
    qint64 indexedDocuments = 0;
    qint64 totalSize = 0;
    // The documents the builder reports, in list order: those that could
    // not be read (or are encrypted), and those the caps cut (ContainerCut
    // flags).
    struct Report {
        QString path;
        bool unreadable = false;
        bool passwordProtected = false;
        quint8 cut = NotCut;
    };
    QList<Report> reports;
};

// The figures of the run when it would write the very database that is
// there: the record of the cache says the run that wrote it was complete,
// with the same split limit and exclusion set, over the same document list
// (byte for byte the one on disk), and the database text on disk is still
// the one it wrote (size, time and check sum); and every document the
// builder would take opens and has its entry with an unchanged stamp.
// Nothing as soon as any of that fails, or the run is aborted meanwhile:
// the run then builds the database as ever.
std::optional<UnchangedRun> findUnchangedRun(const UnchangedRunInputs& inputs,
                                             const TextCache& cache);

} // namespace indexing
