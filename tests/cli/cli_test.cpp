#include "support/name_messages.h"
#include "support/run_program.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
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

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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

    // Every command that takes a database name refuses one that leads out
    // of Datenbank, holds a control character or is too long, with a German
    // message and before any file is touched: the other folder and the
    // program directory stay byte for byte.
    void hostileDatabaseNamesAreRefused_data() {
        QTest::addColumn<QStringList>("command"); // NAME stands for the name
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString invalid =
            QStringLiteral("Der Name der Datenbank ist ungültig: Er darf weder \"/\" noch \"\\\" "
                           "noch \"..\" noch Steuerzeichen wie einen Zeilenumbruch enthalten.\n");
        const QString tooLong = testsupport::tooLongNameMessage() + QLatin1Char('\n');
        const QList<QStringList> commands = {
            {"delete", "NAME"},
            {"index", "NAME", "--update"},
            {"index", "NAME", "D:\\Texte", "*.odt"},
            {"search", "NAME", "Haus"},
            {"positions", "NAME"},
            {"list", "NAME"},
        };
        const QList<std::pair<const char*, QString>> names = {
            {"out of Datenbank", QStringLiteral("../../Opfer/Projekt")},
            {"two dots", QStringLiteral("..")},
            {"line break", QStringLiteral("Neu\nZeile")},
            {"escape", QStringLiteral("\x1b[2J")},
            {"230 characters", QString(230, u'x')},
        };
        for (const QStringList& command : commands) {
            for (const auto& [label, name] : names) {
                // index keeps the name field's own message for its characters.
                const QString expected =
                    command.first() == QLatin1String("index") && name.contains(QLatin1Char('/'))
                        ? QStringLiteral("Sie haben ungültige Zeichen "
                                         "eingegeben!\n")
                    : name.size() == 230 ? tooLong
                                         : invalid;
                QTest::addRow("%s, %s", qPrintable(command.join(u' ')), label)
                    << command << name << expected;
            }
        }
    }
    void hostileDatabaseNamesAreRefused() {
        QFETCH(QStringList, command);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir config;
        QTemporaryDir root;
        const QString program = root.path() + QStringLiteral("/Programm");
        const QString victim = root.path() + QStringLiteral("/Opfer/");
        QVERIFY(QDir().mkpath(program + QStringLiteral("/Datenbank/Temp")));
        QVERIFY(QDir().mkpath(victim + QStringLiteral("Ordner")));
        const QByteArray list = "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n";
        const QByteArray text = " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==\r\nHaus Baum\r\n";
        for (const QString& file : {QStringLiteral("Projekt.dat"), QStringLiteral("Opfer.dat")})
            write(victim + file, list);
        write(victim + QStringLiteral("Projekt_UTF8Dokument.txt"), text);
        write(victim + QStringLiteral("Projekt.log"), "Protokoll");
        write(victim + QStringLiteral("Ordner/Brief.txt"), "Brief");
        write(program + QStringLiteral("/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_D.txt"),
              "D:\\Texte\\a.odt\r\n");
        const auto snapshot = [&root] {
            QStringList entries;
            QDirIterator it(root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                QFile file(path);
                entries.append(path + QLatin1Char('=') +
                               (file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : ""));
            }
            entries.sort();
            return entries;
        };
        const QStringList before = snapshot();
        QStringList arguments = {"--program-dir", program, "--drive", "D=" + victim};
        for (const QString& argument : command)
            arguments.append(argument == QLatin1String("NAME") ? name : argument);
        const Result refused = runTrovex(arguments, config.path());
        QCOMPARE(refused.status, 1);
        QCOMPARE(refused.err, message);
        QCOMPARE(refused.out, QString());
        QCOMPARE(snapshot(), before);
    }

    // A database that a run of another program holds is refused by every
    // command that writes it, and nothing changes.
    void aHeldDatabaseIsRefused() {
        QTemporaryDir config;
        QTemporaryDir program;
        const QString data = program.path() + QStringLiteral("/Datenbank/");
        QVERIFY(QDir().mkpath(data + QStringLiteral("Temp")));
        QVERIFY(QDir().mkpath(program.path() + QStringLiteral("/Texte")));
        write(data + QStringLiteral("Texte.dat"),
              "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n");
        write(data + QStringLiteral("Texte_UTF8Dokument.txt"),
              " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==\r\nHaus Baum\r\n");
        write(data + QStringLiteral("Haupt_Dateinamen_Liste_Laufwerk_D.txt"),
              "D:\\Texte\\a.odt\r\n");
        QProcess holder;
        holder.start(QStringLiteral("flock"),
                     {QStringLiteral("--no-fork"), QStringLiteral("-x"),
                      data + QStringLiteral("Texte.lock"), QStringLiteral("sh"),
                      QStringLiteral("-c"), QStringLiteral("echo gesperrt; exec sleep 600")});
        if (!holder.waitForStarted())
            QSKIP("flock(1) is not installed");
        QVERIFY(holder.waitForReadyRead(30000));
        const QString busy = QStringLiteral(
            "Die Datenbank \"Texte\" wird gerade von einem anderen Vorgang bearbeitet "
            "(Indizierung, Sortierung, Positionsliste oder Löschen). Es wurde nichts geändert. "
            "Bitte versuchen Sie es später noch einmal.\n");
        const QStringList base = {"--program-dir", program.path(), "--drive",
                                  "D=" + program.path()};
        for (const QStringList& command :
             {QStringList{"index", "Texte", "--update"}, QStringList{"list", "Texte"},
              QStringList{"positions", "Texte"}, QStringList{"delete", "Texte"}}) {
            const Result refused = runTrovex(base + command, config.path());
            QCOMPARE(refused.status, 1);
            QVERIFY2(refused.err.endsWith(busy), qPrintable(refused.err));
            QVERIFY(QFile::exists(data + QStringLiteral("Texte.dat")));
            QVERIFY(!QFile::exists(data + QStringLiteral("Texte_Phrasen_Woerter_Utf8Liste.txt")));
            QVERIFY(!QFile::exists(data + QStringLiteral("Texte_TitelPositionen.txt")));
        }
        // Readers go on: the search finds the text.
        const Result search =
            runTrovex(base + QStringList{"search", "Texte", "Baum"}, config.path());
        QCOMPARE(search.status, 0);
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QCOMPARE(runTrovex(base + QStringList{"list", "Texte"}, config.path()).status, 0);
    }

    void listCommand() {
        QTemporaryDir config;
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Datenbank")));
        const QString data = program.path() + QStringLiteral("/Datenbank/");
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
#ifdef Q_OS_WIN
        // Wine's collator passes over "#": the path line sorts among the D's.
        QCOMPARE(list.readAll(), QByteArray("Auto\r\nBaum\r\n#D:\\Texte\\a.odt\r\nHaus\r\n"
                                            "Mond\r\nSterne\r\nZelt\r\n2024\r\n"));
#else
        QCOMPARE(list.readAll(), QByteArray("#D:\\Texte\\a.odt\r\nAuto\r\nBaum\r\nHaus\r\n"
                                            "Mond\r\nSterne\r\nZelt\r\n2024\r\n"));
#endif
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
