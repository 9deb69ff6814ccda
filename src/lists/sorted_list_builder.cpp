#include "sorted_list_builder.h"

#include "database/database_paths.h"
#include "database/document_list.h"
#include "database/generation_switch.h"
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
    GroupCollector(const SortedListRequest& request, const platform::RunContext& run)
        : kind_(request.kind)
        , driveLetter_(databaseDriveLetter(request))
        , run_(run) {}

    ListGroups& groups() { return groups_; }

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
        if (!keepGoing())
            return false;
        const std::string_view text = trimmedText(line);
        switch (kindOfLine(text, driveLetter_)) {
        case LineKind::Decoration:
            return true;
        case LineKind::DocumentPath:
            groups_[0].add(text);
            return true;
        case LineKind::Text:
            break;
        }
        if (!keepGoing())
            return false;
        forEachItemOfText(text, kind_, [this](int group, std::string_view item) {
            groups_[group - 1].add(item);
        });
        return true;
    }

    ListKind kind_;
    std::optional<unsigned char> driveLetter_;
    const platform::RunContext& run_;
    ListGroups groups_;
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

QString leftPiecesWarning(const QString& programDirectory) {
    return QStringLiteral("Die Teildateien \"SplitDokument…\" in \"") +
           QDir::toNativeSeparators(platform::tempDirectory(programDirectory)) +
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
                      const platform::RunContext& run, const ListProgressSink& progress) {
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
            read.status = ListBuildStatus::Stopped;
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
    database::completeInterruptedSwitch(directory, request.databaseName);
    const QFileInfo source(database::databaseTextPath(directory, request.databaseName));
    if (!source.isFile())
        return outcomeOf(ListBuildStatus::NoDocuments);
    if (source.size() <= 4)
        return outcomeOf(ListBuildStatus::NothingToSort);

    const QString temp = platform::tempDirectory(directory);
    if (!QDir().mkpath(temp)) {
        return outcomeOf(ListBuildStatus::Failed,
                         QStringLiteral("Kann das temporäre Verzeichnis ") +
                             QDir::toNativeSeparators(temp) + QStringLiteral(" nicht anlegen!"));
    }
    // Pieces of a build that was ended mid-way would otherwise stay until the
    // program closes (this build reads only the pieces it cuts itself).
    const bool staleRemoved = removeListPieceFiles(directory);
    const PieceCut cut = cutIntoPieces(source.filePath(), directory, request.pieceSize, run);
    if (cut.stopped)
        return outcomeOf(ListBuildStatus::Stopped);
    if (!cut.error.isEmpty())
        return outcomeOf(ListBuildStatus::Failed, cut.error);

    GroupCollector collector(request, run);
    const PiecesRead read = readPieces(cut.pieces, collector, run, progress);
    ListBuildOutcome outcome = outcomeOf(read.status, read.error);
    if (!staleRemoved || !read.allRemoved)
        outcome.warning = leftPiecesWarning(directory);
    if (outcome.status != ListBuildStatus::Written)
        return outcome;

    run.yield();
    if (run.cancelled()) {
        outcome.status = ListBuildStatus::Stopped;
        return outcome;
    }
    ListGroups& groups = collector.groups();
    for (int group = 0; group < kGroupCount; ++group)
        outcome.itemsPerGroup[group] = qsizetype(groups[group].size());
    const ListFileWrite written =
        writeSortedList(database::sortedListPath(directory, request.databaseName), groups,
                        listCollator(request.locale), [&run] {
                            run.yield();
                            return !run.cancelled();
                        });
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
