#include "file_positions.h"

#include "textio/text_files.h"

#include <algorithm>

namespace viewer {
namespace {

qint64 entryOffset(const QString& line) {
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return 0;
    bool ok = false;
    const qint64 offset = QStringView(line).left(blank).toLongLong(&ok);
    return ok ? offset : 0;
}

QString positionListText(const QList<PositionEntry>& entries) {
    QString text;
    for (const PositionEntry& entry : entries)
        text += QString::number(entry.top) + QLatin1Char(' ') + entry.line + QStringLiteral("\r\n");
    return text;
}

} // namespace

QByteArray positionListBytes(const QList<PositionEntry>& entries) {
    return textio::encodeForCodePage(positionListText(entries), textio::CodePageUtf8);
}

bool writePositionList(const QList<PositionEntry>& entries, const QString& fileName,
                       QString* error) {
    return textio::writeTextFile(positionListText(entries), fileName, textio::CodePageUtf8, error);
}

FilePositions FilePositions::fromLines(const QStringList& lines) {
    FilePositions positions;
    positions.lines_ = lines;
    positions.offsets_.reserve(lines.size());
    for (const QString& line : lines) {
        const qint64 offset = entryOffset(line);
        if (!positions.offsets_.isEmpty() && offset < positions.offsets_.last())
            positions.ascending_ = false;
        positions.offsets_.append(offset);
    }
    return positions;
}

FilePositions FilePositions::load(const QString& fileName) {
    return fromLines(textio::loadLinesUtf16MarksOnly(fileName).value_or(QStringList()));
}

QString FilePositions::pathAt(qsizetype index) const {
    const QString& line = lines_[index];
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : line.mid(blank + 1);
}

std::optional<qsizetype> FilePositions::entryForTop(qint64 top) const {
    if (offsets_.isEmpty())
        return std::nullopt;
    // Once a second for every page: with 100,000 documents the walk over all
    // entries would show. For offsets in file order the last qualifying
    // entry is the last one whose offset is at most the top.
    if (!ascending_)
        return entryForTopLinear(top);
    const auto after = std::upper_bound(offsets_.cbegin(), offsets_.cend(), top);
    if (after == offsets_.cbegin())
        return std::nullopt;
    return (after - offsets_.cbegin()) - 1;
}

// A list edited by hand may be out of order; then only the walk over every
// entry gives the entry the rule names.
std::optional<qsizetype> FilePositions::entryForTopLinear(qint64 top) const {
    std::optional<qsizetype> current;
    const qsizetype last = offsets_.size() - 1;
    for (qsizetype i = 0; i < last; ++i) {
        if (offsets_[i] <= top && top <= offsets_[i + 1])
            current = i;
    }
    if (offsets_[last] <= top)
        current = last;
    return current;
}

} // namespace viewer
