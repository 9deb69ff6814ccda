#include "search/byte_finder.h"
#include "search/occurrence_scan.h"

#include "textio/windows1252.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

namespace {

// The Boyer-Moore-Horspool search exactly as the program's design lays it
// out (shift table from the upper- and lower-case pattern, text bytes mapped
// through the lower-case table), restarted one byte after each match: the
// positions the fast finder must reproduce.
QList<qint64> referencePositions(const QByteArray& text, const QByteArray& pattern,
                                 bool caseFolded) {
    const auto& lowerTable = textio::windows1252LowerTable();
    const auto& upperTable = textio::windows1252UpperTable();
    auto map = [&](unsigned char b) { return caseFolded ? lowerTable[b] : b; };
    const qint64 m = pattern.size();
    QByteArray lowered = pattern;
    if (caseFolded)
        lowered = textio::windows1252Lower(pattern);
    qint64 shift[256];
    for (qint64& s : shift)
        s = m;
    auto fill = [&](const QByteArray& p) {
        for (qint64 i = 0; i < m - 1; ++i)
            shift[static_cast<unsigned char>(p[i])] = m - 1 - i;
    };
    if (caseFolded) {
        QByteArray upper = pattern;
        for (char& c : upper)
            c = static_cast<char>(upperTable[static_cast<unsigned char>(c)]);
        fill(upper);
        fill(lowered);
    } else {
        fill(pattern);
    }
    auto at = [&](qint64 i) { return map(static_cast<unsigned char>(text[i])); };
    auto search = [&](qint64 start) -> qint64 {
        if (m < 1 || m > text.size() - start)
            return -1;
        qint64 end = start + m - 1;
        while (end < text.size()) {
            if (at(end) == static_cast<unsigned char>(lowered[m - 1])) {
                qint64 t = end;
                qint64 k = m - 1;
                while (k > 0 && at(t - 1) == static_cast<unsigned char>(lowered[k - 1])) {
                    --t;
                    --k;
                }
                if (k == 0)
                    return t;
                --t;
                end = std::max(end + shift[at(end)], t + shift[at(t)]);
            } else {
                end += shift[at(end)];
            }
        }
        return -1;
    };
    QList<qint64> positions;
    for (qint64 p = search(0); p >= 0; p = search(p + 1))
        positions.append(p);
    return positions;
}

QList<qint64> finderPositions(const QByteArray& text, const QByteArray& pattern, bool caseFolded) {
    const search::ByteFinder finder(pattern, caseFolded);
    QList<qint64> positions;
    for (qint64 p = finder.find(text, 0); p >= 0; p = finder.find(text, p + 1))
        positions.append(p);
    return positions;
}

} // namespace

class ByteFinderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsTheOccurrences_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<bool>("caseFolded");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("folded finds every case")
            << QByteArray("Haus haus HAUS hAuS") << QByteArray("Haus") << true
            << QList<qint64>{0, 5, 10, 15};
        QTest::newRow("exact keeps case")
            << QByteArray("Haus haus HAUS") << QByteArray("Haus") << false << QList<qint64>{0};
        QTest::newRow("umlaut is two bytes, only ASCII folds")
            << QByteArray("\xC3\xA4pfel \xC3\x84PFEL \xC3\x84pfel") << QByteArray("\xC3\x84pfel")
            << true << QList<qint64>{7, 14};
        QTest::newRow("overlapping occurrences count")
            << QByteArray("aaaaa") << QByteArray("aa") << true << QList<qint64>{0, 1, 2, 3};
        QTest::newRow("match at the last byte")
            << QByteArray("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxHaUs") << QByteArray("haus") << true
            << QList<qint64>{33};
        QTest::newRow("pattern longer than text")
            << QByteArray("abc") << QByteArray("abcd") << true << QList<qint64>{};
        QTest::newRow("single byte")
            << QByteArray("a#b#") << QByteArray("#") << false << QList<qint64>{1, 3};
        QTest::newRow("Windows-1252 letters fold on single bytes")
            << QByteArray("\xC4 \xE4 \x8A \x9A") << QByteArray("\xE4") << true
            << QList<qint64>{0, 2};
    }
    void findsTheOccurrences() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, pattern);
        QFETCH(bool, caseFolded);
        QFETCH(QList<qint64>, expected);
        QCOMPARE(finderPositions(text, pattern, caseFolded), expected);
        QCOMPARE(referencePositions(text, pattern, caseFolded), expected);
    }

    // Random texts over a small alphabet with case pairs, high bytes and the
    // marker characters, long enough to cross the vector blocks: the finder
    // must report exactly what the Horspool search reports, and findLast
    // the last of them below any bound.
    void agreesWithHorspoolOnRandomTexts() {
        QRandomGenerator random(4711);
        const QByteArray alphabet("aAbBhHsSuU #:\\dD\xC3\xA4\x84\xC4\xE4\r\n");
        for (int round = 0; round < 400; ++round) {
            QByteArray text(static_cast<qsizetype>(random.bounded(0, 300)), Qt::Uninitialized);
            for (char& c : text)
                c = alphabet[random.bounded(static_cast<int>(alphabet.size()))];
            QByteArray pattern(static_cast<qsizetype>(random.bounded(1, round % 5 == 0 ? 40 : 5)),
                               Qt::Uninitialized);
            for (char& c : pattern)
                c = alphabet[random.bounded(static_cast<int>(alphabet.size()))];
            if (round % 3 == 0 && text.size() > pattern.size())
                text.replace(random.bounded(static_cast<int>(text.size() - pattern.size())),
                             pattern.size(), pattern);
            const bool folded = round % 2 == 0;
            const QList<qint64> expected = referencePositions(text, pattern, folded);
            QCOMPARE(finderPositions(text, pattern, folded), expected);
            const search::ByteFinder finder(pattern, folded);
            const qint64 bound = random.bounded(static_cast<int>(text.size()) + 1);
            qint64 last = -1;
            for (qint64 p : expected)
                if (p < bound)
                    last = p;
            QCOMPARE(finder.findLast(text, bound), last);
        }
    }

    void scanStopsAtLimitAndCancel() {
        QByteArray text;
        for (int i = 0; i < 12; ++i)
            text += "ein Haus, ";
        const search::ByteFinder finder("haus", true);
        platform::RunContext run;
        const search::OccurrenceScan first = search::scanOccurrences(text, finder, 10, run);
        QCOMPARE(first.positions.size(), 10);
        QVERIFY(!first.reachedEnd);
        const search::OccurrenceScan all = search::scanOccurrences(text, finder, 300, run);
        QCOMPARE(all.positions.size(), 12);
        QCOMPARE(all.positions.last(), 114);
        QVERIFY(all.reachedEnd);

        bool cancel = false;
        int yields = 0;
        run.cancelRequested = &cancel;
        run.yield = [&] {
            if (++yields == 3)
                cancel = true;
        };
        const search::OccurrenceScan cancelled = search::scanOccurrences(text, finder, 300, run);
        QCOMPARE(cancelled.positions.size(), 2);
        QVERIFY(!cancelled.reachedEnd);
    }

    void documentStartIsTheLastMarkerBefore() {
        const QByteArray text("xx#D:\\a\r\nHaus#d:\\b\r\nHaus Haus");
        const search::ByteFinder marker("#D:\\", true);
        search::DocumentStartLocator locator(text, marker);
        QCOMPARE(locator.documentStartBefore(30), 13);
        QCOMPARE(locator.documentStartBefore(20), 13);
        QCOMPARE(locator.documentStartBefore(13), 2);
        QCOMPARE(locator.documentStartBefore(9), 2);
        QCOMPARE(locator.documentStartBefore(2), -1);
        QCOMPARE(locator.documentStartBefore(0), -1);
    }
};

std::unique_ptr<QObject> makeByteFinderTest() {
    return std::make_unique<ByteFinderTest>();
}

#include "byte_finder_test.moc"
