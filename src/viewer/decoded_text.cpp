#include "decoded_text.h"

#include "textio/utf8_lenient_units.h"

#include <algorithm>

namespace viewer {

DecodedText decodeWithByteOffsets(QByteArrayView bytes) {
    DecodedText decoded;
    decoded.text.reserve(bytes.size());
    decoded.unitStart.reserve(bytes.size() + 1);
    textio::forEachLenientUtf8Unit(bytes, [&decoded](char16_t unit, qsizetype at) {
        decoded.text.append(QChar(unit));
        decoded.unitStart.append(static_cast<qint32>(at));
    });
    decoded.unitStart.append(static_cast<qint32>(bytes.size()));
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
