#pragma once

#include <QChar>

#include <functional>
#include <optional>
#include <string_view>

// What a line of the database text gives to the sorted word and phrase list.
// Lines are taken in the ANSI view, one character per byte, so every rule
// here works on the line's bytes: a character is a byte, and the first
// character of "Äpfel" in UTF-8 is the lead byte 0xC3, not "Ä".
namespace lists {

// The three choices of the list kind.
enum class ListKind {
    Words,           // "Nur Wörter"
    Phrases,         // "Nur Sätze (Phrasen)"
    WordsAndPhrases, // "Wörter und Sätze"
};

enum class ItemKind { Word, Phrase };

inline constexpr int kGroupCount = 5;

// Removes the characters up to and including the blank (U+0020) at both ends.
std::string_view trimmedText(std::string_view text);

// A line holding "=====", "-----", ".....", "!!!!!" or "#####" is decoration
// (the underline of a path, a separator drawn by the author).
bool isDecorationLine(std::string_view text);

// The drive letter of the database as the byte the ANSI view reads it from;
// nothing when there is no letter or the code page has no byte for it.
std::optional<unsigned char> driveLetterByte(std::optional<QChar> driveLetter);

// "#" + drive letter + ":\" at the start: the path line of a document.
bool isDocumentPathLine(std::string_view text, std::optional<unsigned char> driveLetter);

// The group (1 to 5) an item goes to by its first character; 0 when it goes
// nowhere, which only happens to words of "Nur Wörter" that begin with
// neither a letter of the groups nor a digit.
int groupOfItem(unsigned char firstCharacter, ItemKind item, ListKind list);

// A piece of a line after the drops, the apostrophe rule and the length rule:
// nothing when the piece is dropped. Phrases must hold a blank.
std::optional<std::string_view> cleanedItem(std::string_view piece, ItemKind item);

// What one trimmed line gives: the document path as a whole, nothing for
// decoration, or its words and phrases.
enum class LineKind { Decoration, DocumentPath, Text };
LineKind kindOfLine(std::string_view trimmedLine, std::optional<unsigned char> driveLetter);

// Hands every word (split at runs of blank, comma, semicolon and colon) and
// then every phrase (split at runs of commas) of a text line to `add` with its
// group, in the order they are added to the list; which of them depends on
// the list kind.
using AddItem = std::function<void(int group, std::string_view item)>;
void forEachItemOfText(std::string_view trimmedLine, ListKind list, const AddItem& add);

} // namespace lists
