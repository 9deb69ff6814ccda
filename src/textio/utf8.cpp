#include "utf8.h"

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

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Number of continuation bytes a lead byte announces, or -1 when the byte
// cannot begin a sequence.
int continuationCount(unsigned char b) {
    if (b >= 0xC0 && b < 0xE0)
        return 1;
    if (b >= 0xE0 && b < 0xF0)
        return 2;
    if (b >= 0xF0 && b < 0xF8)
        return 3;
    return -1;
}

} // namespace

QByteArray utf8EncodePerUnit(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 4);
    for (QChar ch : text)
        appendUnitUtf8(out, ch.unicode());
    return out;
}

QByteArray utf8EncodeStandard(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 4);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUnitUtf8(out, QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(u)) {
            appendUnitUtf8(out, 0xFFFD);
        } else {
            appendUnitUtf8(out, u);
        }
    }
    return out;
}

QByteArray utf8EncodeKeepingEscapes(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 4);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUnitUtf8(out, QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else {
            appendUnitUtf8(out, u);
        }
    }
    return out;
}

QString utf8DecodeLenient(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out.append(QChar(lead));
            ++i;
            continue;
        }
        const int count = continuationCount(lead);
        if (count < 0) {
            out.append(QChar(lead));
            ++i;
            continue;
        }
        int present = 0;
        while (present < count && i + 1 + present < n &&
               isContinuation(static_cast<unsigned char>(bytes[i + 1 + present])))
            ++present;
        if (present < count) {
            // Cut off by the end of the input: one character for the whole rest.
            // Interrupted by another byte: the lead byte stands alone.
            out.append(QChar(lead));
            i += (i + 1 + present == n) ? 1 + present : 1;
            continue;
        }
        char32_t cp = lead & (0x3F >> count);
        for (int k = 1; k <= count; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        if (cp > 0x10FFFF) {
            out.append(QChar(lead));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(static_cast<char16_t>(cp)));
        }
        i += 1 + count;
    }
    return out;
}

QByteArray doubleUtf8Encode(QStringView text) {
    return utf8EncodePerUnit(ansiView(utf8EncodePerUnit(text)));
}

QString doubleUtf8Decode(QByteArrayView bytes) {
    return utf8DecodeLenient(ansiBytes(utf8DecodeLenient(bytes)));
}

} // namespace textio
