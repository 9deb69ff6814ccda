#include "test_registry.h"
#include "tree_fixture.h"

#include "database/drive_file_list.h"
#include "platform/drive_map.h"
#include "platform/native_file_name.h"
#include "textio/utf8.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

QString toolPath() {
    return qEnvironmentVariable("TROVEX_BIN") + QStringLiteral("/ErstelleDateiliste");
}

struct ToolRun {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

// Runs the tool with its own settings store, so stored drive mappings of the
// machine do not count.
ToolRun runTool(const QStringList& arguments, const QString& configHome,
                const QString& program = toolPath(), bool withDisplay = false) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    if (!withDisplay) {
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitCode();
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Every path a drive file list names, read as the index run reads it.
QStringList pathsInList(const QByteArray& list) {
    QStringList paths;
    QString directory;
    for (QByteArray line : list.split('\n')) {
        if (line.isEmpty())
            continue;
        line.chop(line.endsWith('\r') ? 1 : 0);
        const QString text = textio::utf8DecodeLenient(line);
        if (database::isDittoLine(text)) {
            paths.append(directory + text.mid(2));
        } else {
            directory = text.left(
                std::max(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char(':'))) +
                1);
            paths.append(text);
        }
    }
    return paths;
}

} // namespace

class ToolTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFileInfo(toolPath()).isExecutable(), qPrintable(toolPath())); }

    void refusesBadCommandLines_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList{}
                                 << QStringLiteral(
                                        "Es fehlt \"open\" mit dem Laufwerksbuchstaben.");
        QTest::newRow("open without letter")
            << QStringList{QStringLiteral("open")}
            << QStringLiteral("Die Angabe open braucht einen Wert.");
        QTest::newRow("not a letter") << QStringList{QStringLiteral("open"), QStringLiteral("1")}
                                      << QStringLiteral("Ungültiger Laufwerksbuchstabe \"1\".");
        QTest::newRow("bad drive option")
            << QStringList{QStringLiteral("open"), QStringLiteral("T"), QStringLiteral("--drive"),
                           QStringLiteral("T:/x")}
            << QStringLiteral("Ungültige Laufwerksangabe \"T:/x\" (erwartet: X=VERZEICHNIS).");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("open"), QStringLiteral("T"), QStringLiteral("--schnell")}
            << QStringLiteral("Unbekannte Angabe \"--schnell\".");
        QTest::newRow("unmapped drive")
            << QStringList{QStringLiteral("open"), QStringLiteral("Q"),
                           QStringLiteral("--no-window")}
            << QStringLiteral("Laufwerk Q: ist keinem Verzeichnis zugeordnet.");
    }
    void refusesBadCommandLines() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir config;
        const ToolRun run = runTool(arguments, config.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(message), qPrintable(run.err));
    }

    // The list the tool writes names every file, and each of them opens
    // through the drive map, as the index run will open it.
    void listNamesEveryFileAndEachOpens() {
        fixture::ScratchDir temp;
        const QByteArray r = QFile::encodeName(temp.path()) + "/Laufwerk";
        QList<QByteArray> files;
        QVERIFY(fixture::makeDirectory(r));
        for (const char* d : {"/Texte", "/Texte/Briefe 2024", "/Bücher", "/leer", "/x\xff"})
            QVERIFY(fixture::makeDirectory(r + d));
        for (const char* f :
             {"/Texte/Brief.odt", "/Texte/Briefe 2024/Anna.docx", "/Texte/Briefe 2024/anna.DOCX",
              "/Bücher/Faust.epub", "/Bücher/Makro.docm", "/x\xff/a:b.odt", "/x\xff/c.odt",
              "/wurzel.odt"})
            files.append(r + f);
        for (const QByteArray& f : files)
            QVERIFY(fixture::makeFile(f, f));
        const QString program = temp.path() + QStringLiteral("/Programm");
        const ToolRun run =
            runTool({QStringLiteral("open"), QStringLiteral("T"), QStringLiteral("--no-window"),
                     QStringLiteral("--program-dir"), program, QStringLiteral("--drive"),
                     QStringLiteral("T=") + QFile::decodeName(r)},
                    temp.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("8 Dateien in 6 Verzeichnissen")),
                 qPrintable(run.out));

        const auto listFile =
            database::findDriveFileList(program + QLatin1Char('/'), QLatin1Char('T'));
        QVERIFY(listFile);
        QCOMPARE(QFileInfo(*listFile).fileName(),
                 QStringLiteral("Haupt_Dateinamen_Liste_Laufwerk_T.txt"));
        const QByteArray list = fixture::readAll(*listFile);
        QVERIFY(list.startsWith("T:\\wurzel.odt\r\nT:\\Bücher\\Faust.epub\r\n\" Makro.docm\r\n"));

        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('T'), QFile::decodeName(r));
        QList<QByteArray> opened;
        for (const QString& path : pathsInList(list)) {
            QFile file;
            QVERIFY2(platform::openNativeFile(file, drives.toNative(path).value_or(QString()),
                                              QIODevice::ReadOnly),
                     qPrintable(path));
            opened.append(file.readAll());
        }
        std::sort(opened.begin(), opened.end());
        std::sort(files.begin(), files.end());
        QCOMPARE(opened, files);
    }

    // Without --program-dir the list goes below the executable's directory;
    // the letter keeps the case it was given.
    void defaultProgramDirectoryIsTheExecutables() {
        fixture::ScratchDir temp;
        const QString copy = temp.path() + QStringLiteral("/ErstelleDateiliste");
        QVERIFY(QFile::copy(toolPath(), copy));
        QVERIFY(fixture::makeDirectory(QFile::encodeName(temp.path()) + "/d"));
        QVERIFY(fixture::makeFile(QFile::encodeName(temp.path()) + "/d/eins.odt"));
        const ToolRun run =
            runTool({QStringLiteral("open"), QStringLiteral("k"), QStringLiteral("--drive"),
                     QStringLiteral("K=") + temp.path() + QStringLiteral("/d")},
                    temp.path(), copy);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(
            fixture::readAll(temp.path() +
                             QStringLiteral("/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_k.txt")),
            QByteArray("K:\\eins.odt\r\n"));
    }

    // With a display (here the offscreen one) the tool shows its window and
    // ends by itself when the list is done.
    void windowRunEndsByItself() {
        fixture::ScratchDir temp;
        QVERIFY(fixture::makeFile(QFile::encodeName(temp.path()) + "/a.odt"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const ToolRun run =
            runTool({QStringLiteral("open"), QStringLiteral("W"), QStringLiteral("--program-dir"),
                     temp.path() + QStringLiteral("/p"), QStringLiteral("--drive"),
                     QStringLiteral("W=") + temp.path()},
                    temp.path(), toolPath(), true);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(
            fixture::readAll(temp.path() +
                             QStringLiteral("/p/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_W.txt")),
            QByteArray("W:\\a.odt\r\n"));
    }

    // Stopped while it walks a large tree, the tool leaves the previous list
    // and no temporary file.
    void interruptedToolLeavesPreviousList() {
        if (!QFileInfo(QStringLiteral("/usr/share")).isDir())
            QSKIP("no large tree to walk");
        fixture::ScratchDir temp;
        const QString database = temp.path() + QStringLiteral("/Datenbank");
        QVERIFY(QDir().mkpath(database));
        const QString listFile =
            database + QStringLiteral("/Haupt_Dateinamen_Liste_Laufwerk_U.txt");
        QVERIFY(fixture::makeFile(QFile::encodeName(listFile), "U:\\alt.odt\r\n"));

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), temp.path());
        process.setProcessEnvironment(environment);
        process.start(toolPath(),
                      {QStringLiteral("open"), QStringLiteral("U"), QStringLiteral("--no-window"),
                       QStringLiteral("--program-dir"), temp.path(), QStringLiteral("--drive"),
                       QStringLiteral("U=/usr/share"), QStringLiteral("--threads"),
                       QStringLiteral("1")});
        QVERIFY(process.waitForStarted());
        // Once the tool holds its temporary list open, the walk is under way
        // (the temporary file may have no name, so look at its open files).
        const QString openFiles = QStringLiteral("/proc/%1/fd").arg(process.processId());
        auto writing = [&] {
            const QStringList fds =
                QDir(openFiles).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& fd : fds) {
                char target[4096];
                const ssize_t n = ::readlink(QFile::encodeName(openFiles + QLatin1Char('/') + fd),
                                             target, sizeof target);
                if (n > 0 && QByteArray(target, n).startsWith(QFile::encodeName(database)))
                    return true;
            }
            return false;
        };
        QElapsedTimer waited;
        waited.start();
        while (!writing() && waited.elapsed() < 10000 && process.state() == QProcess::Running)
            QThread::usleep(200);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 3);
        QCOMPARE(fixture::readAll(listFile), QByteArray("U:\\alt.odt\r\n"));
        QCOMPARE(QDir(database).entryList(QDir::Files),
                 QStringList{QStringLiteral("Haupt_Dateinamen_Liste_Laufwerk_U.txt")});
    }
};

TROVEX_FILELIST_TEST(ToolTest)
#include "tool_test.moc"
