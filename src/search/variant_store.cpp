#include "variant_store.h"

#include "byte_finder.h"
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

bool isSeparatorBefore(QChar ch) {
    return QStringView(u" -=(;:,._\n\r\x14").contains(ch) || ch.unicode() == 0;
}

bool isSeparatorAfter(QChar ch) {
    return QStringView(u" -=);:,._\r\x14").contains(ch);
}

} // namespace

QList<qint64> variantOccurrences(QByteArrayView storeBytes, const QString& trimmedSearchText,
                                 bool caseSensitive, const platform::RunContext& run) {
    QList<qint64> positions;
    if (trimmedSearchText.isEmpty())
        return positions;
    // The units of the whole file (an odd last byte is not a unit).
    const QByteArrayView units = storeBytes.first(storeBytes.size() / 2 * 2);
    const QByteArray haystack = caseSensitive ? units.toByteArray() : lowerUtf16le(units);
    const QString needleText = caseSensitive ? trimmedSearchText : lowerPerUnit(trimmedSearchText);
    const ByteFinder finder(utf16leBytes(needleText), false);
    qint64 from = 2; // the first search starts at the third byte
    while (true) {
        run.yield();
        if (run.cancelled())
            break;
        const qint64 found = finder.find(haystack, from);
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
                                   bool wholeWords, const platform::RunContext& run,
                                   const std::function<QString(const QString&)>& resolvePath,
                                   QList<HitContextEntry>& hitContexts,
                                   const platform::DriveMap& drives) {
    MappedStore store;
    if (!store.open(storePath) || documentMarker.isEmpty())
        return {};
    const QByteArrayView bytes = store.bytes();
    const QString trimmed = trimBlanksAndControls(searchText);

    const ByteFinder marker(utf16leBytes(documentMarker), true);
    const QList<qint64> occurrences = variantOccurrences(bytes, trimmed, caseSensitive, run);
    if (occurrences.isEmpty() || run.cancelled())
        return {};
    QList<qint64> starts = scanOccurrences(bytes, marker, 0, run).positions;

    QStringList acceptedPaths;
    for (auto it = occurrences.crbegin(); it != occurrences.crend(); ++it) {
        const qint64 occurrence = *it;
        const auto below = std::lower_bound(starts.cbegin(), starts.cend(), occurrence);
        if (below == starts.cbegin())
            continue;
        const qint64 start = *(below - 1);
        QString path = unitsOf(bytes.sliced(start), 0, 120);
        if (const qsizetype end = path.indexOf(QStringLiteral("\r\n")); end >= 0)
            path.truncate(end);
        if (path.startsWith(QLatin1Char('#')))
            path.remove(0, 1);
        run.yield();
        if (run.cancelled())
            return {};
        const QString context = variantContext(bytes, occurrence, trimmed.size());
        if (wholeWords && !passesVariantWholeWordTest(context, trimmed))
            continue;
        path = resolvePath(path);
        acceptedPaths.append(path);
        hitContexts.append({path, cleanVariantContext(context, documentMarker)});
    }

    return countPerDocument(acceptedPaths, drives, run);
}

} // namespace search
