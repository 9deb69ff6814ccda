#include "platform/browser_detection.h"
#include "platform/colour_text.h"
#include "platform/drive_map.h"
#include "platform/instance_probe.h"
#include "platform/native_file_name.h"
#include "platform/process_probe.h"
#include "platform/program_directory.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/settings_values.h"
#include "platform/volume_probe.h"
#include "support/platform_doubles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace platform;
using testsupport::MemorySettingsStore;
using testsupport::RecordingPrompts;

class PlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colourText_data() {
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<QString>("text");
        QTest::newRow("named") << quint32(0x00808000) << QStringLiteral("clTeal");
        QTest::newRow("system colour") << quint32(0x8000000D) << QStringLiteral("clHighlight");
        QTest::newRow("plain value") << quint32(0x00BBBBBB) << QStringLiteral("$00BBBBBB");
        QTest::newRow("unnamed system value") << quint32(0x80000019) << QStringLiteral("$80000019");
    }
    void colourText() {
        QFETCH(quint32, colour);
        QFETCH(QString, text);
        QCOMPARE(colourToText(colour), text);
        QCOMPARE(colourFromText(text), std::optional<quint32>(colour));
    }

    void colourTextReading_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("colour"); // -1: conversion error
        QTest::newRow("name in any case") << QStringLiteral("CLWHITE") << qint64(0x00FFFFFF);
        QTest::newRow("decimal") << QStringLiteral("255") << qint64(0xFF);
        QTest::newRow("negative decimal is a system colour")
            << QStringLiteral("-2147483635") << qint64(0x8000000D);
        QTest::newRow("hex lower case") << QStringLiteral("$00ff00") << qint64(0xFF00);
        QTest::newRow("unknown name") << QStringLiteral("clPink") << qint64(-1);
        QTest::newRow("empty") << QString() << qint64(-1);
        QTest::newRow("lone dollar") << QStringLiteral("$") << qint64(-1);
        QTest::newRow("too large") << QStringLiteral("$1FFFFFFFF") << qint64(-1);
    }
    void colourTextReading() {
        QFETCH(QString, text);
        QFETCH(qint64, colour);
        const auto read = colourFromText(text);
        if (colour < 0)
            QVERIFY(!read.has_value());
        else
            QCOMPARE(read, std::optional<quint32>(quint32(colour)));
    }

    void firstRunWritesTheTwelveDefaultsOnce() {
        MemorySettingsStore store;
        QVERIFY(settings::writeFirstRunDefaultsIfNeeded(store, 1024));
        QCOMPARE(store.size(), 12);
        const QList<QPair<QString, QString>> expected = {
            {"Ausgewaehlte_Datenbank", "-1"},
            {"Themen-Webseite", "0"},
            {"Ausgewaehlte_Webseite", "0"},
            {"Farbe", "clTeal"},
            {"HinweistextFarbe", "clWhite"},
            {"Hoehe", "506"},
            {"Weite", "1024"},
            {"SHoehe", "500"},
            {"SWeite", "1024"},
            {"Browser", "standard"},
            {"Suchwort_in_Zwischenablage_kopieren", "1"},
            {"Kurzhinweis_imViewer_anzeigen", "1"},
        };
        for (const auto& [name, value] : expected)
            QCOMPARE(store.read(name), value);
        QCOMPARE(settings::firstRunDefaults(1024).size(), 12);
        QCOMPARE(settings::firstRunDefaults(1024).first().first,
                 QStringLiteral("Ausgewaehlte_Datenbank"));

        store.write(QStringLiteral("Farbe"), QStringLiteral("clRed"));
        QVERIFY(!settings::writeFirstRunDefaultsIfNeeded(store, 1024));
        QCOMPARE(store.read(QStringLiteral("Farbe")), QStringLiteral("clRed"));
        QCOMPARE(store.read(QStringLiteral("SchriftsizeTextViewer")), QString());
    }

    void integersFallBackOnHandEditedValues() {
        MemorySettingsStore store;
        store.write(QStringLiteral("Hoehe"), QStringLiteral("6x0"));
        QCOMPARE(settings::readInteger(store, QStringLiteral("Hoehe"), 506), 506);
        store.write(QStringLiteral("Hoehe"), QStringLiteral("600"));
        QCOMPARE(settings::readInteger(store, QStringLiteral("Hoehe"), 506), 600);
        QCOMPARE(settings::readInteger(store, QStringLiteral("Weite"), 1024), 1024);
    }

    void qtSettingsStoreKeepsStringsInTheConfigFile() {
#ifdef Q_OS_WIN
        QSKIP("the settings live in the registry there (WindowsTest)");
#endif
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QtSettingsStore store;
        QCOMPARE(store.read(QStringLiteral("Farbe")), QString());
        store.write(QStringLiteral("Farbe"), QStringLiteral("clTeal"));
        store.write(QStringLiteral("Lesezeichen_Meine, DB"), QStringLiteral("-5"));
        QtSettingsStore again;
        QCOMPARE(again.read(QStringLiteral("Farbe")), QStringLiteral("clTeal"));
        QCOMPARE(again.read(QStringLiteral("Lesezeichen_Meine, DB")), QStringLiteral("-5"));
        QVERIFY(QFile::exists(config.filePath(QStringLiteral("Halvorn/Trovex-ODT.conf"))));
    }

    // QSettings opens the file itself and would wait for ever on a FIFO in
    // its place: such a file is neither read nor replaced.
    void aSettingsFileThatIsNoFileIsLeftAlone() {
#ifdef Q_OS_WIN
        QSKIP("The Windows settings live in the registry, not in a file");
#else
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        QVERIFY(QDir(config.path()).mkpath(QStringLiteral("Halvorn")));
        const QString file = config.filePath(QStringLiteral("Halvorn/Trovex-ODT.conf"));
        QVERIFY(::mkfifo(QFile::encodeName(file).constData(), 0644) == 0);
        QtSettingsStore store;
        QCOMPARE(store.read(QStringLiteral("Farbe")), QString());
        store.write(QStringLiteral("Farbe"), QStringLiteral("clRed"));
        QCOMPARE(store.read(QStringLiteral("Farbe")), QString());
        const QFileInfo info(file);
        QVERIFY(info.exists() && !info.isFile());
#endif
    }

    void programDirectory() {
#ifdef Q_OS_WIN
        QSKIP("Unix paths; the Windows form is WindowsTest's");
#endif
        const QString exe = QStringLiteral("/opt/trovex/bin");
        const QString cwd = QStringLiteral("/home/anna");
        QCOMPARE(decideProgramDirectory({"trovex-odt"}, exe, cwd), QStringLiteral("/home/anna/"));
        QCOMPARE(decideProgramDirectory({"trovex-odt", "x"}, exe, cwd),
                 QStringLiteral("/opt/trovex/bin/"));
        QCOMPARE(decideProgramDirectory({"trovex-odt", ""}, exe, cwd),
                 QStringLiteral("/home/anna/"));
        QCOMPARE(decideProgramDirectory({"trovex-odt"}, exe, QStringLiteral("/")),
                 QStringLiteral("/"));
    }

    void workingDirectoriesAreMadeOrReported() {
        QTemporaryDir dir;
        QCOMPARE(makeWorkingDirectories(dir.path()), QStringList());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Datenbank/Temp/ZipTemp"))).isDir());

        // A file where the folder should be: all three fail, start-up goes on.
        QTemporaryDir blocked;
        QFile file(blocked.filePath(QStringLiteral("Datenbank")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QStringList problems = makeWorkingDirectories(blocked.path());
        // The messages name the folders with the system's separators.
        const QString base = blocked.path() + QLatin1Char('/');
        QCOMPARE(
            problems,
            QStringList({"Kann das Verzeichnis " + QDir::toNativeSeparators(base + "Datenbank") +
                             " nicht anlegen!",
                         "Kann das Verzeichnis " +
                             QDir::toNativeSeparators(base + "Datenbank/Temp") + " nicht anlegen!",
                         "Kann das temporäre Verzeichnis " +
                             QDir::toNativeSeparators(base + "Datenbank/Temp/ZipTemp/") +
                             " nicht anlegen!"}));
    }

    void emptyingTempRemovesFilesAndFolders() {
        QTemporaryDir dir;
        QCOMPARE(makeWorkingDirectories(dir.path()), QStringList());
        QFile part(dir.filePath(QStringLiteral("Datenbank/Temp/x_UTF8Dokument1.txt")));
        QVERIFY(part.open(QIODevice::WriteOnly));
        part.close();
        emptyTempDirectory(dir.path());
        QVERIFY(QDir(dir.filePath(QStringLiteral("Datenbank/Temp")))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                    .isEmpty());
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Datenbank"))).isDir());
    }

    void driveMapBothWays() {
#ifdef Q_OS_WIN
        QSKIP("drive letters are the system's own there (WindowsTest)");
#endif
        MemorySettingsStore store;
        store.write(QStringLiteral("Laufwerk_D"), QStringLiteral("/media/daten/"));
        store.write(QStringLiteral("Laufwerk_E"), QStringLiteral("/media/daten/archiv"));
        DriveMap map(store);
        QCOMPARE(map.toNative(QStringLiteral("D:\\Texte\\Brief.odt")),
                 std::optional<QString>(QStringLiteral("/media/daten/Texte/Brief.odt")));
        QCOMPARE(map.toNative(QStringLiteral("d:\\x")),
                 std::optional<QString>(QStringLiteral("/media/daten/x")));
        QCOMPARE(map.toNative(QStringLiteral("Z:\\home\\anna\\a.odt")),
                 std::optional<QString>(QStringLiteral("/home/anna/a.odt")));
        QCOMPARE(map.toNative(QStringLiteral("Z:\\")), std::optional<QString>(QStringLiteral("/")));
        QVERIFY(!map.toNative(QStringLiteral("C:\\a.odt")).has_value());
        QVERIFY(!map.toNative(QStringLiteral("relative\\a.odt")).has_value());

        // Longest prefix wins; a sibling folder with a longer name is no prefix.
        QCOMPARE(map.toWindows(QStringLiteral("/media/daten/archiv/a.odt")),
                 std::optional<QString>(QStringLiteral("E:\\a.odt")));
        QCOMPARE(map.toWindows(QStringLiteral("/media/daten/archiv2/a.odt")),
                 std::optional<QString>(QStringLiteral("D:\\archiv2\\a.odt")));
        QCOMPARE(map.toWindows(QStringLiteral("/home/anna/Übersicht.odt")),
                 std::optional<QString>(QStringLiteral("Z:\\home\\anna\\Übersicht.odt")));
        QCOMPARE(map.toWindows(QStringLiteral("/media/daten")),
                 std::optional<QString>(QStringLiteral("D:\\")));

        map.removeDrive(QLatin1Char('Z'));
        QVERIFY(!map.toWindows(QStringLiteral("/home/anna/a.odt")).has_value());
        QCOMPARE(parseDriveOption(QStringLiteral("x=/tmp"))->first, QLatin1Char('X'));
        QVERIFY(!parseDriveOption(QStringLiteral("1=/tmp")).has_value());
        QVERIFY(!parseDriveOption(QStringLiteral("X:/tmp")).has_value());
    }

    void closeRequestHandshake() {
        QCOMPARE(probeMessageParameter({"trovex-odt", "/restart"}), 99u);
        QCOMPARE(probeMessageParameter({"trovex-odt", "re/start/"}), 99u);
        QCOMPARE(probeMessageParameter({"trovex-odt", "Restart"}), 0u);
        QCOMPARE(probeMessageParameter({"trovex-odt"}), 0u);
        QVERIFY(isCloseRequest(5735, 99));
        QVERIFY(!isCloseRequest(5735, 0));
        QVERIFY(!isCloseRequest(5734, 99));
    }

    void recordingPromptsAnswerFromTheScript() {
        RecordingPrompts prompts;
        prompts.answers = {false};
        QVERIFY(!prompts.confirm(QStringLiteral("eins")));
        QVERIFY(prompts.confirm(QStringLiteral("zwei")));
        QCOMPARE(prompts.texts(), QStringList({"eins", "zwei"}));
    }

    void processProbeFindsThisProcessByName() {
#if !defined(Q_OS_LINUX) && !defined(Q_OS_WIN)
        QSKIP("processes are listed on Linux and Windows only");
#endif
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        QVERIFY(isProcessRunning(self));
        QVERIFY(isProcessRunning(self.toUpper()));
        QVERIFY(isProcessRunning(QCoreApplication::applicationFilePath()));
        QVERIFY(!isProcessRunning(QStringLiteral("MSMPENG.exe")));
        QVERIFY(!isProcessRunning(QStringLiteral("test_file")));
        SystemProcessProbe probe;
        QVERIFY(probe.isRunning(self));
    }

    // A link opens the file whatever bytes its name holds: the escapes of
    // bytes that are not UTF-8 (and of CR, LF, backslash) as %XX, "%" as %25.
    void nativePathsInFileUrls_data() {
        QTest::addColumn<QByteArray>("native");
        QTest::addColumn<QString>("url");
        QTest::newRow("plain, umlauts, blanks") << QByteArray("/d/Gr\xC3\xB6\xC3\x9F"
                                                              "e Liste.odt")
                                                << QStringLiteral("/d/Größe Liste.odt");
        QTest::newRow("quote and angle brackets stay")
            << QByteArray("/d/a\"<b>&.odt") << QStringLiteral("/d/a\"<b>&.odt");
        QTest::newRow("CR, LF, backslash")
            << QByteArray("/d/a\rb\nc\\d.odt") << QStringLiteral("/d/a%0Db%0Ac%5Cd.odt");
        QTest::newRow("not UTF-8")
            << QByteArray("/d/ung\xFCltig\xFF.odt") << QStringLiteral("/d/ung%FCltig%FF.odt");
        QTest::newRow("percent") << QByteArray("/d/50%.odt") << QStringLiteral("/d/50%25.odt");
    }
    void nativePathsInFileUrls() {
        QFETCH(QByteArray, native);
        QFETCH(QString, url);
        QCOMPARE(platform::nativePathForUrl(platform::fileNameFromNative(native)), url);
    }

    void fileSystemsTheToolCanWalk_data() {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("indexable");
#ifdef Q_OS_WIN
        QTest::newRow("NTFS") << QByteArray("NTFS") << true;
        QTest::newRow("FAT32") << QByteArray("FAT32") << false;
#else
        QTest::newRow("ext4") << QByteArray("ext4") << true;
        QTest::newRow("btrfs") << QByteArray("btrfs") << true;
        QTest::newRow("network share") << QByteArray("nfs4") << false;
        QTest::newRow("network in upper case") << QByteArray("CIFS") << false;
        QTest::newRow("network through FUSE") << QByteArray("fuse.sshfs") << false;
        QTest::newRow("local FUSE") << QByteArray("fuse.ntfs-3g") << true;
        QTest::newRow("kernel") << QByteArray("proc") << false;
#endif
        QTest::newRow("not queried") << QByteArray() << false;
    }
    void fileSystemsTheToolCanWalk() {
        QFETCH(QByteArray, type);
        QFETCH(bool, indexable);
        QCOMPARE(isIndexableFileSystem(type), indexable);
    }

    void anUnmappedDriveCannotBeIndexed() {
        DriveMap drives;
        drives.setDrive(QLatin1Char('D'), QDir::tempPath());
        LocalVolumeProbe probe(drives);
        QVERIFY(!probe.canBeIndexed(QLatin1Char('Q')));
    }

    // Which pictures of the settings dialog offer a browser: the hint of
    // each row from "standard" to "firefox", empty when not found.
    void detectedBrowsers_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("edgeProgram");
        QTest::addColumn<QStringList>("hints");
        const QString none;
        const QString standard = QStringLiteral("Standard Browser");
        QTest::newRow("nothing registered")
            << QStringList() << false << QStringList{standard, none, none, none, none, none, none};
        QTest::newRow("internet explorer stands for edge too")
            << QStringList{QStringLiteral("Internet Explorer")} << false
            << QStringList{standard,
                           QStringLiteral("Microsoft Internet Explorer"),
                           QStringLiteral("Microsoft Edge"),
                           none,
                           none,
                           none,
                           none};
        QTest::newRow("names in any letter case")
            << QStringList{QStringLiteral("Google Chrome"), QStringLiteral("OPERA Stable"),
                           QStringLiteral("Mozilla Firefox"), QStringLiteral("Safari")}
            << false
            << QStringList{standard,
                           none,
                           none,
                           QStringLiteral("Google Chrome"),
                           QStringLiteral("Opera"),
                           QStringLiteral("Safari"),
                           QStringLiteral("FireFox")};
        QTest::newRow("edge by its program file is choosable")
            << QStringList() << true
            << QStringList{standard, none, QStringLiteral("Microsoft Edge"), none, none,
                           none,     none};
        QTest::newRow("the name Microsoft Edge alone is not a search word")
            << QStringList{QStringLiteral("Microsoft Edge")} << false
            << QStringList{standard, none, none, none, none, none, none};
        QTest::newRow("program names off Windows")
            << QStringList{QStringLiteral("firefox-esr"), QStringLiteral("google-chrome-stable"),
                           QStringLiteral("chromium")}
            << false << QStringList{standard,
                                    none,
                                    none,
                                    QStringLiteral("Google Chrome"),
                                    none,
                                    none,
                                    QStringLiteral("FireFox")};
    }
    void detectedBrowsers() {
        QFETCH(QStringList, names);
        QFETCH(bool, edgeProgram);
        QFETCH(QStringList, hints);
        const auto detected = detectedBrowserHints(names, edgeProgram);
        QCOMPARE(QStringList(detected.begin(), detected.end()), hints);
    }

    void currentBrowser_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("row"); // -1: none
        QTest::newRow("standard") << QStringLiteral("standard") << 0;
        QTest::newRow("firefox") << QStringLiteral("firefox") << 6;
        QTest::newRow("internet explorer") << QStringLiteral("internet explorer") << 1;
        QTest::newRow("the later row wins") << QStringLiteral("standard chrome") << 3;
        QTest::newRow("letter case counts") << QStringLiteral("Firefox") << -1;
        QTest::newRow("empty") << QString() << -1;
    }
    void currentBrowser() {
        QFETCH(QString, stored);
        QFETCH(int, row);
        QCOMPARE(currentBrowserRow(stored).value_or(-1), row);
    }

    // The browsers of a desktop off Windows: the program each row starts,
    // the default browser first, Chromium as Chrome, other programs left out.
    void desktopBrowserPrograms_data() {
        QTest::addColumn<QString>("defaultBrowser");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("programs"); // one per row, "standard" to "firefox"
        QTest::addColumn<QStringList>("hints");
        const QString none;
        const QString standard = QStringLiteral("Standard Browser");
        QTest::newRow("nothing") << QString() << QStringList()
                                 << QStringList{none, none, none, none, none, none, none}
                                 << QStringList{standard, none, none, none, none, none, none};
        QTest::newRow("Debian: chromium and firefox-esr")
            << QString() << QStringList{"/usr/bin/firefox-esr", "/usr/bin/chromium"}
            << QStringList{none,
                           none,
                           none,
                           "/usr/bin/chromium",
                           none,
                           none,
                           "/usr/bin/firefox-esr"}
            << QStringList{standard, none, none, "Google Chrome", none, none, "FireFox"};
        QTest::newRow("the default browser comes first for its row")
            << QStringLiteral("/usr/bin/chromium")
            << QStringList{"/usr/bin/google-chrome", "/usr/bin/chromium"}
            << QStringList{none, none, none, "/usr/bin/chromium", none, none, none}
            << QStringList{standard, none, none, "Google Chrome", none, none, none};
        QTest::newRow("a default browser of no known kind adds nothing")
            << QStringLiteral("/usr/bin/epiphany") << QStringList{"/opt/opera/opera"}
            << QStringList{none, none, none, none, "/opt/opera/opera", none, none}
            << QStringList{standard, none, none, none, "Opera", none, none};
        QTest::newRow("edge by its program, never internet explorer")
            << QString() << QStringList{"/usr/bin/microsoft-edge-stable"}
            << QStringList{none, none, "/usr/bin/microsoft-edge-stable", none, none, none, none}
            << QStringList{standard, none, "Microsoft Edge", none, none, none, none};
        QTest::newRow("names that only contain a browser's name")
            << QString()
            << QStringList{"/usr/lib/chromium/chrome-sandbox", "/usr/bin/firefox-wrapper",
                           "/usr/bin/operator", ""}
            << QStringList{none, none, none, none, none, none, none}
            << QStringList{standard, none, none, none, none, none, none};
    }
    void desktopBrowserPrograms() {
        QFETCH(QString, defaultBrowser);
        QFETCH(QStringList, found);
        QFETCH(QStringList, programs);
        QFETCH(QStringList, hints);
        const auto rows = platform::desktopBrowserPrograms(defaultBrowser, found);
        QCOMPARE(QStringList(rows.begin(), rows.end()), programs);
        const auto detected = detectedBrowserHints(desktopBrowserNames(rows),
                                                   !rows[int(BrowserKind::Edge)].isEmpty());
        QCOMPARE(QStringList(detected.begin(), detected.end()), hints);
    }

    // What a menu entry's Exec line and xdg-settings' answer give, checked
    // before they name a file or a program.
    void desktopEntryTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("program"); // execProgram
        QTest::addColumn<QString>("id");      // desktopEntryId, "-": refused
        QTest::newRow("program and field code") << "/usr/bin/chromium %U"
                                                << "/usr/bin/chromium"
                                                << "-";
        QTest::newRow("quoted program") << "\"/opt/Mein Browser/firefox\" %u"
                                        << "/opt/Mein Browser/firefox"
                                        << "-";
        QTest::newRow("environment first") << "env MOZ_X=1 firefox %u"
                                           << "env"
                                           << "-";
        QTest::newRow("setting first") << "MOZ_X=1 firefox"
                                       << ""
                                       << "-";
        QTest::newRow("field code only") << "%u"
                                         << ""
                                         << "-";
        QTest::newRow("entry id") << "firefox-esr.desktop\n"
                                  << "firefox-esr.desktop"
                                  << "firefox-esr.desktop";
        QTest::newRow("entry id with a folder") << "../../etc/passwd.desktop"
                                                << "../../etc/passwd.desktop"
                                                << "-";
        QTest::newRow("entry id hidden") << ".x.desktop"
                                         << ".x.desktop"
                                         << "-";
        QTest::newRow("not an entry") << "chromium"
                                      << "chromium"
                                      << "-";
        QTest::newRow("nothing printed") << ""
                                         << ""
                                         << "-";
    }
    void desktopEntryTexts() {
        QFETCH(QString, text);
        QFETCH(QString, program);
        QFETCH(QString, id);
        QCOMPARE(execProgram(text), program);
        QCOMPARE(desktopEntryId(text).value_or(QStringLiteral("-")), id);
    }

#ifndef Q_OS_WIN
    // The probe on a desktop made up in a folder: programs on PATH, a menu
    // entry for a browser outside PATH, and xdg-settings naming the default.
    void systemProbeFindsTheDesktopsBrowsers() {
        QTemporaryDir root;
        const QString bin = root.path() + QStringLiteral("/bin");
        const QString opt = root.path() + QStringLiteral("/opt");
        const QString menus = root.path() + QStringLiteral("/share/applications");
        for (const QString& folder : {bin, opt, menus})
            QVERIFY(QDir().mkpath(folder));
        const auto script = [](const QString& path, const QByteArray& body) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + body + "\n");
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        script(bin + QStringLiteral("/firefox-esr"), "exit 0");
        script(bin + QStringLiteral("/chromium"), "exit 0");
        script(bin + QStringLiteral("/google-chrome"), "exit 0");
        script(opt + QStringLiteral("/opera"), "exit 0");
        script(bin + QStringLiteral("/xdg-settings"),
               "[ \"$1 $2\" = 'get default-web-browser' ] && echo chromium.desktop");
        const auto entry = [&](const char* name, const QString& exec) {
            QFile file(menus + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Desktop Entry]\nType=Application\nName=X\nExec=" + exec.toUtf8() +
                       " %U\n");
        };
        entry("chromium.desktop", bin + QStringLiteral("/chromium"));
        entry("opera.desktop", opt + QStringLiteral("/opera"));

        const QByteArray oldPath = qgetenv("PATH");
        const QByteArray oldData = qgetenv("XDG_DATA_HOME");
        const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");
        qputenv("XDG_DATA_HOME", QFile::encodeName(root.path() + QStringLiteral("/share")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root.path() + QStringLiteral("/none")));
        SystemBrowserProbe probe;
        const QStringList names = probe.installedBrowserNames();
        const bool edge = probe.edgeProgramExists();
        const QString chrome = probe.browserProgram(BrowserKind::Chrome);
        const QString firefox = probe.browserProgram(BrowserKind::Firefox);
        const QString opera = probe.browserProgram(BrowserKind::Opera);
        qputenv("PATH", oldPath);
        qputenv("XDG_DATA_HOME", oldData);
        qputenv("XDG_DATA_DIRS", oldDirs);

        // google-chrome comes before chromium on PATH, but the desktop's
        // default browser is chromium.
        QCOMPARE(chrome, bin + QStringLiteral("/chromium"));
        QCOMPARE(firefox, bin + QStringLiteral("/firefox-esr"));
        QCOMPARE(opera, opt + QStringLiteral("/opera"));
        QVERIFY(!edge);
        const auto hints = detectedBrowserHints(names, edge);
        QCOMPARE(
            QStringList(hints.begin(), hints.end()),
            (QStringList{"Standard Browser", "", "", "Google Chrome", "Opera", "", "FireFox"}));
    }
#endif
};

QTEST_GUILESS_MAIN(PlatformTest)
#include "platform_test.moc"
