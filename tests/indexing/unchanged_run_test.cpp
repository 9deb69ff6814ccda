// A re-index over documents that did not change leaves the database as it
// is and writes the log; any change makes it a whole run again.
#include "run_fixture.h"
#include "test_support.h"

#include "indexing/checksum.h"

#include <QLocale>
#include <QTest>

#include <filesystem>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using namespace runfixture;

namespace {

// The fixture corpus without its listed document that does not exist: a
// document the builder cannot open is announced in every run, so such a
// database is never taken as unchanged.
void fillOpenableCorpus(Drive& drive) {
    fillCorpus(drive);
    drive.list.replace("\" fehlt.odt\r\n", "");
}

// Where and when a file was last written: a file written anew, even with the
// same bytes, gets another inode from the rename that puts it in place.
struct FileIdentity {
    quint64 inode = 0;
    qint64 modified = 0;
    bool operator==(const FileIdentity&) const = default;
};

FileIdentity identityOf(const QString& path) {
#ifdef Q_OS_WIN
    // The file index is the inode of NTFS; the write time counts 100 ns.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    if (!read)
        return {};
    return {
        (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
        ((qint64(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime) *
            100};
#else
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {quint64(info.st_ino),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
#endif
}

QStringList withoutCaptions(QStringList events) {
    events.removeIf([](const QString& event) { return event.startsWith("caption: "); });
    return events;
}

void setModified(const QString& path, qint64 secondsSinceEpoch) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch),
                             QFileDevice::FileModificationTime));
}

} // namespace

class UnchangedRunTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The text, the document list and the cache keep their bytes and are not
    // written again; the log, the counts and the messages are those of a
    // whole run (the unreadable container included).
    void anUnchangedReindexWritesOnlyTheLog() {
        Drive drive;
        fillOpenableCorpus(drive);
        Program program;
        const Outcome first = program.run(drive, 2);
        QVERIFY(first.ok);
        QVERIFY(!program.keptUnchanged);
        const QStringList kept = {"P_UTF8Dokument.txt", "P.dat", "P_Textcache.bin"};
        QList<FileIdentity> before;
        for (const QString& file : kept)
            before.append(identityOf(program.database(file)));
        const FileIdentity logBefore = identityOf(program.database("P.log"));

        const Outcome again = program.run(drive, 2);
        QVERIFY(program.keptUnchanged);
        QVERIFY(again.ok);
        QCOMPARE(again.text, first.text);
        QCOMPARE(again.documentList, first.documentList);
        QCOMPARE(again.log, first.log);
        QCOMPARE(again.unreadable, QStringList{"D:\\Texte\\Ordner\\Kaputt.docx"});
        QCOMPARE(again.passwordProtected,
                 (QStringList{"D:\\Texte\\Ordner\\Geheim.docx", "D:\\Texte\\Ordner\\Geheim.odt"}));
        QCOMPARE(withoutCaptions(again.events), withoutCaptions(first.events));
        for (qsizetype i = 0; i < kept.size(); ++i)
            QVERIFY2(identityOf(program.database(kept.at(i))) == before.at(i),
                     qPrintable(kept.at(i)));
        QVERIFY(!(identityOf(program.database("P.log")) == logBefore));

        // And once more: keeping the database keeps it unchanged.
        QCOMPARE(program.run(drive, 1).text, first.text);
        QVERIFY(program.keptUnchanged);
    }

    // Whatever the change, the re-index is a whole run and writes what a run
    // into a fresh program directory writes.
    void anyChangeMakesAWholeRun_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("a document touched") << "touch";
        QTest::newRow("a document added to the list") << "add";
        QTest::newRow("the exclusion list") << "exclude";
        QTest::newRow("the split limit") << "split";
        QTest::newRow("the database text edited, time kept") << "edit text";
        QTest::newRow("the database text touched") << "touch text";
        QTest::newRow("the document list edited") << "edit list";
        QTest::newRow("the last run was aborted") << "abort";
        QTest::newRow("the cache gone") << "no cache";
    }
    void anyChangeMakesAWholeRun() {
        QFETCH(QString, change);
        Drive drive;
        fillOpenableCorpus(drive);
        Program program;
        qint64 splitLimit = indexing::kDefaultSplitLimit;
        if (change == "abort") {
            program.run(drive, 2, splitLimit, [](indexing::IndexRun& run, const QString&) {
                if (run.indexedDocuments() == 3)
                    run.requestAbort();
            });
        } else {
            QVERIFY(program.run(drive, 2).ok);
        }

        const QString text = program.database("P_UTF8Dokument.txt");
        if (change == "touch") {
            drive.setModified("D:\\Texte\\Ordner\\d03.odt", 1'700'000'000);
        } else if (change == "add") {
            drive.addDocument("D:\\Texte\\Ordner\\neu.odt", paragraphs("Neu", 3));
            drive.list += "\" neu.odt\r\n";
        } else if (change == "exclude") {
            writeAll(program.path() + "AusnahmeIndizierung.txt", "d07\r\n");
        } else if (change == "split") {
            splitLimit = kSmallSplitLimit;
        } else if (change == "edit text") {
            // Same size, same time to the nanosecond: only the check sum
            // can tell.
            const std::filesystem::path native = text.toStdString();
            const auto time = std::filesystem::last_write_time(native);
            QByteArray bytes = readAll(text);
            bytes[bytes.indexOf("Dokument 4") + 9] = '5';
            QVERIFY(writeAll(text, bytes));
            std::filesystem::last_write_time(native, time);
        } else if (change == "touch text") {
            setModified(text, 1'600'000'000);
        } else if (change == "edit list") {
            QByteArray list = readAll(program.database("P.dat"));
            list.replace("pandoc.odt", "pandoc.ODT");
            QVERIFY(writeAll(program.database("P.dat"), list));
        } else if (change == "no cache") {
            QVERIFY(QFile::remove(program.database("P_Textcache.bin")));
        }

        Program fresh;
        writeAll(fresh.path() + "AusnahmeIndizierung.txt",
                 readAll(program.path() + "AusnahmeIndizierung.txt"));
        const Outcome expected = fresh.run(drive, 1, splitLimit);
        const Outcome got = program.run(drive, 2, splitLimit);
        QVERIFY(!program.keptUnchanged);
        QCOMPARE(got.events, expected.events);
        QVERIFY(got == expected);
    }

    // The check sum that tells whether the text is the one the cache
    // describes: CRC-32C with its published check values, the same when
    // summed piece by piece at any cut (the processor's instruction takes
    // eight bytes at a time, the rest one by one).
    void theChecksumIsCrc32c_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<quint32>("crc");
        QTest::newRow("empty") << QByteArray() << quint32(0);
        QTest::newRow("check") << QByteArray("123456789") << quint32(0xE3069283);
        QTest::newRow("32 zeros") << QByteArray(32, '\0') << quint32(0x8A9136AA);
        QTest::newRow("32 x FF") << QByteArray(32, '\xFF') << quint32(0x62A8AB43);
    }
    void theChecksumIsCrc32c() {
        QFETCH(QByteArray, bytes);
        QFETCH(quint32, crc);
        QCOMPARE(indexing::extendCrc32c(0, bytes), crc);
        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            const quint32 first = indexing::extendCrc32c(0, QByteArrayView(bytes).first(cut));
            QCOMPARE(indexing::extendCrc32c(first, QByteArrayView(bytes).sliced(cut)), crc);
        }
    }
};

QTEST_GUILESS_MAIN(UnchangedRunTest)
#include "unchanged_run_test.moc"
