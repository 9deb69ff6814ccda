#include "run_fixture.h"
#include "test_support.h"

#include "database/catalogue.h"
#include "database/part_files.h"
#include "indexing/index_run.h"
#include "platform/native_file_name.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <thread>
#include <tuple>

using namespace runfixture;
using testsupport::readAll;
using testsupport::writeAll;

class ParallelRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // One thread, several, and a re-index from the text cache write the same
    // bytes, split at the same places, and say the same things in the same
    // order.
    void sameBytesWithAnyThreadsAndFromTheCache() {
        Drive drive;
        fillCorpus(drive);
        Program sequential;
        const Outcome expected = sequential.run(drive, 1, kSmallSplitLimit);
        QVERIFY(expected.ok);
        QVERIFY(expected.parts.size() > 3);
        QVERIFY(expected.text.contains("Gross Absatz 399"));
        QCOMPARE(expected.unreadable, QStringList{"D:\\Texte\\Ordner\\Kaputt.docx"});
        QCOMPARE(expected.passwordProtected,
                 (QStringList{"D:\\Texte\\Ordner\\Geheim.docx", "D:\\Texte\\Ordner\\Geheim.odt"}));
        QVERIFY(
            expected.events.contains("notice: <D:\\Texte\\Ordner\\Kaputt.docx> invalid zipfile"));
        QVERIFY(
            expected.events.contains("notice: <D:\\Texte\\Ordner\\Geheim.odt> passwortgeschützt"));
        QVERIFY(!expected.text.contains("Geheim"));
        const qsizetype missing =
            expected.events.indexOf("notice: <D:\\Texte\\Ordner\\fehlt.odt> nicht mehr vorhanden");
        QVERIFY(missing > 0);
        QCOMPARE(expected.events.at(missing - 1),
                 QString("notice: <D:\\Texte\\Ordner\\Kaputt.docx> invalid zipfile"));
        QVERIFY(expected.events.at(missing - 2).endsWith("Datei:  D:\\Texte\\Ordner\\gross.odt"));
        QVERIFY(QFile::exists(sequential.database("P_Textcache.bin")));

        for (int threads : {2, 8}) {
            Program parallel;
            QCOMPARE(parallel.run(drive, threads, kSmallSplitLimit), expected);
            // The second run takes every document from the cache.
            QCOMPARE(parallel.run(drive, threads, kSmallSplitLimit), expected);
        }
        QCOMPARE(sequential.run(drive, 1, kSmallSplitLimit), expected);
        QCOMPARE(sequential.run(drive, 4, kSmallSplitLimit), expected);
    }

    // A document is cut where its count has reached the limit and the
    // scanner has a further part, be it a line or only a tag; with no part
    // after it, the lines wait for the end of the document. Threads and
    // the cache (which keeps whether a part followed) cut at the same places.
    void splitPointsFollowTheScannerParts_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QList<QByteArray>>("parts");
        const QByteArray a = " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==============\r\n";
        const QByteArray b = " \r\n \r\n \r\n#D:\\Texte\\b.odt\r\n==============\r\n";
        QTest::newRow("an end tag follows the line that reaches the limit")
            << kDecl + "<p>aaaa</p>" << QList<QByteArray>{a + "aaaa\r\n", b + "bb\r\n", ""};
        QTest::newRow("nothing follows it") << kDecl + "<p>aaaa" << QList<QByteArray>{};
        QTest::newRow("a line follows it")
            << kDecl + "<p>aaaa</p><p>c</p>"
            << QList<QByteArray>{a + "aaaa\r\n", "c\r\n", b + "bb\r\n", ""};
    }
    void splitPointsFollowTheScannerParts() {
        QFETCH(QByteArray, first);
        QFETCH(QList<QByteArray>, parts);
        Drive drive;
        drive.addContent("D:\\Texte\\a.odt", first);
        drive.addContent("D:\\Texte\\b.odt", kDecl + "<p>bb");
        drive.list = "D:\\Texte\\a.odt\r\n\" b.odt\r\n";
        for (int threads : {1, 4}) {
            Program program;
            const Outcome built = program.run(drive, threads, 4);
            QCOMPARE(built.parts, parts);
            QVERIFY(built.text.endsWith("#D:\\Texte\\b.odt\r\n==============\r\nbb\r\n"));
            program.touchDatabaseText();
            QCOMPARE(program.run(drive, threads, 4), built);
        }
    }

    // Whatever changed since the last run, a re-index writes what a run over
    // a fresh program directory writes.
    void reindexAfterChangesEqualsAFullRun() {
        Drive drive;
        fillCorpus(drive);
        Program incremental;
        QVERIFY(incremental.run(drive, 2).ok);
        auto sameAsFresh = [&](const char* what, qint64 splitLimit = indexing::kDefaultSplitLimit) {
            Program fresh;
            writeAll(fresh.path() + "AusnahmeIndizierung.txt",
                     readAll(incremental.path() + "AusnahmeIndizierung.txt"));
            const Outcome expected = fresh.run(drive, 1, splitLimit);
            const Outcome got = incremental.run(drive, 2, splitLimit);
            QCOMPARE(got.events, expected.events);
            QVERIFY2(got == expected, what);
        };

        sameAsFresh("unchanged");
        drive.addDocument("D:\\Texte\\Ordner\\d03.odt", paragraphs("Geaendert", 5));
        drive.setModified("D:\\Texte\\Ordner\\d03.odt", 1'700'000'000);
        sameAsFresh("content and size changed");
        drive.setModified("D:\\Texte\\Ordner\\d03.odt", 1'700'000'100);
        sameAsFresh("only touched");
        drive.addDocument("D:\\Texte\\Ordner\\neu.odt", paragraphs("Neu", 3));
        drive.list += "\" neu.odt\r\n";
        sameAsFresh("added");
        QVERIFY(QFile::rename(drive.native("D:\\Texte\\Ordner\\d05.odt"),
                              drive.native("D:\\Texte\\Ordner\\umbenannt.odt")));
        drive.list.replace("\" d05.odt\r\n", "\" umbenannt.odt\r\n");
        sameAsFresh("renamed");
        QVERIFY(QFile::remove(drive.native("D:\\Texte\\Ordner\\d06.odt")));
        drive.list.replace("\" d06.odt\r\n", "");
        sameAsFresh("removed");
        writeAll(incremental.path() + "AusnahmeIndizierung.txt", "d07\r\npandoc\r\n");
        sameAsFresh("exclusion list");
        writeAll(incremental.path() + "AusnahmeIndizierung.txt", "");
        sameAsFresh("exclusion list emptied");
        sameAsFresh("split limit", kSmallSplitLimit);
        sameAsFresh("split limit again", 900);
        drive.addDocument("D:\\Texte\\Ordner\\Kaputt.docx", paragraphs("Repariert", 2));
        sameAsFresh("broken container repaired");
    }

    // The cache is keyed by the stamp of the document: a document changed
    // without a new size or time keeps its old text. That makes visible
    // whether the cache was used, and a damaged cache must not be.
    void damagedCacheIsIgnored_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a byte of the entry's text") << "flip";
        QTest::newRow("cut short") << "truncate";
        QTest::newRow("another version") << "version";
        QTest::newRow("not a cache") << "garbage";
        QTest::newRow("empty") << "empty";
    }
    void damagedCacheIsIgnored() {
        QFETCH(QString, damage);
        Drive drive;
        fillCorpus(drive);
        Program program;
        QVERIFY(program.run(drive, 2).ok);

        // Garbage of the same size and time: to the cache the document has
        // not changed, so it answers with the text it keeps.
        const QString doc = "D:\\Texte\\Ordner\\d04.odt";
#ifdef Q_OS_WIN
        // The MinGW runtime sets a file time to the second; Qt keeps the
        // milliseconds that the Windows cache compares.
        const QFileInfo before(drive.native(doc));
        const QDateTime modified = before.lastModified();
        QVERIFY(writeAll(drive.native(doc), QByteArray(before.size(), 'x')));
        QFile touched(drive.native(doc));
        QVERIFY(touched.open(QIODevice::ReadWrite));
        QVERIFY(touched.setFileTime(modified, QFileDevice::FileModificationTime));
        touched.close();
#else
        const std::filesystem::path native = drive.native(doc).toStdString();
        const auto size = std::filesystem::file_size(native);
        const auto modified = std::filesystem::last_write_time(native);
        QVERIFY(writeAll(drive.native(doc), QByteArray(qsizetype(size), 'x')));
        std::filesystem::last_write_time(native, modified);
#endif
        const Outcome fromCache = program.run(drive, 2);
        QVERIFY(fromCache.text.contains("Dokument 4 Absatz 28"));
        QCOMPARE(fromCache.unreadable, QStringList{"D:\\Texte\\Ordner\\Kaputt.docx"});

        const QString cachePath = program.database("P_Textcache.bin");
        QByteArray cache = readAll(cachePath);
        if (damage == "flip") {
            const qsizetype at = cache.indexOf("Dokument 4 Absatz 17");
            QVERIFY(at > 0);
            cache[at + 3] = 'X';
        } else if (damage == "truncate") {
            cache.chop(7);
        } else if (damage == "version") {
            cache[12] = char(cache[12] + 1);
        } else if (damage == "garbage") {
            cache = QByteArray(4096, 'x');
        } else {
            cache.clear();
        }
        QVERIFY(writeAll(cachePath, cache));

        Program fresh;
        const Outcome expected = fresh.run(drive, 1);
        QVERIFY(!expected.text.contains("Dokument 4 Absatz"));
        QVERIFY(expected.unreadable.contains(doc));
        QCOMPARE(program.run(drive, 2), expected);
        // The cache was written anew and serves the next run.
        QVERIFY(!readAll(cachePath).contains("Dokument 4 Absatz"));
        QCOMPARE(program.run(drive, 1), expected);
    }

#ifdef Q_OS_UNIX
    // Two names that differ only in bytes that are not UTF-8, with the same
    // size and time: the cache must not take one for the other.
    void namesThatAreNotUtf8StayApart() {
        Drive drive;
        const std::filesystem::path folder = drive.native("D:\\Texte").toStdString();
        std::filesystem::create_directories(folder);
        QByteArray first;
        QByteArray second;
        for (const auto& [name, letter, bytes] : {std::tuple{"a\xff.odt", 'X', &first}, std::tuple {
                                                      "a\xfe.odt",
                                                      'Y',
                                                      &second
                                                  }}) {
            QTemporaryDir scratch;
            QVERIFY(testsupport::makeZip(scratch.filePath("d.odt"),
                                         {{ "content.xml",
                                            kDecl + "<p>" + QByteArray(40, letter) + "</p>" }}));
            *bytes = readAll(scratch.filePath("d.odt"));
            QFile file;
            QVERIFY(platform::openNativeFile(
                file,
                platform::fileNameFromNative(QByteArray(QByteArray(folder.c_str()) + "/" + name)),
                QIODevice::WriteOnly));
            QCOMPARE(file.write(*bytes), bytes->size());
        }
        QCOMPARE(first.size(), second.size());
        const auto time = std::filesystem::last_write_time(folder / "a\xff.odt");
        std::filesystem::last_write_time(folder / "a\xfe.odt", time);
        drive.list = "D:\\Texte\\a\xED\xB3\xBF.odt\r\n\" a\xED\xB3\xBE.odt\r\n";

        Program program;
        const Outcome built = program.run(drive, 1);
        QVERIFY(built.text.contains(QByteArray(40, 'X')));
        QVERIFY(built.text.contains(QByteArray(40, 'Y')));
        program.touchDatabaseText();
        const Outcome again = program.run(drive, 2);
        // QTemporaryDir cannot remove names it cannot decode.
        std::filesystem::remove(folder / "a\xff.odt");
        std::filesystem::remove(folder / "a\xfe.odt");
        QCOMPARE(again, built);
    }
#endif

    // A database from before the cache existed is indexed in full once and
    // then has a cache; deleting the database deletes the cache.
    void databaseWithoutCacheGetsOne() {
        Drive drive;
        fillCorpus(drive);
        Program program;
        const Outcome first = program.run(drive, 2);
        QVERIFY(QFile::remove(program.database("P_Textcache.bin")));
        QCOMPARE(program.run(drive, 2), first);
        QVERIFY(QFile::exists(program.database("P_Textcache.bin")));
        database::deleteDatabaseFiles(program.path(), "P");
        QVERIFY(!QFile::exists(program.database("P_Textcache.bin")));
        QVERIFY(!QFile::exists(program.database("P.dat")));
    }

    // The close button while the third document is shown: every thread count
    // keeps the same documents, and the abort takes effect before the fourth.
    void abortKeepsTheSameDocuments() {
        Drive drive;
        fillCorpus(drive);
        auto abortAtThird = [](indexing::IndexRun& run, const QString& caption) {
            if (caption.startsWith("3  Datei:  "))
                run.requestAbort();
        };
        Program sequential;
        const Outcome expected = sequential.run(drive, 1, kSmallSplitLimit, abortAtThird);
        QVERIFY(expected.text.contains("#D:\\Texte\\pandoc.docx\r\n"));
        QVERIFY(!expected.text.contains("#D:\\Texte\\pandoc.epub\r\n"));
        QVERIFY(expected.events.contains(
            "status: Indizierung wurde abgebrochen! Die Daten werden gespeichert"));
        for (int threads : {2, 8}) {
            Program parallel;
            QCOMPARE(parallel.run(drive, threads, kSmallSplitLimit, abortAtThird), expected);
        }
        // The aborted run's cache holds what it read; the next full run is
        // whole again.
        Program fresh;
        QCOMPARE(sequential.run(drive, 2), fresh.run(drive, 1));
    }

    void threadCountFromTheSettings_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("explicitThreads");
        QTest::addColumn<int>("expected");
        const int cores = std::max(1, int(std::thread::hardware_concurrency()));
        QTest::newRow("not set") << "" << 0 << cores;
        QTest::newRow("stored") << "3" << 0 << 3;
        QTest::newRow("not a number") << "viele" << 0 << cores;
        QTest::newRow("zero") << "0" << 0 << cores;
        QTest::newRow("too many") << "1000" << 0 << 64;
        QTest::newRow("the command line wins") << "3" << 5 << 5;
    }
    void threadCountFromTheSettings() {
        QFETCH(QString, stored);
        QFETCH(int, explicitThreads);
        QFETCH(int, expected);
        Program program;
        program.settings.write("Indizierung_Threads", stored);
        platform::DriveMap drives;
        indexing::IndexRun run(program.path(), drives, program.settings, {});
        run.setThreads(explicitThreads);
        QCOMPARE(run.threadCount(), expected);
    }
};

QTEST_GUILESS_MAIN(ParallelRunTest)
#include "parallel_run_test.moc"
