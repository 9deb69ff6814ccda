#include "search/search_engine.h"
#include "search/variant_store.h"
#include "support/platform_doubles.h"

#include "test_database.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray utf16le(const QString& text) {
    QByteArray bytes;
    for (QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

// The variant store's search as it reads the store whole: every unit
// lowered, then the text's bytes looked for from the third byte on, each
// search two bytes after the previous find, positions counted from 1.
QList<qint64> wholeStorePositions(const QByteArray& store, const QString& text,
                                  bool caseSensitive) {
    QString units;
    for (qsizetype i = 0; i + 1 < store.size(); i += 2)
        units.append(QChar(char16_t(static_cast<unsigned char>(store[i]) |
                                    (static_cast<unsigned char>(store[i + 1]) << 8))));
    auto lowered = [&](const QString& s) {
        QString out = s;
        for (QChar& ch : out)
            ch = ch.toLower();
        return out;
    };
    const QByteArray haystack = utf16le(caseSensitive ? units : lowered(units));
    const QByteArray needle = utf16le(caseSensitive ? text : lowered(text));
    QList<qint64> positions;
    for (qsizetype found = haystack.indexOf(needle, 2); found >= 0;
         found = haystack.indexOf(needle, found + 2))
        positions.append(found + 1);
    return positions;
}

} // namespace

class VariantStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Random stores over units that fold (A/a, Ä/ä, Ł/ł) and units whose
    // bytes let a match start at an odd offset (U+6100 holds "a" in its high
    // byte), searched in blocks of every size down to one unit: the positions
    // are those of the search over the whole store.
    void blockwiseScanFindsWhatTheWholeStoreSearchFinds() {
        QRandomGenerator random(1414);
        const QString alphabet = QStringLiteral("aAäÄłŁ #b\u6100\u0100");
        auto randomText = [&](int length) {
            QString text;
            for (int i = 0; i < length; ++i)
                text += alphabet.at(random.bounded(static_cast<int>(alphabet.size())));
            return text;
        };
        platform::RunContext run;
        for (int round = 0; round < 300; ++round) {
            QByteArray store = utf16le(randomText(random.bounded(0, 120)));
            if (round % 4 == 0)
                store.append('\x61'); // an odd last byte is no unit
            const QString text = randomText(random.bounded(1, 4));
            const bool caseSensitive = round % 3 == 0;
            const QList<qint64> expected = wholeStorePositions(store, text, caseSensitive);
            for (qint64 blockSize : {qint64(2), qint64(6), qint64(64), search::kVariantBlockSize})
                QCOMPARE(
                    search::variantOccurrences(store, text, caseSensitive, 0, run, {}, blockSize),
                    expected);
        }
    }

    void scanYieldsBetweenBlocksAndStopsAtTheLimit() {
        QString text;
        for (int i = 0; i < 12; ++i)
            text += QString(1000, QLatin1Char('-')) + QStringLiteral("Haus");
        const QByteArray store = utf16le(text);
        int yields = 0;
        platform::RunContext run;
        run.onCheckpoint = [&] { ++yields; };
        const QList<qint64> all =
            search::variantOccurrences(store, QStringLiteral("haus"), false, 0, run, {}, 4096);
        QCOMPARE(all.size(), 12);
        QCOMPARE(all.first(), qint64(2001)); // 1000 units, counted from 1
        QVERIFY(yields >= store.size() / 4096);

        const QList<qint64> first =
            search::variantOccurrences(store, QStringLiteral("haus"), false, 10, run, {}, 4096);
        QCOMPARE(first, all.mid(0, 10));

        yields = 0;
        run.onCheckpoint = [&] {
            if (++yields == 3)
                run.cancel.requestStop();
        };
        QVERIFY(search::variantOccurrences(store, QStringLiteral("haus"), false, 0, run, {}, 4096)
                    .size() < 3);
    }

    // The variant store's occurrences count against the pass's limit too:
    // 10 on the first page, all 12 on the second.
    void variantStoreCountsAgainstThePassLimit() {
        QTemporaryDir program;
        const QString dir = program.path() + QLatin1Char('/');
        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('D'), program.path() + QStringLiteral("/D"));
        writeBytes(program.path() + QStringLiteral("/D/Texte/alt.odt"), "PK");
        writeTestDatabase(program.path(), QStringLiteral("Texte"), QStringLiteral("D:\\Texte"),
                          {{QStringLiteral("D:\\Texte\\a.odt"), {QStringLiteral("nichts")}}});
        QString variant = QStringLiteral(" \r\n#D:\\Texte\\alt.odt\r\n=\r\n");
        for (int i = 0; i < 12; ++i)
            variant += QStringLiteral("ein HAUS\r\n");
        writeBytes(dir + QStringLiteral("Datenbank/Texte_MHTtext.txt"), utf16le(variant));

        platform::RunContext run;
        search::SearchRequest request;
        request.databaseName = QStringLiteral("Texte");
        request.searchText = QStringLiteral("Haus");
        search::SearchEnvironment environment;
        environment.programDirectory = dir;
        environment.drives = &drives;
        environment.run = &run;
        search::SearchSession session;
        const search::SearchOutcome outcome = search::searchDatabase(request, session, environment);
#ifdef Q_OS_WIN
        // Windows links name the drive itself.
        const QString link = QStringLiteral("file:///D:/Texte/alt.odt");
#else
        const QString link =
            QStringLiteral("file://") + program.path() + QStringLiteral("/D/Texte/alt.odt");
#endif
        QVERIFY(readAll(dir + QStringLiteral("TX_Ergebnis.htm"))
                    .contains(QByteArray(">10 mal in: <a href=\"" + link.toUtf8())));
        QCOMPARE(outcome.lastPagePass, 2);
        QCOMPARE(outcome.lastPageResultLines, QStringList{QStringLiteral("12 mal in: ") + link});
    }
};

std::unique_ptr<QObject> makeVariantStoreTest() {
    return std::make_unique<VariantStoreTest>();
}

#include "variant_store_test.moc"
