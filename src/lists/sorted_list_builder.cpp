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
#include "platform/program_directory.h"
#include "textio/text_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

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

// Takes the lines of the pieces into the five groups.
class GroupCollector {
public:
    GroupCollector(const SortedListRequest& request, const platform::RunContext& run,
                   BoundedGroups& groups)
        : kind_(request.kind)
        , driveLetter_(databaseDriveLetter(request))
        , run_(run)
        , groups_(groups) {}

    // False when the run was stopped within the piece.
    bool collect(QByteArrayView piece) {
        return textio::forEachAnsiViewLine(piece, [this](QByteArrayView line) {
            return collectLine(std::string_view(line.data(), std::size_t(line.size())));
        });
    }

private:
    bool keepGoing() const {
        run_.yield();
        return !run_.cancelled();
    }

    bool collectLine(std::string_view line) {
        if (!keepGoing() || !groups_.error().isEmpty())
            return false;
        const std::string_view text = trimmedText(line);
        switch (kindOfLine(text, driveLetter_)) {
        case LineKind::Decoration:
            return true;
        case LineKind::DocumentPath:
            return groups_.add(0, text);
        case LineKind::Text:
            break;
        }
        if (!keepGoing())
            return false;
        forEachItemOfText(text, kind_, [this](int group, std::string_view item) {
            groups_.add(group - 1, item);
        });
        return groups_.error().isEmpty();
    }

    ListKind kind_;
    std::optional<unsigned char> driveLetter_;
    const platform::RunContext& run_;
    BoundedGroups& groups_;
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

ListBuildOutcome ErstelleNachtraeglichSortierteListen(const SortedListRequest& request,
                                                      const platform::RunContext& run,
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

    run.yield();
    if (run.cancelled()) {
        outcome.status = ListBuildStatus::Stopped;
        return outcome;
    }
    const ListFileWrite written = groups.write(
        database::sortedListPath(directory, request.databaseName), listCollator(request.locale),
        [&run] {
            run.yield();
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
