#include "list_rules.h"

#include "textio/windows1252.h"

#include <array>

namespace lists {
namespace {

using namespace std::string_view_literals;

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Dashes drawn as rules, and the hyphen columns of a text table. The en
// dash is U+2013, which the ANSI view reads only from the byte 0x96; "-----"
// needs no test of its own, as it holds "---".
bool isDashRule(std::string_view item) {
    if (item.find('-') == std::string_view::npos && item.find('\x96') == std::string_view::npos)
        return false;
    return contains(item, "---"sv) || contains(item, "\x96\x96\x96\x96"sv) ||
           contains(item, " --            --          --"sv);
}

// Quotes written as two apostrophes ('') cost the item its first character,
// at most twice.
std::string_view withoutDoubledApostrophes(std::string_view item) {
    for (int round = 0; round < 2 && contains(item, "''"sv); ++round)
        item = trimmedText(item.substr(1));
    return item;
}

using GroupTable = std::array<unsigned char, 256>;

GroupTable makeLetterGroups() {
    GroupTable groups{};
    const auto assign = [&groups](char from, char to, int group) {
        for (int c = from; c <= to; ++c) {
            groups[static_cast<unsigned char>(c)] = static_cast<unsigned char>(group);
            groups[static_cast<unsigned char>(c - 'A' + 'a')] = static_cast<unsigned char>(group);
        }
    };
    assign('A', 'F', 1);
    assign('G', 'L', 2);
    assign('M', 'R', 3);
    assign('S', 'Z', 4);
    // Ä ä, Ö ö, Ü ü as single Windows-1252 bytes.
    groups[0xC4] = groups[0xE4] = 1;
    groups[0xD6] = groups[0xF6] = 3;
    groups[0xDC] = groups[0xFC] = 4;
    return groups;
}

template <typename IsSeparator, typename Take>
void forEachPiece(std::string_view text, IsSeparator isSeparator, Take take) {
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i <= n; ++i) {
        if (i < n && !isSeparator(text[i]))
            continue;
        if (i > start)
            take(text.substr(start, i - start));
        start = i + 1;
    }
}

} // namespace

std::string_view trimmedText(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20)
        --end;
    return text.substr(begin, end - begin);
}

// A run of five equal characters of "=-.!#"; one pass finds any of them.
bool isDecorationLine(std::string_view text) {
    char runCharacter = 0;
    int runLength = 0;
    for (char c : text) {
        if (c != '=' && c != '-' && c != '.' && c != '!' && c != '#') {
            runLength = 0;
            continue;
        }
        runLength = c == runCharacter ? runLength + 1 : 1;
        runCharacter = c;
        if (runLength == 5)
            return true;
    }
    return false;
}

std::optional<unsigned char> driveLetterByte(std::optional<QChar> driveLetter) {
    if (!driveLetter)
        return std::nullopt;
    return textio::windows1252Byte(driveLetter->unicode());
}

bool isDocumentPathLine(std::string_view text, std::optional<unsigned char> driveLetter) {
    return driveLetter && text.size() >= 4 && text[0] == '#' &&
           static_cast<unsigned char>(text[1]) == *driveLetter && text[2] == ':' && text[3] == '\\';
}

int groupOfItem(unsigned char firstCharacter, ItemKind item, ListKind list) {
    static const GroupTable letterGroups = makeLetterGroups();
    if (const int group = letterGroups[firstCharacter])
        return group;
    const bool digit = firstCharacter >= '0' && firstCharacter <= '9';
    if (digit || item == ItemKind::Phrase || list == ListKind::WordsAndPhrases)
        return 5;
    return 0;
}

std::optional<std::string_view> cleanedItem(std::string_view piece, ItemKind item) {
    std::string_view text = trimmedText(piece);
    if (item == ItemKind::Phrase && text.find(' ') == std::string_view::npos)
        return std::nullopt;
    if (isDashRule(text))
        return std::nullopt;
    text = withoutDoubledApostrophes(text);
    if (text.size() < 4)
        return std::nullopt;
    return text;
}

LineKind kindOfLine(std::string_view trimmedLine, std::optional<unsigned char> driveLetter) {
    if (isDecorationLine(trimmedLine))
        return LineKind::Decoration;
    if (isDocumentPathLine(trimmedLine, driveLetter))
        return LineKind::DocumentPath;
    return LineKind::Text;
}

void forEachItemOfText(std::string_view trimmedLine, ListKind list, const AddItem& add) {
    const auto addCleaned = [&](ItemKind item) {
        return [&add, item, list](std::string_view piece) {
            const auto cleaned = cleanedItem(piece, item);
            if (!cleaned)
                return;
            if (const int group =
                    groupOfItem(static_cast<unsigned char>(cleaned->front()), item, list))
                add(group, *cleaned);
        };
    };
    if (list != ListKind::Phrases) {
        forEachPiece(
            trimmedLine, [](char c) { return c == ' ' || c == ',' || c == ';' || c == ':'; },
            addCleaned(ItemKind::Word));
    }
    if (list != ListKind::Words)
        forEachPiece(
            trimmedLine, [](char c) { return c == ','; }, addCleaned(ItemKind::Phrase));
}

} // namespace lists
