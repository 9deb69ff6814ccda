#include "sorted_list_builder.h"

#include "bounded_groups.h"
#include "database/database_lock.h"
#include "database/database_name.h"
#include "database/database_paths.h"
#include "database/document_list.h"
#include "database/generation_switch.h"
#include "database/run_scratch.h"
#include "database/storage_hint.h"
#include "list_file.h"
#include "list_order.h"
#include "platform/mapped_pages.h"
#include "platform/program_directory.h"
#include "textio/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace lists {
namespace {

constexpr int kProgressStep = 50;

ListBuildOutcome outcomeOf(ListBuildStatus status, const QString& error = {}) {
    ListBuildOutcome outcome;
    outcome.status = status;
    outcome.error = error;
    return outcome;
}

// The letter that opens the path lines, from the folder in the document
// list's header. Without a readable header no line counts as a path line.
std::optional<unsigned char> databaseDriveLetter(const SortedListRequest& request) {
    const auto header = database::readHeader(
        database::documentListPath(request.programDirectory, request.databaseName));
    return header ? driveLetterByte(database::driveLetterOfHeader(*header)) : std::nullopt;
}

// Bytes scanned between two looks back; lines from this length on are gone
// over in steps of it.
constexpr qsizetype kScanStep = 4 << 20;
constexpr qsizetype kLongLine = kScanStep;

// Lets go of the mapped pages more than a step behind a pass over a piece.
// A pass that goes back (the phrases after the words of a line) starts
// again from where restart() put it.
class PassReleaser {
public:
    void restart(const char* from) {
        released_ = from;
        last_ = from;
        from_ = from;
    }
    void reached(const char* at) {
        if (at < last_)
            released_ = from_;
        last_ = at;
        if (at - released_ < 2 * kScanStep)
            return;
        const char* to = at - kScanStep;
        platform::releaseMappedPages(released_, std::size_t(to - released_));
        released_ = to;
    }

private:
    const char* from_ = nullptr;
    const char* released_ = nullptr;
    const char* last_ = nullptr;
};

// Takes the lines of the pieces into the five groups.
class GroupCollector {
public:
    GroupCollector(const SortedListRequest& request, const platform::RunContext& run,
                   BoundedGroups& groups)
        : kind_(request.kind)
        , driveLetter_(databaseDriveLetter(request))
        , run_(run)
        , groups_(groups) {}

    // False when the run was stopped within the piece. The lines are those
    // of textio::forEachAnsiViewLine (the text ends at a NUL; CR, LF, VT and
    // FF end a line, CR LF once); the mapped pages behind each pass are let
    // go, so a piece of one long line is not resident whole.
    bool collect(QByteArrayView piece) {
        const char* bytes = piece.data();
        const qsizetype size = piece.size();
        pass_.restart(bytes);
        qsizetype end = size;
        for (qsizetype at = 0; at < size; at += kScanStep) {
            const qsizetype length = std::min(kScanStep, size - at);
            if (const void* nul = std::memchr(bytes + at, 0, std::size_t(length))) {
                end = static_cast<const char*>(nul) - bytes;
                break;
            }
            pass_.reached(bytes + at + length);
        }
        pass_.restart(bytes);
        qsizetype start = 0;
        for (qsizetype i = 0; i < end; ++i) {
            if ((i & (kScanStep - 1)) == 0)
                pass_.reached(bytes + i);
            const char c = bytes[i];
            if (c != '\r' && c != '\n' && c != '\v' && c != '\f')
                continue;
            if (!takeLine(bytes + start, i - start))
                return false;
            if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
        return start >= end || takeLine(bytes + start, end - start);
    }

private:
    bool keepGoing() const {
        run_.checkpoint();
        return !run_.cancelled();
    }

    bool takeLine(const char* line, qsizetype length) {
        if (length < kLongLine)
            return collectLine(std::string_view(line, std::size_t(length)));
        // A long line is gone over several times; each pass lets go of the
        // pages behind it, and the line's pages go once it is taken.
        pass_.restart(line);
        const bool taken = collectLine(std::string_view(line, std::size_t(length)));
        platform::releaseMappedPages(line, std::size_t(length));
        pass_.restart(line + length);
        return taken;
    }

    // kindOfLine, for a long line in steps that let go of the pages behind.
    LineKind kindOfLongLine(std::string_view text) {
        // A run of five marks lies whole in the step where it ends, read
        // from four bytes before the step.
        for (std::size_t at = 0; at < text.size(); at += std::size_t(kScanStep)) {
            const std::size_t from = at < 4 ? 0 : at - 4;
            if (isDecorationLine(text.substr(from, std::size_t(kScanStep) + (at - from))))
                return LineKind::Decoration;
            pass_.reached(text.data() + at);
        }
        pass_.restart(text.data());
        return isDocumentPathLine(text, driveLetter_) ? LineKind::DocumentPath : LineKind::Text;
    }

    bool collectLine(std::string_view line) {
        if (!keepGoing() || !groups_.error().isEmpty())
            return false;
        const std::string_view text = trimmedText(line);
        const bool longLine = qsizetype(text.size()) >= kLongLine;
        switch (longLine ? kindOfLongLine(text) : kindOfLine(text, driveLetter_)) {
        case LineKind::Decoration:
            return true;
        case LineKind::DocumentPath:
            return groups_.add(0, text);
        case LineKind::Text:
            break;
        }
        if (!keepGoing())
            return false;
        forEachItemOfText(text, kind_, [this, longLine](int group, std::string_view item) {
            if (longLine)
                pass_.reached(item.data());
            groups_.add(group - 1, item);
        });
        return groups_.error().isEmpty();
    }

    ListKind kind_;
    std::optional<unsigned char> driveLetter_;
    const platform::RunContext& run_;
    BoundedGroups& groups_;
    PassReleaser pass_;
};

// A piece file mapped into memory while its lines are taken.
class MappedPiece {
public:
    explicit MappedPiece(const QString& path)
        : file_(path) {
        if (!file_.open(QIODevice::ReadOnly))
            return;
        const qint64 size = file_.size();
        if (size == 0) {
            opened_ = true;
            return;
        }
        if (uchar* data = file_.map(0, size)) {
            bytes_ = QByteArrayView(reinterpret_cast<const char*>(data), size);
            opened_ = true;
        }
    }
    ~MappedPiece() { close(); }

    bool opened() const { return opened_; }
    QByteArrayView bytes() const { return bytes_; }
    // Unmaps the file so it can be deleted on every platform.
    void close() {
        if (!bytes_.isEmpty())
            file_.unmap(reinterpret_cast<uchar*>(const_cast<char*>(bytes_.data())));
        bytes_ = {};
        file_.close();
    }

private:
    QFile file_;
    QByteArrayView bytes_;
    bool opened_ = false;
};

bool removeFiles(const QStringList& paths) {
    bool removed = true;
    for (const QString& path : paths)
        removed = (QFile::remove(path) || !QFile::exists(path)) && removed;
    return removed;
}

QString leftPiecesWarning(const QString& folder) {
    return QStringLiteral("Die Teildateien \"SplitDokument…\" in \"") +
           QDir::toNativeSeparators(folder) +
           QStringLiteral("\" konnten nicht alle gelöscht werden.");
}

struct PiecesRead {
    ListBuildStatus status = ListBuildStatus::Written; // Written: every piece was read
    QString error;
    bool allRemoved = true;
};

// Reads the pieces in number order into the groups, moving the progress bar
// and deleting each piece once read; a stop or failure deletes the rest.
PiecesRead readPieces(const QStringList& pieces, GroupCollector& collector,
                      const BoundedGroups& groups, const platform::RunContext& run,
                      const ListProgressSink& progress) {
    PiecesRead read;
    ListProgress bar;
    if (progress)
        progress(bar);
    for (qsizetype index = 0; index < pieces.size(); ++index) {
        const QString& path = pieces.at(index);
        MappedPiece piece(path);
        if (!piece.opened()) {
            read.status = ListBuildStatus::Failed;
            read.error = QStringLiteral("Die Datei \"") + QDir::toNativeSeparators(path) +
                         QStringLiteral("\" kann nicht gelesen werden.");
        } else if (run.cancelled() || !collector.collect(piece.bytes())) {
            read.status =
                groups.error().isEmpty() ? ListBuildStatus::Stopped : ListBuildStatus::Failed;
            read.error = groups.error();
        }
        piece.close();
        if (read.status != ListBuildStatus::Written) {
            read.allRemoved = removeFiles(pieces.mid(index)) && read.allRemoved;
            return read;
        }
        bar.position = std::min(bar.position + kProgressStep, bar.maximum);
        if (progress)
            progress(bar);
        read.allRemoved = removeFiles({path}) && read.allRemoved;
    }
    return read;
}

} // namespace

QString noDocumentsMessage(const QString& databaseName) {
    return QStringLiteral("Für die Datenbank \"") + databaseName +
           QStringLiteral("\" existieren keine Dokumente, die sortiert werden könnten!");
}

ListBuildOutcome buildSortedList(const SortedListRequest& request, const platform::RunContext& run,
                                 const ListProgressSink& progress) {
    const QString& directory = request.programDirectory;
    if (const QString refused = database::databaseNameMessage(request.databaseName);
        !refused.isEmpty())
        return outcomeOf(ListBuildStatus::Refused, refused);
    // Held until the list is written: no index run replaces the text, and
    // no other build writes the list meanwhile.
    database::DatabaseLock lock;
    if (!lock.acquire(directory, request.databaseName))
        return lock.busy()
                   ? outcomeOf(ListBuildStatus::Refused, lock.message())
                   : outcomeOf(ListBuildStatus::Failed,
                               database::withStorageHint(
                                   lock.message(),
                                   database::databaseLockPath(directory, request.databaseName)));
    database::completeInterruptedSwitch(directory, request.databaseName);
    const QFileInfo source(database::databaseTextPath(directory, request.databaseName));
    if (!source.isFile())
        return outcomeOf(ListBuildStatus::NoDocuments);
    if (source.size() <= 4)
        return outcomeOf(ListBuildStatus::NothingToSort);

    database::removeAbandonedScratch(directory);
    const bool staleRemoved = removeListPieceFiles(directory);
    database::RunScratch scratch;
    if (!scratch.create(directory))
        return outcomeOf(ListBuildStatus::Failed, scratch.error());
    const PieceCut cut = cutIntoPieces(source.filePath(), scratch.path(), request.pieceSize, run);
    if (cut.stopped)
        return outcomeOf(ListBuildStatus::Stopped);
    if (!cut.error.isEmpty())
        return outcomeOf(ListBuildStatus::Failed, cut.error);

    BoundedGroups groups(scratch.path(), request.memoryBudget);
    GroupCollector collector(request, run, groups);
    const PiecesRead read = readPieces(cut.pieces, collector, groups, run, progress);
    ListBuildOutcome outcome = outcomeOf(read.status, read.error);
    if (!read.allRemoved)
        outcome.warning = leftPiecesWarning(scratch.path());
    else if (!staleRemoved)
        outcome.warning = leftPiecesWarning(platform::tempDirectory(directory));
    if (outcome.status != ListBuildStatus::Written)
        return outcome;

    run.checkpoint();
    if (run.cancelled()) {
        outcome.status = ListBuildStatus::Stopped;
        return outcome;
    }
    const ListFileWrite written = groups.write(
        database::sortedListPath(directory, request.databaseName), listCollator(request.locale),
        [&run] {
            run.checkpoint();
            return !run.cancelled();
        },
        outcome.itemsPerGroup);
    if (written.stopped)
        outcome.status = ListBuildStatus::Stopped;
    else if (!written.error.isEmpty())
        outcome.status = ListBuildStatus::Failed;
    outcome.error = written.error;
    if (outcome.status != ListBuildStatus::Written)
        outcome.itemsPerGroup = {};
    return outcome;
}

} // namespace lists
