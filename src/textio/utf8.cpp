#include "utf8.h"

#include "utf8_lenient_units.h"
#include "windows1252.h"

namespace textio {
namespace {

void appendUnitUtf8(QByteArray& out, char32_t cp) {
    if (cp < 0x80) {
        out.append(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.append(static_cast<char>(0xC0 | (cp >> 6)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(static_cast<char>(0xE0 | (cp >> 12)));
        out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (cp >> 18)));
        out.append(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

QByteArray utf8EncodePerUnit(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 4);
    for (QChar ch : text)
        appendUnitUtf8(out, ch.unicode());
    return out;
}

namespace {

// Standard UTF-8 of the text's code points; a lone surrogate is replaced or
// kept as its three bytes.
QByteArray utf8EncodeCodePoints(QStringView text, bool keepLoneSurrogates) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 4);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUnitUtf8(out, QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(u) && !keepLoneSurrogates) {
            appendUnitUtf8(out, 0xFFFD);
        } else {
            appendUnitUtf8(out, u);
        }
    }
    return out;
}

} // namespace

QByteArray utf8EncodeStandard(QStringView text) {
    return utf8EncodeCodePoints(text, false);
}

QByteArray utf8EncodeKeepingEscapes(QStringView text) {
    return utf8EncodeCodePoints(text, true);
}

QString utf8DecodeLenient(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    forEachLenientUtf8Unit(bytes, [&out](char16_t unit, qsizetype) { out.append(QChar(unit)); });
    return out;
}

QByteArray doubleUtf8Encode(QStringView text) {
    return utf8EncodePerUnit(ansiView(utf8EncodePerUnit(text)));
}

QString doubleUtf8Decode(QByteArrayView bytes) {
    return utf8DecodeLenient(ansiBytes(utf8DecodeLenient(bytes)));
}

} // namespace textio
