#pragma once

#include <QString>
#include <QStringView>

namespace search {

// Whether a case-folded search also folds the letters of Latin-1 and Latin
// Extended-A, which UTF-8 writes in two bytes (Ä/ä, É/é, Ł/ł, ...). Off is
// the program's own rule: only single bytes fold, so "Äpfel" does not find
// "äpfel". The user turns it on with the settings value
// Umlaute_Gross_Klein_egal; it has no effect on a case-sensitive search.
enum class UmlautFolding { Off, On };

// The letter a character folds to under the option: its simple lower-case
// partner, or itself when it is the lower-case one. 0 for every character
// that does not fold: ASCII, letters without a partner (ß, ĸ, ŉ) and letters
// whose partner lies outside these blocks (İ, ı, ſ).
char16_t foldedTwoByteLetter(char16_t ch);

// The same for the UTF-8 bytes of a letter: 0 unless lead and continuation
// byte spell one of the folding letters.
char16_t foldedTwoByteLetter(unsigned char lead, unsigned char continuation);

// The text with ASCII letters lowered and the folding letters replaced by
// their folded letter; every other character stays. Lengths stay the same.
QString foldedForComparison(QStringView text);

} // namespace search
