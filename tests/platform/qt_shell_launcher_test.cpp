#include "platform/qt_shell_launcher.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <optional>

using platform::QtShellLauncher;

// The report of the windows' launcher, with a stand-in for xdg-open on the
// search path: whether the desktop found a program is what the help's
// message depends on.
class QtShellLauncherTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsWhatTheOpenerAnswered_data() {
        QTest::addColumn<QString>("opener"); // script body; empty: no xdg-open at all
        QTest::addColumn<int>("failureWindowMs");
        QTest::addColumn<bool>("opened");

        const QString recordAndSucceed = QStringLiteral("echo \"$1\" > \"$0.arg\"\nexit 0\n");
        QTest::newRow("a viewer took it") << recordAndSucceed << 10000 << true;
        QTest::newRow("no program for the type") << QStringLiteral("exit 3\n") << 10000 << false;
        QTest::newRow("a viewer ran and ended with an error")
            << QStringLiteral("exit 3\n") << 0 << true;
        QTest::newRow("no opener installed") << QString() << 10000 << false;
    }

    void reportsWhatTheOpenerAnswered() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        QSKIP("The shell answers at once there.");
#endif
        QFETCH(QString, opener);
        QFETCH(int, failureWindowMs);
        QFETCH(bool, opened);

        QTemporaryDir bin;
        QTemporaryDir documents;
        QVERIFY(bin.isValid() && documents.isValid());
        const QString script = bin.filePath(QStringLiteral("xdg-open"));
        if (!opener.isEmpty()) {
            QFile file(script);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n" + opener.toUtf8());
            file.close();
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        const QString help = documents.filePath(QStringLiteral("Trovex_ODT.pdf"));
        QFile pdf(help);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write("%PDF-1.4\n");
        pdf.close();

        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        std::optional<bool> reported;
        int reports = 0;
        QtShellLauncher launcher(failureWindowMs);
        launcher.openWithDefaultHandlerAndReport(help, [&](bool answer) {
            reported = answer;
            ++reports;
        });
        qputenv("PATH", path);

        QTRY_VERIFY(reported.has_value());
        QCOMPARE(*reported, opened);
        QCOMPARE(reports, 1);
        if (opener.contains(QStringLiteral(".arg"))) {
            QFile argument(script + QStringLiteral(".arg"));
            QVERIFY(argument.open(QIODevice::ReadOnly));
            QCOMPARE(argument.readAll().trimmed(), QUrl::fromLocalFile(help).toEncoded());
        }
    }
};

QTEST_GUILESS_MAIN(QtShellLauncherTest)
#include "qt_shell_launcher_test.moc"
