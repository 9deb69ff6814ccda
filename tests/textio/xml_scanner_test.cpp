#include "textio/xml_scanner.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The content after every part the scanner returns, joined by "|", so a test
// sees both what a part yields and what it leaves standing.
QByteArray contentsOfAllParts(textio::XmlScanner& parser, const QByteArray& bytes) {
    parser.loadFromBuffer(bytes);
    QList<QByteArray> contents;
    while (parser.nextPart())
        contents.append(parser.content());
    return contents.join('|');
}

QByteArray contentsOfAllParts(const QByteArray& bytes) {
    textio::XmlScanner parser;
    return contentsOfAllParts(parser, bytes);
}

const QByteArray kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

} // namespace

class XmlScannerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textAndReferences_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("normalized blanks") << QByteArray("<p>  Zwei   Leer  zeichen </p>")
                                           << QByteArray("|Zwei Leer zeichen|Zwei Leer zeichen");
        QTest::newRow("tabs and line breaks")
            << QByteArray("<p>\r\n\teins\r\n\t zwei\n</p>") << QByteArray("|eins zwei|eins zwei");
        QTest::newRow("predefined references")
            << QByteArray("<text:p>Preis: 5 &lt; 7</text:p><text:p>Zweite Zeile</text:p>")
            << QByteArray("|Preis: 5 < 7|Preis: 5 < 7|Preis: 5 < 7|Zweite Zeile|Zweite Zeile");
        QTest::newRow("all five named")
            << QByteArray("<p>&lt;&gt;&amp;&apos;&quot;</p>") << QByteArray("|<>&'\"|<>&'\"");
        QTest::newRow("decimal 228") << QByteArray("<p>&#228;</p>") << QByteArray("|\xE4|\xE4");
        QTest::newRow("decimal 8364 modulo 256")
            << QByteArray("<p>&#8364;</p>") << QByteArray("|\xAC|\xAC");
        QTest::newRow("hex either case") << QByteArray("<p>&#xE4;&#X41;</p>")
                                         << QByteArray("|\xE4"
                                                       "A|\xE4"
                                                       "A");
        QTest::newRow("huge number still modulo")
            << QByteArray("<p>a&#100000000000000000065;</p>") << QByteArray("|aA|aA");
        QTest::newRow("not all digits gives a blank")
            << QByteArray("<p>a&#12a;b&#x;c&#;d</p>") << QByteArray("|a b c d|a b c d");
        QTest::newRow("undeclared name kept as text")
            << QByteArray("<p>5 &euro; mehr</p>") << QByteArray("|5 euro mehr|5 euro mehr");
        QTest::newRow("ampersand without semicolon dropped")
            << QByteArray("<p>A & B</p>") << QByteArray("|A B|A B");
        QTest::newRow("reference runs past the tag to the next semicolon")
            << QByteArray("<p>A &x</p><p>b;c</p>") << QByteArray("|A x</p><p>bc|A x</p><p>bc");
        QTest::newRow("comment between text nodes keeps the first")
            << QByteArray("eins<!-- zwei -->drei") << QByteArray("eins|eins|drei");
        QTest::newRow("blank text leaves content empty")
            << QByteArray("<a>x</a>\n  <b>y</b>") << QByteArray("|x|x||y|y");
        QTest::newRow("cdata keeps line breaks")
            << QByteArray("<a><![CDATA[ eins\r\n  <zwei> ]]></a>")
            << QByteArray("| eins\r\n  <zwei> | eins\r\n  <zwei> ");
        QTest::newRow("processing instruction untranslated")
            << QByteArray("<a>x</a><?php echo \xC3\xA4 ?>") << QByteArray("|x|x|echo \xC3\xA4 ");
        QTest::newRow("tag ends at the first > inside quotes")
            << QByteArray("<a title=\"x>y\">z</a>") << QByteArray("|y\">z|y\">z");
        QTest::newRow("stops at NUL")
            << QByteArray("<p>vorher</p>\0<p>nachher</p>", 28) << QByteArray("|vorher|vorher");
        QTest::newRow("declared entity, first wins, nested")
            << QByteArray("<!DOCTYPE d [<!ENTITY a \"A&b;\"><!ENTITY b 'B'><!ENTITY a \"X\">"
                          "<!-- <!ENTITY b 'C'> -->]><d>&a;&a;</d>")
            << QByteArray("||ABAB|ABAB");
        QTest::newRow("self reference stops at the nesting bound")
            << QByteArray("<!DOCTYPE d [<!ENTITY s \"&s;\">]><d>&s;</d>") << QByteArray("||s|s");
        QTest::newRow("parameter and external entities not used")
            << QByteArray("<!DOCTYPE d [<!ENTITY % p \"P\"><!ENTITY e SYSTEM \"e.txt\">]>"
                          "<d>&p;&e;</d>")
            << QByteArray("||pe|pe");
    }
    void textAndReferences() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        QCOMPARE(contentsOfAllParts(input), expected);
    }

    void utf8Translation_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("umlaut") << QByteArray("\xC3\xA4") << QByteArray("\xE4");
        QTest::newRow("euro sign") << QByteArray("\xE2\x82\xAC") << QByteArray("\x80");
        QTest::newRow("greek alpha") << QByteArray("\xCE\xB1") << QByteArray("\xBF");
        QTest::newRow("four-byte character") << QByteArray("a\xF0\x9F\x98\x80"
                                                           "b")
                                             << QByteArray("a\xBF"
                                                           "b");
        QTest::newRow("stray continuation byte") << QByteArray("a\x80"
                                                               "b")
                                                 << QByteArray("a\xBF"
                                                               "b");
        QTest::newRow("C1 control U+0080 has no byte")
            << QByteArray("\xC2\x80") << QByteArray("\xBF");
        QTest::newRow("undefined slot U+0081 keeps its byte")
            << QByteArray("\xC2\x81") << QByteArray("\x81");
        QTest::newRow("inverted question mark itself")
            << QByteArray("\xC2\xBF") << QByteArray("\xBF");
        QTest::newRow("cut-off lead at the end") << QByteArray("a\xE2\x82") << QByteArray("a\xBF");
        QTest::newRow("reference result untranslated")
            << QByteArray("&#195;&#164;") << QByteArray("\xC3\xA4");
    }
    void utf8Translation() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        textio::XmlScanner parser;
        parser.loadFromBuffer(kUtf8Declaration + "<p>" + text + "</p>");
        QVERIFY(parser.nextPart());
        QCOMPARE(parser.encoding(), QByteArray("UTF-8"));
        QVERIFY(parser.nextPart());
        QVERIFY(parser.nextPart());
        QCOMPARE(parser.partType(), textio::XmlScanner::PartType::Text);
        QCOMPARE(parser.content(), expected);
    }

    void encodingCarriesOverBetweenBuffers() {
        textio::XmlScanner fresh;
        QCOMPARE(contentsOfAllParts(fresh, "<p>\xC3\xA4</p>"), QByteArray("|\xC3\xA4|\xC3\xA4"));
        QVERIFY(fresh.encoding().isEmpty());

        textio::XmlScanner parser;
        contentsOfAllParts(parser, kUtf8Declaration + "<p/>");
        QCOMPARE(contentsOfAllParts(parser, "<p>\xC3\xA4</p>"), QByteArray("|\xE4|\xE4"));

        // Any other declared encoding leaves the bytes as they are; the name
        // is matched case-sensitively and its value upper-cased.
        contentsOfAllParts(parser, "<?xml version=\"1.0\" encoding='windows-1252'?><p/>");
        QCOMPARE(parser.encoding(), QByteArray("WINDOWS-1252"));
        QCOMPARE(contentsOfAllParts(parser, "<p>\xC3\xA4</p>"), QByteArray("|\xC3\xA4|\xC3\xA4"));
        contentsOfAllParts(parser, "<?xml version=\"1.0\" Encoding=\"latin1\"?>");
        QCOMPARE(parser.encoding(), QByteArray("UTF-8"));
    }

    void declarationEmptiesContentAndPartSequence() {
        textio::XmlScanner parser;
        parser.loadFromBuffer("<a>vorher</a>");
        while (parser.nextPart()) {
        }
        parser.loadFromBuffer(kUtf8Declaration + "<!DOCTYPE html><x:y a='1'/></x:y>");
        QList<textio::XmlScanner::PartType> types;
        QList<QByteArray> names;
        while (parser.nextPart()) {
            types.append(parser.partType());
            names.append(parser.name());
            QVERIFY(parser.content().isEmpty());
        }
        using T = textio::XmlScanner::PartType;
        QCOMPARE(types,
                 (QList<T>{T::XmlDeclaration, T::DocTypeDeclaration, T::EmptyTag, T::EndTag}));
        QCOMPARE(names.mid(2), (QList<QByteArray>{"x:y", "x:y"}));
        // "<?xml" needs a blank after it to be the declaration.
        parser.loadFromBuffer("<?xml-stylesheet href=\"a\"?>");
        QVERIFY(parser.nextPart());
        QCOMPARE(parser.partType(), T::ProcessingInstruction);
        QCOMPARE(parser.name(), QByteArray("xml-stylesheet"));
        QCOMPARE(parser.content(), QByteArray("href=\"a\""));
    }

    void entityExpansionIsBounded() {
        // Ten references per level, nine levels: 10^9 copies if unbounded.
        QByteArray doctype = "<!DOCTYPE d [<!ENTITY e0 \"0123456789\">";
        for (int level = 1; level < 10; ++level) {
            doctype += "<!ENTITY e" + QByteArray::number(level) + " \"";
            for (int i = 0; i < 10; ++i)
                doctype += "&e" + QByteArray::number(level - 1) + ";";
            doctype += "\">";
        }
        textio::XmlScanner parser;
        parser.loadFromBuffer(doctype + "]><d>&e9;</d>");
        qsizetype longest = 0;
        while (parser.nextPart())
            longest = std::max(longest, parser.content().size());
        QVERIFY(longest > 0);
        QVERIFY(longest <= 8 * 1024 * 1024);
    }

    // A bound per text part is no bound: 3 KB that reference an entity of a
    // megabyte in each of many paragraphs gave gigabytes and minutes. What
    // entities add is bounded for all parts and all members that one scanner
    // (one document) reads.
    void entityExpansionIsBoundedPerDocument() {
        QByteArray doctype = "<!DOCTYPE d [<!ENTITY e0 \"" + QByteArray(1000, 'A') + "\">";
        for (int level = 1; level <= 3; ++level) {
            doctype += "<!ENTITY e" + QByteArray::number(level) + " \"";
            for (int i = 0; i < 10; ++i)
                doctype += "&e" + QByteArray::number(level - 1) + ";";
            doctype += "\">";
        }
        QByteArray document = doctype + "]><d>";
        for (int i = 0; i < 200; ++i)
            document += "<p>&e3;</p>";
        document += "</d>";

        const auto textParts = [](textio::XmlScanner& parser, const QByteArray& bytes) {
            parser.loadFromBuffer(bytes);
            QByteArrayList texts;
            while (parser.nextPart()) {
                if (parser.partType() == textio::XmlScanner::PartType::Text)
                    texts.append(parser.content());
            }
            return texts;
        };
        textio::XmlScanner parser;
        const QByteArrayList texts = textParts(parser, document);
        QVERIFY(texts.size() >= 8);
        QCOMPARE(texts.first(), QByteArray(1000000, 'A'));
        qsizetype total = 0;
        for (const QByteArray& text : texts)
            total += text.size();
        QVERIFY(total > 7 * 1024 * 1024);
        QVERIFY(total <= 8 * 1024 * 1024);

        // The next member of the same document has nothing left to expand.
        QCOMPARE(textParts(parser, document + "<p>Schluss</p>"), QByteArrayList{"Schluss"});
    }

    // Every "&" looks for the next ";" in the whole buffer; many of them
    // without one must not make the scan quadratic (this would run for
    // minutes).
    void manyReferencesWithoutSemicolon() {
        QByteArray bytes;
        for (int i = 0; i < 300000; ++i)
            bytes += "<a>x&amp</a>";
        textio::XmlScanner parser;
        parser.loadFromBuffer(bytes);
        int texts = 0;
        QByteArray last;
        while (parser.nextPart()) {
            if (parser.partType() == textio::XmlScanner::PartType::Text) {
                ++texts;
                last = parser.content();
            }
        }
        QCOMPARE(texts, 300000);
        QCOMPARE(last, QByteArray("xamp"));

        QCOMPARE(contentsOfAllParts(parser, "<a>&amp</a><b>;</b>&x;"),
                 QByteArray("|amp</a><b>|amp</a><b>|x"));
    }

    // What the extraction sets: texts as they stand, each one a part, and
    // the named references of HTML; a byte-order mark is never text.
    void rawTextsAndHtmlReferences_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("texts as they stand, blank ones too")
            << QByteArray("<p> Das ist </p>\n<b>sehr</b>")
            << QByteArray("| Das ist | Das ist |\n|\n|sehr|sehr");
        QTest::newRow("an empty text is a part")
            << QByteArray("<p>x</p>&<b/>") << QByteArray("|x|x||");
        QTest::newRow("html names") << QByteArray("<p>&ouml;&Ouml;&nbsp;&euro;&hellip;&apos;</p>")
                                    << QByteArray("|\xF6\xD6\xA0\x80\x85'|\xF6\xD6\xA0\x80\x85'");
        QTest::newRow("html names outside windows-1252 and unknown ones")
            << QByteArray("<p>&alpha;&rarr;&Ouml_;&OUML;</p>")
            << QByteArray("|\xBF\xBFOuml_OUML|\xBF\xBFOuml_OUML");
        QTest::newRow("a declared entity comes first")
            << QByteArray("<!DOCTYPE d [<!ENTITY ouml \"oe\">]><d>&ouml;</d>")
            << QByteArray("||oe|oe");
    }
    void rawTextsAndHtmlReferences() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, expected);
        textio::XmlScanner parser;
        parser.setHtmlEntities(true);
        parser.loadFromBuffer(input);
        parser.setNormalize(false);
        QList<QByteArray> contents;
        while (parser.nextPart())
            contents.append(parser.content());
        QCOMPARE(contents.join('|'), expected);
    }

    void byteOrderMarkIsNoText() {
        QCOMPARE(contentsOfAllParts("\xEF\xBB\xBF<p>Text</p>"), QByteArray("|Text|Text"));
        textio::XmlScanner parser;
        parser.loadFromBuffer("\xEF\xBB\xBF" + kUtf8Declaration + "<p>\xC3\xA4</p>");
        QVERIFY(parser.nextPart());
        QCOMPARE(parser.partType(), textio::XmlScanner::PartType::XmlDeclaration);
        QCOMPARE(contentsOfAllParts(parser, "<p>\xEF\xBB\xBF</p>"), QByteArray("|\xBF|\xBF"));
    }

    void loadFromFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("content.xml");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kUtf8Declaration + "<p>Gr\xC3\xBC\xC3\x9F"
                                      "e</p>");
        file.close();
        textio::XmlScanner parser;
        QVERIFY(parser.load(path));
        QByteArray last;
        while (parser.nextPart())
            last = parser.content();
        QCOMPARE(last, QByteArray("Gr\xFC\xDF"
                                  "e"));
        QVERIFY(!parser.load(dir.filePath("fehlt.xml")));
        QVERIFY(!parser.nextPart());
    }
};

QTEST_GUILESS_MAIN(XmlScannerTest)
#include "xml_scanner_test.moc"
