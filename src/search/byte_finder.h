#pragma once

#include "letter_folding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <array>
#include <cstdint>

namespace search {

// Finds a byte pattern in a text, exactly or case-folded. Case-folded means
// every byte of text and pattern goes through the Windows-1252 lower-case
// table before the comparison, so on UTF-8 text only single-byte letters fold
// ("Haus" finds "HAUS", "Äpfel" does not find "äpfel").
//
// The finder reports the same positions as a Boyer-Moore-Horspool search
// restarted at each previous match + 1 would, overlapping matches included.
// It gets there faster: two rare bytes of the pattern are compared sixteen
// text positions at a time, and only where both fit is the whole pattern
// compared.
//
// With umlaut folding on, a case-folded finder also lets a two-byte letter of
// the pattern match its case partner in the text ("Äpfel" finds "äpfel",
// "É" finds "é"). Everything the finder finds without the option it still
// finds; a pattern without such letters behaves exactly as without it.
class ByteFinder {
public:
    ByteFinder(QByteArrayView pattern, bool caseFolded, UmlautFolding umlauts = UmlautFolding::Off);

    qsizetype size() const { return pattern_.size(); }
    bool isEmpty() const { return pattern_.isEmpty(); }

    // The first match that starts in [from, to) and lies wholly inside the
    // text, or -1. `to` is clamped to the text.
    qint64 find(QByteArrayView text, qint64 from, qint64 to) const;
    qint64 find(QByteArrayView text, qint64 from) const { return find(text, from, text.size()); }

    // The last match that starts before `before` and lies wholly inside the
    // text, or -1.
    qint64 findLast(QByteArrayView text, qint64 before) const;

    bool matchesAt(QByteArrayView text, qint64 position) const;

private:
    struct Anchor {
        int offset = 0; // position in the pattern
        int count = 0;  // bytes that fold to the pattern byte (two for a letter)
        std::array<unsigned char, 256> bytes{};
    };

    Anchor anchorAt(int offset) const;
    void addLetterPartners(Anchor& anchor) const;
    qint64 findScalar(const unsigned char* text, qint64 from, qint64 last) const;
    bool verify(const unsigned char* at) const;
    bool verifyWithLetters(const unsigned char* at) const;

    QByteArray pattern_; // folded when case-folded
    bool caseFolded_;
    // Per pattern byte: the folded letter that starts there, or 0. Empty
    // unless umlaut folding is on and the pattern holds such a letter.
    QList<char16_t> letters_;
    Anchor first_;
    Anchor second_;
    std::array<bool, 256> acceptsFirst_{};
    std::array<bool, 256> acceptsSecond_{};
};

} // namespace search
