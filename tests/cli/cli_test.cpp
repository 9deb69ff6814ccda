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

        // A file that cannot be removed (a folder in the way) is named, and
        // the database stays listed.
        QVERIFY(QDir(data).mkpath(QStringLiteral("Zweite.log/im Weg")));
        const Result stuck = runTrovex(base + QStringList{"delete", "Zweite"}, config.path());
        QCOMPARE(stuck.status, 2);
        QCOMPARE(stuck.err, QStringLiteral("Die Datenbank \"Zweite\" konnte nicht vollständig "
                                           "gelöscht werden. Diese Dateien konnten nicht entfernt "
                                           "werden:\r\n") +
                                QDir::toNativeSeparators(data + QStringLiteral("Zweite.dat")) +
                                QStringLiteral("\r\n") +
                                QDir::toNativeSeparators(data + QStringLiteral("Zweite.log")) +
                                QStringLiteral("\n"));
        QCOMPARE(runTrovex(base + QStringList{"databases"}, config.path()).out,
                 QStringLiteral("Zweite\n"));
    }

    void listCommand() {
        QTemporaryDir config;
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Datenbank")));
        const QString data = program.path() + QStringLiteral("/Datenbank/");
        const auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        };
        write(data + QStringLiteral("Texte.dat"),
              "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n");
        write(data + QStringLiteral("Texte_UTF8Dokument.txt"),
              " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==============\r\n"
              "Haus, Baum; Auto:Zelt\r\nMond und Sterne, 2024\r\n");
        touch(data + QStringLiteral("Leer.dat"));

        const QStringList base = {"--program-dir", program.path(), "list"};
        const Result words = runTrovex(base + QStringList{"Texte"}, config.path());
        QCOMPARE(words.status, 0);
        QCOMPARE(words.out, QStringLiteral("Gruppe 1: 3\nGruppe 2: 1\nGruppe 3: 1\n"
                                           "Gruppe 4: 2\nGruppe 5: 1\n"));
        QFile list(data + QStringLiteral("Texte_Phrasen_Woerter_Utf8Liste.txt"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), QByteArray("#D:\\Texte\\a.odt\r\nAuto\r\nBaum\r\nHaus\r\n"
                                            "Mond\r\nSterne\r\nZelt\r\n2024\r\n"));
        list.close();

        const Result phrases = runTrovex(base + QStringList{"Texte", "--phrases"}, config.path());
        QCOMPARE(phrases.status, 0);
        QCOMPARE(phrases.out, QStringLiteral("Gruppe 1: 2\nGruppe 2: 0\nGruppe 3: 1\n"
                                             "Gruppe 4: 0\nGruppe 5: 0\n"));

        const Result noText = runTrovex(base + QStringList{"Leer"}, config.path());
        QCOMPARE(noText.status, 1);
        QCOMPARE(noText.err, QStringLiteral("Für die Datenbank \"Leer\" existieren keine "
                                            "Dokumente, die sortiert werden könnten!\n"));
        QCOMPARE(runTrovex(base + QStringList{"Fehlt"}, config.path()).status, 1);
        QCOMPARE(runTrovex(base, config.path()).status, 2);
        QCOMPARE(runTrovex(base + QStringList{"Texte", "--both", "--words"}, config.path()).status,
                 2);
        QCOMPARE(runTrovex(base + QStringList{"Texte", "--sentences"}, config.path()).status, 2);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
