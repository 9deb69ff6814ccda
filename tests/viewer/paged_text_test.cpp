#include "viewer_test_support.h"

#include "viewer/paged_text.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using viewer::PagedText;
using viewertest::pageTexts;

namespace {

// Ten lines "Zeile0" ... "Zeile9", 8 bytes each with CR LF.
QByteArray tenLines() {
    QByteArray text;
    for (int i = 0; i < 10; ++i)
        text += "Zeile" + QByteArray::number(i) + "\r\n";
    return text;
}

} // namespace

class PagedTextTest : public QObject {
    Q_OBJECT

    viewertest::TestFiles files_;

    QString file(const char* name, const QByteArray& bytes) { return files_.file(name, bytes); }

private Q_SLOTS:
    void scrollToShowsTheLineThatHoldsTheOffset_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<qint64>("top");
        QTest::newRow("negative") << qint64(-5) << qint64(0);
        QTest::newRow("zero") << qint64(0) << qint64(0);
        QTest::newRow("inside line 4") << qint64(4 * 8 + 3) << qint64(4 * 8);
        QTest::newRow("on the CR of line 2") << qint64(2 * 8 + 6) << qint64(2 * 8);
        QTest::newRow("on the LF of line 2") << qint64(2 * 8 + 7) << qint64(2 * 8);
        QTest::newRow("on the last line") << qint64(9 * 8 + 1) << qint64(9 * 8);
        QTest::newRow("at the end: last page") << qint64(80) << qint64(7 * 8);
        QTest::newRow("past the end: last page") << qint64(1000) << qint64(7 * 8);
    }
    void scrollToShowsTheLineThatHoldsTheOffset() {
        QFETCH(qint64, offset);
        QFETCH(qint64, top);
        PagedText view;
        QVERIFY(view.open(file("zehn.txt", tenLines())));
        view.setRowsPerPage(3);
        view.scrollTo(offset);
        QCOMPARE(view.top(), top);
        QCOMPARE(view.pageLines().first().start, top);
    }

    void pagingByBytes() {
        PagedText view;
        QVERIFY(view.open(file("zehn.txt", tenLines())));
        view.setRowsPerPage(3);
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"Zeile0", "Zeile1", "Zeile2"}));
        QVERIFY(view.pageDown());
        QCOMPARE(view.top(), 24);
        QVERIFY(view.pageDown());
        QVERIFY(view.pageDown());
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"Zeile9"}));
        QVERIFY(view.pageShowsEnd());
        QVERIFY(!view.pageDown());
        QVERIFY(!view.lineDown()); // the last line is the top already
        QVERIFY(view.pageUp());
        QCOMPARE(view.top(), 48);
        QVERIFY(view.lineUp());
        QCOMPARE(view.top(), 40);
        QVERIFY(view.lineDown());
        QVERIFY(view.lineDown());
        QCOMPARE(view.top(), 56);
        view.scrollToStart();
        QVERIFY(!view.pageUp());
        QVERIFY(!view.lineUp());
        view.scrollToEnd();
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"Zeile7", "Zeile8", "Zeile9"}));
        QCOMPARE(view.pageEnd(), 80);
    }

    void emptyFileAndFileWithoutLineEnd() {
        PagedText view;
        QVERIFY(view.open(file("leer.txt", {})));
        view.setRowsPerPage(5);
        QVERIFY(view.pageRows().isEmpty());
        QVERIFY(view.pageShowsEnd());
        QVERIFY(!view.pageDown());
        QVERIFY(!view.lineDown());
        view.scrollTo(10);
        view.scrollToEnd();
        QCOMPARE(view.top(), 0);

        QVERIFY(view.open(file("ohne.txt", "kein Zeilenende")));
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"kein Zeilenende"}));
        view.scrollTo(8);
        QCOMPARE(view.top(), 0);

        QVERIFY(!view.open(files_.path("fehlt.txt")));
        QVERIFY(!view.isOpen());
    }

    void mixedLineEnds() {
        PagedText view;
        QVERIFY(view.open(file("gemischt.txt", "a\rb\nc\r\nd")));
        view.setRowsPerPage(10);
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"a", "b", "c", "d"}));
        view.scrollTo(5); // the LF of "c"
        QCOMPARE(view.top(), 4);
    }

    void wordWrapPagesByRows() {
        PagedText view;
        QVERIFY(view.open(file("lang.txt", "aaaaBBBBcc\r\nzz\r\n")));
        view.setRowsPerPage(2);
        view.setWrapFunction(viewertest::wrapEvery(4));
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"aaaa", "BBBB"}));
        QVERIFY(view.pageDown());
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"cc", "zz"}));
        view.scrollTo(6); // inside the second row
        QCOMPARE(view.top(), 4);
        QVERIFY(view.lineUp());
        QCOMPARE(view.top(), 0);
        view.scrollToEnd();
        QCOMPARE(view.top(), 8);
        // Switching the wrap off keeps the top on the line that holds it.
        view.scrollTo(6);
        view.setWrapFunction({});
        QCOMPARE(view.top(), 0);
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"aaaaBBBBcc", "zz"}));
    }

    void wrapNeverSplitsACharacter() {
        PagedText view;
        // Three umlauts: the wrap function sees three characters, not six bytes.
        QVERIFY(view.open(file("umlaut.txt", "\xC3\xA4\xC3\xB6\xC3\xBC")));
        view.setRowsPerPage(5);
        view.setWrapFunction(viewertest::wrapEvery(1));
        QCOMPARE(pageTexts(view), (QList<QByteArray>{"\xC3\xA4", "\xC3\xB6", "\xC3\xBC"}));
    }

    void aHitOffThePageBecomesTheTopLine_data() {
        QTest::addColumn<qint64>("top");
        QTest::addColumn<qint64>("hit");
        QTest::addColumn<qint64>("newTop");
        QTest::newRow("on the page") << qint64(0) << qint64(17) << qint64(0);
        QTest::newRow("on the page's last line end") << qint64(0) << qint64(23) << qint64(0);
        QTest::newRow("below the page") << qint64(0) << qint64(26) << qint64(24);
        QTest::newRow("above the page") << qint64(40) << qint64(9) << qint64(8);
        QTest::newRow("on the last line") << qint64(0) << qint64(75) << qint64(72);
    }
    void aHitOffThePageBecomesTheTopLine() {
        QFETCH(qint64, top);
        QFETCH(qint64, hit);
        QFETCH(qint64, newTop);
        PagedText view;
        QVERIFY(view.open(file("zehn.txt", tenLines())));
        view.setRowsPerPage(3);
        view.scrollTo(top);
        view.bringIntoView(hit);
        QCOMPARE(view.top(), newTop);
    }
};

std::unique_ptr<QObject> makePagedTextTest() {
    return std::make_unique<PagedTextTest>();
}

#include "paged_text_test.moc"
