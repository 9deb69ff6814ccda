#include "test_registry.h"
#include "tree_fixture.h"

#include "filelist/tool_monitor.h"
#include "platform/drive_map.h"
#include "platform/tool_launcher.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

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

    void runAndWait() {
        QString error;
        QCOMPARE(platform::runToolAndWait(
                     {QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 2")}},
                     &error),
                 2);
        QCOMPARE(platform::runToolAndWait({QStringLiteral("/nicht/da"), {}}, &error), -1);
        QVERIFY(error.startsWith(QStringLiteral("/nicht/da konnte nicht gestartet werden")));
    }
};

TROVEX_FILELIST_TEST(LauncherTest)
#include "launcher_test.moc"
