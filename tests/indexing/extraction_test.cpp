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
    indexing::LoadXMLDocument(source, text);
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
        QTest::newRow("same paragraph twice in a row written once")
            << Members{{"content.xml", kDecl + "<p>A</p><p>A</p><p>B</p><p>A</p>"}}
            << QByteArray("A\r\nB\r\nA\r\n");
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
            << QByteArray("T\r\n\r\n\r\nVor\r\nnach.\r\n");
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
        QTest::newRow("a paragraph equal to the style text before it stays out")
            << Members{{"k.xhtml", kDecl + "<p>X</p><style>Y</style><p>Y</p><p>Z</p>"}}
            << QByteArray("X\r\nZ\r\n");
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

    void skipRulesLookAtTheWholePath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("skipped");
        QTest::newRow("styles") << "/p/ZipTemp/word/Styles.XML" << true;
        QTest::newRow("meta inside a name") << "/p/ZipTemp/chapter-meta.xml" << true;
        QTest::newRow("meta-inf folder") << "/p/ZipTemp/META-INF/x.xml" << true;
        QTest::newRow("content") << "/p/ZipTemp/content.xml" << false;
        QTest::newRow("document") << "/p/ZipTemp/word/document.xml" << false;
    }
    void skipRulesLookAtTheWholePath() {
        QFETCH(QString, path);
        QFETCH(bool, skipped);
        QCOMPARE(indexing::isSkippedMember(path), skipped);
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
