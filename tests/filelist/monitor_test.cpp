#include "test_registry.h"

#include "filelist/run_indicators.h"
#include "filelist/scanner_notice.h"
#include "filelist/tool_monitor.h"

#include <QtTest>

using namespace filelist;
using Action = ToolMonitor::TickAction;
using State = ToolMonitor::State;

class MonitorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timesOutOnTick120WithoutTheTool() {
        ToolMonitor monitor;
        monitor.start();
        for (int tick = 1; tick < 120; ++tick) {
            QCOMPARE(monitor.tick(false), Action::ShowWaitingCaption);
            QCOMPARE(monitor.waitCounter(), tick);
        }
        QCOMPARE(monitor.tick(false), Action::TimeOut);
        QCOMPARE(monitor.waitCounter(), -1);
        QCOMPARE(monitor.state(), State::TimedOut);
        QCOMPARE(monitor.tick(true), Action::None);
    }

    // Seen on tick 119 by its window: no time-out, however long it runs.
    void windowSeenOnTick119MeansNoTimeOut() {
        ToolMonitor monitor;
        monitor.start();
        for (int tick = 1; tick <= 118; ++tick)
            QCOMPARE(monitor.tick(false), Action::ShowWaitingCaption);
        QCOMPARE(monitor.tick(true), Action::ToolVisible);
        QCOMPARE(monitor.waitCounter(), 118);
        for (int tick = 0; tick < 500; ++tick)
            QCOMPARE(monitor.tick(true), Action::ToolVisible);
        QCOMPARE(monitor.tick(false), Action::ReadList);
        QCOMPARE(monitor.waitCounter(), 0);
        QVERIFY(monitor.toolSeen() && monitor.toolFinished());
        QCOMPARE(monitor.tick(false), Action::None);
    }

    // The process started and ended between two ticks: still seen and
    // finished on the next tick, not a time-out a minute later.
    void toolThatEndsBetweenTicksIsFinished() {
        ToolMonitor monitor;
        monitor.start();
        QCOMPARE(monitor.tick(false), Action::ShowWaitingCaption);
        monitor.toolProcessStarted();
        monitor.toolProcessFinished();
        QCOMPARE(monitor.tick(false), Action::ReadList);
        QCOMPARE(monitor.state(), State::ToolFinished);
    }

    // Without windows to enumerate the running process counts as seen.
    void runningProcessCountsAsSeen() {
        ToolMonitor monitor;
        monitor.start();
        for (int tick = 0; tick < 119; ++tick)
            monitor.tick(false);
        monitor.toolProcessStarted();
        for (int tick = 0; tick < 300; ++tick)
            QCOMPARE(monitor.tick(false), Action::ToolVisible);
        monitor.toolProcessFinished();
        QCOMPARE(monitor.tick(false), Action::ReadList);
    }

    // Another window with the tool's title keeps the monitor waiting.
    void windowWithTheTitleKeepsWaiting() {
        ToolMonitor monitor;
        monitor.start();
        monitor.toolProcessStarted();
        monitor.toolProcessFinished();
        QCOMPARE(monitor.tick(true), Action::ToolVisible);
        QCOMPARE(monitor.tick(false), Action::ReadList);
    }

    // A start that failed sends no notification: the time-out comes.
    void startAgainClearsEverything() {
        ToolMonitor monitor;
        monitor.start();
        monitor.toolProcessStarted();
        monitor.toolProcessFinished();
        QCOMPARE(monitor.tick(false), Action::ReadList);
        monitor.start();
        QVERIFY(!monitor.toolSeen() && !monitor.toolFinished());
        for (int tick = 1; tick < 120; ++tick)
            monitor.tick(false);
        QCOMPARE(monitor.tick(false), Action::TimeOut);
    }

    void idleMonitorDoesNothing() {
        ToolMonitor monitor;
        QCOMPARE(monitor.tick(true), Action::None);
        QCOMPARE(monitor.state(), State::Idle);
    }

    void monitorTexts() {
        QCOMPARE(waitingCaption(QStringLiteral("0:1:5")),
                 QStringLiteral("Trovex-ODT wartet auf Erstellung der Hauptdatei-Liste! 0:1:5"));
        QCOMPARE(timeoutStatusText(platform::OsFamily::Windows),
                 QStringLiteral("\"ErstelleDateiliste.exe\" wurde abgebrochen, Vorgabezeit "
                                "überschritten oder noch nicht mit \"JA\" bestätigt!"));
        QCOMPARE(timeoutMessageText(platform::OsFamily::Windows),
                 QStringLiteral("Die Vorgabezeit ist überschritten! Sie hätten in der Taskleiste "
                                "von Windows auf das blinkende Symbol mit dem Namen "
                                "\"ErstelleDateiliste.exe\" klicken müssen. Wenn noch nicht "
                                "geschehen, dann klicken Sie nun darauf und wählen Sie \"Nein\" "
                                "aus, denn das aktuelle Indizieren ist leider gescheitert!"));
    }

    void elapsedTimeTexts_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("0:0:0");
        QTest::newRow("187 s") << qint64(187) << QStringLiteral("0:3:7");
        QTest::newRow("247 s") << qint64(247) << QStringLiteral("0:4:7");
        QTest::newRow("3725 s") << qint64(3725) << QStringLiteral("1:2:5");
        QTest::newRow("one hour") << qint64(3600) << QStringLiteral("1:0:0");
        QTest::newRow("over a day") << qint64(90061) << QStringLiteral("25:1:1");
    }
    void elapsedTimeTexts() {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(elapsedTimeText(seconds), text);
    }

    void elapsedSecondsCutEachTickCount() {
        QCOMPARE(elapsedSeconds(999, 1000), 1);
        QCOMPARE(elapsedSeconds(1000, 1999), 0);
        QCOMPARE(elapsedSeconds(5500, 3730400), 3725);
    }

    void progressLine() {
        QCOMPARE(progressLineText(1234567, QStringLiteral("1:2:5"), QLocale(QLocale::German)),
                 QStringLiteral("Anzahl Dateien:     1.234.567     Zeit: 1:2:5"));
        QCOMPARE(progressLineText(0, QStringLiteral("0:0:0"), QLocale(QLocale::German)),
                 QStringLiteral("Anzahl Dateien:     0     Zeit: 0:0:0"));
    }

    void patienceMarksCycle() {
        PatienceMarks marks;
        const QStringList expected = {QStringLiteral("°"),         QStringLiteral("° °"),
                                      QStringLiteral("° ° °"),     QStringLiteral("° ° ° °"),
                                      QStringLiteral("° ° ° ° °"), QString(),
                                      QStringLiteral("°")};
        for (const QString& text : expected)
            QCOMPARE(marks.advance(), text);
        QCOMPARE(marks.step(), 1);
        QCOMPARE(patienceLabelPosition(QRect(600, 10, 121, 25), 40), QPoint(640, 42));
        QCOMPARE(patienceLabelLeftAfterTimeout(QRect(600, 10, 121, 25)), 711);
    }

    void scannerNotice_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("ticksBefore");
        QTest::addColumn<QString>("statusText");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("updateMode");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("newCaption");    // "<keep>": unchanged
        QTest::addColumn<QString>("newStatusText"); // "<keep>": unchanged
        const QString keep = QStringLiteral("<keep>");
        const QString neu = QStringLiteral("Datenbank wird neu erstellt.");
        QTest::newRow("no scanner") << false << 0 << neu << QStringLiteral("Datei: a") << false
                                    << false << QStringLiteral("-") << keep;
        QTest::newRow("first tick says nothing")
            << true << 0 << neu << QStringLiteral("Datei: a") << false << false << keep << keep;
        QTest::newRow("second tick, new database")
            << true << 1 << neu << QStringLiteral("Datei: a") << false << false
            << QStringLiteral("Bitte Geduld! Windows Defender überprüft gerade Trovex.")
            << QStringLiteral("Datenbank wird neu erstellt. Bitte Geduld! Windows Defender "
                              "überprüft gerade Trovex.");
        QTest::newRow("second tick, update")
            << true << 1 << neu << QStringLiteral("x") << true << false
            << QStringLiteral("Bitte Geduld! Windows Defender überprüft gerade Trovex.")
            << QStringLiteral("Datenbank wird aktualisiert. Bitte Geduld! Windows Defender "
                              "überprüft gerade Trovex.");
        QTest::newRow("empty caption")
            << true << 1 << neu << QString() << false << false << keep << keep;
        QTest::newRow("merge caption") << true << 1 << neu << QStringLiteral("Teil-Datei: 3")
                                       << false << false << keep << keep;
        QTest::newRow("fifth tick restores")
            << true << 4 << QStringLiteral("irgendwas") << QStringLiteral("x") << true << true
            << QString() << QStringLiteral("Datenbank wird aktualisiert.");
        QTest::newRow("run finished") << true << 0 << QStringLiteral("Fertig mit der Indizierung.")
                                      << QStringLiteral("x") << false << true << QString() << keep;
    }
    void scannerNotice() {
        QFETCH(bool, running);
        QFETCH(int, ticksBefore);
        QFETCH(QString, statusText);
        QFETCH(QString, caption);
        QFETCH(bool, updateMode);
        QFETCH(bool, stop);
        QFETCH(QString, newCaption);
        QFETCH(QString, newStatusText);
        ScannerNotice notice(platform::OsFamily::Windows);
        for (int i = 0; i < ticksBefore; ++i)
            notice.tick({true, QStringLiteral("Datenbank"), QString(), updateMode});
        const ScannerNotice::Outputs out = notice.tick({running, statusText, caption, updateMode});
        QCOMPARE(out.stopTimer, stop);
        QCOMPARE(out.caption.value_or(QStringLiteral("<keep>")), newCaption);
        QCOMPARE(out.statusText.value_or(QStringLiteral("<keep>")), newStatusText);
        if (stop)
            QCOMPARE(notice.counter(), 0);
    }

    // A process of that name off Windows (under Wine, say) is not Windows
    // Defender checking the program, and where none runs the caption is not
    // "-" either: the run's own caption stays, whatever the process test says.
    void scannerNoticeOnlyOnWindows() {
        ScannerNotice notice(platform::OsFamily::Other);
        for (int tick = 0; tick < 6; ++tick) {
            const bool running = tick % 2 == 0;
            const ScannerNotice::Outputs out =
                notice.tick({running, QStringLiteral("Datenbank wird neu erstellt."),
                             QStringLiteral("3  Datei:  D:\\a.odt"), false});
            QVERIFY(!out.stopTimer);
            QVERIFY(!out.caption);
            QVERIFY(!out.statusText);
        }
    }
};

TROVEX_FILELIST_TEST(MonitorTest)
#include "monitor_test.moc"
