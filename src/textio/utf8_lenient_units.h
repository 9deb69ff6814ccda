#pragma once

#include <QByteArrayView>
#include <QChar>

namespace textio {

// The steps of the lenient UTF-8 decode (see utf8DecodeLenient), handing
// each UTF-16 unit to `unit(char16_t, byteOffset)` with the offset at which
// its sequence begins; both units of a surrogate pair get the same offset.
// A template so that the decoder and the viewer's offset map share one
// definition without a call per unit.
template <typename UnitSink> void forEachLenientUtf8Unit(QByteArrayView bytes, UnitSink&& unit) {
    const auto isContinuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    // Continuation bytes a lead byte announces, or -1 when it cannot lead.
    const auto continuationCount = [](unsigned char b) {
        if (b >= 0xC0 && b < 0xE0)
            return 1;
        if (b >= 0xE0 && b < 0xF0)
            return 2;
        if (b >= 0xF0 && b < 0xF8)
            return 3;
        return -1;
    };
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int count = lead < 0x80 ? 0 : continuationCount(lead);
        if (count <= 0) {
            unit(char16_t(lead), i);
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
            unit(char16_t(lead), i);
            i += (i + 1 + present == n) ? 1 + present : 1;
            continue;
        }
        char32_t cp = lead & (0x3F >> count);
        for (int k = 1; k <= count; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        if (cp > 0x10FFFF) {
            unit(char16_t(lead), i);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            unit(QChar::highSurrogate(cp), i);
            unit(QChar::lowSurrogate(cp), i);
        } else {
            unit(static_cast<char16_t>(cp), i);
        }
        i += 1 + count;
    }
}

} // namespace textio
