#include "letter_folding.h"

#include <QChar>

#include <array>

namespace search {
namespace {

// Every letter of the blocks lies in U+00C0..U+017F, whose UTF-8 lead bytes
// are C3, C4 and C5.
constexpr char16_t kFirstLetter = 0x00C0;
constexpr char16_t kLastLetter = 0x017F;
constexpr unsigned char kFirstLead = 0xC3;
constexpr unsigned char kLastLead = 0xC5;

bool inBlocks(char16_t ch) {
    return ch >= kFirstLetter && ch <= kLastLetter && ch != 0x00D7 && ch != 0x00F7;
}

char16_t computeFoldedLetter(char16_t ch) {
    if (!inBlocks(ch))
        return 0;
    const char16_t lower = QChar(ch).toLower().unicode();
    const char16_t upper = QChar(ch).toUpper().unicode();
    if (lower != ch)
        return inBlocks(lower) ? lower : 0;
    return upper != ch && inBlocks(upper) ? ch : 0;
}

// Indexed by (lead - C3) * 64 + (continuation - 80), which is the code point
// minus U+00C0.
std::array<char16_t, 192> makeFoldedLetters() {
    std::array<char16_t, 192> table{};
    for (char16_t ch = kFirstLetter; ch <= kLastLetter; ++ch)
        table[ch - kFirstLetter] = computeFoldedLetter(ch);
    return table;
}

const std::array<char16_t, 192>& foldedLetters() {
    static const std::array<char16_t, 192> table = makeFoldedLetters();
    return table;
}

} // namespace

char16_t foldedTwoByteLetter(char16_t ch) {
    if (ch < kFirstLetter || ch > kLastLetter)
        return 0;
    return foldedLetters()[ch - kFirstLetter];
}

char16_t foldedTwoByteLetter(unsigned char lead, unsigned char continuation) {
    if (lead < kFirstLead || lead > kLastLead || (continuation & 0xC0) != 0x80)
        return 0;
    return foldedLetters()[(lead - kFirstLead) * 64 + (continuation - 0x80)];
}

QString foldedForComparison(QStringView text) {
    QString folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch >= u'A' && ch <= u'Z')
            folded[i] = QChar(char16_t(ch - u'A' + u'a'));
        else if (const char16_t letter = foldedTwoByteLetter(ch))
            folded[i] = QChar(letter);
        else
            folded[i] = QChar(ch);
    }
    return folded;
}

} // namespace search
