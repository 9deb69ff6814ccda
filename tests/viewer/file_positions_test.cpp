#include "support/platform_doubles.h"
#include "viewer_test_support.h"

#include "support/pending_switch.h"
#include "viewer/bookmarks.h"
#include "viewer/file_positions.h"
#include "viewer/find_state.h"
#include "viewer/mirror_text.h"
#include "viewer/position_list_builder.h"
#include "viewer/title_display.h"

#include "platform/settings_store.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using viewer::FilePositions;
using viewer::PositionEntry;

namespace {

// A database text in the block layout, with what makes the list hard: empty
// documents (two path lines on one page), the marker in lower case and in
// the middle of text lines, other line ends, and documents near the end.
QByteArray generatedText(QRandomGenerator& random) {
    static const QByteArray endings[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
    QByteArray text;
    const int documents = random.bounded(1, 25);
    for (int d = 0; d < documents; ++d) {
        const QByteArray eol = endings[random.bounded(5)];
        const QByteArray path = "D:\\Texte\\Dokument" + QByteArray::number(d) + ".odt";
        text += " " + eol + " " + eol + " " + eol + "#" + path + eol +
                QByteArray(path.size(), '=') + eol;
        const int lines = random.bounded(4) == 0 ? 0 : random.bounded(1, 30);
        for (int l = 0; l < lines; ++l) {
            switch (random.bounded(12)) {
            case 0:
                text += "siehe #d:\\Briefe\\alt.odt und #D:\\neu.odt" + eol;
                break;
            case 1:
                text += "#D:\\" + eol; // the same line twice in a row
                text += "#D:\\" + eol;
                break;
            default:
                text += "Text " + QByteArray::number(l) + " \xC3\xA4hnlich" + eol;
            }
        }
    }
    return text;
}

// The window's find loop, step by step as the design runs it: "Suchen" again
// and again, the hit selected in the viewer (a hit not on the page shown
// becomes the top line), the caret placed in the mirror text, and the caret's
// line taken when it differs from the one before.
QList<PositionEntry> simulatedFindLoop(const QString& file, qint64 startTop, int rows) {
    viewer::PagedText view;
    view.open(file);
    view.setRowsPerPage(rows);
    view.scrollTo(startTop);
    viewer::Search search;
    viewer::FindState state;
    state.changeText(u"#D:\\");
    QList<PositionEntry> entries;
    QString taken;
    for (;;) {
        const auto outcome = viewer::findInViewerFile(state, search, file, !state.active);
        if (outcome.kind != viewer::FindOutcome::Hit)
            break;
        bool onPage = false;
        for (const viewer::PageLine& line : view.pageLines())
            onPage = onPage || (outcome.start >= line.start && outcome.start < line.next);
        if (!onPage)
            view.scrollTo(outcome.start);
        const QList<viewer::PageLine> page = view.pageLines();
        const auto caret = viewer::mirrorSelectionOfRange(page, outcome.start, outcome.length);
        const QString line = viewer::mirrorTextOfPage(page)
                                 .split(QLatin1Char('\n'))
                                 .at(viewer::mirrorRowOfPosition(page, caret->start));
        if (line != taken)
            entries.append({view.top(), line});
        taken = line;
    }
    return entries;
}

// The design's rule for the title, entry by entry.
std::optional<qsizetype> entryByTheLinearRule(const QList<qint64>& offsets, qint64 top) {
    std::optional<qsizetype> current;
    for (qsizetype i = 0; i + 1 < offsets.size(); ++i) {
        if (offsets[i] <= top && top <= offsets[i + 1])
            current = i;
    }
    if (!offsets.isEmpty() && offsets.last() <= top)
        current = offsets.size() - 1;
    return current;
}

FilePositions positionsOf(const QStringList& lines) {
    return FilePositions::fromLines(lines);
}

} // namespace

class FilePositionsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void theScanGivesTheFindLoopsList() {
        QRandomGenerator random(2024);
        const QString file = dir_.filePath(QStringLiteral("text.txt"));
        int nonEmpty = 0;
        for (int round = 0; round < 60; ++round) {
            const QByteArray text = generatedText(random);
            QVERIFY(viewertest::writeBytes(file, text));
            const int rows = QList<int>{3, 7, 40}.at(round % 3);
            const qint64 startTop =
                QList<qint64>{0, random.bounded(text.size()), text.size() + 10}.at(
                    random.bounded(3));
            const viewer::PositionListScan scan =
                viewer::scanFilePositions(file, "#D:\\", startTop, rows);
            QVERIFY(scan.opened);
            const QList<PositionEntry> expected = simulatedFindLoop(file, startTop, rows);
            if (scan.entries != expected) {
                qWarning() << "round" << round << "rows" << rows << "start" << startTop;
                for (const PositionEntry& entry : scan.entries)
                    qWarning() << "scan" << entry.top << entry.line;
                for (const PositionEntry& entry : expected)
                    qWarning() << "loop" << entry.top << entry.line;
            }
            QCOMPARE(scan.entries, expected);
            nonEmpty += expected.size() > 1 ? 1 : 0;
        }
        QVERIFY(nonEmpty > 40);
    }

    void twoDocumentsOnOnePageShareTheOffset() {
        const QString file = dir_.filePath(QStringLiteral("zwei.txt"));
        QVERIFY(viewertest::writeBytes(file, " \r\n \r\n \r\n#D:\\a.odt\r\n=======\r\n"
                                             " \r\n \r\n \r\n#D:\\b.odt\r\n=======\r\n"
                                             "Text\r\nText\r\nText\r\nText\r\n"
                                             " \r\n \r\n \r\n#d:\\c.odt\r\n=======\r\n"));
        const viewer::PositionListScan scan = viewer::scanFilePositions(file, "#D:\\", 0, 10);
        // c.odt is not on the first page of ten lines: its line becomes the top.
        QCOMPARE(scan.entries, (QList<PositionEntry>{{0, QStringLiteral("#D:\\a.odt")},
                                                     {0, QStringLiteral("#D:\\b.odt")},
                                                     {91, QStringLiteral("#d:\\c.odt")}}));
        QCOMPARE(scan.finalTop, 91);
    }

    void theListFileRoundTrip() {
        const QList<PositionEntry> entries = {{0, QStringLiteral("#D:\\Texte\\Groß.odt")},
                                              {4294967396, QStringLiteral("#D:\\a.odt")}};
        QCOMPARE(viewer::positionListBytes(entries),
                 QByteArray("0 #D:\\Texte\\Gro\xC3\x9F.odt\r\n4294967396 #D:\\a.odt\r\n"));
        const QString file = dir_.filePath(QStringLiteral("Test_TitelPositionen.txt"));
        QVERIFY(viewer::writePositionList(entries, file));
        const FilePositions loaded = FilePositions::load(file);
        QCOMPARE(loaded.size(), 2);
        QCOMPARE(loaded.offsetAt(1), 4294967396);
        QCOMPARE(loaded.lines().at(0), QStringLiteral("0 #D:\\Texte\\GroÃŸ.odt")); // ANSI view
        QCOMPARE(viewer::fileNameOfEntryPath(loaded.pathAt(0)), QStringLiteral("Groß.odt"));
        QVERIFY(FilePositions::load(dir_.filePath(QStringLiteral("fehlt.txt"))).isEmpty());
    }

    void titleNamesThePagesDocument_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<qint64>("top");
        QTest::addColumn<bool>("sorted");
        QTest::addColumn<QString>("caption");
        const QStringList list = {"100 #D:\\a\\Erstes.odt", "100 #D:\\a\\Zweites.odt",
                                  "5000 #D:\\b\\Drittes.odt"};
        QTest::newRow("before the first path line: only the offset")
            << list << qint64(50) << false << QStringLiteral("50");
        QTest::newRow("two documents on one page: the later")
            << list << qint64(100) << false << QStringLiteral("100  \"Zweites.odt\"");
        QTest::newRow("between two entries")
            << list << qint64(2000) << false << QStringLiteral("2.000  \"Zweites.odt\"");
        QTest::newRow("at the last entry")
            << list << qint64(5000) << false << QStringLiteral("5.000  \"Drittes.odt\"");
        QTest::newRow("past the last entry") << list << qint64(4294967396) << false
                                             << QStringLiteral("4.294.967.396  \"Drittes.odt\"");
        QTest::newRow("a sorted list shows only the offset")
            << list << qint64(2000) << true << QStringLiteral("2.000");
        QTest::newRow("no list") << QStringList() << qint64(1234567) << false
                                 << QStringLiteral("1.234.567");
        QTest::newRow("out of order: the rule, not the search")
            << QStringList{"300 #D:\\c.odt", "100 #D:\\a.odt", "200 #D:\\b.odt"} << qint64(150)
            << false << QStringLiteral("150  \"a.odt\"");
        QTest::newRow("a name in UTF-8")
            << QStringList{"0 #D:\\\xC3\x83\xC2\xA4rger.odt"} << qint64(7) << false
            << QStringLiteral("7  \"ärger.odt\"");
    }
    void titleNamesThePagesDocument() {
        QFETCH(QStringList, lines);
        QFETCH(qint64, top);
        QFETCH(bool, sorted);
        QFETCH(QString, caption);
        const QLocale german(QLocale::German, QLocale::Germany);
        QCOMPARE(viewer::titleCaption(top, positionsOf(lines), sorted, german), caption);
    }

    void binarySearchFindsTheEntryOfTheLinearRule() {
        QRandomGenerator random(99);
        for (int round = 0; round < 200; ++round) {
            QList<qint64> offsets;
            QStringList lines;
            qint64 offset = random.bounded(3);
            for (int i = random.bounded(1, 12); i > 0; --i) {
                offset += random.bounded(3) * 10; // equal offsets are frequent
                offsets.append(offset);
                lines.append(QString::number(offset) + QStringLiteral(" #D:\\x.odt"));
            }
            const FilePositions positions = positionsOf(lines);
            for (qint64 top = 0; top <= offset + 11; ++top)
                QCOMPARE(positions.entryForTop(top), entryByTheLinearRule(offsets, top));
        }
    }

    void longCaptionsAreCutInStepsOfSeven() {
        auto tenPixelsEach = [](QStringView text) { return int(text.size()) * 10; };
        // 100 + 10 * length must stay below 300: at most 19 characters.
        const QString caption = QStringLiteral("1.234  \"Ein sehr langer Dateiname.odt\"");
        QCOMPARE(caption.size(), 38);
        QCOMPARE(viewer::fitCaption(caption, 100, 300, tenPixelsEach),
                 QStringLiteral("1.234  \"Ein sehr ..."));
        QCOMPARE(viewer::fitCaption(QStringLiteral("1.234"), 100, 300, tenPixelsEach),
                 QStringLiteral("1.234"));
        QCOMPARE(
            viewer::fitCaption(QStringLiteral("12345678901234567890"), 100, 300, tenPixelsEach),
            QStringLiteral("1234567890123..."));
        QCOMPARE(viewer::fitCaption(QStringLiteral("abc"), 100, 50, tenPixelsEach),
                 QStringLiteral("..."));
    }

    void bookmarks_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<qint64>("bookmark");
        QTest::addColumn<qint64>("top");
        // Ten lines of 8 bytes, pages of 3.
        QTest::newRow("none") << QString() << qint64(0) << qint64(0);
        QTest::newRow("not a number") << QStringLiteral("abc") << qint64(0) << qint64(0);
        QTest::newRow("in the middle") << QStringLiteral("35") << qint64(35) << qint64(32);
        QTest::newRow("on the last page") << QStringLiteral("72") << qint64(72) << qint64(72);
        QTest::newRow("beyond the end")
            << QStringLiteral("5000000000") << qint64(5000000000) << qint64(56);
    }
    void bookmarks() {
        QFETCH(QString, stored);
        QFETCH(qint64, bookmark);
        QFETCH(qint64, top);
        testsupport::MemorySettingsStore settings;
        if (!stored.isNull())
            settings.write(QStringLiteral("Lesezeichen_Texte"), stored);
        QCOMPARE(viewer::readBookmark(settings, QStringLiteral("Texte")), bookmark);

        QByteArray text;
        for (int i = 0; i < 10; ++i)
            text += "Zeile" + QByteArray::number(i) + "\r\n";
        const QString file = dir_.filePath(QStringLiteral("zehn.txt"));
        QVERIFY(viewertest::writeBytes(file, text));
        viewer::PagedText view;
        QVERIFY(view.open(file));
        view.setRowsPerPage(3);
        if (bookmark > 0)
            view.scrollTo(bookmark);
        QCOMPARE(view.top(), top);

        // Saved again from the page shown, and read back the same.
        viewer::writeBookmark(settings, QStringLiteral("Texte"), view.top());
        QCOMPARE(settings.read(QStringLiteral("Lesezeichen_Texte")), QString::number(top));
        QCOMPARE(viewer::readBookmark(settings, QStringLiteral("Texte")), top);
    }

    void buildingTheListOfADatabase() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Datenbank")));
        const QString data = program.path() + QStringLiteral("/Datenbank/");
        QVERIFY(viewertest::writeBytes(data + "Test.dat",
                                       "PFAD_UND_ENDUNGEN= E:\\Texte *.odt    \r\n"));
        QVERIFY(viewertest::writeBytes(data + "Test_UTF8Dokument.txt",
                                       " \r\n \r\n \r\n#E:\\Texte\\\xC3\xA4.odt\r\n===\r\nEins\r\n"
                                       " \r\n \r\n \r\n#D:\\Texte\\b.odt\r\n===\r\nZwei\r\n"));
        const viewer::PositionListBuild build =
            viewer::buildPositionList(program.path(), QStringLiteral("Test"), 0, 40);
        QCOMPARE(build.kind, viewer::PositionListBuild::Built);
        QCOMPARE(viewertest::readBytes(data + "Test_TitelPositionen.txt"),
                 QByteArray("0 #E:\\Texte\\\xC3\xA4.odt\r\n"));
        QCOMPARE(build.loaded.size(), 1);

        QCOMPARE(viewer::buildPositionList(program.path(), QStringLiteral("Fehlt"), 0, 40).kind,
                 viewer::PositionListBuild::NoDatabase);
        QVERIFY(viewertest::writeBytes(data + "Leer.dat", "PFAD_UND_ENDUNGEN= E:\\ *.odt\r\n"));
        QVERIFY(viewertest::writeBytes(data + "Leer_UTF8Dokument.txt", {}));
        QCOMPARE(viewer::buildPositionList(program.path(), QStringLiteral("Leer"), 0, 40).kind,
                 viewer::PositionListBuild::NoText);
        QVERIFY(!QFile::exists(data + "Leer_TitelPositionen.txt"));
    }

    // The list is built from the new database when the program that wrote
    // it died in the middle of putting its files in place.
    void theListIsBuiltFromTheDatabaseOfAnInterruptedSwitch() {
        QTemporaryDir program;
        const QString directory = program.path() + QLatin1Char('/');
        QVERIFY(QDir(directory).mkpath(QStringLiteral("Datenbank/Temp")));
        QVERIFY(testsupport::leavePendingSwitch(
            directory, QStringLiteral("Neu"),
            {{".dat", "PFAD_UND_ENDUNGEN= D:\\Alt *.odt    \r\n",
              "PFAD_UND_ENDUNGEN= E:\\Neu *.odt    \r\n"},
             {"_UTF8Dokument.txt", " \r\n \r\n \r\n#D:\\Alt\\a.odt\r\n==\r\nAlt\r\n",
              " \r\n \r\n \r\n#E:\\Neu\\n.odt\r\n==\r\nNeu\r\n"}}));
        const viewer::PositionListBuild build =
            viewer::buildPositionList(directory, QStringLiteral("Neu"), 0, 40);
        QCOMPARE(build.kind, viewer::PositionListBuild::Built);
        QCOMPARE(build.entries, (QList<viewer::PositionEntry>{{0, "#E:\\Neu\\n.odt"}}));
    }
};

std::unique_ptr<QObject> makeFilePositionsTest() {
    return std::make_unique<FilePositionsTest>();
}

#include "file_positions_test.moc"
