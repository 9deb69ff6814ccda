#include "test_support.h"

#include "indexing/database_writer.h"
#include "indexing/text_extraction.h"
#include "textio/utf8.h"
#include "textio/windows1252.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using testsupport::Members;

namespace {

const QByteArray kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// Extracts the members as one document and returns the database text the
// run would write.
QByteArray extractedText(const Members& members, qint64 splitLimit = indexing::kDefaultSplitLimit,
                         int* parts = nullptr) {
    QTemporaryDir program;
    QDir(program.path()).mkpath("Datenbank/Temp");
    indexing::DatabaseWriter writer(program.path() + "/", "T");
    testsupport::MemoryMembers source(members);
    indexing::ExtractedText text;
    indexing::extractDocumentText(source, text);
    indexing::writeDocumentText(text, writer, splitLimit);
    writer.writeDatabaseText();
    if (writer.splitFlag())
        writer.moveAndMerge({});
    if (parts)
        *parts = writer.partCount();
    return testsupport::readAll(writer.stagedTextPath());
}

} // namespace

class ExtractionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lines_data() {
        QTest::addColumn<Members>("members");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("opendocument paragraphs")
            << Members{{"content.xml", kDecl + "<text:p>Preis: 5 &lt; 7</text:p><text:p>Zweite "
                                               "Zeile</text:p>"}}
            << QByteArray("Preis: 5 < 7\r\nZweite Zeile\r\n");
        QTest::newRow("xhtml paragraphs one per source line")
            << Members{{"OEBPS/k1.xhtml",
                        kDecl + "\n<html>\n<body>\n<p>Eins</p>\n<p>Zwei</p>\n</body>\n</html>\n"}}
            << QByteArray("Eins\r\n\r\nZwei\r\n\r\n");
        QTest::newRow("euro kept, greek and inverted question mark blanked")
            << Members{{"content.xml", kDecl + "<p>5 \xE2\x82\xAC f\xC3\xBCr \xCE\xB1 \xC2\xBF"
                                               "x</p>"}}
            << QByteArray("5 \xE2\x82\xAC f\xC3\xBCr    x\r\n");
        QTest::newRow("skipped members")
            << Members{{"word/styles.xml", kDecl + "<w:t>Stil</w:t>"},
                       {"word/document.xml", kDecl + "<w:t>Text</w:t>"},
                       {"META-INF/container.xml", "<a>Verwaltung</a>"},
                       {"meta.xml", "<a>Meta</a>"},
                       {"OEBPS/toc.xhtml", "<a>Inhalt</a>"},
                       {"OEBPS/titlepage.xhtml", "<a>Titel</a>"},
                       {"settings.xml", "<a>Einstellung</a>"}}
            << QByteArray("Text\r\n");
        QTest::newRow("same paragraph twice in a row written twice")
            << Members{{"content.xml", kDecl + "<p>A</p><p>A</p><p>B</p><p>A</p>"}}
            << QByteArray("A\r\nA\r\nB\r\nA\r\n");
        QTest::newRow("same text run twice outside paragraphs written once")
            << Members{{"content.xml", kDecl + "<a>A</a><a>A</a><a>B</a>"}}
            << QByteArray("A\r\nB\r\n");
        QTest::newRow("declaration of the next member gives an empty line")
            << Members{{"a.xml", kDecl + "<p>Ende</p>"}, {"b.xml", kDecl + "<p>Anfang</p>"}}
            << QByteArray("Ende\r\n\r\nAnfang\r\n");
        // Loading a member empties the scanner's content, so the next member
        // opens with an empty line even without a declaration.
        QTest::newRow("each member starts from empty content")
            << Members{{"a.xml", "<p>Gleich</p>"}, {"b.xml", "<p>Gleich</p><p>Neu</p>"}}
            << QByteArray("Gleich\r\n\r\nGleich\r\nNeu\r\n");
        QTest::newRow("previous content carries across a skipped member")
            << Members{{"a.xml", "<p>Gleich"}, {"styles.xml", "<p>Stil</p>"}, {"b.xml", "Gleich"}}
            << QByteArray("Gleich\r\n");
        QTest::newRow("an unreadable member gives nothing")
            << Members{{"a.xml", QByteArray()}} << QByteArray();

        // Style sheets and scripts are left out; the parts after them are
        // decided as if they had been written.
        QTest::newRow("style in the head, script inside a paragraph")
            << Members{{"k.xhtml", kDecl + "<html><head><title>T</title>\n<style>p{margin:0}"
                                           "</style>\n</head><body><p>Vor <script>var a = 1;"
                                           "</script>nach.</p></body></html>"}}
            << QByteArray("T\r\n\r\n\r\nVor nach.\r\n");
        QTest::newRow("names in any letter case, cdata inside too")
            << Members{{"k.xhtml", kDecl + "<p>A</p><STYLE>x</STYLE><Script><![CDATA[if (a < b)]]>"
                                           "</SCRIPT><p>B</p>"}}
            << QByteArray("A\r\nB\r\n");
        QTest::newRow("a self-closing script hides nothing")
            << Members{{"k.xhtml", kDecl + "<p>A</p><script src=\"s.js\"/><p>B</p>"}}
            << QByteArray("A\r\nB\r\n");
        QTest::newRow("only the end tag of the same name ends it")
            << Members{{"k.xhtml", kDecl + "<style>a</script>b</style><p>C</p>"}}
            << QByteArray("C\r\n");
        QTest::newRow("a paragraph equal to the style text before it is written")
            << Members{{"k.xhtml", kDecl + "<p>X</p><style>Y</style><p>Y</p><p>Z</p>"}}
            << QByteArray("X\r\nY\r\nZ\r\n");
        QTest::newRow("an unclosed style ends with its member")
            << Members{{"a.xhtml", kDecl + "<style>a"}, {"b.xhtml", "<p>B</p>"}}
            << QByteArray("\r\nB\r\n");
        QTest::newRow("prefixed names are other elements")
            << Members{{"k.svg", kDecl + "<svg:style>Stil</svg:style>"}} << QByteArray("Stil\r\n");
        // No line of a document may start like a block's document marker.
        QTest::newRow("lines in a document marker's form get a blank in front")
            << Members{{"content.xml",
                        kDecl +
                            "<text:p>#D:\\Privat\\Kuendigung.odt</text:p><text:p>#d:\\x</text:p>"
                            "<text:p>#D:\\</text:p><text:p>Text #D:\\y</text:p>"
                            "<text:p>#1:\\z</text:p><text:p>#D:/z</text:p><text:p>#D:</text:p>"}}
            << QByteArray(" #D:\\Privat\\Kuendigung.odt\r\n #d:\\x\r\n #D:\\\r\nText #D:\\y\r\n"
                          "#1:\\z\r\n#D:/z\r\n#D:\r\n");
    }
    // What Word, LibreOffice and e-book tools write: a paragraph split into
    // runs is one line, with the blanks its runs hold; text the reader never
    // sees stays out.
    void paragraphs_data() {
        QTest::addColumn<Members>("members");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("word runs, blanks where the runs hold them")
            << Members{{"word/document.xml",
                        kDecl + "<w:body><w:p><w:r><w:t>Das ist </w:t></w:r><w:r><w:rPr><w:b/>"
                                "</w:rPr><w:t>sehr</w:t></w:r><w:r><w:t xml:space=\"preserve\"> "
                                "wichtig</w:t></w:r></w:p><w:p><w:r><w:t>Zwei</w:t></w:r></w:p>"
                                "<w:sectPr/></w:body>"}}
            << QByteArray("Das ist sehr wichtig\r\nZwei\r\n");
        QTest::newRow("runs inside a word")
            << Members{{"content.xml", kDecl + "<office:text><text:p>He<text:span>llo Wor"
                                               "</text:span>ld!</text:p></office:text>"}}
            << QByteArray("Hello World!\r\n");
        QTest::newRow("letters in runs of their own")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:r><w:t>d</w:t></w:r><w:r><w:t>i</w:t></w:r><w:r><w:t>f"
                                "</w:t></w:r><w:r><w:t>f</w:t></w:r><w:r><w:t>erent</w:t></w:r>"
                                "</w:p>"}}
            << QByteArray("different\r\n");
        QTest::newRow("hyperlink and spelling marks")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:r><w:t xml:space=\"preserve\">Siehe </w:t></w:r>"
                                "<w:hyperlink r:id=\"rId5\"><w:r><w:t>die Seite</w:t></w:r>"
                                "</w:hyperlink><w:r><w:t xml:space=\"preserve\"> mit </w:t></w:r>"
                                "<w:proofErr w:type=\"spellStart\"/><w:r><w:t>Tippfehlr</w:t>"
                                "</w:r><w:proofErr w:type=\"spellEnd\"/></w:p>"}}
            << QByteArray("Siehe die Seite mit Tippfehlr\r\n");
        QTest::newRow("tabs, breaks and spaces give a blank")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/>"
                                "</w:tabs></w:pPr><w:r><w:t>A</w:t><w:tab/><w:t>B</w:t><w:br/>"
                                "<w:t>C</w:t><w:cr/><w:t>D</w:t></w:r></w:p>"},
                       {"content.xml", kDecl + "<text:p>E<text:s/>F<text:tab/>G<text:line-break/>"
                                               "H<text:s text:c=\"3\"/>I</text:p>"},
                       {"k.xhtml", kDecl + "<p>J<br/>K<br>L</p>"}}
            << QByteArray("A B C D\r\n\r\nE F G H I\r\n\r\nJ K L\r\n");
        QTest::newRow("a paragraph of tab stops only gives nothing")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:r><w:t>A</w:t></w:r></w:p><w:p><w:pPr><w:tabs><w:tab/>"
                                "</w:tabs></w:pPr></w:p><w:p><w:r><w:t>B</w:t></w:r></w:p>"}}
            << QByteArray("A\r\nB\r\n");
        QTest::newRow("a paragraph of blanks gives an empty line, as it always did")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:r><w:t>A</w:t></w:r></w:p><w:p><w:r><w:t "
                                "xml:space=\"preserve\"> </w:t></w:r></w:p><w:p><w:r><w:t>B</w:t>"
                                "</w:r></w:p>"}}
            << QByteArray("A\r\n\r\nB\r\n");
        QTest::newRow("two equal cells")
            << Members{{"content.xml",
                        kDecl + "<table:table-row><table:table-cell><text:p>ja</text:p>"
                                "</table:table-cell><table:table-cell><text:p>ja</text:p>"
                                "</table:table-cell></table:table-row>"},
                       {"k.xhtml", kDecl + "<table><tr><td>ja</td><th>ja</th></tr></table>"}}
            << QByteArray("ja\r\nja\r\n\r\nja\r\nja\r\n");
        QTest::newRow("opendocument footnote inside a paragraph")
            << Members{{"content.xml",
                        kDecl +
                            "<text:p>Eine Fu\xC3\x9Fnote<text:note text:note-class=\"footnote\">"
                            "<text:note-citation>1</text:note-citation><text:note-body>"
                            "<text:p>Die Fu\xC3\x9Fnote.</text:p></text:note-body></text:note> "
                            "steht hier.</text:p>"}}
            << QByteArray("Die Fu\xC3\x9Fnote.\r\nEine Fu\xC3\x9Fnote1 steht hier.\r\n");
        QTest::newRow("opendocument comment with author and date")
            << Members{{"content.xml",
                        kDecl + "<text:p>Hallo<office:annotation><dc:creator>Anna</dc:creator>"
                                "<dc:date>2024-05-01T10:00:00</dc:date><text:p>Kommentar</text:p>"
                                "</office:annotation> Welt</text:p>"}}
            << QByteArray("Anna\r\n2024-05-01T10:00:00\r\nKommentar\r\nHallo Welt\r\n");
        QTest::newRow("word text box inside a paragraph")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:r><w:t xml:space=\"preserve\">Vor </w:t></w:r><w:r>"
                                "<w:drawing><wps:txbx><w:txbxContent><w:p><w:r><w:t>Im Kasten"
                                "</w:t></w:r></w:p></w:txbxContent></wps:txbx></w:drawing></w:r>"
                                "<w:r><w:t>nach dem Kasten</w:t></w:r></w:p>"}}
            << QByteArray("Im Kasten\r\nVor nach dem Kasten\r\n");
        QTest::newRow("an empty paragraph inside a paragraph ends nothing")
            << Members{{"content.xml", kDecl + "<text:p>A<draw:frame><draw:text-box><text:p/>"
                                               "</draw:text-box></draw:frame>B</text:p>"}}
            << QByteArray("AB\r\n");
        QTest::newRow("paragraphs left open end with their member, inner first")
            << Members{{"content.xml", kDecl + "<text:p>Au\xC3\x9F"
                                               "en<text:note><text:note-body><text:p>Innen"},
                       {"k.xhtml", kDecl + "<p>Neu</p>"}}
            << QByteArray("Innen\r\nAu\xC3\x9F"
                          "en\r\n\r\nNeu\r\n");
        QTest::newRow("xhtml blocks that hold text directly")
            << Members{{"k.xhtml", kDecl + "<html><body>\n<div>Vorwort <b>fett</b><p>Absatz</p>"
                                           "Nachwort</div>\n<ul>\n<li><p>Punkt</p></li>\n</ul>"
                                           "\n</body></html>"}}
            << QByteArray("Vorwort fett\r\nAbsatz\r\nNachwort\r\n\r\nPunkt\r\n\r\n");
        QTest::newRow("word: deleted text and field instructions")
            << Members{{"word/document.xml",
                        kDecl + "<w:p><w:r><w:t xml:space=\"preserve\">Bleibt </w:t></w:r><w:del>"
                                "<w:r><w:delText>Gestrichen</w:delText></w:r></w:del><w:r>"
                                "<w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText "
                                "xml:space=\"preserve\"> PAGEREF _Toc123 \\h </w:instrText></w:r>"
                                "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>7"
                                "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"
                                "<w:p><w:r><w:instrText>FORMTEXT</w:instrText></w:r></w:p>"}}
            << QByteArray("Bleibt 7\r\n");
        QTest::newRow("opendocument: tracked changes")
            << Members{{"content.xml",
                        kDecl + "<office:text><text:tracked-changes><text:changed-region "
                                "text:id=\"c1\"><text:deletion><office:change-info><dc:creator>"
                                "Anna Muster</dc:creator><dc:date>2024-05-01T10:00:00</dc:date>"
                                "</office:change-info><text:p>Gestrichen</text:p></text:deletion>"
                                "</text:changed-region></text:tracked-changes><text:p>Neu"
                                "<text:change text:change-id=\"c1\"/> bleibt</text:p>"
                                "</office:text>"}}
            << QByteArray("Neu bleibt\r\n");
        QTest::newRow("building blocks and macros")
            << Members{{"word/document.xml", kDecl + "<w:p><w:r><w:t>Text</w:t></w:r></w:p>"},
                       {"word/glossary/document.xml",
                        kDecl + "<w:p><w:r><w:t>Klicken oder tippen Sie hier, um Text "
                                "einzugeben.</w:t></w:r></w:p>"},
                       {"Basic/Standard/Module1.xml",
                        kDecl + "<script:module>Sub Main\nShell(&quot;calc.exe&quot;)\nEnd Sub"
                                "</script:module>"},
                       {"Scripts/beanshell/Makro.xml", kDecl + "<s>Makro</s>"}}
            << QByteArray("Text\r\n");
        QTest::newRow("byte-order marks")
            << Members{{"content.xml", "\xEF\xBB\xBF" + kDecl + "<text:p>Eins</text:p>"},
                       {"k.xhtml", "\xEF\xBB\xBF<p>Zwei</p>"}}
            << QByteArray("Eins\r\n\r\nZwei\r\n");
        QTest::newRow("named references of html")
            << Members{{"k.xhtml", kDecl + "<p>Milj&ouml;bilaga &Auml;&szlig;&eacute;&nbsp;"
                                           "&euro;&hellip;&alpha;x &apos;&bogus;</p>"}}
            << QByteArray("Milj\xC3\xB6"
                          "bilaga \xC3\x84\xC3\x9F\xC3\xA9\xC2\xA0\xE2\x82\xAC\xE2\x80\xA6 "
                          "x 'bogus\r\n");
        QTest::newRow("headers and footers of the master pages")
            << Members{{"content.xml",
                        kDecl + "<office:text><text:p>Inhalt</text:p></office:text>"},
                       {"styles.xml",
                        kDecl + "<office:styles><style:style style:name=\"Standard\">"
                                "<text:p>Kein Text</text:p></style:style></office:styles>"
                                "<office:master-styles><style:master-page style:name=\"Standard\">"
                                "<style:header><text:p>Kopf<text:span>zeile</text:span></text:p>"
                                "</style:header><style:header-left><text:h>Linker Kopf</text:h>"
                                "</style:header-left><style:footer><text:p>Seite <text:page-number>"
                                "1</text:page-number></text:p></style:footer><style:footer-first>"
                                "<text:p/></style:footer-first></style:master-page>"
                                "<style:master-page style:name=\"Erste\"><style:header>"
                                "<text:p>Kopfzeile</text:p></style:header></style:master-page>"
                                "</office:master-styles>"},
                       {"Object 1/styles.xml",
                        kDecl + "<style:master-page><style:header><text:p>Objekt</text:p>"
                                "</style:header></style:master-page>"}}
            << QByteArray("Inhalt\r\nKopfzeile\r\nLinker Kopf\r\nSeite 1\r\nKopfzeile\r\n");
    }
    void paragraphs() {
        QFETCH(Members, members);
        QFETCH(QByteArray, expected);
        QCOMPARE(extractedText(members), expected);
    }

    void lines() {
        QFETCH(Members, members);
        QFETCH(QByteArray, expected);
        QCOMPARE(extractedText(members), expected);
    }

    // Lines go straight from the scanner's bytes to UTF-8; every byte must
    // come out as its Windows-1252 character would, "¿" as a blank.
    void everyByteBecomesItsCharacter() {
        QByteArray all;
        for (int b = 1; b < 256; ++b)
            all.append(char(b));
        indexing::ExtractedText text;
        text.appendScannedLine(all);
        QString expected = textio::ansiView(all);
        expected.replace(QChar(0xBF), QLatin1Char(' '));
        QCOMPARE(text.bytes(), textio::utf8EncodeStandard(expected) + "\r\n");
        QCOMPARE(text.characters(), 255);
        QCOMPARE(text.lineCount(), 1);
    }

    void memberRoles_data() {
        using indexing::MemberRole;
        QTest::addColumn<QString>("name");
        QTest::addColumn<MemberRole>("role");
        QTest::newRow("styles of word") << "word/Styles.XML" << MemberRole::Skipped;
        QTest::newRow("styles of an embedded object")
            << "Object 1/styles.xml" << MemberRole::Skipped;
        QTest::newRow("styles of an opendocument file")
            << "styles.xml" << MemberRole::HeadersAndFooters;
        QTest::newRow("meta inside a name") << "chapter-meta.xml" << MemberRole::Skipped;
        QTest::newRow("meta-inf folder") << "META-INF/x.xml" << MemberRole::Skipped;
        QTest::newRow("macros") << "Basic/Standard/Module1.xml" << MemberRole::Skipped;
        QTest::newRow("scripts") << "Scripts/python/x.xml" << MemberRole::Skipped;
        QTest::newRow("building blocks") << "word/glossary/document.xml" << MemberRole::Skipped;
        QTest::newRow("a chapter folder named basic") << "OEBPS/basic/k1.xhtml" << MemberRole::Text;
        QTest::newRow("content") << "content.xml" << MemberRole::Text;
        QTest::newRow("document") << "word/document.xml" << MemberRole::Text;
    }
    void memberRoles() {
        QFETCH(QString, name);
        QFETCH(indexing::MemberRole, role);
        QCOMPARE(indexing::memberRole(name), role);
    }

    // A document past the limit leaves parts behind; the merged text is the
    // text an unsplit run writes.
    void splitTextMergesToTheSameBytes() {
        QByteArray body = kDecl;
        for (int i = 0; i < 40; ++i)
            body += "<p>Absatz " + QByteArray::number(i) + " mit \xC3\xA4 und \xE2\x82\xAC</p>";
        const Members members{{"content.xml", body}};
        int parts = 0;
        const QByteArray whole = extractedText(members, indexing::kDefaultSplitLimit, &parts);
        QCOMPARE(parts, 0);
        const QByteArray split = extractedText(members, 100, &parts);
        QVERIFY(parts > 2);
        QCOMPARE(split, whole);
        QVERIFY(whole.startsWith("Absatz 0 mit \xC3\xA4 und \xE2\x82\xAC\r\n"));
    }
};

QTEST_GUILESS_MAIN(ExtractionTest)
#include "extraction_test.moc"
