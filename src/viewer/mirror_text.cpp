#include "mirror_text.h"

#include "decoded_text.h"

#include "textio/utf8.h"

namespace viewer {
namespace {

// The mirror position of a byte offset of the page: the first unit of the
// character that holds it, or with `afterCharacter` the unit after that
// character. The bytes of a line end count as the end of their row's text.
// An offset past the page is the end of the text after a character, and not
// on the page otherwise.
std::optional<qsizetype> mirrorPosition(const QList<PageLine>& lines, qint64 offset,
                                        bool afterCharacter) {
    qsizetype base = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const PageLine& line = lines[i];
        if (offset < line.start)
            return std::nullopt;
        const DecodedText decoded = decodeWithByteOffsets(line.bytes);
        if (offset < line.next) {
            const qint64 relative = offset - line.start;
            if (relative >= line.bytes.size())
                return base + decoded.text.size();
            return base + (afterCharacter ? decoded.unitFromByte(relative + 1)
                                          : decoded.unitAtByte(relative));
        }
        base += decoded.text.size() + 1;
    }
    if (afterCharacter && !lines.isEmpty())
        return base - 1;
    return std::nullopt;
}

} // namespace

QString mirrorLineText(const PageLine& line) {
    return textio::utf8DecodeLenient(line.bytes);
}

QString mirrorTextOfPage(const QList<PageLine>& lines) {
    QString text;
    for (const PageLine& line : lines)
        text += mirrorLineText(line) + QLatin1Char('\n');
    LetztesUmbruchZeicheEntfernen(text);
    return text;
}

void LetztesUmbruchZeicheEntfernen(QString& mirrorText) {
    if (mirrorText.endsWith(QLatin1Char('\n')))
        mirrorText.chop(1);
}

std::optional<MirrorSelection> mirrorSelectionOfRange(const QList<PageLine>& lines, qint64 start,
                                                      qint64 length) {
    const auto from = mirrorPosition(lines, start, false);
    if (!from)
        return std::nullopt;
    qsizetype to = *from;
    if (length > 0)
        to = std::max(to, *mirrorPosition(lines, start + length - 1, true));
    return MirrorSelection{*from, to - *from};
}

qsizetype mirrorRowOfPosition(const QList<PageLine>& lines, qsizetype position) {
    qsizetype base = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype length = mirrorLineText(lines[i]).size();
        if (position <= base + length)
            return i;
        base += length + 1;
    }
    return lines.size() - 1;
}

} // namespace viewer
