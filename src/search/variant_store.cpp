#include "variant_store.h"

#include "byte_finder.h"
#include "document_hits.h"
#include "document_path.h"
#include "mapped_store.h"
#include "occurrence_scan.h"
#include "search_engine.h"
#include "search_text.h"

#include <algorithm>

namespace search {
namespace {

QByteArray utf16leBytes(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

QString unitsOf(QByteArrayView bytes, qint64 fromUnit, qint64 unitCount) {
    const qint64 totalUnits = bytes.size() / 2;
    fromUnit = std::clamp<qint64>(fromUnit, 0, totalUnits);
    unitCount = std::clamp<qint64>(unitCount, 0, totalUnits - fromUnit);
    QString text(unitCount, Qt::Uninitialized);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data()) + fromUnit * 2;
    for (qint64 i = 0; i < unitCount; ++i)
        text[i] = QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    return text;
}

// Lowers the UTF-16LE bytes unit by unit (Unicode lower case).
QByteArray lowerUtf16le(QByteArrayView bytes) {
    QByteArray lowered = bytes.toByteArray();
    for (qsizetype i = 0; i + 1 < lowered.size(); i += 2) {
        const char16_t unit = static_cast<unsigned char>(lowered[i]) |
                              (static_cast<unsigned char>(lowered[i + 1]) << 8);
        const char16_t lower = QChar(unit).toLower().unicode();
        lowered[i] = static_cast<char>(lower & 0xFF);
        lowered[i + 1] = static_cast<char>(lower >> 8);
    }
    return lowered;
}

// The store's units as the search sees them, one block at a time: the block
// on a fixed grid plus as many bytes as a match may reach beyond it, lowered
// when the search is case-folded. Blocks start at even offsets, so every
// unit is lowered whole, as lowering the whole store would.
class VariantBlocks {
public:
    VariantBlocks(QByteArrayView units, bool lowered, qint64 blockSize, qint64 patternSize)
        : units_(units)
        , lowered_(lowered)
        , blockSize_(std::max<qint64>(blockSize / 2 * 2, 2))
        , reach_((patternSize + 1) / 2 * 2) {}

    qint64 blockStartOf(qint64 offset) const { return offset / blockSize_ * blockSize_; }
    qint64 blockEndOf(qint64 offset) const {
        return std::min(blockStartOf(offset) + blockSize_, qint64(units_.size()));
    }

    // The bytes of the block holding `offset`, from the block's start.
    QByteArrayView block(qint64 offset) {
        const qint64 start = blockStartOf(offset);
        const qint64 end = std::min(start + blockSize_ + reach_, qint64(units_.size()));
        const QByteArrayView bytes = units_.sliced(start, end - start);
        if (!lowered_)
            return bytes;
        if (loweredStart_ != start) {
            loweredBlock_ = lowerUtf16le(bytes);
            loweredStart_ = start;
        }
        return loweredBlock_;
    }

private:
    QByteArrayView units_;
    bool lowered_;
    qint64 blockSize_;
    qint64 reach_;
    QByteArray loweredBlock_;
    qint64 loweredStart_ = -1;
};

bool isSeparatorBefore(QChar ch) {
    return QStringView(u" -=(;:,._\n\r\x14").contains(ch) || ch.unicode() == 0;
}

bool isSeparatorAfter(QChar ch) {
    return QStringView(u" -=);:,._\r\x14").contains(ch);
}

} // namespace

QList<qint64> variantOccurrences(QByteArrayView storeBytes, const QString& trimmedSearchText,
                                 bool caseSensitive, int limit, const platform::RunContext& run,
                                 const std::function<void(qint64, qint64)>& passed,
                                 qint64 blockSize) {
    QList<qint64> positions;
    if (trimmedSearchText.isEmpty())
        return positions;
    // The units of the whole file (an odd last byte is not a unit).
    const QByteArrayView units = storeBytes.first(storeBytes.size() / 2 * 2);
    const QString needleText = caseSensitive ? trimmedSearchText : lowerPerUnit(trimmedSearchText);
    const ByteFinder finder(utf16leBytes(needleText), false);
    VariantBlocks blocks(units, !caseSensitive, blockSize, finder.size());
    qint64 from = 2; // the first search starts at the third byte
    while (true) {
        run.checkpoint();
        if (run.cancelled())
            break;
        if (limit > 0 && positions.size() >= limit)
            break;
        qint64 found = -1;
        while (from < units.size()) {
            const qint64 start = blocks.blockStartOf(from);
            const qint64 end = blocks.blockEndOf(from);
            const qint64 at = finder.find(blocks.block(from), from - start, end - start);
            if (at >= 0) {
                found = start + at;
                break;
            }
            if (passed)
                passed(start, end);
            from = end;
            run.checkpoint();
            if (run.cancelled())
                return positions;
        }
        if (found < 0)
            break;
        positions.append(found + 1);
        from = found + 2;
    }
    return positions;
}

QString variantContext(QByteArrayView storeBytes, qint64 occurrence, qsizetype searchTextLength) {
    const qint64 totalUnits = storeBytes.size() / 2;
    qint64 start = std::max<qint64>((occurrence - 2 * searchTextLength) / 2, 0);
    if (start + kContextWindowSize > totalUnits)
        start = std::max<qint64>(totalUnits - kContextWindowSize, 0);
    return unitsOf(storeBytes, start, kContextWindowSize);
}

QString cleanVariantContext(QString context, QStringView documentMarker) {
    const qsizetype marker = documentMarker.isEmpty() ? -1 : context.indexOf(documentMarker);
    if (marker >= 0 && marker < context.size() - 1)
        context = context.left(marker) + context.back();
    for (QChar& ch : context) {
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
            ch = QLatin1Char(' ');
    }
    return context;
}

bool passesVariantWholeWordTest(QStringView context, QStringView trimmedSearchText) {
    const QString upperText = upperPerUnit(trimmedSearchText);
    const qsizetype at = upperPerUnit(context).indexOf(upperText);
    if (at < 0 || upperText.isEmpty())
        return false;
    const qsizetype after = at + upperText.size();
    const bool boundaryBefore = at == 0 || isSeparatorBefore(context[at - 1]);
    const bool boundaryAfter = after >= context.size() || isSeparatorAfter(context[after]);
    return boundaryBefore && boundaryAfter;
}

QList<DocumentResult> SuchdenTextW(const QString& storePath, const QString& searchText,
                                   const QString& documentMarker, bool caseSensitive,
                                   bool wholeWords, int limit, const platform::RunContext& run,
                                   const std::function<QString(const QString&)>& resolvePath,
                                   QList<HitContextEntry>& hitContexts,
                                   const platform::DriveMap& drives, bool* complete) {
    if (complete)
        *complete = true;
    MappedStore store;
    if (!store.open(storePath) || documentMarker.isEmpty())
        return {};
    const QByteArrayView bytes = store.bytes();
    const QString trimmed = trimBlanksAndControls(searchText);

    const ByteFinder marker(utf16leBytes(documentMarker), true);
    const QList<qint64> occurrences =
        variantOccurrences(bytes, trimmed, caseSensitive, limit, run,
                           [&store](qint64 from, qint64 to) { store.release(from, to); });
    if (complete)
        *complete = !run.cancelled() && (limit <= 0 || occurrences.size() < limit);
    if (occurrences.isEmpty() || run.cancelled())
        return {};
    // Document starts are looked for backwards from each occurrence, so the
    // marker scan never runs further than the occurrences reach.
    DocumentStartLocator locator(bytes, marker);

    OccurrenceReader reader;
    // The occurrence counts from 1, the document starts from 0: a start at
    // the occurrence's first byte still lies before it.
    reader.documentStart = [&](qint64 occurrence) {
        return locator.documentStartBefore(occurrence);
    };
    reader.headerPath = [&](qint64 start) {
        QString path = unitsOf(bytes.sliced(start), 0, 120);
        if (const qsizetype end = path.indexOf(QStringLiteral("\r\n")); end >= 0)
            path.truncate(end);
        if (path.startsWith(QLatin1Char('#')))
            path.remove(0, 1);
        return path;
    };
    reader.wholeWord = [&](qint64 occurrence) {
        return passesVariantWholeWordTest(variantContext(bytes, occurrence, trimmed.size()),
                                          trimmed);
    };
    reader.context = [&](qint64 occurrence, qint64, const QString& path) {
        return HitContextEntry{
            path,
            cleanVariantContext(variantContext(bytes, occurrence, trimmed.size()), documentMarker),
            false};
    };
    return documentResults(occurrences, reader, wholeWords, resolvePath, hitContexts, drives, run);
}

} // namespace search
