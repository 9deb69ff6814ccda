#include "text_extraction.h"

#include "textio/windows1252.h"
#include "textio/xml_parser.h"

namespace indexing {

bool isSkippedMember(const QString& memberPath) {
    const QString lower = memberPath.toLower();
    for (const char* name :
         {"meta.xml", "settings.xml", "styles.xml", "titlepage.xhtml", "toc.xhtml", "meta-inf"}) {
        if (lower.contains(QLatin1String(name)))
            return true;
    }
    return false;
}

void LoadXMLDocument(MemberSource& members, DatabaseWriter& writer,
                     const platform::RunContext& context, qint64 splitLimit) {
    qint64 characterCount = 0;
    TXmlParser scanner;
    // Kept from one member to the next: a member that starts with the text
    // the previous one ended with does not repeat it.
    QByteArray previousContent;
    for (qsizetype i = 0; i < members.memberCount(); ++i) {
        context.yield();
        if (isSkippedMember(members.memberPath(i)))
            continue;
        std::optional<QByteArray> bytes = members.readMember(i);
        scanner.loadFromBuffer(bytes ? std::move(*bytes) : QByteArray());
        while (scanner.nextPart()) {
            context.yield();
            if (characterCount >= splitLimit) {
                writer.writePart();
                characterCount = 0;
            }
            const QByteArray& content = scanner.content();
            if (content != previousContent) {
                QString line = textio::ansiView(content);
                line.replace(QChar(0xBF), QLatin1Char(' '));
                writer.appendLine(line);
                characterCount += line.size();
            }
            previousContent = content;
        }
    }
    if (writer.hasLines() && writer.splitFlag())
        writer.writePart();
}

} // namespace indexing
