#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace indexing {

// CRC-32C (Castagnoli) of bytes following those already summed in `crc`;
// start with 0. Pieces of any size, in any number, give the sum of their
// concatenation. It guards the text cache and tells whether a database text
// is the one the cache describes; that check reads the whole text on every
// re-index, so the sum uses the processor's CRC instruction where there is
// one.
quint32 extendCrc32c(quint32 crc, QByteArrayView bytes);

} // namespace indexing
