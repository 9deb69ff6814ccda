#include "search/hit_context.h"

#include <QtTest>

#include <memory>

class HitContextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowPlacement_data() {
        QTest::addColumn<qint64>("occurrence");
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::newRow("near the start") << qint64(50) << qint64(10000) << qint64(0) << qint64(500);
        QTest::newRow("in the middle")
            << qint64(1000) << qint64(10000) << qint64(800) << qint64(1300);
        QTest::newRow("near the end")
            << qint64(9900) << qint64(10000) << qint64(9500) << qint64(10000);
        QTest::newRow("file shorter than a window")
            << qint64(120) << qint64(300) << qint64(0) << qint64(300);
    }
    void windowPlacement() {
        QFETCH(qint64, occurrence);
        QFETCH(qint64, fileSize);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        const search::ByteRange range = search::contextWindow(occurrence, fileSize);
        QCOMPARE(range.from, from);
        QCOMPARE(range.to, to);
    }

    void cleaningCutsTheNextHeaderAndLineEnds() {
        const QString path = QStringLiteral("D:\\Texte\\a.odt"); // 14 characters
        const QString context = QStringLiteral("Ende\r\n \r\n#D:\\Texte\\b.odt\r\n==");
        QCOMPARE(search::cleanContext(context, path, QStringLiteral("#D:\\")),
                 QStringLiteral("Ende \n  \nt \n=="));
        // The marker is compared exactly: a lower-case letter does not cut.
        QCOMPARE(search::cleanContext(QStringLiteral("x#d:\\Texte\\b.odt"), path,
                                      QStringLiteral("#D:\\")),
                 QStringLiteral("x#d:\\Texte\\b.odt"));
    }

    void joinPreparesTheFirstContextOfTheDocument() {
        const QList<search::HitContextEntry> entries = {
            {QStringLiteral("D:\\a.odt"), QStringLiteral("xxam 1/2 <b>Haus</b>"), false},
            {QStringLiteral("D:\\b.odt"), QStringLiteral("..zweites"), false},
            {QStringLiteral("D:\\b.odt"), QStringLiteral("..drittes"), false},
            // Cut at the document's first text byte: nothing to drop.
            {QStringLiteral("D:\\c.odt"), QStringLiteral("Kapitel 3"), true},
        };
        QCOMPARE(search::contextOf(QStringLiteral("D:\\a.odt"), entries),
                 std::optional<QString>(QStringLiteral("am 1 2  b Haus  b ")));
        QCOMPARE(search::contextOf(QStringLiteral("D:\\b.odt"), entries),
                 std::optional<QString>(QStringLiteral("zweites")));
        QCOMPARE(search::contextOf(QStringLiteral("D:\\c.odt"), entries),
                 std::optional<QString>(QStringLiteral("Kapitel 3")));
        QCOMPARE(search::contextOf(QStringLiteral("D:\\d.odt"), entries), std::nullopt);
    }

    // The shown piece begins after the underline of the hit's own block when
    // the window reaches back into it, and ends before the next block's "#".
    void shownRangeStartsAfterTheUnderline_data() {
        QTest::addColumn<qint64>("windowFrom");
        QTest::addColumn<qint64>("windowTo");
        QTest::addColumn<qint64>("shownFrom");
        QTest::addColumn<qint64>("shownTo");
        QTest::addColumn<bool>("startsAtText");
        // 9 bytes of blank lines, the header line (11 bytes with its line
        // end), the underline (10): the text starts at byte 30.
        QTest::newRow("window from the start of the file")
            << qint64(0) << qint64(60) << qint64(30) << qint64(60) << true;
        QTest::newRow("window starting inside the underline")
            << qint64(25) << qint64(60) << qint64(30) << qint64(60) << true;
        QTest::newRow("window inside the text: as it is")
            << qint64(33) << qint64(60) << qint64(33) << qint64(60) << false;
        QTest::newRow("window ending inside the header: nothing shown")
            << qint64(0) << qint64(20) << qint64(20) << qint64(20) << true;
    }
    void shownRangeStartsAfterTheUnderline() {
        QFETCH(qint64, windowFrom);
        QFETCH(qint64, windowTo);
        QFETCH(qint64, shownFrom);
        QFETCH(qint64, shownTo);
        QFETCH(bool, startsAtText);
        const QByteArray text = " \r\n \r\n \r\n#D:\\a.odt\r\n========\r\nText des Dokuments\r\n"
                                "und mehr davon bis zum Ende.\r\n";
        QCOMPARE(text.indexOf("Text"), 30);
        const search::ShownRange shown = search::clipToDocument(
            {windowFrom, windowTo}, search::documentTextStart(text, 9, windowTo), -1);
        QCOMPARE(shown.range.from, shownFrom);
        QCOMPARE(shown.range.to, shownTo);
        QCOMPARE(shown.startsAtText, startsAtText);
    }

    void wholeWordTest_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<bool>("passes");
        QTest::newRow("digit after is a boundary")
            << QStringLiteral("im Haus1 wohnen") << QByteArray("Haus") << true;
        QTest::newRow("letter after is not")
            << QStringLiteral("der Hausbau") << QByteArray("haus") << false;
        QTest::newRow("umlaut before is a word character")
            << QStringLiteral("äHaus") << QByteArray("Haus") << false;
        QTest::newRow("sharp s after") << QStringLiteral("Hausß") << QByteArray("Haus") << false;
        QTest::newRow("other letters are boundaries")
            << QStringLiteral("éHausñ") << QByteArray("Haus") << true;
        QTest::newRow("punctuation and line ends")
            << QStringLiteral("(HAUS)\r\n") << QByteArray("haus") << true;
        QTest::newRow("edges of the window are boundaries")
            << QStringLiteral("Haus") << QByteArray("Haus") << true;
        QTest::newRow("first match in the window decides")
            << QStringLiteral("Hausbau und Haus") << QByteArray("Haus") << false;
        QTest::newRow("pattern not in the window passes")
            << QStringLiteral("Äpfel") << QByteArray("\xC3\x84pfel") << true;
    }
    void wholeWordTest() {
        QFETCH(QString, context);
        QFETCH(QByteArray, pattern);
        QFETCH(bool, passes);
        QCOMPARE(search::passesWholeWordTest(context, pattern), passes);
    }

    // With umlaut folding, a search text with letters beyond ASCII is found
    // in the window in either case, and an umlaut next to it is a word
    // character as ever; without the option such a text is never found in
    // the window, so every occurrence passes.
    void wholeWordTestWithUmlautFolding_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("passesWithOption");
        QTest::addColumn<bool>("passesWithout");
        QTest::newRow("whole word in the other case")
            << QStringLiteral("die Äpfel.") << QStringLiteral("äpfel") << true << true;
        QTest::newRow("part of a longer word")
            << QStringLiteral("ein Äpfelbaum") << QStringLiteral("äpfel") << false << true;
        QTest::newRow("umlaut before is a word character")
            << QStringLiteral("ÖÄPFEL") << QStringLiteral("äpfel") << false << true;
        QTest::newRow("sharp s after is a word character")
            << QStringLiteral("über Äpfelß") << QStringLiteral("äpfel") << false << true;
        QTest::newRow("other letters are boundaries, as before")
            << QStringLiteral("éÜBERñ") << QStringLiteral("über") << true << true;
        QTest::newRow("ends in an umlaut, letter after")
            << QStringLiteral("GRÜNE") << QStringLiteral("grü") << false << true;
        QTest::newRow("first match in the window decides")
            << QStringLiteral("Übermut und über") << QStringLiteral("über") << false << true;
        QTest::newRow("ASCII text: the test as before")
            << QStringLiteral("äHaus") << QStringLiteral("haus") << false << false;
    }
    void wholeWordTestWithUmlautFolding() {
        QFETCH(QString, context);
        QFETCH(QString, search);
        QFETCH(bool, passesWithOption);
        QFETCH(bool, passesWithout);
        const QByteArray pattern = search.toUtf8();
        QCOMPARE(search::passesWholeWordTest(context, pattern, search::UmlautFolding::On),
                 passesWithOption);
        QCOMPARE(search::passesWholeWordTest(context, pattern, search::UmlautFolding::Off),
                 passesWithout);
    }
};

std::unique_ptr<QObject> makeHitContextTest() {
    return std::make_unique<HitContextTest>();
}

#include "hit_context_test.moc"
