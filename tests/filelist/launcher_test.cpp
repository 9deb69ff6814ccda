#include "test_registry.h"
#include "tree_fixture.h"

#include "filelist/tool_monitor.h"
#include "filelist/tool_start.h"
#include "platform/drive_map.h"
#include "platform/tool_launcher.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using filelist::ToolOutcome;
using platform::planFileListToolStart;

class LauncherTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Which executable starts, and which directory gets the list.
    void controlDirectoryRule_data() {
        QTest::addColumn<bool>("useControl");
        QTest::addColumn<bool>("controlExists");
        QTest::addColumn<bool>("toolInListDirectory");
        QTest::addColumn<QString>("listDirectory"); // "program" or "control"
        QTest::addColumn<QString>("programFrom");   // "list" or "application"
        QTest::newRow("program directory") << false << true << true << "program"
                                           << "list";
        QTest::newRow("control directory") << true << true << true << "control"
                                           << "list";
        QTest::newRow("control directory missing") << true << false << true << "program"
                                                   << "list";
        QTest::newRow("tool only beside the program") << false << true << false << "program"
                                                      << "application";
        QTest::newRow("control directory without the tool") << true << true << false << "control"
                                                            << "application";
    }
    void controlDirectoryRule() {
        QFETCH(bool, useControl);
        QFETCH(bool, controlExists);
        QFETCH(bool, toolInListDirectory);
        QFETCH(QString, listDirectory);
        QFETCH(QString, programFrom);
        fixture::ScratchDir temp;
        const QString program = temp.path() + QStringLiteral("/program/");
        const QString control = temp.path() + QStringLiteral("/control/");
        const QString application = temp.path() + QStringLiteral("/bin/");
        QVERIFY(QDir().mkpath(program));
        if (controlExists)
            QVERIFY(QDir().mkpath(control));
        const QString expectedList = listDirectory == QLatin1String("program") ? program : control;
        if (toolInListDirectory)
            QVERIFY(fixture::makeFile(QFile::encodeName(expectedList + "ErstelleDateiliste")));

        const auto plan = planFileListToolStart(QLatin1Char('d'), program, control, useControl,
                                                application, platform::DriveMap(), false);
        QCOMPARE(plan.listDirectory, expectedList);
        QCOMPARE(plan.request.program,
                 (programFrom == QLatin1String("list") ? expectedList : application) +
                     QStringLiteral("ErstelleDateiliste"));
        QCOMPARE(plan.request.arguments, QStringList({"open", "d", "--no-window", "--program-dir",
                                                      expectedList.chopped(1), "--drive", "Z=/"}));
        QVERIFY(plan.request.elevated);
    }

    void mappingsAreHandedOnAndWindowIsDefault() {
        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('d'), QStringLiteral("/media/daten"));
        const auto plan = planFileListToolStart(QLatin1Char('D'), QStringLiteral("/p"), QString(),
                                                false, QStringLiteral("/bin"), drives, true);
        QCOMPARE(plan.request.arguments, QStringList({"open", "D", "--program-dir", "/p", "--drive",
                                                      "D=/media/daten", "--drive", "Z=/"}));
    }

    void processNotifications() {
        platform::ProcessToolLauncher launcher;
        QSignalSpy started(&launcher, &platform::ToolLauncher::toolStarted);
        QSignalSpy finished(&launcher, &platform::ToolLauncher::toolFinished);
        QSignalSpy failed(&launcher, &platform::ToolLauncher::toolFailedToStart);
        launcher.start(
            {QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}});
        QVERIFY(finished.wait(10000));
        QCOMPARE(started.count(), 1);
        QCOMPARE(finished.first().at(0).toInt(), 3);
        QCOMPARE(finished.first().at(1).toBool(), false);
        QCOMPARE(failed.count(), 0);

        launcher.start({QStringLiteral("/nicht/da/ErstelleDateiliste"), {}});
        QVERIFY(failed.wait(10000));
        QCOMPARE(started.count(), 1);
    }

    // The real tool, started and finished between two ticks of the monitor:
    // the first tick afterwards reads the list.
    void fastToolIsSeenAndFinished() {
        fixture::ScratchDir temp;
        QVERIFY(fixture::makeFile(QFile::encodeName(temp.path()) + "/a.odt"));
        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('F'), temp.path());
        auto plan =
            planFileListToolStart(QLatin1Char('F'), temp.path() + QStringLiteral("/p"), QString(),
                                  false, qEnvironmentVariable("TROVEX_BIN"), drives, false);
        platform::ProcessToolLauncher launcher;
        filelist::ToolMonitor monitor;
        connect(&launcher, &platform::ToolLauncher::toolStarted, this,
                [&] { monitor.toolProcessStarted(); });
        connect(&launcher, &platform::ToolLauncher::toolFinished, this,
                [&] { monitor.toolProcessFinished(); });
        QSignalSpy finished(&launcher, &platform::ToolLauncher::toolFinished);
        monitor.start();
        launcher.start(plan.request);
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.first().at(0).toInt(), 0);
        QCOMPARE(monitor.tick(false), filelist::ToolMonitor::TickAction::ReadList);
        QCOMPARE(
            fixture::readAll(plan.listDirectory +
                             QStringLiteral("Datenbank/Haupt_Dateinamen_Liste_Laufwerk_F.txt")),
            QByteArray("F:\\a.odt\r\n"));
    }

    // trovex index waits for the tool through the same start as the window
    // and reads its end from the exit status.
    void runAndWaitReadsTheToolsEnd_data() {
        QTest::addColumn<QByteArray>("script"); // empty: no tool at all
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitCode"); // -1: none to compare (crashed, or no tool)
        QTest::newRow("list written") << QByteArray("exit 0") << int(ToolOutcome::ListWritten) << 0;
        QTest::newRow("refused") << QByteArray("exit 1") << int(ToolOutcome::Refused) << 1;
        QTest::newRow("failed") << QByteArray("exit 2") << int(ToolOutcome::Failed) << 2;
        QTest::newRow("interrupted") << QByteArray("exit 3") << int(ToolOutcome::Interrupted) << 3;
        QTest::newRow("unknown status") << QByteArray("exit 7") << int(ToolOutcome::Failed) << 7;
        QTest::newRow("killed") << QByteArray("kill -9 $$") << int(ToolOutcome::Failed) << -1;
        QTest::newRow("missing") << QByteArray() << int(ToolOutcome::NotStarted) << -1;
    }
    void runAndWaitReadsTheToolsEnd() {
        QFETCH(QByteArray, script);
        QFETCH(int, outcome);
        QFETCH(int, exitCode);
        fixture::ScratchDir temp;
        const QString program = temp.path() + QStringLiteral("/program/");
        QVERIFY(QDir().mkpath(program));
        // A stand-in for the tool in the program directory, where the plan
        // looks first; its arguments are written beside it.
        if (!script.isEmpty()) {
            const QString tool = program + QStringLiteral("ErstelleDateiliste");
            QVERIFY(fixture::makeFile(QFile::encodeName(tool),
                                      "#!/bin/sh\necho \"$@\" > \"$0.args\"\n" + script + "\n"));
            QVERIFY(QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner));
        }
        filelist::FileListToolCall call;
        call.driveLetter = QLatin1Char('E');
        call.programDirectory = program;
        call.applicationDirectory = temp.path() + QStringLiteral("/nirgends");
        call.showWindow = false;
        call.elevated = false;
        platform::ProcessToolLauncher launcher;
        const filelist::ToolRunResult result =
            filelist::runFileListToolAndWait(launcher, call, platform::DriveMap());
        QCOMPARE(int(result.outcome), outcome);
        if (script.isEmpty()) {
            QVERIFY(!result.error.isEmpty());
            return;
        }
        if (exitCode >= 0)
            QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(fixture::readAll(program + QStringLiteral("ErstelleDateiliste.args")),
                 "open E --no-window --program-dir " + QFile::encodeName(program.chopped(1)) +
                     " --drive Z=/\n");
    }
};

TROVEX_FILELIST_TEST(LauncherTest)
#include "launcher_test.moc"
