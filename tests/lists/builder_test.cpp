#include "lists_tests.h"

#include "database/database_lock.h"
#include "lists/bounded_groups.h"
#include "lists/list_order.h"
#include "lists/list_pieces.h"
#include "lists/sorted_list_builder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using lists::ListBuildStatus;
using lists::ListKind;

Q_DECLARE_METATYPE(ListKind)

namespace {

// Lines of a database text, each followed by CR LF.
QByteArray textOf(std::initializer_list<QByteArray> lines) {
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

QByteArray blockOf(const QByteArray& path, std::initializer_list<QByteArray> lines) {
    return textOf({" ", " ", " ", "#" + path, QByteArray(path.size(), '=')}) + textOf(lines);
}

// A program directory with the database "Test" of the folder D:\Texte.
class TestDatabase {
public:
    TestDatabase() {
        QDir(temp_.path()).mkpath(QStringLiteral("Datenbank/Temp"));
        write(data() + QStringLiteral("Test.dat"),
              "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n");
    }

    QString directory() const { return temp_.path() + QLatin1Char('/'); }
    QString data() const { return directory() + QStringLiteral("Datenbank/"); }
    QString tempFolder() const { return data() + QStringLiteral("Temp/"); }
    QString textPath() const { return data() + QStringLiteral("Test_UTF8Dokument.txt"); }
    QString listPath() const {
        return data() + QStringLiteral("Test_Phrasen_Woerter_Utf8Liste.txt");
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(fehlt)");
    }
    QStringList pieceFiles() const {
        return QDir(tempFolder()).entryList({QStringLiteral("SplitDokument*")}, QDir::Files);
    }

    lists::ListBuildOutcome build(ListKind kind, qint64 pieceSize = lists::kPieceSize,
                                  const platform::RunContext& run = {},
                                  const lists::ListProgressSink& progress = {},
                                  const QString& name = QStringLiteral("Test"),
                                  std::size_t memoryBudget = lists::kGroupMemoryBudget) const {
        lists::SortedListRequest request;
        request.programDirectory = directory();
        request.databaseName = name;
        request.kind = kind;
        request.pieceSize = pieceSize;
        request.memoryBudget = memoryBudget;
        return lists::buildSortedList(request, run, progress);
    }

private:
    QTemporaryDir temp_;
};

// Stops the run at the given yield.
struct StopAtYield {
    int stopAt = 0;
    int yields = 0;
    jobs::CancelToken abort = jobs::CancelToken();
    platform::RunContext run() {
        platform::RunContext context;
        context.cancel = abort;
        context.onCheckpoint = [this] {
            if (++yields == stopAt)
                abort.requestStop();
        };
        return context;
    }
};

} // namespace

class ListBuilderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void listOfAText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<ListKind>("kind");
        QTest::addColumn<QByteArray>("list");
        QTest::newRow("Haus, Baum, Auto, Zelt")
            << textOf({"Haus, Baum; Auto:Zelt"}) << ListKind::Words
            << QByteArray("Auto\r\nBaum\r\nHaus\r\nZelt\r\n");
        QTest::newRow("a piece without a blank is no phrase")
            << textOf({"Hundeh\xC3\xBCtte, gro\xC3\x9F"
                       "er Hund"})
            << ListKind::Phrases
            << QByteArray("gro\xC3\x9F"
                          "er Hund\r\n");
        QTest::newRow("case duplicates once, first form")
            << textOf({"haus Baum", "Haus HAUS baum"}) << ListKind::Words
            << QByteArray("Baum\r\nhaus\r\n");
        QTest::newRow("a line with ----- gives nothing")
            << textOf({"Baum ----- Haus", "Zelt"}) << ListKind::Words << QByteArray("Zelt\r\n");
        QTest::newRow("path lines once, sorted, in group 1")
            << blockOf("D:\\Texte\\b.odt", {"Zebra Datum"}) +
                   blockOf("D:\\Texte\\a.odt", {"Anna Zebra"}) +
                   blockOf("D:\\Texte\\b.odt", {"Nachtrag"})
            << ListKind::Words
            << QByteArray("#D:\\Texte\\a.odt\r\n#D:\\Texte\\b.odt\r\nAnna\r\nDatum\r\nNachtrag\r\n"
                          "Zebra\r\n");
        QTest::newRow("path lines under phrases")
            << blockOf("D:\\Texte\\Brief an Anna.odt", {"Liebe Anna, wie geht es"})
            << ListKind::Phrases
            << QByteArray("#D:\\Texte\\Brief an Anna.odt\r\nLiebe Anna\r\nwie geht es\r\n");
        QTest::newRow("umlaut first, words only")
            << textOf({"\xC3\x84pfel Birne"}) << ListKind::Words << QByteArray("Birne\r\n");
        QTest::newRow("umlaut first, words and phrases")
            << textOf({"\xC3\x84pfel Birne"}) << ListKind::WordsAndPhrases
            << QByteArray("Birne\r\n\xC3\x84pfel\r\n\xC3\x84pfel Birne\r\n");
        QTest::newRow("no word of three characters")
            << textOf({"Tag und Uhr, Nacht", "Ei; Kuh: 123"}) << ListKind::Words
            << QByteArray("Nacht\r\n");
        QTest::newRow("ignorable characters do not merge")
            << textOf({"Haus Ha\xC2\xADus", "Ha\xC2\x81us haus"}) << ListKind::Words
            << QByteArray("Haus\r\nHa\xC2\x81us\r\nHa\xC2\xADus\r\n");
        QTest::newRow("B\xC3\xA4ume after Baum")
            << textOf({"B\xC3\xA4ume Baum Bauer"}) << ListKind::Words
            << QByteArray("Bauer\r\nBaum\r\nB\xC3\xA4ume\r\n");
        QTest::newRow("five groups")
            << textOf({"Zelt 2024 Haus, Mond und Sonne, Apfel"}) << ListKind::WordsAndPhrases
            << QByteArray("Apfel\r\nHaus\r\nMond\r\nMond und Sonne\r\nSonne\r\nZelt\r\n"
                          "Zelt 2024 Haus\r\n2024\r\n");
        QTest::newRow("nothing to list")
            << textOf({"ja", "Uhr", "--"}) << ListKind::Words << QByteArray();
    }
    void listOfAText() {
        QFETCH(QByteArray, text);
        QFETCH(ListKind, kind);
        QFETCH(QByteArray, list);
#ifdef Q_OS_WIN
        // The order is the system collator's: Wine's CompareStringEx passes
        // over "#", blanks and ignorable characters where ICU sorts them.
        const QByteArrayList collatorRows{"path lines once, sorted, in group 1",
                                          "umlaut first, words and phrases",
                                          "ignorable characters do not merge"};
        if (collatorRows.contains(QTest::currentDataTag()))
            QSKIP("Order of the Windows collator");
#endif
        TestDatabase database;
        TestDatabase::write(database.textPath(), text);
        TestDatabase::write(database.listPath(), "Altlast\r\nVorher\r\n");
        const auto outcome = database.build(kind);
        QCOMPARE(outcome.status, ListBuildStatus::Written);
        QCOMPARE(TestDatabase::read(database.listPath()), list);
        QCOMPARE(database.pieceFiles(), QStringList());
    }

    void countsPerGroup() {
        TestDatabase database;
        TestDatabase::write(database.textPath(), textOf({"Zelt 2024 Haus, Mond und Sonne, Apfel"}));
        const auto outcome = database.build(ListKind::WordsAndPhrases);
        QCOMPARE(outcome.status, ListBuildStatus::Written);
        QCOMPARE(outcome.itemsPerGroup, (std::array<qsizetype, 5>{1, 1, 2, 3, 1}));
    }

    // Whatever the piece size, no line and no character is cut in two.
    void piecesDoNotChangeTheList() {
        TestDatabase database;
        const QByteArray text = blockOf("D:\\Texte\\\xC3\x9C"
                                        "bersicht.odt",
                                        {"B\xC3\xA4ume B\xC3\xA4ume, gro\xC3\x9F"
                                         "e B\xC3\xA4ume und \xC3\x96lb\xC3\xA4ume",
                                         "Stra\xC3\x9F"
                                         "e",
                                         "\xE2\x80\x9EZitat\xE2\x80\x9C Wort\xF0\x9F\x98\x80"});
        TestDatabase::write(database.textPath(), text);
        QCOMPARE(database.build(ListKind::WordsAndPhrases).status, ListBuildStatus::Written);
        const QByteArray whole = TestDatabase::read(database.listPath());
        QVERIFY(whole.contains("B\xC3\xA4ume\r\n"));
        QVERIFY(whole.contains("gro\xC3\x9F"
                               "e B\xC3\xA4ume und \xC3\x96lb\xC3\xA4ume\r\n"));
        for (qint64 pieceSize = 1; pieceSize <= 40; ++pieceSize) {
            QCOMPARE(database.build(ListKind::WordsAndPhrases, pieceSize).status,
                     ListBuildStatus::Written);
            QCOMPARE(TestDatabase::read(database.listPath()), whole);
        }
        QCOMPARE(database.pieceFiles(), QStringList());
    }

    void piecesEndAtLineEnds() {
        TestDatabase database;
        const QByteArray text = "Erste Zeile\r\nzweite\rdritte\ngro\xC3\x9F\ve\fB\xC3\xA4ume und "
                                "\xE2\x82\xAC\r\n\r\nEnde ohne Zeilenende \xC3\xA4";
        TestDatabase::write(database.textPath(), text);
        for (qint64 pieceSize = 1; pieceSize <= text.size() + 1; ++pieceSize) {
            const lists::PieceCut cut =
                lists::cutIntoPieces(database.textPath(), database.directory(), pieceSize, {});
            QVERIFY(cut.error.isEmpty());
            QByteArray joined;
            for (qsizetype n = 0; n < cut.pieces.size(); ++n) {
                QCOMPARE(QFileInfo(cut.pieces.at(n)).fileName(),
                         QStringLiteral("SplitDokument%1.txt").arg(n + 1, 3, 10, QLatin1Char('0')));
                const QByteArray piece = TestDatabase::read(cut.pieces.at(n));
                joined += piece;
                if (n + 1 == cut.pieces.size())
                    continue;
                QVERIFY2(piece.size() >= pieceSize, qPrintable(cut.pieces.at(n)));
                QVERIFY(QByteArray("\r\n\v\f").contains(piece.back()));
                QVERIFY(!(piece.endsWith('\r') && text.at(joined.size()) == '\n'));
            }
            QCOMPARE(joined, text);
            for (const QString& piece : cut.pieces)
                QVERIFY(QFile::remove(piece));
        }
    }

    // A database text replaced by a FIFO would block the build in open():
    // it is no regular file, so it cannot be read.
    void aTextThatIsNoFileCannotBeRead() {
#ifdef Q_OS_WIN
        QSKIP("Windows has no FIFO in a folder");
#else
        TestDatabase database;
        QFile::remove(database.textPath());
        QVERIFY(::mkfifo(QFile::encodeName(database.textPath()).constData(), 0644) == 0);
        const lists::PieceCut cut =
            lists::cutIntoPieces(database.textPath(), database.directory(), 10, {});
        QCOMPARE(cut.error, QStringLiteral("Die Datei \"") +
                                QDir::toNativeSeparators(database.textPath()) +
                                QStringLiteral("\" kann nicht gelesen werden."));
        QVERIFY(cut.pieces.isEmpty());
#endif
    }

    // Stopped at any of its checks, a build writes nothing and leaves no
    // piece file behind.
    void stoppedBuildKeepsTheEarlierList() {
        TestDatabase database;
        QByteArray text;
        for (int n = 0; n < 6; ++n)
            text += blockOf("D:\\Texte\\" + QByteArray::number(n) + ".odt",
                            {"Haus Baum, Zelt und Auto", "Mond " + QByteArray::number(n * 1111)});
        TestDatabase::write(database.textPath(), text);
        const QByteArray earlier = "Altlast\r\n\xC3\x84ltere Liste\r\n";
        StopAtYield count;
        QCOMPARE(database.build(ListKind::WordsAndPhrases, 64, count.run()).status,
                 ListBuildStatus::Written);
        QVERIFY(count.yields > 50);
        for (int stopAt = 1; stopAt <= count.yields; ++stopAt) {
            TestDatabase::write(database.listPath(), earlier);
            StopAtYield stop{stopAt};
            const auto outcome = database.build(ListKind::WordsAndPhrases, 64, stop.run());
            QCOMPARE(outcome.status, ListBuildStatus::Stopped);
            QCOMPARE(TestDatabase::read(database.listPath()), earlier);
            QCOMPARE(database.pieceFiles(), QStringList());
            QCOMPARE(QDir(database.data()).entryList(QDir::Files).size(), 3);
        }
    }

    void onlyItsOwnPiecesAreRead() {
        TestDatabase database;
        TestDatabase::write(database.textPath(), textOf({"Eigenes Wort"}));
        const QString temp = database.tempFolder();
        TestDatabase::write(temp + QStringLiteral("Andere_UTF8Dokument91001.txt"), "Fremdwort\r\n");
        TestDatabase::write(temp + QStringLiteral("Andere_utf8_91001.txt"), "Fremdwort\r\n");
        TestDatabase::write(temp + QStringLiteral("Notizen.txt"), "Notizwort\r\n");
        TestDatabase::write(temp + QStringLiteral("SplitDokument002.txt"), "Altlast\r\n");
        TestDatabase::write(temp + QStringLiteral("SplitDokument1000.txt"), "Altlast\r\n");
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::Written);
        QCOMPARE(TestDatabase::read(database.listPath()), QByteArray("Eigenes\r\nWort\r\n"));
        QCOMPARE(
            QDir(temp).entryList(QDir::Files),
            (QStringList{"Andere_utf8_91001.txt", "Andere_UTF8Dokument91001.txt", "Notizen.txt"}));
    }

    void progressOfTheBar() {
        TestDatabase database;
        QByteArray text;
        for (int n = 0; n < 12; ++n)
            text += "Zeile " + QByteArray::number(n) + "\r\n";
        TestDatabase::write(database.textPath(), text);
        QList<int> positions;
        const auto outcome =
            database.build(ListKind::Words, 5, {}, [&positions](const lists::ListProgress& bar) {
                QCOMPARE(bar.minimum, 0);
                QCOMPARE(bar.maximum, 500);
                positions.append(bar.position);
            });
        QCOMPARE(outcome.status, ListBuildStatus::Written);
        QCOMPARE(positions,
                 (QList<int>{20, 70, 120, 170, 220, 270, 320, 370, 420, 470, 500, 500, 500}));
    }

    void noTextToSort() {
        TestDatabase database;
        TestDatabase::write(database.listPath(), "Altlast\r\n");
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::NoDocuments);
        QCOMPARE(lists::noDocumentsMessage(QStringLiteral("Test")),
                 QStringLiteral("Für die Datenbank \"Test\" existieren keine Dokumente, die "
                                "sortiert werden könnten!"));
        TestDatabase::write(database.textPath(), " \r\n ");
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::NothingToSort);
        QCOMPARE(TestDatabase::read(database.listPath()), QByteArray("Altlast\r\n"));
        TestDatabase::write(database.textPath(), " \r\n  ");
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::Written);
        QCOMPARE(TestDatabase::read(database.listPath()), QByteArray());
    }

    // Groups beyond the memory budget go to run files and are merged: the
    // list is the same, byte for byte and count for count, as one sorted in
    // memory. The items include case variants whose first form comes in an
    // early run, items the collator finds equal, and lead bytes that the
    // lower-case rule takes for one another.
    void aListBeyondTheBudgetIsTheSame() {
        TestDatabase database;
        QByteArray text = textOf({"HAUSTIER Mauer \xC3\x84pfel, \xC3\xA3pfel"});
        for (int n = 0; n < 90000; ++n) {
            QByteArray word = QByteArray::number(n * 7919 % 100003, 36);
            // Most in group 1, so it has more runs than are merged at once.
            word = "abcdefghijklmnopqrstuvwxyz"[n % 8] + word;
            text += word + (n % 3 == 0 ? " Haustier, " : " ") + word.toUpper() + " Ha\xC2\xADus" +
                    (n % 11 == 0 ? "\r\n" : " ");
        }
        text += textOf({"", "haustier MAUER \xE3\x84pfel, B\xC3\xA4ume"});
        text += blockOf("D:\\Texte\\a.odt", {"Ende der Liste, wie immer"});
        TestDatabase::write(database.textPath(), text);
        for (ListKind kind : {ListKind::Words, ListKind::WordsAndPhrases}) {
            const auto inMemory = database.build(kind);
            QCOMPARE(inMemory.status, ListBuildStatus::Written);
            const QByteArray expected = TestDatabase::read(database.listPath());
            QVERIFY(expected.contains("\r\nHAUSTIER\r\n"));
            QVERIFY(!expected.contains("\r\nhaustier\r\n"));
            // A budget of one byte writes a run every 1024 items: more runs
            // than are merged at once, so they are merged in batches too.
            const auto spilled = database.build(kind, 200000, {}, {}, QStringLiteral("Test"), 1);
            QCOMPARE(spilled.status, ListBuildStatus::Written);
            QCOMPARE(TestDatabase::read(database.listPath()), expected);
            QCOMPARE(spilled.itemsPerGroup, inMemory.itemsPerGroup);
            QCOMPARE(QDir(database.tempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList());
        }
    }

    // The groups themselves: with a budget of one byte every 1024 items go
    // to a run, and the list is the one sorted in memory.
    void boundedGroupsSpillAndMerge() {
        QTemporaryDir folder;
        lists::BoundedGroups spilled(folder.path(), 1);
        lists::ListGroups inMemory;
        for (int n = 0; n < 40000; ++n) {
            const std::string item = (n % 2 ? "Wort" : "WORT") + std::to_string(n % 35000);
            QVERIFY(spilled.add(n % 3 == 0 ? 4 : 0, item));
            inMemory[n % 3 == 0 ? 4 : 0].add(item);
        }
        QVERIFY(spilled.spills() >= 39);
        const std::array<qsizetype, lists::kGroupCount> expectedCounts{
            qsizetype(inMemory[0].size()), 0, 0, 0, qsizetype(inMemory[4].size())};
        const QCollator collator = lists::listCollator(QLocale());
        const auto always = [] { return true; };
        std::array<qsizetype, lists::kGroupCount> counts{};
        QCOMPARE(spilled.write(folder.filePath("spilled.txt"), collator, always, counts).error,
                 QString());
        QCOMPARE(
            lists::writeSortedList(folder.filePath("memory.txt"), inMemory, collator, always).error,
            QString());
        QCOMPARE(TestDatabase::read(folder.filePath("spilled.txt")),
                 TestDatabase::read(folder.filePath("memory.txt")));
        QCOMPARE(counts, expectedCounts);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 (QStringList{"memory.txt", "spilled.txt"}));
    }

    // Lines of many megabytes are gone over in steps: they give the words
    // that the same words on lines of their own give, and a decoration mark
    // across the border of two steps still drops its whole line.
    void longLinesGiveTheSameList() {
        TestDatabase database;
        QByteArray longLine;
        QByteArray shortLines;
        // Words of three letters give nothing; a word of its own every few
        // kilobytes, across both steps.
        for (int n = 0; longLine.size() < (9 << 19); ++n) {
            const QByteArray word = "Wort" + QByteArray::number(n * 7919, 36);
            longLine += word + (n % 7 ? " " : ", ") + QByteArray("abc ").repeated(2000);
            shortLines += word + "\r\n";
        }
        QByteArray decorated(4 << 20, 'x');
        decorated.replace(0, 12, "Einzigartig ");
        decorated.replace((4 << 20) - 2, 5, "=====");
        TestDatabase::write(database.textPath(), shortLines);
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::Written);
        const QByteArray expected = TestDatabase::read(database.listPath());
        TestDatabase::write(database.textPath(), longLine + "\r\n" + decorated + "\r\n" + longLine);
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::Written);
        QCOMPARE(TestDatabase::read(database.listPath()), expected);
    }

    // Stopped while its runs are merged, a build beyond the budget writes
    // nothing and leaves no file behind.
    void aStoppedBuildBeyondTheBudgetKeepsTheEarlierList() {
        TestDatabase database;
        QByteArray text;
        for (int n = 0; n < 6000; ++n)
            text += "Wort" + QByteArray::number(n) + " Satz" + QByteArray::number(n) + "\r\n";
        TestDatabase::write(database.textPath(), text);
        StopAtYield count;
        QCOMPARE(database.build(ListKind::Words, 100000, count.run(), {}, QStringLiteral("Test"), 1)
                     .status,
                 ListBuildStatus::Written);
        const QByteArray earlier = "Altlast\r\n";
        for (int stopAt : {count.yields - 1, count.yields - 3, count.yields - 6}) {
            TestDatabase::write(database.listPath(), earlier);
            StopAtYield stop{stopAt};
            QCOMPARE(
                database.build(ListKind::Words, 100000, stop.run(), {}, QStringLiteral("Test"), 1)
                    .status,
                ListBuildStatus::Stopped);
            QCOMPARE(TestDatabase::read(database.listPath()), earlier);
            QCOMPARE(QDir(database.tempFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                     QStringList());
        }
    }

    // Two builds at once (here the second in the middle of the first) each
    // cut and read their own pieces, and each list is right.
    void twoBuildsAtOnceKeepTheirPieces() {
        TestDatabase database;
        QByteArray first;
        QByteArray second;
        for (int n = 0; n < 40; ++n) {
            first += "Erster" + QByteArray::number(n) + " Haus\r\n";
            second += "Zweiter" + QByteArray::number(n) + " Baum\r\n";
        }
        TestDatabase::write(database.textPath(), first);
        TestDatabase::write(database.data() + QStringLiteral("Zweite.dat"),
                            "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\n");
        TestDatabase::write(database.data() + QStringLiteral("Zweite_UTF8Dokument.txt"), second);
        const QString secondList =
            database.data() + QStringLiteral("Zweite_Phrasen_Woerter_Utf8Liste.txt");
        QCOMPARE(database.build(ListKind::Words, 30, {}, {}, QStringLiteral("Zweite")).status,
                 ListBuildStatus::Written);
        const QByteArray expectedSecond = TestDatabase::read(secondList);
        QCOMPARE(database.build(ListKind::Words, 30).status, ListBuildStatus::Written);
        const QByteArray expectedFirst = TestDatabase::read(database.listPath());
        QVERIFY(QFile::remove(secondList));
        QVERIFY(QFile::remove(database.listPath()));

        int yields = 0;
        bool secondRan = false;
        platform::RunContext run;
        run.onCheckpoint = [&] {
            if (++yields != 20)
                return;
            QCOMPARE(database.build(ListKind::Words, 30, {}, {}, QStringLiteral("Zweite")).status,
                     ListBuildStatus::Written);
            secondRan = true;
        };
        QCOMPARE(database.build(ListKind::Words, 30, run).status, ListBuildStatus::Written);
        QVERIFY(secondRan);
        QCOMPARE(TestDatabase::read(database.listPath()), expectedFirst);
        QCOMPARE(TestDatabase::read(secondList), expectedSecond);
    }

    // A build of a database that another run holds is refused and changes
    // nothing; so is a name that is not one a database can have.
    void aHeldDatabaseOrAHostileNameIsRefused() {
        TestDatabase database;
        TestDatabase::write(database.textPath(), textOf({"Haus Baum"}));
        TestDatabase::write(database.listPath(), "Altlast\r\n");
        {
            database::DatabaseLock held;
            QVERIFY(held.acquire(database.directory(), QStringLiteral("Test")));
            const auto outcome = database.build(ListKind::Words);
            QCOMPARE(outcome.status, ListBuildStatus::Refused);
            QCOMPARE(outcome.error,
                     QStringLiteral("Die Datenbank \"Test\" wird gerade von einem anderen "
                                    "Vorgang bearbeitet (Indizierung, Sortierung, Positionsliste "
                                    "oder Löschen). Es wurde nichts geändert. Bitte versuchen Sie "
                                    "es später noch einmal."));
            QCOMPARE(TestDatabase::read(database.listPath()), QByteArray("Altlast\r\n"));
        }
        QCOMPARE(database.build(ListKind::Words).status, ListBuildStatus::Written);
        const auto hostile =
            database.build(ListKind::Words, lists::kPieceSize, {}, {}, QStringLiteral("../Test"));
        QCOMPARE(hostile.status, ListBuildStatus::Refused);
        QVERIFY(hostile.error.startsWith(QStringLiteral("Der Name der Datenbank ist ungültig")));
    }

    void failedWriteIsReported() {
        TestDatabase database;
        TestDatabase::write(database.textPath(), textOf({"Haus Baum", "Zelt"}));
        QVERIFY(QDir().mkpath(database.listPath())); // a folder where the list belongs
        const auto outcome = database.build(ListKind::Words, 4);
        QCOMPARE(outcome.status, ListBuildStatus::Failed);
        QVERIFY2(outcome.error.startsWith(QStringLiteral("Die sortierte Liste \"")),
                 qPrintable(outcome.error));
        QCOMPARE(database.pieceFiles(), QStringList());
    }
};

QObject* makeListBuilderTest() {
    return new ListBuilderTest;
}

#include "builder_test.moc"
