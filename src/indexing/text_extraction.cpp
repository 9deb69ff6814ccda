#include "text_extraction.h"

#include "textio/xml_parser.h"

namespace indexing {
namespace {

// Style sheets and scripts are no document text: EPUB chapters of many
// e-book tools carry their CSS in a <style> element of every chapter.
bool isNonTextElement(const QByteArray& tagName) {
    return tagName.compare("style", Qt::CaseInsensitive) == 0 ||
           tagName.compare("script", Qt::CaseInsensitive) == 0;
}

bool isTextPart(TXmlParser::PartType type) {
    return type == TXmlParser::PartType::Text || type == TXmlParser::PartType::CData;
}

} // namespace

bool isSkippedMember(const QString& memberPath) {
    const QString lower = memberPath.toLower();
    for (const char* name :
         {"meta.xml", "settings.xml", "styles.xml", "titlepage.xhtml", "toc.xhtml", "meta-inf"}) {
        if (lower.contains(QLatin1String(name)))
            return true;
    }
    return false;
}

bool LoadXMLDocument(MemberSource& members, ExtractedText& text, const ExtractionControl& control) {
    TXmlParser scanner;
    // Kept from one member to the next: a member that starts with the text
    // the previous one ended with does not repeat it.
    QByteArray previousContent;
    for (qsizetype i = 0; i < members.memberCount(); ++i) {
        control.yieldNow();
        if (control.stopped())
            return false;
        if (isSkippedMember(members.memberPath(i)))
            continue;
        std::optional<QByteArray> bytes = members.readMember(i);
        scanner.loadFromBuffer(bytes ? std::move(*bytes) : QByteArray());
        // The element whose text is left out, while the scanner is inside it.
        QByteArray skippedElement;
        while (scanner.nextPart()) {
            control.yieldNow();
            if (control.stopped())
                return false;
            const TXmlParser::PartType type = scanner.partType();
            if (type == TXmlParser::PartType::StartTag && skippedElement.isEmpty() &&
                isNonTextElement(scanner.name()))
                skippedElement = scanner.name();
            else if (type == TXmlParser::PartType::EndTag && !skippedElement.isEmpty() &&
                     scanner.name().compare(skippedElement, Qt::CaseInsensitive) == 0)
                skippedElement.clear();
            const bool written = skippedElement.isEmpty() || !isTextPart(type);
            // A part left out still counts as the previous content, so the
            // line after it is decided exactly as if it had been written.
            const QByteArray& content = scanner.content();
            if (content != previousContent && written)
                text.appendScannedLine(content);
            else
                text.notePart();
            previousContent = content;
        }
    }
    return true;
}

} // namespace indexing
