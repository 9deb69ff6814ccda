#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace viewer {

// A line's bytes decoded as the program decodes UTF-8 everywhere (the
// lenient rules of textio::utf8DecodeLenient), with the byte offset at which
// each UTF-16 unit's sequence begins, so that positions can be carried from
// bytes to characters and back.
struct DecodedText {
    QString text;
    // One entry per unit of text, and one more for the byte length; both
    // units of a surrogate pair share their sequence's offset.
    QList<qint32> unitStart;

    // The first unit of the character that holds the byte (the end of the
    // text for the byte length or beyond).
    qsizetype unitAtByte(qint64 byte) const;
    // The first unit whose sequence begins at or after the byte.
    qsizetype unitFromByte(qint64 byte) const;
};

DecodedText decodeWithByteOffsets(QByteArrayView bytes);

} // namespace viewer
