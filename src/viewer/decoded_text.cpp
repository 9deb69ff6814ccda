#include "decoded_text.h"

#include <algorithm>

namespace viewer {
namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

int continuationCount(unsigned char lead) {
    if (lead >= 0xC0 && lead < 0xE0)
        return 1;
    if (lead >= 0xE0 && lead < 0xF0)
        return 2;
    if (lead >= 0xF0 && lead < 0xF8)
        return 3;
    return -1;
}

} // namespace

// The same steps as textio::utf8DecodeLenient; the tests hold the two to the
// same text.
DecodedText decodeWithByteOffsets(QByteArrayView bytes) {
    DecodedText decoded;
    const qsizetype n = bytes.size();
    decoded.text.reserve(n);
    decoded.unitStart.reserve(n + 1);
    auto append = [&](char32_t unit, qsizetype at) {
        decoded.text.append(QChar(static_cast<char16_t>(unit)));
        decoded.unitStart.append(static_cast<qint32>(at));
    };
    qsizetype i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int count = lead < 0x80 ? 0 : continuationCount(lead);
        if (count <= 0) {
            append(lead, i);
            ++i;
            continue;
        }
        int present = 0;
        while (present < count && i + 1 + present < n &&
               isContinuation(static_cast<unsigned char>(bytes[i + 1 + present])))
            ++present;
        if (present < count) {
            append(lead, i);
            i += (i + 1 + present == n) ? 1 + present : 1;
            continue;
        }
        char32_t cp = lead & (0x3F >> count);
        for (int k = 1; k <= count; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        if (cp > 0x10FFFF) {
            append(lead, i);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            append(QChar::highSurrogate(cp), i);
            append(QChar::lowSurrogate(cp), i);
        } else {
            append(cp, i);
        }
        i += 1 + count;
    }
    decoded.unitStart.append(static_cast<qint32>(n));
    return decoded;
}

qsizetype DecodedText::unitAtByte(qint64 byte) const {
    if (byte >= unitStart.last())
        return text.size();
    auto it = std::upper_bound(unitStart.cbegin(), unitStart.cend() - 1, byte);
    if (it == unitStart.cbegin())
        return 0;
    qsizetype unit = (it - unitStart.cbegin()) - 1;
    while (unit > 0 && unitStart[unit - 1] == unitStart[unit])
        --unit;
    return unit;
}

qsizetype DecodedText::unitFromByte(qint64 byte) const {
    return std::lower_bound(unitStart.cbegin(), unitStart.cend() - 1, byte) - unitStart.cbegin();
}

} // namespace viewer
