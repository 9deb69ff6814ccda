#include "search/browser_launch.h"
#include "search/search_handoff.h"

#include "database/search_history.h"
#include "test_database.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class BrowserHistoryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyBrowserSettingBecomesStandard() {
        platform::MemorySettingsStore settings;
        platform::RecordingShellLauncher launcher;
        platform::RecordingPrompts prompts;
        search::StarteInternetBrowser(QStringLiteral("/p/TX_Ergebnis.htm"), settings, launcher,
                                      prompts);
        QCOMPARE(settings.read(QStringLiteral("Browser")), QStringLiteral("standard"));
        QCOMPARE(launcher.calls.size(), 1);
        QVERIFY(launcher.calls.at(0).defaultHandler);
        QCOMPARE(launcher.calls.at(0).argument, QStringLiteral("/p/TX_Ergebnis.htm"));
        QVERIFY(prompts.shown.isEmpty());
    }

    void browserChoice_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("program"); // empty: default handler
        QTest::addColumn<QString>("parameters");
        QTest::newRow("opera opens with the default handler")
            << QStringLiteral("opera") << QString() << QStringLiteral("/p/a b.htm");
        QTest::newRow("firefox quoted") << QStringLiteral("firefox") << QStringLiteral("firefox")
                                        << QStringLiteral("\"/p/a b.htm\"");
        QTest::newRow("internet explorer unquoted")
            << QStringLiteral("internet explorer") << QStringLiteral("iexplore")
            << QStringLiteral("/p/a b.htm");
        QTest::newRow("edge") << QStringLiteral("edge") << QStringLiteral("microsoft-edge")
                              << QStringLiteral("/p/a b.htm");
        QTest::newRow("chrome quoted")
            << QStringLiteral("chrome") << QStringLiteral("google-chrome")
            << QStringLiteral("\"/p/a b.htm\"");
        QTest::newRow("standard wins over a named browser")
            << QStringLiteral("standard firefox") << QString() << QStringLiteral("/p/a b.htm");
        QTest::newRow("firefox is tested before chrome")
            << QStringLiteral("chrome firefox") << QStringLiteral("firefox")
            << QStringLiteral("\"/p/a b.htm\"");
        QTest::newRow("the words are case-sensitive")
            << QStringLiteral("Firefox") << QString() << QStringLiteral("/p/a b.htm");
    }
    void browserChoice() {
        QFETCH(QString, setting);
        QFETCH(QString, program);
        QFETCH(QString, parameters);
        platform::MemorySettingsStore settings;
        settings.write(QStringLiteral("Browser"), setting);
        platform::RecordingShellLauncher launcher;
        launcher.programsThatStart = {program};
        platform::RecordingPrompts prompts;
        search::StarteInternetBrowser(QStringLiteral("/p/a b.htm"), settings, launcher, prompts);
        QCOMPARE(launcher.calls.size(), 1);
        QCOMPARE(launcher.calls.at(0).defaultHandler, program.isEmpty());
        QCOMPARE(launcher.calls.at(0).program, program);
        QCOMPARE(launcher.calls.at(0).argument, parameters);
        QVERIFY(prompts.shown.isEmpty());
    }

    void missingBrowserIsReported() {
        platform::MemorySettingsStore settings;
        settings.write(QStringLiteral("Browser"), QStringLiteral("firefox"));
        platform::RecordingShellLauncher launcher;
        platform::RecordingPrompts prompts;
        search::StarteInternetBrowser(QStringLiteral("/p/x.htm"), settings, launcher, prompts);
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown.at(0).kind, platform::RecordingPrompts::Kind::Warning);
        QCOMPARE(prompts.shown.at(0).text,
                 QStringLiteral("Datei: firefox kann nicht geöffnet werden"));
    }

    void webSearchSites() {
        QCOMPARE(search::webSearchAddress(QStringLiteral("https://example.org/suche?q="),
                                          QStringLiteral("rote Häuser & mehr ")),
                 QStringLiteral("https://example.org/suche?q=rote Häuser & mehr "));
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
