#include "viewer_test_support.h"

#include "viewer/find_state.h"
#include "viewer/mirror_text.h"
#include "viewer/stream_search.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using viewer::FindOutcome;
using viewer::FindState;
using viewer::MirrorSelection;
using viewer::PageLine;
using viewer::Search;

namespace {

QList<qint64> allHits(Search& search, const QByteArray& findText) {
    QList<qint64> hits;
    for (bool found = search.findFirst(findText, 0); found; found = search.findNext())
        hits.append(search.foundStart());
    return hits;
}

// Page rows from texts, as they would lie one after another with CR LF.
QList<PageLine> rowsFrom(const QList<QByteArray>& texts, qint64 start = 0) {
    QList<PageLine> rows;
    for (const QByteArray& text : texts) {
        rows.append({start, text, start + text.size() + 2});
        start += text.size() + 2;
    }
    return rows;
}

} // namespace

class FindTest : public QObject {
    Q_OBJECT

    viewertest::TestFiles files_;

    QString file(const char* name, const QByteArray& bytes) { return files_.file(name, bytes); }

private Q_SLOTS:
    void caseFoldsOnlySingleByteLetters_data() {
        QTest::addColumn<QByteArray>("findText");
        QTest::addColumn<QList<qint64>>("hits");
        // "Die Äpfel, die äpfel, DIE ÄPFEL": Ä is C3 84, ä is C3 A4.
        QTest::newRow("ä only where it stands") << QByteArray("\xC3\xA4pfel") << QList<qint64>{16};
        QTest::newRow("Ä: the p f e l fold") << QByteArray("\xC3\x84pfel") << QList<qint64>{4, 28};
        QTest::newRow("ÄPFEL: the P F E L fold")
            << QByteArray("\xC3\x84PFEL") << QList<qint64>{4, 28};
        QTest::newRow("die in any case") << QByteArray("die") << QList<qint64>{0, 12, 24};
        QTest::newRow("empty text") << QByteArray() << QList<qint64>{};
    }
    void caseFoldsOnlySingleByteLetters() {
        QFETCH(QByteArray, findText);
        QFETCH(QList<qint64>, hits);
        Search search;
        QVERIFY(search.setFileName(
            file("aepfel.txt", "Die \xC3\x84pfel, die \xC3\xA4pfel, DIE \xC3\x84PFEL\r\n")));
        QCOMPARE(allHits(search, findText), hits);
    }

    void findNextVisitsOverlappingHitsAndFindFirstStartsAnywhere() {
        Search search;
        QVERIFY(search.setFileName(file("aaaa.txt", "aaaa")));
        QCOMPARE(allHits(search, "aa"), (QList<qint64>{0, 1, 2}));
        QVERIFY(search.findFirst("aa", 2));
        QCOMPARE(search.foundStart(), 2);
        QCOMPARE(search.foundLength(), 2);
        QVERIFY(!search.findFirst("aa", 3));
    }

    void filesThatHoldNothingOrCannotBeOpened() {
        Search search;
        QVERIFY(search.setFileName(file("leer.txt", {})));
        QVERIFY(!search.findFirst("a", 0));
        QVERIFY(!search.findNext());
        QVERIFY(!search.setFileName(files_.path("fehlt.txt")));
        QVERIFY(!search.findFirst("a", 0));

        FindState state;
        state.changeText(u"a");
        const QString missing = files_.path("fehlt.txt");
        const FindOutcome outcome = viewer::findInViewerFile(state, search, missing, true);
        QCOMPARE(outcome.kind, FindOutcome::CannotOpen);
        QCOMPARE(outcome.message, missing + QStringLiteral(" kann nicht geöffnet werden."));
        QVERIFY(!state.active);
    }

    // "Suchen" is a first find while no first find has succeeded since the
    // find text changed, and a next find after that.
    void aNewFindTextStartsAgainAtTheBeginning() {
        const QString text = file("haus.txt", "Haus\r\nBaum\r\nhaus\r\nBaum\r\n");
        Search search;
        FindState state;
        state.changeText(u"baum");
        auto press = [&] { return viewer::findInViewerFile(state, search, text, !state.active); };
        QCOMPARE(press().start, 6);
        QVERIFY(state.active);
        QCOMPARE(press().start, 18);
        QCOMPARE(state.previousHit, 6);
        QCOMPARE(press().kind, FindOutcome::NotFound);
        QVERIFY(state.active);
        state.changeText(u"HAUS");
        QVERIFY(!state.active);
        QCOMPARE(press().start, 0);
        QCOMPARE(press().start, 12);
        state.changeText(u"haus");
        QCOMPARE(press().start, 0);
        QCOMPARE(state.latestHit, 0);
    }

    void mirrorTextJoinsTheRows() {
        const QList<PageLine> rows = rowsFrom({"Haus", "", "\xC3\xA4"});
        QCOMPARE(viewer::mirrorTextOfPage(rows), QStringLiteral("Haus\n\nä"));
        QString text = QStringLiteral("a\nb\n");
        viewer::LetztesUmbruchZeicheEntfernen(text);
        QCOMPARE(text, QStringLiteral("a\nb"));
        viewer::LetztesUmbruchZeicheEntfernen(text);
        QCOMPARE(text, QStringLiteral("a\nb"));
    }

    void caretStandsExactlyOnTheHit_data() {
        QTest::addColumn<QList<QByteArray>>("rows");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<qsizetype>("caret");
        QTest::addColumn<qsizetype>("selected");
        const QList<QByteArray> page = {"Haus Haus", "\xC3\xA4\xC3\xA4 Haus",
                                        "\xF0\x9D\x84\x9E Haus"};
        // Row starts: 0, 11, 22; mirror starts: 0, 10, 18.
        QTest::newRow("first row")
            << page << qint64(5) << qint64(4) << qsizetype(5) << qsizetype(4);
        QTest::newRow("not the first Haus on the page")
            << page << qint64(11 + 5) << qint64(4) << qsizetype(10 + 3) << qsizetype(4);
        QTest::newRow("an umlaut: two bytes, one character")
            << page << qint64(13) << qint64(2) << qsizetype(11) << qsizetype(1);
        QTest::newRow("after a surrogate pair")
            << page << qint64(22 + 5) << qint64(4) << qsizetype(18 + 3) << qsizetype(4);
        QTest::newRow("the pair itself")
            << page << qint64(22) << qint64(4) << qsizetype(18) << qsizetype(2);
        QTest::newRow("a hit from its middle byte")
            << page << qint64(12) << qint64(1) << qsizetype(10) << qsizetype(1);
        QTest::newRow("on a line end")
            << page << qint64(9) << qint64(1) << qsizetype(9) << qsizetype(0);
        QTest::newRow("running on into the next row")
            << page << qint64(7) << qint64(6) << qsizetype(7) << qsizetype(4);
    }
    void caretStandsExactlyOnTheHit() {
        QFETCH(QList<QByteArray>, rows);
        QFETCH(qint64, start);
        QFETCH(qint64, length);
        QFETCH(qsizetype, caret);
        QFETCH(qsizetype, selected);
        const auto selection = viewer::mirrorSelectionOfRange(rowsFrom(rows), start, length);
        QVERIFY(selection.has_value());
        QCOMPARE(*selection, (MirrorSelection{caret, selected}));
    }

    void aHitOffThePageHasNoCaret() {
        const QList<PageLine> rows = rowsFrom({"Haus", "Baum"}, 100);
        QVERIFY(!viewer::mirrorSelectionOfRange(rows, 99, 4));
        QVERIFY(!viewer::mirrorSelectionOfRange(rows, 112, 4));
        QVERIFY(!viewer::mirrorSelectionOfRange({}, 0, 4));
        QCOMPARE(viewer::mirrorRowOfPosition(rows, 4), 0);
        QCOMPARE(viewer::mirrorRowOfPosition(rows, 5), 1);
    }
};

std::unique_ptr<QObject> makeFindTest() {
    return std::make_unique<FindTest>();
}

#include "find_test.moc"
