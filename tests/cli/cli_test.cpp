#include "support/run_program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Result = testsupport::ProgramRun;

Result runTrovex(const QStringList& arguments, const QString& configHome) {
    return testsupport::runBuiltProgram(QStringLiteral("trovex"), arguments, configHome);
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpAndUsageErrors() {
        QTemporaryDir config;
        const Result help = runTrovex({"--help"}, config.path());
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains(QStringLiteral("--program-dir DIR")));
        QVERIFY(help.out.contains(QStringLiteral("databases")));
        QCOMPARE(runTrovex({}, config.path()).status, 2);
        QCOMPARE(runTrovex({"frobnicate"}, config.path()).status, 2);
        QCOMPARE(runTrovex({"--drive", "1=/tmp", "databases"}, config.path()).status, 2);
        QCOMPARE(runTrovex({"--program-dir"}, config.path()).status, 2);
    }

    void databasesAndDelete() {
        QTemporaryDir config;
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Datenbank")));
        const QString data = program.path() + QStringLiteral("/Datenbank/");
        for (const char* file :
             {"Zweite.dat", "erste.dat", "erste.log", "erste_UTF8Dokument.txt", "x_mht.dat"})
            touch(data + QLatin1String(file));
        touch(program.path() + QStringLiteral("/erste_Suchwoerterliste.txt"));

        const QStringList base = {"--program-dir", program.path()};
        Result listed = runTrovex(base + QStringList{"databases"}, config.path());
        QCOMPARE(listed.status, 0);
        QCOMPARE(listed.out, QStringLiteral("erste\nZweite\n"));

        const Result missing = runTrovex(base + QStringList{"delete", "dritte"}, config.path());
        QCOMPARE(missing.status, 1);
        QVERIFY(!missing.err.isEmpty());

        QCOMPARE(runTrovex(base + QStringList{"delete", "erste"}, config.path()).status, 0);
        QVERIFY(!QFile::exists(data + QStringLiteral("erste_UTF8Dokument.txt")));
        QVERIFY(!QFile::exists(program.path() + QStringLiteral("/erste_Suchwoerterliste.txt")));
        listed = runTrovex(base + QStringList{"databases"}, config.path());
        QCOMPARE(listed.out, QStringLiteral("Zweite\n"));
        QCOMPARE(runTrovex(base + QStringList{"delete"}, config.path()).status, 2);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
