#include "xml_scanner.h"

#include "html_entities.h"
#include "regular_file.h"
#include "windows1252.h"

#include <QFile>

#include <cstring>

namespace textio {

namespace {

constexpr unsigned char kUnmappable = 0xBF; // "¿"

// Entities may nest this deep; a reference below it stays as its name.
constexpr int kMaxEntityDepth = 16;

bool isXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

int leadingOneBits(unsigned char b) {
    int n = 0;
    while (n < 8 && (b & (0x80 >> n)))
        ++n;
    return n;
}

// "#228", "#x80": the number modulo 256, or 32 when the digits are not all
// digits (or missing).
char numericReference(QByteArrayView digits) {
    unsigned value = 0;
    if (!digits.isEmpty() && (digits[0] == 'x' || digits[0] == 'X')) {
        digits = digits.sliced(1);
        if (digits.isEmpty())
            return ' ';
        for (const char c : digits) {
            if (!isHexDigit(c))
                return ' ';
            value = (value * 16 + hexValue(c)) % 256;
        }
    } else {
        if (digits.isEmpty())
            return ' ';
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return ' ';
            value = (value * 10 + (c - '0')) % 256;
        }
    }
    return static_cast<char>(value);
}

} // namespace

QByteArray XmlScanner::normalized(QByteArrayView text) {
    QByteArray out;
    bool pendingBlank = false;
    appendNormalized(out, pendingBlank, text);
    return out;
}

void XmlScanner::appendNormalized(QByteArray& out, bool& pendingBlank, QByteArrayView text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        if (isXmlBlank(*p)) {
            pendingBlank = pendingBlank || !out.isEmpty();
            ++p;
            continue;
        }
        const char* word = p;
        while (p < end && !isXmlBlank(*p))
            ++p;
        if (out.isEmpty())
            out.reserve(end - word);
        if (pendingBlank) {
            out.append(' ');
            pendingBlank = false;
        }
        out.append(word, p - word);
    }
}

bool XmlScanner::load(const QString& fileName) {
    QFile file;
    QByteArray bytes;
    bool ok = textio::openRegularFile(file, fileName);
    if (ok) {
        bytes = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    loadFromBuffer(ok ? bytes : QByteArray());
    return ok;
}

void XmlScanner::loadFromBuffer(QByteArray bytes) {
    buffer_ = std::move(bytes);
    const void* nul = std::memchr(buffer_.constData(), 0, buffer_.size());
    size_ = nul ? static_cast<const char*>(nul) - buffer_.constData() : buffer_.size();
    normalize_ = true;
    entities_.clear();
    start();
}

void XmlScanner::start() {
    // A byte-order mark says how the bytes are written; it is no text.
    pos_ = startsAt(0, "\xEF\xBB\xBF") ? 3 : 0;
    semicolonFrom_ = -1;
    partType_ = PartType::None;
    name_.clear();
    content_.clear();
}

bool XmlScanner::startsAt(qsizetype at, const char* literal) const {
    const qsizetype n = static_cast<qsizetype>(std::strlen(literal));
    return at + n <= size_ && std::memcmp(buffer_.constData() + at, literal, n) == 0;
}

qsizetype XmlScanner::find(const char* literal, qsizetype from) const {
    const qsizetype at = QByteArrayView(buffer_.constData(), size_).indexOf(literal, from);
    return at;
}

bool XmlScanner::nextPart() {
    for (;;) {
        if (pos_ >= size_)
            return false;
        if (startsAt(pos_, "<?xml") && pos_ + 5 < size_ && isXmlBlank(buffer_[pos_ + 5])) {
            scanXmlDeclaration();
        } else if (startsAt(pos_, "<?")) {
            scanProcessingInstruction();
        } else if (startsAt(pos_, "<!--")) {
            scanComment();
        } else if (startsAt(pos_, "<!DOCTYPE")) {
            scanDocType();
        } else if (startsAt(pos_, "<![CDATA[")) {
            scanCData();
        } else if (buffer_[pos_] == '<') {
            scanTag();
        } else {
            scanText();
            // A text of blanks only is no part: it leaves the content empty
            // and the scanner goes on.
            if (content_.isEmpty() && normalize_)
                continue;
        }
        return true;
    }
}

void XmlScanner::scanXmlDeclaration() {
    partType_ = PartType::XmlDeclaration;
    const qsizetype end = find("?>", pos_ + 5);
    const qsizetype attributesEnd = end < 0 ? size_ : end;
    encoding_.clear();
    readDeclarationAttributes(pos_ + 5, attributesEnd);
    if (encoding_.isEmpty())
        encoding_ = "UTF-8";
    name_.clear();
    content_.clear();
    pos_ = end < 0 ? size_ : end + 2;
}

void XmlScanner::readDeclarationAttributes(qsizetype from, qsizetype to) {
    const char* b = buffer_.constData();
    qsizetype i = from;
    while (i < to) {
        while (i < to && isXmlBlank(b[i]))
            ++i;
        const qsizetype nameStart = i;
        while (i < to && b[i] != '=' && !isXmlBlank(b[i]))
            ++i;
        const QByteArrayView attribute(b + nameStart, i - nameStart);
        while (i < to && isXmlBlank(b[i]))
            ++i;
        if (i >= to || b[i] != '=') {
            if (i == nameStart)
                ++i;
            continue;
        }
        ++i;
        while (i < to && isXmlBlank(b[i]))
            ++i;
        if (i >= to || (b[i] != '"' && b[i] != '\''))
            continue;
        const char quote = b[i++];
        const qsizetype valueStart = i;
        while (i < to && b[i] != quote)
            ++i;
        const QByteArrayView value(b + valueStart, i - valueStart);
        ++i;
        // Only the encoding is used; version and standalone are read past.
        if (attribute == "encoding")
            encoding_ = value.toByteArray().toUpper();
    }
}

void XmlScanner::scanProcessingInstruction() {
    partType_ = PartType::ProcessingInstruction;
    const char* b = buffer_.constData();
    const qsizetype end = find("?>", pos_ + 2);
    const qsizetype limit = end < 0 ? size_ : end;
    qsizetype i = pos_ + 2;
    while (i < limit && !isXmlBlank(b[i]))
        ++i;
    name_ = QByteArray(b + pos_ + 2, i - (pos_ + 2));
    if (i < limit)
        ++i; // the one separator after the target
    content_ = QByteArray(b + i, limit - i);
    pos_ = end < 0 ? size_ : end + 2;
}

void XmlScanner::scanComment() {
    partType_ = PartType::Comment;
    const qsizetype end = find("-->", pos_ + 4);
    pos_ = end < 0 ? size_ : end + 3;
}

void XmlScanner::scanDocType() {
    partType_ = PartType::DocTypeDeclaration;
    const char* b = buffer_.constData();
    qsizetype i = pos_ + 9;
    char quote = 0;
    qsizetype subsetStart = -1;
    qsizetype subsetEnd = -1;
    while (i < size_) {
        const char c = b[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (subsetStart >= 0 && subsetEnd < 0) {
            if (startsAt(i, "<!--")) {
                const qsizetype end = find("-->", i + 4);
                i = end < 0 ? size_ : end + 3;
                continue;
            }
            if (c == '"' || c == '\'')
                quote = c;
            else if (c == ']')
                subsetEnd = i;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            subsetStart = i + 1;
        } else if (c == '>') {
            break;
        }
        ++i;
    }
    if (subsetStart >= 0)
        recordEntities(subsetStart, subsetEnd < 0 ? size_ : subsetEnd);
    pos_ = i < size_ ? i + 1 : size_;
}

// Records the internal general entities of a subset; the first declaration
// of a name wins. Parameter entities and external ones are passed over.
void XmlScanner::recordEntities(qsizetype from, qsizetype to) {
    const char* b = buffer_.constData();
    qsizetype i = from;
    while (i < to) {
        if (startsAt(i, "<!--")) {
            const qsizetype end = find("-->", i + 4);
            i = end < 0 ? to : end + 3;
            continue;
        }
        if (!startsAt(i, "<!ENTITY")) {
            if (b[i] == '"' || b[i] == '\'') {
                const char quote = b[i++];
                while (i < to && b[i] != quote)
                    ++i;
            }
            ++i;
            continue;
        }
        i += 8;
        while (i < to && isXmlBlank(b[i]))
            ++i;
        const bool parameter = i < to && b[i] == '%';
        if (parameter) {
            ++i;
            while (i < to && isXmlBlank(b[i]))
                ++i;
        }
        const qsizetype nameStart = i;
        while (i < to && !isXmlBlank(b[i]) && b[i] != '>' && b[i] != '"' && b[i] != '\'')
            ++i;
        const QByteArray name(b + nameStart, i - nameStart);
        while (i < to && isXmlBlank(b[i]))
            ++i;
        if (i < to && (b[i] == '"' || b[i] == '\'')) {
            const char quote = b[i++];
            const qsizetype valueStart = i;
            while (i < to && b[i] != quote)
                ++i;
            if (!parameter && !name.isEmpty() && !entities_.contains(name))
                entities_.insert(name, QByteArray(b + valueStart, i - valueStart));
            ++i;
        }
        // The rest of the declaration (an external identifier, NDATA),
        // quotes respected.
        char quote = 0;
        while (i < to) {
            const char c = b[i++];
            if (quote) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
    }
}

void XmlScanner::scanCData() {
    partType_ = PartType::CData;
    const qsizetype from = pos_ + 9;
    const qsizetype end = find("]]>", from);
    const qsizetype to = end < 0 ? size_ : end;
    content_.clear();
    appendTranslated(content_, buffer_.constData() + from, buffer_.constData() + to);
    pos_ = end < 0 ? size_ : end + 3;
}

void XmlScanner::scanTag() {
    const char* b = buffer_.constData();
    const bool endTag = pos_ + 1 < size_ && b[pos_ + 1] == '/';
    qsizetype i = pos_ + (endTag ? 2 : 1);
    const qsizetype nameStart = i;
    while (i < size_ && !isXmlBlank(b[i]) && b[i] != '>' && b[i] != '/')
        ++i;
    // Written over in place: a document has millions of tags.
    name_.resize(i - nameStart);
    std::memcpy(name_.data(), b + nameStart, i - nameStart);
    // The tag ends at the first ">", even inside a quoted attribute value.
    const void* close = std::memchr(b + i, '>', size_ - i);
    const qsizetype end = close ? static_cast<const char*>(close) - b : size_;
    if (endTag)
        partType_ = PartType::EndTag;
    else if (close && end > pos_ + 1 && b[end - 1] == '/')
        partType_ = PartType::EmptyTag;
    else
        partType_ = PartType::StartTag;
    pos_ = close ? end + 1 : size_;
}

void XmlScanner::scanText() {
    partType_ = PartType::Text;
    content_.resize(0); // keeps its memory for the next text
    const char* b = buffer_.constData();
    const char* end = appendTextWithReferences(content_, b + pos_, b + size_, b + size_, 0, true);
    pos_ = end - b;
    if (normalize_)
        content_ = normalized(content_);
}

const char* XmlScanner::appendTextWithReferences(QByteArray& out, const char* from, const char* to,
                                                 const char* searchEnd, int depth,
                                                 bool stopAtTag) const {
    const char* p = from;
    while (p < to) {
        const char c = *p;
        if (stopAtTag && c == '<')
            break;
        if (c == '&') {
            // A reference runs to the next ";" wherever it is.
            const char* semi = nextSemicolon(p + 1, searchEnd);
            if (!semi) {
                ++p; // the "&" is dropped
                continue;
            }
            const char* nameEnd = semi;
            appendReference(out, QByteArrayView(p + 1, nameEnd - (p + 1)), depth);
            p = nameEnd + 1;
            continue;
        }
        const char* stretchEnd = p;
        while (stretchEnd < to && *stretchEnd != '&' && !(stopAtTag && *stretchEnd == '<'))
            ++stretchEnd;
        appendTranslated(out, p, stretchEnd);
        p = stretchEnd;
    }
    return p;
}

// The first ";" at or after from. In the scanner's own buffer the last answer
// is kept, so a text full of "&" without any ";" after them is not searched
// to its end again for every one of them.
const char* XmlScanner::nextSemicolon(const char* from, const char* searchEnd) const {
    const char* b = buffer_.constData();
    const bool inBuffer = from >= b && searchEnd == b + size_;
    if (inBuffer && semicolonFrom_ >= 0 && from - b >= semicolonFrom_ && from - b <= semicolonAt_)
        return semicolonAt_ < size_ ? b + semicolonAt_ : nullptr;
    const void* found = std::memchr(from, ';', searchEnd - from);
    const char* semi = static_cast<const char*>(found);
    if (inBuffer) {
        semicolonFrom_ = from - b;
        semicolonAt_ = semi ? semi - b : size_;
    }
    return semi;
}

void XmlScanner::appendReference(QByteArray& out, QByteArrayView name, int depth) const {
    if (name == "lt")
        out.append('<');
    else if (name == "gt")
        out.append('>');
    else if (name == "amp")
        out.append('&');
    else if (name == "apos")
        out.append('\'');
    else if (name == "quot")
        out.append('"');
    else if (!name.isEmpty() && name[0] == '#')
        out.append(numericReference(name.sliced(1)));
    else if (const auto it =
                 entities_.isEmpty() ? entities_.cend() : entities_.constFind(name.toByteArray());
             it != entities_.cend()) {
        if (depth >= kMaxEntityDepth) {
            out.append(name);
            return;
        }
        const QByteArray& replacement = it.value();
        if (expansionLeft_ < replacement.size()) {
            expansionLeft_ = 0;
            return;
        }
        expansionLeft_ -= replacement.size();
        const char* b = replacement.constData();
        appendTextWithReferences(out, b, b + replacement.size(), b + replacement.size(), depth + 1,
                                 false);
    } else if (const auto character = htmlEntities_ ? textio::htmlEntityByte(name) : std::nullopt) {
        out.append(static_cast<char>(*character));
    } else {
        out.append(name);
    }
}

void XmlScanner::appendTranslated(QByteArray& out, const char* from, const char* to) const {
    if (encoding_ != "UTF-8") {
        out.append(from, to - from);
        return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(from);
    const auto* end = reinterpret_cast<const unsigned char*>(to);
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            const auto* run = p;
            while (run < end && *run < 0x80)
                ++run;
            out.append(reinterpret_cast<const char*>(p), run - p);
            p = run;
            continue;
        }
        char16_t ch = 0;
        bool decoded = false;
        // The bytes after a lead byte are taken as they come, unexamined.
        if ((b & 0xE0) == 0xC0 && end - p >= 2) {
            ch = static_cast<char16_t>(((b & 0x1F) << 6) | (p[1] & 0x3F));
            p += 2;
            decoded = true;
        } else if ((b & 0xF0) == 0xE0 && end - p >= 3) {
            ch = static_cast<char16_t>(((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
            p += 3;
            decoded = true;
        } else {
            const qsizetype skip = std::max(1, leadingOneBits(b));
            p += std::min<qsizetype>(skip, end - p);
        }
        const auto mapped = decoded ? textio::windows1252Byte(ch) : std::nullopt;
        out.append(static_cast<char>(mapped ? *mapped : kUnmappable));
    }
}

} // namespace textio
