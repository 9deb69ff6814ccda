#include "windows1252.h"

#include <QChar>
#include <QHash>

namespace textio {
namespace {

constexpr char16_t kHighHalf[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::array<unsigned char, 256> caseTable(bool lower) {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const QChar ch(windows1252Char(static_cast<unsigned char>(b)));
        const QChar mapped = lower ? ch.toLower() : ch.toUpper();
        table[b] = windows1252Byte(mapped.unicode()).value_or(static_cast<unsigned char>(b));
    }
    return table;
}

} // namespace

char16_t windows1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kHighHalf[byte - 0x80];
    return byte;
}

std::optional<unsigned char> windows1252Byte(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<unsigned char>(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHighHalf[i] == ch)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

QString ansiView(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(windows1252Char(static_cast<unsigned char>(bytes[i])));
    return text;
}

QByteArray ansiBytes(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = static_cast<char>(windows1252Byte(text[i].unicode()).value_or('?'));
    return bytes;
}

const std::array<unsigned char, 256>& windows1252LowerTable() {
    static const std::array<unsigned char, 256> table = caseTable(true);
    return table;
}

const std::array<unsigned char, 256>& windows1252UpperTable() {
    static const std::array<unsigned char, 256> table = caseTable(false);
    return table;
}

QByteArray windows1252Lower(QByteArrayView bytes) {
    const auto& table = windows1252LowerTable();
    QByteArray lowered(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        lowered[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
    return lowered;
}

} // namespace textio
