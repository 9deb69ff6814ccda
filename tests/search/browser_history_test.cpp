#include "search/browser_launch.h"
#include "search/search_handoff.h"
#include "support/platform_doubles.h"

#include "database/search_history.h"
#include "platform/prompts.h"
#include "test_database.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// PATH set to an empty folder of the test's own while it lives, so which
// browsers this machine has does not decide a test.
class OwnPath {
public:
    OwnPath()
        : saved_(qgetenv("PATH")) {
        qputenv("PATH", folder.path().toLocal8Bit());
    }
    ~OwnPath() { qputenv("PATH", saved_); }
    OwnPath(const OwnPath&) = delete;
    OwnPath& operator=(const OwnPath&) = delete;
    QTemporaryDir folder;

private:
    QByteArray saved_;
};

// Starts the browser and shows its warning, as the windows do.
void startBrowser(const QString& address, platform::SettingsStore& settings,
                  platform::ShellLauncher& launcher, platform::Prompts& prompts) {
    if (const std::optional<QString> warning =
            search::openInChosenBrowser(address, settings, launcher))
        prompts.warning(*warning);
}

class BrowserHistoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyBrowserSettingBecomesStandard() {
        testsupport::MemorySettingsStore settings;
        testsupport::RecordingShellLauncher launcher;
        testsupport::RecordingPrompts prompts;
        startBrowser(QStringLiteral("/p/TX_Ergebnis.htm"), settings, launcher, prompts);
        QCOMPARE(settings.read(QStringLiteral("Browser")), QStringLiteral("standard"));
        QCOMPARE(launcher.calls.size(), 1);
        QVERIFY(launcher.calls.at(0).defaultHandler);
        QCOMPARE(launcher.calls.at(0).argument, QStringLiteral("/p/TX_Ergebnis.htm"));
        QVERIFY(prompts.shown.isEmpty());
    }

    // Every browser gets the page as one argument, a path with a blank
    // included; the quotes of old were part of a command line that no longer
    // exists (Windows quotes the arguments it passes, see windowsParameterText).
    void browserChoice_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("program"); // empty: default handler
        QTest::newRow("opera opens with the default handler")
            << QStringLiteral("opera") << QString();
        // Each browser by the name its system starts it by.
#ifdef Q_OS_WIN
        const QString firefox = QStringLiteral("firefox.exe");
        const QString explorer = QStringLiteral("iexplore.exe");
        const QString edge =
            QStringLiteral("shell:AppsFolder\\Microsoft.MicrosoftEdge_8wekyb3d8bbwe!MicrosoftEdge");
        const QString chrome = QStringLiteral("chrome.exe");
#else
        const QString firefox = QStringLiteral("firefox");
        const QString explorer = QStringLiteral("iexplore");
        const QString edge = QStringLiteral("microsoft-edge");
        const QString chrome = QStringLiteral("google-chrome");
#endif
        QTest::newRow("firefox") << QStringLiteral("firefox") << firefox;
        QTest::newRow("internet explorer") << QStringLiteral("internet explorer") << explorer;
        QTest::newRow("edge") << QStringLiteral("edge") << edge;
        QTest::newRow("chrome") << QStringLiteral("chrome") << chrome;
        QTest::newRow("standard wins over a named browser")
            << QStringLiteral("standard firefox") << QString();
        QTest::newRow("firefox is tested before chrome")
            << QStringLiteral("chrome firefox") << firefox;
        QTest::newRow("the words are case-sensitive") << QStringLiteral("Firefox") << QString();
    }
    void browserChoice() {
        QFETCH(QString, setting);
        QFETCH(QString, program);
        const OwnPath path;
        testsupport::MemorySettingsStore settings;
        settings.write(QStringLiteral("Browser"), setting);
        testsupport::RecordingShellLauncher launcher;
        launcher.programsThatStart = {program};
        testsupport::RecordingPrompts prompts;
        startBrowser(QStringLiteral("/p/a b.htm"), settings, launcher, prompts);
        QCOMPARE(launcher.calls.size(), 1);
        QCOMPARE(launcher.calls.at(0).defaultHandler, program.isEmpty());
        QCOMPARE(launcher.calls.at(0).program, program);
        QCOMPARE(launcher.calls.at(0).argument, QStringLiteral("/p/a b.htm"));
        if (!program.isEmpty())
            QCOMPARE(launcher.calls.at(0).arguments, QStringList{QStringLiteral("/p/a b.htm")});
        QVERIFY(prompts.shown.isEmpty());
    }

    // The search text reaches the site as one percent-encoded query value,
    // and the address reaches the browser as one argument.
    void webSearchTextIsOneEncodedValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::newRow("quotes and an option for the browser")
            << QStringLiteral("Haus\" \"--renderer-cmd-prefix=sh -c id>/tmp/x")
            << QStringLiteral(
                   "https://example.org/suche?q=Haus%22%20%22--renderer-cmd-prefix%3Dsh%20-"
                   "c%20id%3E%2Ftmp%2Fx");
        QTest::newRow("ampersand, plus and fragment")
            << QStringLiteral("C++ & Co #1")
            << QStringLiteral("https://example.org/suche?q=C%2B%2B%20%26%20Co%20%231");
        QTest::newRow("umlauts as UTF-8, trailing blank kept")
            << QStringLiteral("rote Häuser ")
            << QStringLiteral("https://example.org/suche?q=rote%20H%C3%A4user%20");
        QTest::newRow("percent and a line break")
            << QStringLiteral("100%\nneu")
            << QStringLiteral("https://example.org/suche?q=100%25%0Aneu");
    }
    void webSearchTextIsOneEncodedValue() {
        QFETCH(QString, text);
        QFETCH(QString, address);
        const OwnPath path;
        for (const QString& browser : {QStringLiteral("chrome"), QStringLiteral("edge")}) {
            testsupport::MemorySettingsStore settings;
            settings.write(QStringLiteral("Browser"), browser);
            testsupport::RecordingShellLauncher launcher;
            launcher.programsThatStart = {QStringLiteral("google-chrome"),
                                          QStringLiteral("microsoft-edge")};
            testsupport::RecordingPrompts prompts;
            startBrowser(
                search::webSearchAddress(QStringLiteral("https://example.org/suche?q="), text),
                settings, launcher, prompts);
            QCOMPARE(launcher.calls.size(), 1);
            QCOMPARE(launcher.calls.at(0).arguments, QStringList{address});
        }
    }

    // What a Windows program's runtime splits the parameter text into: the
    // arguments exactly, whatever quotes, blanks and backslashes they hold.
    void windowsParameterText_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("text");
        QTest::newRow("a page path with blanks")
            << QStringList{QStringLiteral("C:\\Program Files\\Trovex\\tx_ergebnis.htm")}
            << QStringLiteral("\"C:\\Program Files\\Trovex\\tx_ergebnis.htm\"");
        QTest::newRow("quotes inside") << QStringList{QStringLiteral("Haus\" \"--x")}
                                       << QStringLiteral("\"Haus\\\" \\\"--x\"");
        QTest::newRow("backslashes before a quote and at the end")
            << QStringList{QStringLiteral("a\\\"b"), QStringLiteral("C:\\Ordner\\")}
            << QStringLiteral("\"a\\\\\\\"b\" \"C:\\Ordner\\\\\"");
        QTest::newRow("empty argument and plain words")
            << QStringList{QString(), QStringLiteral("open"), QStringLiteral("D")}
            << QStringLiteral("\"\" \"open\" \"D\"");
    }
    void windowsParameterText() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, text);
        QCOMPARE(platform::windowsParameterText(arguments), text);
    }

    void addressesThatLookLikeOptionsAreNotStarted() {
        testsupport::MemorySettingsStore settings;
        settings.write(QStringLiteral("Browser"), QStringLiteral("chrome"));
        testsupport::RecordingShellLauncher launcher;
        testsupport::RecordingPrompts prompts;
        startBrowser(QStringLiteral("--renderer-cmd-prefix=id --q="), settings, launcher, prompts);
        QVERIFY(launcher.calls.isEmpty());
    }

    void missingBrowserIsReported() {
        const OwnPath path;
        testsupport::MemorySettingsStore settings;
        settings.write(QStringLiteral("Browser"), QStringLiteral("firefox"));
        testsupport::RecordingShellLauncher launcher;
        testsupport::RecordingPrompts prompts;
        startBrowser(QStringLiteral("/p/x.htm"), settings, launcher, prompts);
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown.at(0).kind, testsupport::RecordingPrompts::Kind::Warning);
#ifdef Q_OS_WIN
        QCOMPARE(prompts.shown.at(0).text,
                 QStringLiteral("Datei: firefox.exe kann nicht geöffnet werden"));
#else
        QCOMPARE(prompts.shown.at(0).text,
                 QStringLiteral("Datei: firefox kann nicht geöffnet werden"));
#endif
    }

#if !defined(Q_OS_WIN)
    // Debian names Chrome's sibling "chromium" and Firefox "firefox-esr":
    // a chosen browser starts by the name the desktop has, the page still
    // one argument; with neither name on PATH the usual name is tried.
    void browserStartsByTheNameOnPath_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("onPath");
        QTest::addColumn<QString>("started"); // "bin/" stands for the folder on PATH
        QTest::newRow("chromium for chrome") << "chrome"
                                             << "chromium"
                                             << "bin/chromium";
        QTest::newRow("firefox-esr for firefox") << "firefox"
                                                 << "firefox-esr"
                                                 << "bin/firefox-esr";
        QTest::newRow("the usual name first") << "firefox"
                                              << "firefox"
                                              << "firefox";
        QTest::newRow("nothing there") << "chrome"
                                       << ""
                                       << "google-chrome";
    }
    void browserStartsByTheNameOnPath() {
        QFETCH(QString, setting);
        QFETCH(QString, onPath);
        QFETCH(QString, started);
        const OwnPath path;
        if (!onPath.isEmpty()) {
            QFile program(path.folder.filePath(onPath));
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.write("#!/bin/sh\n");
            program.close();
            QVERIFY(program.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        testsupport::MemorySettingsStore settings;
        settings.write(QStringLiteral("Browser"), setting);
        testsupport::RecordingShellLauncher launcher;
        testsupport::RecordingPrompts prompts;
        startBrowser(QStringLiteral("/p/TX Ergebnis.htm"), settings, launcher, prompts);
        QCOMPARE(launcher.calls.size(), 1);
        QCOMPARE(launcher.calls.at(0).program,
                 started.replace(QLatin1String("bin/"), path.folder.path() + QLatin1Char('/')));
        QCOMPARE(launcher.calls.at(0).arguments, QStringList{QStringLiteral("/p/TX Ergebnis.htm")});
    }
#endif

    void webSearchSites() {
        QCOMPARE(search::webSearchAddress(QStringLiteral("https://example.org/suche?q="),
                                          QStringLiteral("rote Häuser & mehr ")),
                 QStringLiteral("https://example.org/suche?q=rote%20H%C3%A4user%20%26%20mehr%20"));
        QCOMPARE(search::webSearchAddress(QStringLiteral("https://example.org/wiki/"),
                                          QStringLiteral("Haus")),
                 QStringLiteral("https://example.org/wiki/Haus"));
        QCOMPARE(search::webSearchAddress(QStringLiteral("https://example.org/suche?q"),
                                          QStringLiteral("Haus")),
                 QStringLiteral("https://example.org/suche?q"));
    }

    void historyUpdate() {
        QStringList history = {QStringLiteral("Haus"), QStringLiteral(""),
                               QStringLiteral("Sie_haben_keinen_Suchtext_eingegeben!"),
                               QStringLiteral("Baum"), QStringLiteral("haus ")};
        history = database::updateSearchHistory(history, QStringLiteral("haus "));
        QCOMPARE(history, QStringList({QStringLiteral("haus "), QStringLiteral("Haus"),
                                       QStringLiteral("Baum")}));
        history = database::updateSearchHistory(history, QStringLiteral("Baum"));
        QCOMPARE(history, QStringList({QStringLiteral("Baum"), QStringLiteral("haus "),
                                       QStringLiteral("Haus")}));

        QStringList full;
        for (int i = 1; i <= 50; ++i)
            full.append(QStringLiteral("Wort%1").arg(i));
        full = database::updateSearchHistory(full, QStringLiteral("neu"));
        QCOMPARE(full.size(), 50);
        QCOMPARE(full.first(), QStringLiteral("neu"));
        QCOMPARE(full.last(), QStringLiteral("Wort49"));
    }

    void historyFileRoundTripAndFallback() {
        QTemporaryDir program;
        const QString dir = program.path() + QLatin1Char('/');
        QVERIFY(database::loadSearchHistory(dir, QStringLiteral("Texte")).isEmpty());
        // The second form is read while the first is missing.
        writeBytes(dir + QStringLiteral("Texte_MHT_Suchwoerterliste.txt"),
                   "\xEF\xBB\xBF\xC3\xA4lter\r\nalt\r\n");
        QCOMPARE(database::loadSearchHistory(dir, QStringLiteral("Texte")),
                 QStringList({QStringLiteral("älter"), QStringLiteral("alt")}));

        QVERIFY(database::saveSearchHistory({QStringLiteral("ä"), QStringLiteral("b")}, dir,
                                            QStringLiteral("Texte")));
        QCOMPARE(readAll(dir + QStringLiteral("Texte_Suchwoerterliste.txt")),
                 QByteArray("\xFF\xFE\xE4\x00\r\x00\n\x00"
                            "b\x00\r\x00\n\x00",
                            14));
        QCOMPARE(database::loadSearchHistory(dir, QStringLiteral("Texte")),
                 QStringList({QStringLiteral("ä"), QStringLiteral("b")}));
        QVERIFY(!database::shouldSaveSearchHistory({QStringLiteral("x")}, false));
        QVERIFY(!database::shouldSaveSearchHistory({}, true));
        QVERIFY(database::shouldSaveSearchHistory({QStringLiteral("x")}, true));
    }

    void handOffFileJoinsItsLines() {
        QTemporaryDir control;
        const QString dir = control.path() + QLatin1Char('/');
        QVERIFY(!search::readHandOffSearchText(dir));
        writeBytes(dir + QStringLiteral("Datenbank/Suchtext.txt"), QByteArray("\xFF\xFE\xE4\x00"
                                                                              "b\x00\r\x00\n\x00"
                                                                              "c\x00",
                                                                              12));
        QCOMPARE(search::readHandOffSearchText(dir), QStringLiteral("äb\r\nc"));
        QVERIFY(search::deleteHandOffFile(dir));
        QVERIFY(!search::readHandOffSearchText(dir));
    }
};

std::unique_ptr<QObject> makeBrowserHistoryTest() {
    return std::make_unique<BrowserHistoryTest>();
}

#include "browser_history_test.moc"
