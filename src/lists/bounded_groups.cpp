#include "bounded_groups.h"

#include "list_order.h"

#include "database/storage_hint.h"
#include "platform/program_directory.h"
#include "textio/durable_files.h"
#include "textio/windows1252.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <optional>

namespace lists {
namespace {

// Runs merged at once; more are merged in batches first, so the files open
// at a time stay few whatever the text.
constexpr std::size_t kFanIn = 32;
constexpr qsizetype kIoBlock = 1 << 20;
constexpr std::size_t kItemsBetweenChecks = 4096;
// The cost moves by a few bytes per item, so it is summed up only now and
// then; a tiny budget still gives runs of this many items.
constexpr std::size_t kItemsBetweenCostChecks = 1024;
// What the sort keys of an item take beside its bytes, roughly: the key
// object, its buffer, and about two key bytes for every byte of the item.
constexpr std::size_t kKeyCostPerItem = 160;
constexpr std::size_t kKeyCostPerByte = 2;

int compareLowered(std::string_view a, std::string_view b) {
    const auto& lower = textio::windows1252LowerTable();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char la = lower[static_cast<unsigned char>(a[i])];
        const unsigned char lb = lower[static_cast<unsigned char>(b[i])];
        if (la != lb)
            return la < lb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QString writeError(const QString& path, const QString& reason) {
    return database::withStorageHint(
        QStringLiteral("Die Datei \"") + QDir::toNativeSeparators(path) +
            QStringLiteral("\" kann nicht geschrieben werden: ") + reason,
        path);
}

QString readError(const QString& path) {
    return QStringLiteral("Die Datei \"") + QDir::toNativeSeparators(path) +
           QStringLiteral("\" kann nicht gelesen werden.");
}

std::size_t costOf(const DistinctItems& items) {
    return items.bytesHeld() + items.size() * kKeyCostPerItem + items.itemBytes() * kKeyCostPerByte;
}

// A run file: records of the item's length and origin (4 bytes each, in
// the machine's order: the file never leaves the build), then its bytes.
class RunWriter {
public:
    explicit RunWriter(const QString& path)
        : file_(path) {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            error_ = writeError(path, textio::writeFailureReason(file_));
    }
    bool put(std::string_view item, std::uint32_t origin) {
        if (!error_.isEmpty())
            return false;
        const auto length = static_cast<std::uint32_t>(item.size());
        buffer_.append(reinterpret_cast<const char*>(&length), sizeof length);
        buffer_.append(reinterpret_cast<const char*>(&origin), sizeof origin);
        buffer_.append(item.data(), qsizetype(item.size()));
        return buffer_.size() < kIoBlock || flush();
    }
    bool finish() {
        if (!flush())
            return false;
        file_.close();
        if (file_.error() != QFileDevice::NoError)
            error_ = writeError(file_.fileName(), textio::writeFailureReason(file_));
        return error_.isEmpty();
    }
    const QString& error() const { return error_; }

private:
    bool flush() {
        if (!error_.isEmpty())
            return false;
        if (file_.write(buffer_) != buffer_.size())
            error_ = writeError(file_.fileName(), textio::writeFailureReason(file_));
        buffer_.clear();
        return error_.isEmpty();
    }

    QFile file_;
    QByteArray buffer_;
    QString error_;
};

class RunReader {
public:
    explicit RunReader(const QString& path)
        : file_(path) {
        failed_ = !file_.open(QIODevice::ReadOnly);
    }
    // The next record; false at the end or on a failure (failed()).
    bool next() {
        std::uint32_t head[2];
        const qint64 got = file_.read(reinterpret_cast<char*>(head), sizeof head);
        if (got == 0)
            return false;
        if (got != qint64(sizeof head)) {
            failed_ = true;
            return false;
        }
        item_.resize(head[0]);
        origin_ = head[1];
        if (head[0] > 0 && file_.read(item_.data(), head[0]) != qint64(head[0])) {
            failed_ = true;
            return false;
        }
        return true;
    }
    std::string_view item() const { return item_; }
    std::uint32_t origin() const { return origin_; }
    bool failed() const { return failed_; }
    QString path() const { return file_.fileName(); }

private:
    QFile file_;
    std::string item_;
    std::uint32_t origin_ = 0;
    bool failed_ = false;
};

using MergeStatus = BoundedGroups::Step;

// Merges runs: the readers' heads, smallest by `less(a, b)` (indices of
// readers) first, go to `take(reader)`, which returns false to stop (its
// caller then knows why). `advanced(index)` is called whenever a reader has
// a new head, before it is compared.
class RunMerge {
public:
    using Less = std::function<bool(std::size_t, std::size_t)>;

    explicit RunMerge(const std::vector<QString>& paths) {
        for (const QString& path : paths)
            readers_.push_back(std::make_unique<RunReader>(path));
    }
    RunReader& reader(std::size_t index) { return *readers_[index]; }

    MergeStatus run(const Less& less, const std::function<void(std::size_t)>& advanced,
                    const std::function<bool(RunReader&)>& take,
                    const std::function<bool()>& keepGoing) {
        MergeStatus status;
        std::vector<std::size_t> heap;
        for (std::size_t index = 0; index < readers_.size(); ++index) {
            RunReader& reader = *readers_[index];
            if (reader.next()) {
                advanced(index);
                heap.push_back(index);
            } else if (reader.failed()) {
                status.error = readError(reader.path());
                return status;
            }
        }
        const auto after = [&](std::size_t a, std::size_t b) { return less(b, a); };
        std::make_heap(heap.begin(), heap.end(), after);
        std::size_t taken = 0;
        while (!heap.empty()) {
            if (++taken % kItemsBetweenChecks == 0 && !keepGoing()) {
                status.stopped = true;
                return status;
            }
            std::pop_heap(heap.begin(), heap.end(), after);
            const std::size_t top = heap.back();
            RunReader& reader = *readers_[top];
            if (!take(reader))
                return status;
            if (reader.next()) {
                advanced(top);
                std::push_heap(heap.begin(), heap.end(), after);
            } else if (reader.failed()) {
                status.error = readError(reader.path());
                return status;
            } else {
                heap.pop_back();
            }
        }
        return status;
    }

private:
    std::vector<std::unique_ptr<RunReader>> readers_;
};

void removeRuns(const std::vector<QString>& paths) {
    for (const QString& path : paths)
        QFile::remove(path);
}

} // namespace

BoundedGroups::BoundedGroups(QString scratchFolder, std::size_t budget)
    : folder_(platform::withTrailingSeparator(scratchFolder))
    , budget_(budget) {}

BoundedGroups::~BoundedGroups() {
    for (const auto& runs : runs_)
        removeRuns(runs);
}

QString BoundedGroups::runPath(const QString& kind, int group, int number) const {
    return folder_ + QStringLiteral("Gruppe%1-%2-%3.lauf").arg(group + 1).arg(kind).arg(number);
}

std::size_t BoundedGroups::cost() const {
    std::size_t total = 0;
    for (const DistinctItems& group : groups_)
        total += costOf(group);
    return total;
}

bool BoundedGroups::add(int group, std::string_view item) {
    if (!error_.isEmpty())
        return false;
    groups_[group].add(item);
    if (++added_ % kItemsBetweenCostChecks == 0 && cost() > budget_)
        return spill();
    return true;
}

// Each group to a run of its own, ordered by the lower-case forms; the
// run's number is its origin.
bool BoundedGroups::spill() {
    const auto origin = static_cast<std::uint32_t>(spills_);
    for (int group = 0; group < kGroupCount; ++group) {
        DistinctItems& items = groups_[group];
        if (items.size() == 0)
            continue;
        std::vector<std::uint32_t> order(items.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            return compareLowered(items.item(a), items.item(b)) < 0;
        });
        const QString path = runPath(QStringLiteral("a"), group, ++files_);
        runs_[group].push_back(path);
        RunWriter run(path);
        for (std::uint32_t index : order)
            run.put(items.item(index), origin);
        if (!run.finish()) {
            error_ = run.error();
            return false;
        }
        items.clear();
    }
    ++spills_;
    return true;
}

// Step 2: the distinct items of a group's runs, each once in its first
// form, by their lower-case forms. Many runs are first merged in batches;
// a batch keeps the first form of each item with its origin.
BoundedGroups::Step
BoundedGroups::forEachDistinct(int group, const std::function<bool(std::string_view)>& take,
                               const std::function<bool()>& keepGoing) {
    std::vector<QString>& runs = runs_[group];
    const auto mergeDistinct = [&](const std::vector<QString>& paths,
                                   const std::function<bool(RunReader&)>& give) {
        RunMerge merge(paths);
        std::string last;
        bool any = false;
        const auto less = [&merge](std::size_t a, std::size_t b) {
            RunReader& ra = merge.reader(a);
            RunReader& rb = merge.reader(b);
            const int order = compareLowered(ra.item(), rb.item());
            return order != 0 ? order < 0 : ra.origin() < rb.origin();
        };
        return merge.run(
            less, [](std::size_t) {},
            [&](RunReader& reader) {
                if (any && compareLowered(last, reader.item()) == 0)
                    return true; // a later form of an item already given
                any = true;
                last.assign(reader.item());
                return give(reader);
            },
            keepGoing);
    };
    while (runs.size() > kFanIn) {
        const std::vector<QString> batch(runs.begin(), runs.begin() + kFanIn);
        const QString merged = runPath(QStringLiteral("a"), group, ++files_);
        runs.push_back(merged);
        RunWriter out(merged);
        MergeStatus status = mergeDistinct(
            batch, [&out](RunReader& reader) { return out.put(reader.item(), reader.origin()); });
        if (status.ok() && !out.finish())
            status.error = out.error();
        else if (status.ok() && !out.error().isEmpty())
            status.error = out.error();
        if (!status.ok())
            return status;
        removeRuns(batch);
        runs.erase(runs.begin(), runs.begin() + kFanIn);
    }
    MergeStatus status =
        mergeDistinct(runs, [&take](RunReader& reader) { return take(reader.item()); });
    removeRuns(runs);
    runs.clear();
    return status;
}

// Step 3: the items given to it in list order, in pieces of the budget.
BoundedGroups::Step BoundedGroups::sortDistinct(int group, const QCollator& collator,
                                                const std::function<bool()>& keepGoing,
                                                const std::function<bool(std::string_view)>& take,
                                                qsizetype& count) {
    std::vector<QString> sorted;
    DistinctItems piece;
    QString failure;
    bool stopped = false;
    const auto writePiece = [&]() {
        const auto order = listOrder(piece, collator, keepGoing);
        if (!order) {
            stopped = true;
            return false;
        }
        const QString path = runPath(QStringLiteral("b"), group, ++files_);
        sorted.push_back(path);
        RunWriter out(path);
        for (std::size_t index : *order)
            out.put(piece.item(index), 0);
        piece.clear();
        if (!out.finish()) {
            failure = out.error();
            return false;
        }
        return true;
    };
    MergeStatus status = forEachDistinct(
        group,
        [&](std::string_view item) {
            piece.add(item);
            ++count;
            // As for the groups: the cost is looked at every so many items.
            return piece.size() % kItemsBetweenCostChecks != 0 || costOf(piece) <= budget_ ||
                   writePiece();
        },
        keepGoing);
    const auto finished = [&](MergeStatus result) {
        removeRuns(sorted);
        return result;
    };
    if (stopped)
        status.stopped = true;
    if (!failure.isEmpty())
        status.error = failure;
    if (!status.ok())
        return finished(status);

    if (sorted.empty()) {
        // All of the group fits: sorted at once, without a file.
        const auto order = listOrder(piece, collator, keepGoing);
        if (!order)
            return finished({true, {}});
        for (std::size_t index : *order) {
            if (!take(piece.item(index)))
                return finished({});
        }
        return finished({});
    }
    if (piece.size() > 0 && !writePiece()) {
        status.stopped = stopped;
        status.error = failure;
        return finished(status);
    }

    // The sorted pieces merged, many first in batches.
    const auto mergeSorted = [&](const std::vector<QString>& paths,
                                 const std::function<bool(RunReader&)>& give) {
        RunMerge merge(paths);
        std::vector<std::optional<QCollatorSortKey>> keys(paths.size());
        const auto less = [&](std::size_t a, std::size_t b) {
            if (const int byCollator = keys[a]->compare(*keys[b]))
                return byCollator < 0;
            return compareLowerCaseForms(merge.reader(a).item(), merge.reader(b).item()) < 0;
        };
        return merge.run(
            less,
            [&](std::size_t index) {
                keys[index].emplace(listSortKey(collator, merge.reader(index).item()));
            },
            give, keepGoing);
    };
    while (sorted.size() > kFanIn) {
        const std::vector<QString> batch(sorted.begin(), sorted.begin() + kFanIn);
        const QString merged = runPath(QStringLiteral("b"), group, ++files_);
        sorted.push_back(merged);
        RunWriter out(merged);
        MergeStatus batchStatus =
            mergeSorted(batch, [&out](RunReader& reader) { return out.put(reader.item(), 0); });
        if (batchStatus.ok() && !out.finish())
            batchStatus.error = out.error();
        if (!batchStatus.ok())
            return finished(batchStatus);
        removeRuns(batch);
        sorted.erase(sorted.begin(), sorted.begin() + kFanIn);
    }
    return finished(
        mergeSorted(sorted, [&take](RunReader& reader) { return take(reader.item()); }));
}

ListFileWrite BoundedGroups::write(const QString& path, const QCollator& collator,
                                   const std::function<bool()>& keepGoing,
                                   std::array<qsizetype, kGroupCount>& counts) {
    if (spills_ == 0) {
        for (int group = 0; group < kGroupCount; ++group)
            counts[group] = qsizetype(groups_[group].size());
        return writeSortedList(path, groups_, collator, keepGoing);
    }
    if (!spill())
        return {false, error_};

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, writeError(path, textio::writeFailureReason(file))};
    QByteArray block;
    bool written = true;
    const auto writeLine = [&](std::string_view item) {
        appendListLine(block, item);
        if (block.size() >= kIoBlock) {
            written = file.write(block) == block.size();
            block.clear();
        }
        return written;
    };
    for (int group = 0; group < kGroupCount; ++group) {
        counts[group] = 0;
        const MergeStatus status =
            sortDistinct(group, collator, keepGoing, writeLine, counts[group]);
        if (status.stopped) {
            file.cancelWriting();
            return {true, {}};
        }
        if (!status.error.isEmpty()) {
            file.cancelWriting();
            return {false, status.error};
        }
        if (!written)
            break;
    }
    if (written)
        written = file.write(block) == block.size();
    if (!written || !textio::commitDurably(file))
        return {false,
                database::withStorageHint(QStringLiteral("Die sortierte Liste \"") +
                                              QDir::toNativeSeparators(path) +
                                              QStringLiteral("\" kann nicht geschrieben werden: ") +
                                              textio::writeFailureReason(file),
                                          path)};
    return {};
}

} // namespace lists
