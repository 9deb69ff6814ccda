#include "text_extraction.h"

#include "textio/xml_scanner.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace indexing {

using textio::XmlScanner;

namespace {

enum class TagKind : quint8 {
    Other,
    // Its text is one line: a paragraph or heading of Word or OpenDocument,
    // and the author and date of a comment, the title and description of a
    // frame, which stand inside the paragraph the comment or frame belongs
    // to. One inside another (a footnote, a comment, a text box, a frame in
    // a paragraph) gives its line, and the paragraph around it goes on.
    Paragraph,
    // Its text is one line: a block of XHTML. One inside another ends the
    // text of the outer one, as it ends the line on the screen.
    Block,
    // Stands for white space inside a paragraph: a tab, a line break.
    Blank,
    // Its text is left out: style sheets and scripts (EPUB chapters of many
    // e-book tools carry their CSS in every chapter), Word's deleted text and
    // field instructions, OpenDocument's record of tracked changes (deleted
    // text, and the author and date of every change).
    Hidden,
    // A header or footer of an OpenDocument master page.
    HeaderFooter,
};

struct NamedKind {
    std::string_view name; // lower case
    TagKind kind;
};

// Names in lower case; tags are compared in lower case.
constexpr std::array<NamedKind, 43> kTagKinds{{
    {"w:p", TagKind::Paragraph},
    {"text:p", TagKind::Paragraph},
    {"text:h", TagKind::Paragraph},
    {"dc:creator", TagKind::Paragraph},
    {"dc:date", TagKind::Paragraph},
    {"svg:title", TagKind::Paragraph},
    {"svg:desc", TagKind::Paragraph},
    {"p", TagKind::Block},
    {"h1", TagKind::Block},
    {"h2", TagKind::Block},
    {"h3", TagKind::Block},
    {"h4", TagKind::Block},
    {"h5", TagKind::Block},
    {"h6", TagKind::Block},
    {"li", TagKind::Block},
    {"dt", TagKind::Block},
    {"dd", TagKind::Block},
    {"td", TagKind::Block},
    {"th", TagKind::Block},
    {"caption", TagKind::Block},
    {"figcaption", TagKind::Block},
    {"blockquote", TagKind::Block},
    {"pre", TagKind::Block},
    {"div", TagKind::Block},
    {"body", TagKind::Block},
    {"w:tab", TagKind::Blank},
    {"w:br", TagKind::Blank},
    {"w:cr", TagKind::Blank},
    {"text:s", TagKind::Blank},
    {"text:tab", TagKind::Blank},
    {"text:line-break", TagKind::Blank},
    {"br", TagKind::Blank},
    {"style", TagKind::Hidden},
    {"script", TagKind::Hidden},
    {"w:deltext", TagKind::Hidden},
    {"w:instrtext", TagKind::Hidden},
    {"text:tracked-changes", TagKind::Hidden},
    {"style:header", TagKind::HeaderFooter},
    {"style:footer", TagKind::HeaderFooter},
    {"style:header-left", TagKind::HeaderFooter},
    {"style:footer-left", TagKind::HeaderFooter},
    {"style:header-first", TagKind::HeaderFooter},
    {"style:footer-first", TagKind::HeaderFooter},
}};

constexpr qsizetype kLongestTagName = 20; // "text:tracked-changes"
static_assert(std::all_of(kTagKinds.begin(), kTagKinds.end(), [](const NamedKind& entry) {
    return !entry.name.empty() && entry.name.size() <= size_t(kLongestTagName) &&
           std::none_of(entry.name.begin(), entry.name.end(),
                        [](char c) { return c >= 'A' && c <= 'Z'; });
}));

// The entries of kTagKinds by the length of their names, and where the
// names of each length begin: a tag's name is compared with those of its own
// length only.
constexpr auto kTagKindsByLength = [] {
    auto byLength = kTagKinds;
    std::sort(byLength.begin(), byLength.end(), [](const NamedKind& a, const NamedKind& b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return byLength;
}();
constexpr auto kFirstOfLength = [] {
    std::array<quint8, kLongestTagName + 2> first{};
    for (size_t length = 0; length < first.size(); ++length) {
        quint8 at = 0;
        while (at < kTagKindsByLength.size() && kTagKindsByLength[at].name.size() < length)
            ++at;
        first[length] = at;
    }
    return first;
}();

TagKind tagKind(const QByteArray& name) {
    const qsizetype length = name.size();
    if (length == 0 || length > kLongestTagName)
        return TagKind::Other;
    char lower[kLongestTagName];
    for (qsizetype i = 0; i < length; ++i) {
        const char c = name[i];
        lower[i] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    for (quint8 at = kFirstOfLength[length]; at < kFirstOfLength[length + 1]; ++at) {
        const std::string_view candidate = kTagKindsByLength[at].name;
        if (candidate[0] == lower[0] && std::memcmp(candidate.data(), lower, length) == 0)
            return kTagKindsByLength[at].kind;
    }
    return TagKind::Other;
}

bool isTag(XmlScanner::PartType type) {
    return type == XmlScanner::PartType::StartTag || type == XmlScanner::PartType::EmptyTag ||
           type == XmlScanner::PartType::EndTag;
}

// Takes the parts of a document's members and writes its lines.
//
// Inside a paragraph the texts are joined as they stand and the paragraph
// becomes one line when it ends (its end tag; for XHTML also the start of a
// block inside it): trimmed, its inner white space shrunk, and written even
// when it equals the line before. Markup inside it adds
// nothing. Outside paragraphs every part is taken as it always was: a text
// is a line unless it equals the content before it, a text of blanks
// leaves the content empty, so the next part writes an empty line (the
// empty lines between the paragraphs of an XHTML file). A paragraph with no
// text at all leaves the content as it was, a paragraph of blanks leaves it
// empty: documents whose paragraphs hold one run of text each give the lines
// they always gave.
class DocumentLines {
public:
    explicit DocumentLines(ExtractedText& text)
        : text_(text) {}

    void beginMember(MemberRole role) {
        content_.clear(); // each member starts from empty content
        paragraphDepth_ = 0;
        interrupted_.clear();
        hidden_.clear();
        headersOnly_ = role == MemberRole::HeadersAndFooters;
        headerFooter_.clear();
    }

    void endMember() { endAllParagraphs(); }

    void take(const XmlScanner& scanner) {
        using Type = XmlScanner::PartType;
        const Type type = scanner.partType();
        const TagKind kind = isTag(type) ? tagKind(scanner.name()) : TagKind::Other;

        if (headersOnly_) {
            if (headerFooter_.isEmpty()) {
                if (type == Type::StartTag && kind == TagKind::HeaderFooter)
                    headerFooter_ = scanner.name();
                text_.notePart();
                return;
            }
            if (type == Type::EndTag && hidden_.isEmpty() && scanner.name() == headerFooter_) {
                endAllParagraphs();
                headerFooter_.clear();
                text_.notePart();
                return;
            }
        }

        if (!hidden_.isEmpty()) {
            if (type == Type::EndTag && scanner.name().compare(hidden_, Qt::CaseInsensitive) == 0) {
                hidden_.clear();
                markupPart();
                return;
            }
            if (paragraphDepth_ > 0) {
                text_.notePart();
                return;
            }
            // Outside paragraphs a hidden text still counts as the content
            // before the next part, so the lines after it are decided as if
            // it had been written.
            takeOutsideParagraph(scanner, false);
            return;
        }

        switch (kind) {
        case TagKind::Hidden:
            if (type == Type::StartTag)
                hidden_ = scanner.name();
            markupPart();
            return;
        case TagKind::Paragraph:
            if (type == Type::StartTag) {
                if (paragraphDepth_ > 0 && interrupted_.size() < kMaxInterrupted)
                    interruptParagraph();
                else
                    endParagraphText();
                ++paragraphDepth_;
            } else if (type == Type::EndTag) {
                endParagraphText();
                if (paragraphDepth_ > 0)
                    --paragraphDepth_;
                if (!interrupted_.empty() && interrupted_.back().depth == paragraphDepth_)
                    resumeParagraph();
            } else if (paragraphDepth_ > 0) {
                text_.notePart(); // an empty one inside a paragraph ends nothing
                return;
            }
            part(true);
            return;
        case TagKind::Block:
            endParagraphText();
            if (type == Type::StartTag)
                ++paragraphDepth_;
            else if (type == Type::EndTag && paragraphDepth_ > 0)
                --paragraphDepth_;
            part(true);
            return;
        default:
            break;
        }

        if (paragraphDepth_ > 0) {
            if (type == Type::Text || type == Type::CData) {
                XmlScanner::appendNormalized(paragraph_, pendingBlank_, scanner.content());
                paragraphHasText_ = true;
            } else if (kind == TagKind::Blank && type != Type::EndTag) {
                pendingBlank_ = pendingBlank_ || !paragraph_.isEmpty();
            }
            text_.notePart();
            return;
        }
        takeOutsideParagraph(scanner, true);
    }

private:
    // A part outside any paragraph, as parts were always taken.
    void takeOutsideParagraph(const XmlScanner& scanner, bool written) {
        using Type = XmlScanner::PartType;
        switch (scanner.partType()) {
        case Type::Text:
            content_ = XmlScanner::normalized(scanner.content());
            // A text of blanks is no part: it only empties the content.
            if (content_.isEmpty())
                return;
            part(written);
            return;
        case Type::CData:
            content_ = scanner.content();
            part(written);
            return;
        case Type::ProcessingInstruction:
            content_ = scanner.content();
            part(true);
            return;
        case Type::XmlDeclaration:
            content_.clear();
            part(true);
            return;
        default:
            part(true);
            return;
        }
    }

    // A tag that is no paragraph, inside a paragraph or outside.
    void markupPart() {
        if (paragraphDepth_ > 0)
            text_.notePart();
        else
            part(true);
    }

    // The scanner returned a part whose content is content_: a line when it
    // differs from the content before.
    void part(bool written) {
        if (written && !headersOnly_ && content_ != previous_)
            text_.appendScannedLine(content_);
        else
            text_.notePart();
        previous_ = content_;
    }

    // A paragraph starts inside the open one: the open one waits.
    void interruptParagraph() {
        interrupted_.push_back(
            {std::move(paragraph_), pendingBlank_, paragraphHasText_, paragraphDepth_});
        paragraph_ = QByteArray();
        pendingBlank_ = false;
        paragraphHasText_ = false;
    }

    void resumeParagraph() {
        Interrupted& outer = interrupted_.back();
        paragraph_ = std::move(outer.text);
        pendingBlank_ = outer.pendingBlank;
        paragraphHasText_ = outer.hasText;
        interrupted_.pop_back();
    }

    // A member or a header ends: what is open is written, inner first.
    void endAllParagraphs() {
        endParagraphText();
        while (!interrupted_.empty()) {
            resumeParagraph();
            endParagraphText();
        }
        paragraphDepth_ = 0;
    }

    void endParagraphText() {
        pendingBlank_ = false; // a blank at the end is trimmed
        if (!paragraphHasText_)
            return;
        paragraphHasText_ = false;
        if (paragraph_.isEmpty()) {
            if (!headersOnly_)
                content_.clear();
            return;
        }
        text_.appendScannedLine(paragraph_);
        // The line becomes the content; the buffer of the one before takes
        // the next paragraph.
        previous_.swap(paragraph_);
        content_ = previous_;
        paragraph_.resize(0);
    }

    ExtractedText& text_;
    // The content the scanner would hold after the last part, and the one
    // before it; kept from one member to the next.
    QByteArray content_;
    QByteArray previous_;
    int paragraphDepth_ = 0;
    // The texts of the open paragraph, trimmed and shrunk as they come.
    QByteArray paragraph_;
    bool pendingBlank_ = false;
    bool paragraphHasText_ = false;
    // The paragraphs that wait for the ones inside them, innermost last,
    // with the paragraph depth at which each goes on. Deeper nesting than
    // this ends the waiting one instead.
    struct Interrupted {
        QByteArray text;
        bool pendingBlank = false;
        bool hasText = false;
        int depth = 0;
    };
    static constexpr size_t kMaxInterrupted = 64;
    std::vector<Interrupted> interrupted_;
    QByteArray hidden_; // the element whose text is left out, while inside it
    bool headersOnly_ = false;
    QByteArray headerFooter_; // the open header or footer, in headers-only mode
};

} // namespace

MemberRole memberRole(const QString& memberName) {
    const QString lower = memberName.toLower();
    if (lower == QLatin1String("styles.xml"))
        return MemberRole::HeadersAndFooters;
    for (const char* name :
         {"meta.xml", "settings.xml", "styles.xml", "titlepage.xhtml", "toc.xhtml", "meta-inf"}) {
        if (lower.contains(QLatin1String(name)))
            return MemberRole::Skipped;
    }
    for (const char* folder : {"basic/", "scripts/", "word/glossary/"}) {
        if (lower.startsWith(QLatin1String(folder)))
            return MemberRole::Skipped;
    }
    return MemberRole::Text;
}

bool extractDocumentText(MemberSource& members, ExtractedText& text,
                         const ExtractionControl& control) {
    XmlScanner scanner;
    scanner.setHtmlEntities(true);
    DocumentLines lines(text);
    for (qsizetype i = 0; i < members.memberCount(); ++i) {
        control.checkpointNow();
        if (control.stopped())
            return false;
        const MemberRole role = memberRole(members.memberName(i));
        if (role == MemberRole::Skipped)
            continue;
        std::optional<QByteArray> bytes = members.readMember(i);
        scanner.loadFromBuffer(bytes ? std::move(*bytes) : QByteArray());
        // Texts come as they stand: a paragraph's runs are joined first and
        // trimmed as one.
        scanner.setNormalize(false);
        lines.beginMember(role);
        while (scanner.nextPart()) {
            control.checkpointNow();
            if (control.stopped())
                return false;
            lines.take(scanner);
        }
        lines.endMember();
    }
    return true;
}

} // namespace indexing
