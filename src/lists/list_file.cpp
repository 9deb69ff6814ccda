#include "list_file.h"

#include "list_order.h"

#include "database/storage_hint.h"
#include "textio/durable_files.h"

#include <QDir>
#include <QSaveFile>

namespace lists {
namespace {

constexpr qsizetype kWriteBlock = 1 << 20;

QString writeError(const QString& path, const QString& reason) {
    return database::withStorageHint(
        QStringLiteral("Die sortierte Liste \"") + QDir::toNativeSeparators(path) +
            QStringLiteral("\" kann nicht geschrieben werden: ") + reason,
        path);
}

bool writeBlock(QSaveFile& file, QByteArray& block) {
    const bool written = file.write(block) == block.size();
    block.clear();
    return written;
}

} // namespace

ListFileWrite writeSortedList(const QString& path, ListGroups& groups, const QCollator& collator,
                              const std::function<bool()>& keepGoing) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, writeError(path, textio::writeFailureReason(file))};
    QByteArray block;
    block.reserve(kWriteBlock + 4096);
    for (DistinctItems& group : groups) {
        const auto order = listOrder(group, collator, keepGoing);
        if (!order) {
            file.cancelWriting();
            return {true, {}};
        }
        for (std::size_t index : *order) {
            appendListLine(block, group.item(index));
            if (block.size() >= kWriteBlock && !writeBlock(file, block))
                return {false, writeError(path, textio::writeFailureReason(file))};
        }
        group.clear();
    }
    if (!writeBlock(file, block) || !textio::commitDurably(file))
        return {false, writeError(path, textio::writeFailureReason(file))};
    return {};
}

} // namespace lists
