#include "extracted_text.h"

#include "database_writer.h"

#include "textio/windows1252.h"

#include <array>

namespace indexing {
namespace {

struct Utf8Sequence {
    char bytes[3];
    unsigned char length;
};

// Each byte of scanned content as the UTF-8 of its Windows-1252 character;
// "¿" (0xBF), the scanner's mark for a character it could not hold, as a
// blank. Every such character lies in the Basic Multilingual Plane and
// counts one UTF-16 unit.
std::array<Utf8Sequence, 256> makeUtf8Table() {
    std::array<Utf8Sequence, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char16_t ch =
            b == 0xBF ? u' ' : textio::windows1252Char(static_cast<unsigned char>(b));
        Utf8Sequence& out = table[b];
        if (ch < 0x80) {
            out = {{static_cast<char>(ch)}, 1};
        } else if (ch < 0x800) {
            out = {{static_cast<char>(0xC0 | (ch >> 6)), static_cast<char>(0x80 | (ch & 0x3F))}, 2};
        } else {
            out = {{static_cast<char>(0xE0 | (ch >> 12)),
                    static_cast<char>(0x80 | ((ch >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (ch & 0x3F))},
                   3};
        }
    }
    return table;
}

void appendLength(QByteArray& out, quint64 value) {
    while (value >= 0x80) {
        out.append(static_cast<char>(0x80 | (value & 0x7F)));
        value >>= 7;
    }
    out.append(static_cast<char>(value));
}

// Reads the base-128 number at `at`; nothing when it runs past the end.
std::optional<quint64> readLength(const QByteArray& in, qsizetype& at) {
    quint64 value = 0;
    for (int shift = 0; at < in.size() && shift < 64; shift += 7) {
        const auto byte = static_cast<unsigned char>(in.at(at++));
        value |= quint64(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

// UTF-16 units of a line of the database text: one per character, since
// every character of the extracted text lies in the Basic Multilingual Plane.
qint64 lineCharacters(QByteArrayView line) {
    qint64 count = 0;
    for (const char c : line.chopped(2))
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

bool startsLikeDocumentMarker(QByteArrayView line) {
    return line.size() >= 4 && line[0] == '#' && isAsciiLetter(line[1]) && line[2] == ':' &&
           line[3] == '\\';
}

void ExtractedText::appendScannedLine(QByteArrayView windows1252) {
    static const std::array<Utf8Sequence, 256> table = makeUtf8Table();
    const qsizetype before = bytes_.size();
    // A document's line such as "#D:\Privat\Brief.odt" would look to the
    // search like the start of another document's block, and the hits after
    // it would be counted and linked there. Such a line is moved off the
    // start of the line by one blank, so no text line begins in the marker's
    // form (any drive letter, either case, as the marker is matched).
    const bool shifted = startsLikeDocumentMarker(windows1252);
    // At most three bytes per character and the line end, written in place.
    bytes_.resize(before + shifted + 3 * windows1252.size() + 2);
    char* out = bytes_.data() + before;
    if (shifted)
        *out++ = ' ';
    for (const char c : windows1252) {
        const Utf8Sequence& sequence = table[static_cast<unsigned char>(c)];
        out[0] = sequence.bytes[0];
        out[1] = sequence.bytes[1];
        out[2] = sequence.bytes[2];
        out += sequence.length;
    }
    *out++ = '\r';
    *out++ = '\n';
    bytes_.truncate(out - bytes_.constData());
    appendLength(lineLengths_, static_cast<quint64>(bytes_.size() - before));
    ++lineCount_;
    characters_ += windows1252.size() + shifted;
    partsAfterLastLine_ = false;
}

std::optional<ExtractedText> ExtractedText::fromStored(QByteArray bytes, QByteArray lineLengths,
                                                       qint64 lineCount, qint64 characters,
                                                       bool partsAfterLastLine,
                                                       QByteArray storage) {
    qsizetype at = 0;
    quint64 total = 0;
    qint64 lines = 0;
    while (at < lineLengths.size()) {
        const auto length = readLength(lineLengths, at);
        if (!length || *length < 2 || *length > quint64(bytes.size()) - total)
            return std::nullopt;
        total += *length;
        if (bytes.at(qsizetype(total) - 2) != '\r' || bytes.at(qsizetype(total) - 1) != '\n')
            return std::nullopt;
        ++lines;
    }
    if (total != quint64(bytes.size()) || lines != lineCount || characters < 0 ||
        (partsAfterLastLine && lineCount == 0))
        return std::nullopt;
    ExtractedText text;
    text.storage_ = std::move(storage);
    text.bytes_ = std::move(bytes);
    text.lineLengths_ = std::move(lineLengths);
    text.lineCount_ = lineCount;
    text.characters_ = characters;
    text.partsAfterLastLine_ = partsAfterLastLine;
    return text;
}

void writeDocumentText(const ExtractedText& text, DatabaseWriter& writer, qint64 splitLimit) {
    // The count only grows within a document, so one that stays below the
    // limit is never cut: its lines go in one piece.
    if (text.characters() < splitLimit) {
        writer.appendEncoded(text.bytes(), text.lineCount());
    } else {
        const QByteArray& bytes = text.bytes();
        const QByteArray& lengths = text.lineLengths();
        qsizetype lengthAt = 0;
        qsizetype lineStart = 0;
        qint64 characterCount = 0;
        for (qint64 line = 0; line < text.lineCount(); ++line) {
            const auto length = static_cast<qsizetype>(*readLength(lengths, lengthAt));
            const QByteArrayView lineBytes(bytes.constData() + lineStart, length);
            writer.appendEncoded(lineBytes, 1);
            lineStart += length;
            characterCount += lineCharacters(lineBytes);
            const bool partFollows = line + 1 < text.lineCount() || text.partsAfterLastLine();
            if (characterCount >= splitLimit && partFollows) {
                writer.writePart();
                characterCount = 0;
            }
        }
    }
    if (writer.hasLines() && writer.splitFlag())
        writer.writePart();
}

} // namespace indexing
