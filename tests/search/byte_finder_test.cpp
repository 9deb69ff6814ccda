#include "search/byte_finder.h"
#include "search/occurrence_scan.h"

#include "textio/windows1252.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

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

// Every position, one at a time, with the option's rule: a two-byte letter
// of the pattern matches a text letter that folds alike, every other byte
// (and a letter that does not) compares through the lower-case table. No
// anchors, no vectors: what the fast finder must not miss.
QList<qint64> umlautReferencePositions(const QByteArray& text, const QByteArray& pattern) {
    const auto& lower = textio::windows1252LowerTable();
    auto byteAt = [](const QByteArray& bytes, qsizetype i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    auto matchesAt = [&](qsizetype p) {
        for (qsizetype k = 0; k < pattern.size();) {
            if (k + 1 < pattern.size()) {
                const char16_t letter =
                    search::foldedTwoByteLetter(byteAt(pattern, k), byteAt(pattern, k + 1));
                if (letter && search::foldedTwoByteLetter(byteAt(text, p + k),
                                                          byteAt(text, p + k + 1)) == letter) {
                    k += 2;
                    continue;
                }
                if (letter) {
                    // Compared byte by byte, both bytes of the letter.
                    if (lower[byteAt(text, p + k)] != lower[byteAt(pattern, k)] ||
                        lower[byteAt(text, p + k + 1)] != lower[byteAt(pattern, k + 1)])
                        return false;
                    k += 2;
                    continue;
                }
            }
            if (lower[byteAt(text, p + k)] != lower[byteAt(pattern, k)])
                return false;
            ++k;
        }
        return true;
    };
    QList<qint64> positions;
    for (qsizetype p = 0; p + pattern.size() <= text.size(); ++p) {
        if (matchesAt(p))
            positions.append(p);
    }
    return positions;
}

QList<qint64> finderPositions(const QByteArray& text, const QByteArray& pattern, bool caseFolded,
                              search::UmlautFolding umlauts = search::UmlautFolding::Off) {
    const search::ByteFinder finder(pattern, caseFolded, umlauts);
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

    void umlautFolding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("option");
        QTest::addColumn<bool>("found");
        const struct {
            const char* name;
            const char16_t* text;
            const char16_t* search;
            bool foundWithOption;
            bool foundWithout;
        } rows[] = {
            {"Äpfel finds äpfel", u"die äpfel", u"Äpfel", true, false},
            {"äpfel finds ÄPFEL", u"ÄPFEL", u"äpfel", true, false},
            {"ÜBER finds über", u"gegenüber", u"ÜBER", true, false},
            {"É finds é", u"café", u"CAFÉ", true, false},
            {"Ł finds ł", u"Łódź", u"łÓDŹ", true, false},
            {"Ÿ finds ÿ, another lead byte", u"ÿ", u"Ÿ", true, false},
            {"Ŀ finds ŀ, another lead byte", u"ŀ", u"Ŀ", true, false},
            {"the same case is found either way", u"Äpfel", u"Äpfel", true, true},
            {"ASCII folds as before", u"HAUS", u"haus", true, true},
            {"only the lead byte matches: ã is not ä", u"ãpfel", u"äpfel", false, false},
            {"only the lead byte matches: Ã is not Ä", u"Ãpfel", u"äpfel", false, false},
            {"ß finds itself", u"Straße", u"STRAßE", true, true},
            {"ß has no partner", u"STRASSE", u"straße", false, false},
            {"ẞ is not ß", u"GROẞ", u"groß", false, false},
            {"İ folds to ASCII i, not here", u"İstanbul", u"istanbul", false, false},
            {"ı is not I", u"ıSTANBUL", u"Istanbul", false, false},
        };
        for (const auto& row : rows) {
            for (bool option : {true, false}) {
                QTest::addRow("%s, option %s", row.name, option ? "on" : "off")
                    << QString::fromUtf16(row.text) << QString::fromUtf16(row.search) << option
                    << (option ? row.foundWithOption : row.foundWithout);
            }
        }
    }
    void umlautFolding() {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(bool, option);
        QFETCH(bool, found);
        const auto umlauts = option ? search::UmlautFolding::On : search::UmlautFolding::Off;
        // Far enough in that the vector loops, not only the scalar tail, see it.
        const QByteArray haystack = QByteArray(100, '-') + text.toUtf8() + QByteArray(100, '-');
        const search::ByteFinder finder(search.toUtf8(), true, umlauts);
        QCOMPARE(finder.find(haystack, 0) >= 0, found);
        QCOMPARE(finder.findLast(haystack, haystack.size()) >= 0, found);
        // A case-sensitive search is untouched by the option.
        const search::ByteFinder exact(search.toUtf8(), false, umlauts);
        QCOMPARE(exact.find(haystack, 0) >= 0, text.contains(search));
    }

    // Random texts of umlauts, their partners, near misses and ASCII: with
    // the option on the finder reports what a plain position-by-position
    // check reports, everything it reports without the option among them.
    void umlautFoldingAgreesWithPlainCheck() {
        QRandomGenerator random(1704);
        const QStringList pieces = {u"ä"_s, u"Ä"_s, u"ã"_s, u"Ã"_s,      u"ü"_s,     u"Ü"_s, u"ß"_s,
                                    u"ÿ"_s, u"Ÿ"_s, u"ŀ"_s, u"Ŀ"_s,      u"ł"_s,     u"Ł"_s, u"a"_s,
                                    u"A"_s, u"p"_s, u" "_s, u"\u3104"_s, u"\u00E9"_s};
        auto randomText = [&](int count) {
            QString text;
            for (int i = 0; i < count; ++i)
                text += pieces.at(random.bounded(static_cast<int>(pieces.size())));
            return text.toUtf8();
        };
        for (int round = 0; round < 400; ++round) {
            QByteArray text = randomText(random.bounded(0, 200));
            const QByteArray pattern = randomText(random.bounded(1, round % 5 == 0 ? 12 : 4));
            if (round % 3 == 0 && text.size() > pattern.size())
                text.replace(random.bounded(static_cast<int>(text.size() - pattern.size())),
                             pattern.size(), pattern);
            const QList<qint64> expected = umlautReferencePositions(text, pattern);
            const QList<qint64> folded =
                finderPositions(text, pattern, true, search::UmlautFolding::On);
            QCOMPARE(folded, expected);
            for (qint64 p : finderPositions(text, pattern, true))
                QVERIFY(folded.contains(p));
            const search::ByteFinder finder(pattern, true, search::UmlautFolding::On);
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

        int checkpoints = 0;
        run.onCheckpoint = [&] {
            if (++checkpoints == 3)
                run.cancel.requestStop();
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
