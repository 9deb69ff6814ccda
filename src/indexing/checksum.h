#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>

#include <zlib.h>

namespace indexing {

// CRC-32 (as zlib computes it) of bytes following those already summed in
// `crc`; start with 0. Pieces of any size, in any number, give the sum of
// their concatenation.
inline quint32 extendCrc32(quint32 crc, QByteArrayView bytes) {
    uLong sum = crc;
    const char* data = bytes.data();
    qsizetype length = bytes.size();
    while (length > 0) {
        const uInt piece = static_cast<uInt>(std::min<qsizetype>(length, 1 << 30));
        sum = crc32(sum, reinterpret_cast<const Bytef*>(data), piece);
        data += piece;
        length -= piece;
    }
    return static_cast<quint32>(sum);
}

} // namespace indexing
