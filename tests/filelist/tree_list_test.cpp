#include "test_registry.h"
#include "tree_fixture.h"

#include "filelist/list_lines.h"
#include "filelist/list_writer.h"
#include "filelist/pseudo_file_systems.h"
#include "filelist/tree_walker.h"
#include "platform/drive_map.h"
#include "platform/native_file_name.h"
#include "textio/utf8.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <linux/capability.h>
#include <sys/syscall.h>

using namespace filelist;

namespace {

// Root reads every directory whatever its mode. To see how the walk treats
// one it may not read, the test thread gives up the two capabilities that
// allow that for as long as this object lives (threads started meanwhile
// inherit the reduced set).
class WithoutReadOverride {
public:
    WithoutReadOverride() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutReadOverride() {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

QByteArray listOf(const QString& root, int threads, WalkResult* walked = nullptr) {
    QByteArray out;
    WalkOptions options;
    options.threads = threads;
    const WalkResult result =
        walkTree(QFile::encodeName(root), "T:\\", options,
                 [&](QByteArrayView directory, const std::vector<QByteArray>& names) {
                     appendDirectoryLines(out, directory, names);
                 });
    if (walked)
        *walked = result;
    return out;
}

// Reads a drive file list the way the index run does: a full line sets the
// directory (up to its last backslash or colon), a ditto line names a further
// file there. Gives the Windows-form path of every file.
QStringList pathsOfList(const QByteArray& list) {
    QStringList paths;
    QString directory;
    for (QByteArray line : list.split('\n')) {
        if (line.isEmpty())
            continue;
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = textio::utf8DecodeLenient(line);
        if (text.startsWith(QStringLiteral("\" "))) {
            paths.append(directory + text.mid(2));
            continue;
        }
        const qsizetype cut =
            std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char(':')));
        directory = text.left(cut + 1);
        paths.append(text);
    }
    return paths;
}

} // namespace

class TreeListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Nested folders, umlauts and blanks, an empty folder, a link loop, a link
    // to a file and a folder nobody may read.
    void generatedTreeGivesTheExactList() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path());
        for (const char* d : {"/leer", "/Ärger", "/texte", "/texte/Kapitel 1", "/gesperrt", "/b"})
            QVERIFY(fixture::makeDirectory(r + d));
        for (const char* f : {"/Zeta.odt", "/alpha.txt", "/Übersicht.odt", "/Brief an Anna.odt",
                              "/Ärger/b.odt", "/Ärger/A.odt", "/texte/Kapitel 1/eins.odt",
                              "/texte/Kapitel 1/zwei.docx", "/gesperrt/geheim.odt", "/b/x.odt"})
            QVERIFY(fixture::makeFile(r + f));
        QVERIFY(fixture::makeSymlink("..", r + "/texte/schleife"));
        QVERIFY(fixture::makeSymlink("../Zeta.odt", r + "/texte/link.odt"));
        QVERIFY(::chmod(QByteArray(r + "/gesperrt").constData(), 0) == 0);

        const QByteArray expected = "T:\\alpha.txt\r\n"
                                    "\" Brief an Anna.odt\r\n"
                                    "\" Zeta.odt\r\n"
                                    "\" Übersicht.odt\r\n"
                                    "T:\\b\\x.odt\r\n"
                                    "T:\\texte\\Kapitel 1\\eins.odt\r\n"
                                    "\" zwei.docx\r\n"
                                    "T:\\Ärger\\A.odt\r\n"
                                    "\" b.odt\r\n";
        for (int threads : {1, 3}) {
            WithoutReadOverride limited;
            WalkResult walked;
            QCOMPARE(listOf(temp.path(), threads, &walked), expected);
            QVERIFY(walked.ok);
            QCOMPARE(walked.files, 9);
            QCOMPARE(walked.skippedDirectories, 1);
        }
        QVERIFY(::chmod(QByteArray(r + "/gesperrt").constData(), 0755) == 0);
    }

    // Many threads read ahead of the consumer; the list must not change.
    void listDoesNotDependOnThreads() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path());
        quint32 seed = 12345;
        auto next = [&] { return seed = seed * 1103515245u + 12345u; };
        std::vector<QByteArray> directories{r};
        for (int i = 0; i < 400; ++i) {
            const QByteArray parent = directories[next() % directories.size()];
            const QByteArray dir = parent + "/D" + QByteArray::number(next() % 1000);
            if (fixture::makeDirectory(dir))
                directories.push_back(dir);
        }
        for (int i = 0; i < 3000; ++i) {
            const QByteArray dir = directories[next() % directories.size()];
            fixture::makeFile(dir + (next() % 2 ? "/f" : "/F") + QByteArray::number(next() % 5000));
        }
        const QByteArray single = listOf(temp.path(), 1);
        QVERIFY(single.count('\n') > 2000);
        for (int threads : {2, 8})
            QCOMPARE(listOf(temp.path(), threads), single);
    }

    // A consumer that does not take anything must not let the readers load
    // the whole tree: they stop at the bound, and the list is still whole.
    void readAheadIsBounded() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path());
        QVERIFY(fixture::makeFile(r + "/wurzel.odt"));
        for (int a = 0; a < 20; ++a) {
            const QByteArray top = r + "/o" + QByteArray::number(a);
            QVERIFY(fixture::makeDirectory(top));
            for (int b = 0; b < 5; ++b) {
                const QByteArray dir = top + "/u" + QByteArray::number(b);
                QVERIFY(fixture::makeDirectory(dir));
                for (int f = 0; f < 20; ++f)
                    QVERIFY(fixture::makeFile(dir + "/f" + QByteArray::number(f) + ".odt"));
            }
        }
        const QByteArray unbounded = listOf(temp.path(), 1);
        QCOMPARE(unbounded.count('\n'), 2001);

        // The consumer's first call waits until the readers report that they
        // hold the bound (or, were there none, until they read everything).
        constexpr qint64 bound = 60;
        std::mutex mutex;
        std::condition_variable changed;
        qint64 held = 0;
        WalkOptions options;
        options.threads = 4;
        options.readAheadNames = bound;
        options.readAheadChanged = [&](qint64 names) {
            std::lock_guard lock(mutex);
            held = std::max(held, names);
            changed.notify_all();
        };
        QByteArray out;
        bool first = true;
        const WalkResult walked =
            walkTree(r, "T:\\", options, [&](QByteArrayView d, const std::vector<QByteArray>& n) {
                if (first) {
                    first = false;
                    std::unique_lock lock(mutex);
                    changed.wait_for(lock, std::chrono::seconds(20), [&] { return held >= bound; });
                }
                appendDirectoryLines(out, d, n);
            });
        QVERIFY(walked.ok);
        QCOMPARE(out, unbounded);
        QVERIFY(walked.peakReadAheadNames >= bound);
        // Each of the three readers may finish the directory it holds: at most
        // 20 names more.
        QVERIFY2(walked.peakReadAheadNames <= bound + 3 * 20,
                 QByteArray::number(walked.peakReadAheadNames));
    }

    // Deeper than one system call takes a path (PATH_MAX).
    void treeDeeperThanPathLimit() {
        fixture::ScratchDir temp;
        const QByteArray component(200, 'v');
        int directory = ::open(QFile::encodeName(temp.path()).constData(), O_RDONLY | O_DIRECTORY);
        QByteArray expected = "T:\\";
        for (int level = 0; level < 25; ++level) {
            QVERIFY(::mkdirat(directory, component.constData(), 0755) == 0);
            const int next = ::openat(directory, component.constData(), O_RDONLY | O_DIRECTORY);
            ::close(directory);
            directory = next;
            QVERIFY(directory >= 0);
            expected += component + "\\";
        }
        const int file = ::openat(directory, "tief.odt", O_WRONLY | O_CREAT, 0644);
        QVERIFY(file >= 0);
        ::close(file);
        ::close(directory);
        QVERIFY(expected.size() > 4096);
        QCOMPARE(listOf(temp.path(), 2), expected + "tief.odt\r\n");
    }

    // Names a Windows-form path or a list line cannot carry as they are.
    void awkwardNamesStillOpen() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path());
        QVERIFY(fixture::makeDirectory(r + "/d\xe9j\xe0"));
        const QList<QByteArray> names = {
            "/d\xe9j\xe0/alt\xfc.odt", // Latin-1 bytes, not UTF-8
            "/a\\b.odt",               // backslash
            "/zeile\neins.odt",        // line break
            "/Notiz 10:30.odt",        // colon
            "/Notiz 11.odt",
        };
        for (const QByteArray& name : names)
            QVERIFY(fixture::makeFile(r + name, name));

        const QByteArray list = listOf(temp.path(), 2);
        const QByteArray expected = "T:\\a\xed\xb1\x9c"
                                    "b.odt\r\n"
                                    "\" Notiz 10:30.odt\r\n"
                                    "\" Notiz 11.odt\r\n"
                                    "\" zeile\xed\xb0\x8a"
                                    "eins.odt\r\n"
                                    "T:\\d\xed\xb3\xa9j\xed\xb3\xa0\\alt\xed\xb3\xbc.odt\r\n";
        QCOMPARE(list, expected);

        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('T'), temp.path());
        const QStringList paths = pathsOfList(list);
        QCOMPARE(paths.size(), names.size());
        for (const QString& path : paths) {
            const auto native = drives.toNative(path);
            QVERIFY(native);
            QFile file;
            QVERIFY2(platform::openNativeFile(file, *native, QIODevice::ReadOnly),
                     qPrintable(path));
            QVERIFY(names.contains(file.readAll()));
        }
    }

    void nativeNamesRoundTrip_data() {
        QTest::addColumn<QByteArray>("native");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QByteArray("Brief.odt") << QStringLiteral("Brief.odt");
        QTest::newRow("utf-8") << QByteArray("\xc3\x9c"
                                             "bersicht")
                               << QStringLiteral("Übersicht");
        QTest::newRow("four-byte utf-8") << QByteArray("\xf0\x9f\x93\x84") << QStringLiteral("📄");
        QTest::newRow("four-byte utf-8, then a stray byte")
            << QByteArray("\xf0\x9f\x93\x84\xff") << QStringLiteral("📄") + QChar(0xDCFF);
        QTest::newRow("latin-1 byte") << QByteArray("\xfc") << QString(QChar(0xDCFC));
        QTest::newRow("encoded surrogate is not utf-8")
            << QByteArray("\xed\xb3\xbc") << fixture::units({0xDCED, 0xDCB3, 0xDCBC});
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << fixture::units({0xDCC0, 0xDCAF});
        QTest::newRow("cut off") << QByteArray("a\xe2\x82")
                                 << fixture::units({u'a', 0xDCE2, 0xDC82});
        QTest::newRow("backslash and CR LF")
            << QByteArray("a\\b\r\n") << fixture::units({u'a', 0xDC5C, u'b', 0xDC0D, 0xDC0A});
    }
    void nativeNamesRoundTrip() {
        QFETCH(QByteArray, native);
        QFETCH(QString, text);
        QCOMPARE(platform::fileNameFromNative(native), text);
        QCOMPARE(platform::nativeFileName(text), native);
        // What the list holds reads back as the same text.
        QCOMPARE(textio::utf8DecodeLenient(platform::listBytesFromNative(native)), text);
    }

    void colonInNameForcesFullLine_data() {
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("plain") << QList<QByteArray>{"a", "b", "c"}
                               << QByteArray("D:\\x\\a\r\n\" b\r\n\" c\r\n");
        QTest::newRow("colon first") << QList<QByteArray>{"1:2", "b", "c"}
                                     << QByteArray("D:\\x\\1:2\r\nD:\\x\\b\r\n\" c\r\n");
        QTest::newRow("colon later")
            << QList<QByteArray>{"a", "1:2", "c"} << QByteArray("D:\\x\\a\r\n\" 1:2\r\n\" c\r\n");
        QTest::newRow("only colons")
            << QList<QByteArray>{"1:", ":2"} << QByteArray("D:\\x\\1:\r\nD:\\x\\:2\r\n");
    }
    void colonInNameForcesFullLine() {
        QFETCH(QList<QByteArray>, names);
        QFETCH(QByteArray, lines);
        QByteArray out;
        appendDirectoryLines(out, "D:\\x\\", std::vector<QByteArray>(names.begin(), names.end()));
        QCOMPARE(out, lines);
        QStringList expectedPaths;
        for (const QByteArray& name : names)
            expectedPaths.append(QStringLiteral("D:\\x\\") + QString::fromUtf8(name));
        QCOMPARE(pathsOfList(out), expectedPaths);
    }

    // A cancelled run and a failed one leave the previous list alone and no
    // temporary file behind.
    void previousListSurvives() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path());
        QVERIFY(fixture::makeDirectory(r + "/tree"));
        for (int i = 0; i < 50; ++i) {
            QVERIFY(fixture::makeDirectory(r + "/tree/d" + QByteArray::number(i)));
            QVERIFY(fixture::makeFile(r + "/tree/d" + QByteArray::number(i) + "/f.odt"));
        }
        QVERIFY(fixture::makeDirectory(r + "/Datenbank"));
        const QString listFile = temp.path() + QStringLiteral("/Datenbank/liste.txt");
        QVERIFY(fixture::makeFile(QFile::encodeName(listFile), "alte Liste\r\n"));

        int polls = 0;
        WalkOptions options;
        options.cancelled = [&] { return ++polls > 10; };
        ListWriteResult result = writeDriveFileList(temp.path() + QStringLiteral("/tree"),
                                                    QLatin1Char('T'), listFile, options);
        QVERIFY(result.cancelled);
        QVERIFY(!result.ok);
        QCOMPARE(fixture::readAll(listFile), QByteArray("alte Liste\r\n"));

        result = writeDriveFileList(temp.path() + QStringLiteral("/fehlt"), QLatin1Char('T'),
                                    listFile, WalkOptions{});
        QVERIFY(!result.ok);
        QVERIFY(result.error.contains(QStringLiteral("kann nicht gelesen werden")));
        QCOMPARE(fixture::readAll(listFile), QByteArray("alte Liste\r\n"));
        QCOMPARE(QDir(temp.path() + QStringLiteral("/Datenbank")).entryList(QDir::Files),
                 QStringList{QStringLiteral("liste.txt")});

        std::atomic<qint64> found{0};
        result = writeDriveFileList(temp.path() + QStringLiteral("/tree"), QLatin1Char('t'),
                                    listFile, WalkOptions{}, &found);
        QVERIFY(result.ok);
        QCOMPARE(found.load(), 50);
        const QByteArray list = fixture::readAll(listFile);
        QVERIFY(list.startsWith("T:\\d0\\f.odt\r\nT:\\d1\\f.odt\r\nT:\\d10\\f.odt\r\n"));
        QCOMPARE(list.count("\r\n"), 50);
    }

    void pseudoMountPointsFromTable() {
        const QByteArray table =
            "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
            "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
            "24 22 0:22 / /sys rw shared:2 - sysfs sysfs rw\n"
            "25 24 0:23 / /sys/fs/cgroup rw shared:3 - cgroup2 cgroup2 rw\n"
            "26 22 0:5 / /dev rw shared:4 - devtmpfs udev rw\n"
            "27 26 0:24 / /dev/shm rw shared:5 - tmpfs tmpfs rw\n"
            "28 22 0:25 / /media/mit\\040Leerzeichen rw - autofs systemd-1 rw\n"
            "29 22 0:26 / /mnt/optional rw master:7 - binfmt_misc binfmt_misc rw\n";
        const QSet<QByteArray> points = pseudoMountPointsFromMountInfo(table);
        const QSet<QByteArray> expected = {
            "/proc", "/sys", "/sys/fs/cgroup", "/dev", "/media/mit Leerzeichen", "/mnt/optional"};
        QCOMPARE(points, expected);
    }

    void skippedMountPointIsNotEntered() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path());
        QVERIFY(fixture::makeDirectory(r + "/proc"));
        QVERIFY(fixture::makeFile(r + "/proc/1.odt"));
        QVERIFY(fixture::makeFile(r + "/a.odt"));
        QByteArray out;
        WalkOptions options;
        options.skippedMountPoints = {r + "/proc"};
        const WalkResult walked =
            walkTree(r, "T:\\", options, [&](QByteArrayView d, const std::vector<QByteArray>& n) {
                appendDirectoryLines(out, d, n);
            });
        QCOMPARE(out, QByteArray("T:\\a.odt\r\n"));
        QCOMPARE(walked.skippedDirectories, 1);
    }

    void realProcIsNotEntered() {
        if (!QFileInfo(QStringLiteral("/proc/self")).exists())
            QSKIP("no /proc here");
        QByteArray out;
        const WalkResult walked = walkTree("/proc", "P:\\", WalkOptions{},
                                           [&](QByteArrayView d, const std::vector<QByteArray>& n) {
                                               appendDirectoryLines(out, d, n);
                                           });
        QVERIFY(walked.ok);
        QCOMPARE(out, QByteArray());
    }
};

TROVEX_FILELIST_TEST(TreeListTest)
#include "tree_list_test.moc"
