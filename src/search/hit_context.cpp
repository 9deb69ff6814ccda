#include "hit_context.h"

#include "textio/utf8.h"
#include "textio/windows1252.h"

#include <algorithm>

namespace search {

ByteRange contextWindow(qint64 occurrence, qint64 fileSize) {
    qint64 start = std::max<qint64>(occurrence - kContextLead, 0);
    if (start + kContextWindowSize > fileSize)
        start = std::max<qint64>(fileSize - kContextWindowSize, 0);
    return {start, std::min(start + kContextWindowSize, fileSize)};
}

ShownRange clipToDocument(ByteRange window, qint64 documentTextStart, qint64 nextDocumentStart) {
    ShownRange shown{window, false};
    ByteRange& clipped = shown.range;
    if (documentTextStart > clipped.from) {
        clipped.from = std::min(documentTextStart, clipped.to);
        shown.startsAtText = true;
    }
    if (nextDocumentStart >= 0 && nextDocumentStart < clipped.to)
        clipped.to = std::max(nextDocumentStart, clipped.from);
    return shown;
}

qint64 documentTextStart(QByteArrayView text, qint64 documentStart, qint64 notBeyond) {
    const qint64 end = std::min<qint64>(notBeyond, text.size());
    qint64 at = documentStart;
    for (int lineEnds = 0; lineEnds < 2; ++lineEnds) {
        if (at >= end)
            return notBeyond;
        const QByteArrayView rest = text.sliced(at, end - at);
        const qsizetype lineFeed = rest.indexOf('\n');
        if (lineFeed < 0)
            return notBeyond;
        at += lineFeed + 1;
    }
    return at;
}

QString readContext(const MappedStore& store, qint64 occurrence) {
    return readContext(store, contextWindow(occurrence, store.size()));
}

QString readContext(const MappedStore& store, ByteRange range) {
    return textio::utf8DecodeLenient(store.readRange(range.from, range.to));
}

QString cleanContext(QString context, QStringView documentPath, QStringView documentMarker) {
    const qsizetype marker = context.indexOf(documentMarker);
    if (!documentMarker.isEmpty() && marker >= 0)
        context.remove(marker, documentPath.size());
    context.replace(QStringLiteral("\r\n"), QStringLiteral(" \n"));
    return context;
}

QString prepareContext(QStringView cleanedContext, bool startsAtText) {
    QString prepared = startsAtText                ? cleanedContext.toString()
                       : cleanedContext.size() > 2 ? cleanedContext.sliced(2).toString()
                                                   : QString();
    for (QChar& ch : prepared) {
        if (ch == QLatin1Char('<') || ch == QLatin1Char('>') || ch == QLatin1Char('/'))
            ch = QLatin1Char(' ');
    }
    return prepared;
}

std::optional<QString> contextOf(QStringView documentPath, const QList<HitContextEntry>& entries) {
    for (const HitContextEntry& entry : entries) {
        if (entry.path == documentPath)
            return prepareContext(entry.context, entry.startsAtText);
    }
    return std::nullopt;
}

namespace {

bool isWordByte(unsigned char lowered) {
    return (lowered >= 'a' && lowered <= 'z') || lowered == 0xE4 || lowered == 0xF6 ||
           lowered == 0xFC || lowered == 0xDF;
}

bool isWordNeighbour(QStringView context, qsizetype index) {
    if (index < 0 || index >= context.size())
        return false;
    const unsigned char byte = textio::windows1252Byte(context[index].unicode()).value_or('?');
    return isWordByte(textio::windows1252LowerTable()[byte]);
}

bool hasNoWordNeighbours(QStringView context, qsizetype at, qsizetype length) {
    return !isWordNeighbour(context, at - 1) && !isWordNeighbour(context, at + length);
}

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The option's test: pattern and context compared as text, both folded.
bool passesFoldedWholeWordTest(QStringView context, QByteArrayView pattern) {
    const QString term = foldedForComparison(textio::utf8DecodeLenient(pattern));
    const qsizetype at = foldedForComparison(context).indexOf(term);
    return at < 0 || hasNoWordNeighbours(context, at, term.size());
}

} // namespace

bool passesWholeWordTest(QStringView context, QByteArrayView pattern, UmlautFolding umlauts) {
    if (pattern.isEmpty())
        return true;
    // An ASCII pattern has nothing to fold beyond ASCII: the test stays as it is.
    if (umlauts == UmlautFolding::On && !isAscii(pattern))
        return passesFoldedWholeWordTest(context, pattern);
    // One byte per UTF-16 unit, so positions in it are positions in the context.
    QByteArray contextBytes = textio::ansiBytes(context);
    for (char& c : contextBytes) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    const QByteArray loweredPattern = textio::windows1252Lower(pattern);
    const qsizetype at = contextBytes.indexOf(loweredPattern);
    return at < 0 || hasNoWordNeighbours(context, at, loweredPattern.size());
}

} // namespace search
