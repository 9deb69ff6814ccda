#include "checksum.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <nmmintrin.h>
#define TROVEX_CRC32C_INSTRUCTION 1
#endif

namespace indexing {
namespace {

constexpr quint32 kReversedPolynomial = 0x82F63B78;

constexpr std::array<quint32, 256> makeTable() {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value >> 1) ^ ((value & 1) ? kReversedPolynomial : 0);
        table[i] = value;
    }
    return table;
}

constexpr std::array<quint32, 256> kTable = makeTable();

quint32 crcByTable(quint32 crc, const unsigned char* data, qsizetype length) {
    for (qsizetype i = 0; i < length; ++i)
        crc = kTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

#ifdef TROVEX_CRC32C_INSTRUCTION
__attribute__((target("sse4.2"))) quint32 crcByInstruction(quint32 crc, const unsigned char* data,
                                                           qsizetype length) {
    quint64 wide = crc;
    while (length >= 8) {
        quint64 word;
        std::memcpy(&word, data, 8);
        wide = _mm_crc32_u64(wide, word);
        data += 8;
        length -= 8;
    }
    crc = static_cast<quint32>(wide);
    while (length-- > 0)
        crc = _mm_crc32_u8(crc, *data++);
    return crc;
}

bool hasCrcInstruction() {
    static const bool has = __builtin_cpu_supports("sse4.2");
    return has;
}
#endif

} // namespace

quint32 extendCrc32c(quint32 crc, QByteArrayView bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    crc = ~crc;
#ifdef TROVEX_CRC32C_INSTRUCTION
    if (hasCrcInstruction())
        return ~crcByInstruction(crc, data, bytes.size());
#endif
    return ~crcByTable(crc, data, bytes.size());
}

} // namespace indexing
