#include "unchanged_run.h"

#include "checksum.h"

#include "database/database_paths.h"
#include "database/document_list.h"
#include "platform/program_directory.h"
#include "textio/regular_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace indexing {
namespace {

constexpr qint64 kReadPiece = 4 << 20;

// Both files hold the same bytes.
bool sameBytes(const QString& a, const QString& b) {
    QFile first;
    QFile second;
    if (!textio::openRegularFile(first, a) || !textio::openRegularFile(second, b) ||
        first.size() != second.size())
        return false;
    for (;;) {
        const QByteArray x = first.read(kReadPiece);
        const QByteArray y = second.read(kReadPiece);
        if (x != y)
            return false;
        if (x.isEmpty())
            return first.error() == QFileDevice::NoError && second.error() == QFileDevice::NoError;
    }
}

// The check sum of a whole file, summed piece by piece over mappings (no
// copy of the text, and no more of it resident than one piece) with the
// run's checkpoints; nothing when it cannot be read or the run was aborted.
std::optional<quint32> fileChecksum(const QString& path, const UnchangedRunInputs& inputs) {
    QFile file;
    if (!textio::openRegularFile(file, path))
        return std::nullopt;
    const qint64 size = file.size();
    quint32 checksum = 0;
    for (qint64 at = 0; at < size; at += kReadPiece) {
        const qint64 length = std::min(kReadPiece, size - at);
        uchar* piece = file.map(at, length);
        if (!piece)
            return std::nullopt;
        checksum = extendCrc32c(checksum, QByteArrayView(reinterpret_cast<const char*>(piece),
                                                         static_cast<qsizetype>(length)));
        file.unmap(piece);
        inputs.context->checkpoint();
        if (inputs.aborted())
            return std::nullopt;
    }
    return checksum;
}

bool sameRunInputs(const UnchangedRunInputs& inputs, const RunRecord& record) {
    return record.complete && record.splitLimit == inputs.splitLimit &&
           record.exclusionChecksum == inputs.exclusionChecksum &&
           record.documentListSize == inputs.documentListSize &&
           record.documentListChecksum == inputs.documentListChecksum &&
           sameBytes(inputs.stagedDocumentList,
                     database::documentListPath(inputs.programDirectory, inputs.name));
}

bool textStampUnchanged(const QString& textPath, const RunRecord& record) {
    const std::optional<DocumentStamp> stamp = documentStamp(textPath);
    return stamp && stamp->size == record.textSize && stamp->modified == record.textModified;
}

// The builder's steps for one listed path, without reading the document:
// false when the document would be read anew or shows a message.
bool takeDocument(const QString& path, const UnchangedRunInputs& inputs, const TextCache& cache,
                  UnchangedRun& run) {
    inputs.context->checkpoint();
    if (inputs.aborted())
        return false;
    if (!inputs.admitted(path))
        return true;
    const auto native = inputs.drives->toNative(path);
    const std::optional<DocumentStamp> stamp =
        native ? readableDocumentStamp(*native) : std::nullopt;
    if (!stamp)
        return false; // the builder tells the user it is in use or missing
    run.totalSize += stamp->size;
    const auto summary = cache.summary(path, *native);
    if (!summary || summary->stamp != *stamp)
        return false;
    if (summary->readable)
        ++run.indexedDocuments;
    if (!summary->readable || summary->cut != NotCut)
        run.reports.append({path, !summary->readable, summary->passwordProtected, summary->cut});
    return true;
}

} // namespace

std::optional<UnchangedRun> findUnchangedRun(const UnchangedRunInputs& inputs,
                                             const TextCache& cache) {
    const RunRecord& record = cache.record();
    const QString textPath = database::databaseTextPath(inputs.programDirectory, inputs.name);
    if (!cache.usable() || !sameRunInputs(inputs, record) ||
        !textStampUnchanged(textPath, record) ||
        !QFileInfo(platform::unpackDirectory(inputs.programDirectory)).isDir())
        return std::nullopt;
    UnchangedRun run;
    bool unchanged = true;
    const bool read =
        database::forEachDocumentPath(inputs.stagedDocumentList, [&](const QString& path) {
            unchanged = takeDocument(path, inputs, cache, run);
            return unchanged;
        });
    if (!read || !unchanged || fileChecksum(textPath, inputs) != record.textChecksum)
        return std::nullopt;
    return run;
}

} // namespace indexing
