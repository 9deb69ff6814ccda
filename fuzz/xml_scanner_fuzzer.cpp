// The XML scanner on arbitrary bytes, alone and as the text extraction
// drives it: one scanner for all members of a document, so the encoding of
// one member's declaration carries over to the next.

#include "extracted_text_promise.h"
#include "fuzz_support.h"

#include "indexing/extracted_text.h"
#include "indexing/text_extraction.h"
#include "textio/xml_scanner.h"

#include <QByteArrayList>
#include <QStringList>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A text part is never empty, and normalizing leaves no tab, CR or LF in
// it, no blank at either end and no two blanks in a row.
bool isNormalizedText(const QByteArray& content) {
    if (content.isEmpty() || isBlank(content.front()) || isBlank(content.back()))
        return false;
    char previous = 0;
    for (const char c : content) {
        if ((c != ' ' && isBlank(c)) || (c == ' ' && previous == ' '))
            return false;
        previous = c;
    }
    return true;
}

void scanAllParts(textio::XmlScanner& scanner) {
    while (scanner.nextPart()) {
        if (scanner.partType() == textio::XmlScanner::PartType::Text)
            fuzzing::require(isNormalizedText(scanner.content()), "text parts are normalized");
    }
}

// The members of one document: the input cut at every byte 0x1E (the
// record separator), under names that take turns, so the skip rules meet
// some of them.
class InputMembers final : public indexing::MemberSource {
public:
    explicit InputMembers(QByteArrayView input)
        : pieces_(input.toByteArray().split('\x1e')) {}

    qsizetype memberCount() const override { return pieces_.size(); }
    QString memberName(qsizetype index) const override {
        static const QStringList names = {QStringLiteral("content.xml"),
                                          QStringLiteral("word/document.xml"),
                                          QStringLiteral("OEBPS/ch001.xhtml"),
                                          QStringLiteral("meta.xml"), QStringLiteral("styles.xml")};
        return names.at(index % names.size());
    }
    std::optional<QByteArray> readMember(qsizetype index) override { return pieces_.at(index); }

private:
    QByteArrayList pieces_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input = fuzzing::inputBytes(data, size);

    // A new scanner, then the same bytes again with the encoding the first
    // pass ended with.
    textio::XmlScanner scanner;
    scanner.loadFromBuffer(input.toByteArray());
    scanAllParts(scanner);
    scanner.loadFromBuffer(input.toByteArray());
    scanAllParts(scanner);

    indexing::ExtractedText text;
    InputMembers members(input);
    fuzzing::require(indexing::extractDocumentText(members, text), "an extraction runs to its end");
    fuzzing::requireStoredFormHolds(text);
    return 0;
}
