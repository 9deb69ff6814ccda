#include "viewer/decoded_text.h"
#include "viewer/line_index.h"

#include "textio/utf8.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using viewer::LineIndex;
using viewer::TextLine;

namespace {

bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

// The lines straight from their definition, walking the text from its start:
// physical lines end at CR LF, CR or LF; a line longer than the limit is cut
// at each multiple of the limit (moved past continuation bytes) that falls
// strictly inside it.
QList<TextLine> referenceLines(const QByteArray& bytes, qint64 limit) {
    const qint64 n = bytes.size();
    auto candidate = [&](qint64 multiple) {
        qint64 at = multiple;
        for (int step = 0; step < 3 && at < n && (static_cast<uchar>(bytes[at]) & 0xC0) == 0x80;
             ++step)
            ++at;
        return at;
    };
    QList<TextLine> lines;
    qint64 start = 0;
    while (start < n) {
        qint64 end = start;
        while (end < n && !isBreak(bytes[end]))
            ++end;
        qint64 next = end;
        if (end < n)
            next =
                (bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ? end + 2 : end + 1;
        qint64 pieceStart = start;
        if (end - start > limit) {
            for (qint64 multiple = (start / limit + 1) * limit; multiple < end; multiple += limit) {
                const qint64 cut = candidate(multiple);
                if (cut > pieceStart && cut < end) {
                    lines.append({pieceStart, cut, cut});
                    pieceStart = cut;
                }
            }
        }
        lines.append({pieceStart, end, next});
        start = next;
    }
    return lines;
}

QByteArray randomText(QRandomGenerator& random, int pieces, int breakWeight) {
    static const QByteArray parts[] = {
        "a", " ", "Haus", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9D\x84\x9E", "\x80", "\xC3"};
    QByteArray text;
    for (int i = 0; i < pieces; ++i) {
        const int pick = random.bounded(8 + breakWeight);
        if (pick < 8)
            text += parts[pick];
        else
            text += QByteArrayList{"\r", "\n", "\r\n"}.at(random.bounded(3));
    }
    return text;
}

void compareWithReference(const QByteArray& text, qint64 limit) {
    const LineIndex index(text, limit);
    const QList<TextLine> expected = referenceLines(text, limit);
    qsizetype line = 0;
    for (qint64 x = 0; x < text.size(); ++x) {
        while (x >= expected[line].next)
            ++line;
        const TextLine got = index.lineAt(x);
        if (got != expected[line])
            qWarning() << "offset" << x << "got" << got.start << got.end << got.next << "want"
                       << expected[line].start << expected[line].end << expected[line].next;
        QCOMPARE(got, expected[line]);
    }
    // Walking forward and back by line visits the same lines.
    if (expected.isEmpty())
        return;
    std::optional<TextLine> walk = index.lineAt(0);
    for (const TextLine& want : expected) {
        QVERIFY(walk.has_value());
        QCOMPARE(*walk, want);
        walk = index.lineAfter(*walk);
    }
    QVERIFY(!walk.has_value());
    walk = expected.last();
    for (qsizetype i = expected.size() - 1; i >= 0; --i) {
        QCOMPARE(*walk, expected[i]);
        walk = index.lineBefore(*walk);
    }
    QVERIFY(!walk.has_value());
}

} // namespace

class LineModelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("LF") << QByteArray("eins\nzwei\n") << QList<QByteArray>{"eins", "zwei"};
        QTest::newRow("CR") << QByteArray("eins\rzwei\r") << QList<QByteArray>{"eins", "zwei"};
        QTest::newRow("CR LF") << QByteArray("eins\r\nzwei\r\n")
                               << QList<QByteArray>{"eins", "zwei"};
        QTest::newRow("LF CR is two ends")
            << QByteArray("eins\n\rzwei") << QList<QByteArray>{"eins", "", "zwei"};
        QTest::newRow("no line end")
            << QByteArray("nur eine Zeile") << QList<QByteArray>{"nur eine Zeile"};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n \r\n#D:\\a.odt")
                                     << QList<QByteArray>{"", "", " ", "#D:\\a.odt"};
        QTest::newRow("a lone CR at the end") << QByteArray("a\r") << QList<QByteArray>{"a"};
    }
    void lineEnds() {
        QFETCH(QByteArray, text);
        QFETCH(QList<QByteArray>, lines);
        const LineIndex index(text);
        QList<QByteArray> walked;
        for (std::optional<TextLine> line = index.lineAt(0); line; line = index.lineAfter(*line))
            walked.append(text.mid(line->start, line->end - line->start));
        QCOMPARE(walked, lines);
        compareWithReference(text, viewer::kLongestLine);
    }

    // Every offset, against the lines walked from the start, on texts with
    // long lines cut at a small limit, characters of every length and broken
    // sequences next to the cuts.
    void randomTextsAgainstTheDefinition() {
        QRandomGenerator random(4711);
        for (int round = 0; round < 500; ++round) {
            const QByteArray text = randomText(random, random.bounded(1, 300), round % 3);
            compareWithReference(text, 8);
            if (QTest::currentTestFailed()) {
                qWarning() << "text" << text.toHex(' ');
                return;
            }
        }
    }

    void decodingKeepsTheProgramsCharacters() {
        QRandomGenerator random(815);
        for (int round = 0; round < 300; ++round) {
            const QByteArray text = randomText(random, random.bounded(0, 40), 1);
            const viewer::DecodedText decoded = viewer::decodeWithByteOffsets(text);
            QCOMPARE(decoded.text, textio::utf8DecodeLenient(text));
            QCOMPARE(decoded.unitStart.size(), decoded.text.size() + 1);
            QCOMPARE(decoded.unitStart.last(), text.size());
        }
        // "a", "ä" (2 bytes), a surrogate pair (4 bytes), "b".
        const viewer::DecodedText decoded =
            viewer::decodeWithByteOffsets("a\xC3\xA4\xF0\x9D\x84\x9E"
                                          "b");
        QCOMPARE(decoded.unitStart, (QList<qint32>{0, 1, 3, 3, 7, 8}));
        QCOMPARE(decoded.unitAtByte(2), 1);   // inside "ä"
        QCOMPARE(decoded.unitAtByte(5), 2);   // inside the pair: its first unit
        QCOMPARE(decoded.unitFromByte(2), 2); // after "ä"
        QCOMPARE(decoded.unitFromByte(8), 5);
    }
};

std::unique_ptr<QObject> makeLineModelTest() {
    return std::make_unique<LineModelTest>();
}

#include "line_model_test.moc"
