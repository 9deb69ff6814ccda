// Database names from outside, the lock of a database, and the scratch
// folders of runs at the same time.
#include "database/catalogue.h"
#include "database/database_lock.h"
#include "database/database_name.h"
#include "database/generation_switch.h"
#include "database/run_scratch.h"
#include "platform/file_lock.h"

#include "support/name_messages.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace database;

Q_DECLARE_METATYPE(database::NameProblem)

namespace {

void touch(const QString& path) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

class Program {
public:
    Program() { QDir(dir_.path()).mkpath(QStringLiteral("Datenbank/Temp")); }
    QString path() const { return dir_.path() + QLatin1Char('/'); }
    QString data(const QString& rest = {}) const {
        return path() + QStringLiteral("Datenbank/") + rest;
    }
    QString temp(const QString& rest = {}) const { return data(QStringLiteral("Temp/") + rest); }

private:
    QTemporaryDir dir_;
};

} // namespace

class RunsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesFromOutside_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<NameProblem>("problem");
        QTest::newRow("plain") << "Projekt" << NameProblem::None;
        QTest::newRow("blanks, umlauts, a dot") << "Übersicht 2024.1" << NameProblem::None;
        QTest::newRow("one dot only") << "." << NameProblem::None;
        QTest::newRow("longest") << QString(218, u'a') << NameProblem::None;
        QTest::newRow("longest with umlauts") << QString(109, u'ä') << NameProblem::None;
        QTest::newRow("empty") << "" << NameProblem::Empty;
        QTest::newRow("slash") << "../../victim/Projekt" << NameProblem::ForbiddenCharacter;
        QTest::newRow("slash alone") << "a/b" << NameProblem::ForbiddenCharacter;
        QTest::newRow("backslash") << "..\\victim" << NameProblem::ForbiddenCharacter;
        QTest::newRow("backslash alone") << "a\\b" << NameProblem::ForbiddenCharacter;
        QTest::newRow("two dots") << ".." << NameProblem::ForbiddenCharacter;
        QTest::newRow("two dots inside") << "a..b" << NameProblem::ForbiddenCharacter;
        QTest::newRow("line feed") << "Neu\nZeile" << NameProblem::ForbiddenCharacter;
        QTest::newRow("carriage return") << "Neu\r" << NameProblem::ForbiddenCharacter;
        QTest::newRow("tab") << "a\tb" << NameProblem::ForbiddenCharacter;
        QTest::newRow("escape") << "\x1b[31mrot" << NameProblem::ForbiddenCharacter;
        QTest::newRow("delete") << "a\x7f" << NameProblem::ForbiddenCharacter;
        QTest::newRow("next line") << QStringLiteral("a\u0085b") << NameProblem::ForbiddenCharacter;
        QTest::newRow("line separator")
            << QStringLiteral("a\u2028b") << NameProblem::ForbiddenCharacter;
        QTest::newRow("too long") << QString(219, u'a') << NameProblem::TooLong;
        QTest::newRow("230 characters") << QString(230, u'x') << NameProblem::TooLong;
#ifdef Q_OS_WIN
        // NTFS counts UTF-16 units, so an umlaut counts once there.
        QTest::newRow("umlauts count once") << QString(110, u'ä') << NameProblem::None;
#else
        QTest::newRow("too long in UTF-8") << QString(110, u'ä') << NameProblem::TooLong;
#endif
    }
    void namesFromOutside() {
        QFETCH(QString, name);
        QFETCH(NameProblem, problem);
        QCOMPARE(databaseNameProblem(name), problem);
        QCOMPARE(isValidDatabaseName(name), problem == NameProblem::None);
        const QString message = databaseNameMessage(name);
        switch (problem) {
        case NameProblem::None:
            QCOMPARE(message, QString());
            break;
        case NameProblem::Empty:
            QCOMPARE(message, QStringLiteral("Sie haben keinen Namen für die Datenbank angegeben"));
            break;
        case NameProblem::ForbiddenCharacter:
            QCOMPARE(message, QStringLiteral("Der Name der Datenbank ist ungültig: Er darf weder "
                                             "\"/\" noch \"\\\" noch \"..\" noch Steuerzeichen wie "
                                             "einen Zeilenumbruch enthalten."));
            break;
        case NameProblem::TooLong:
            QCOMPARE(message, testsupport::tooLongNameMessage());
            break;
        }
    }

    // The longest name the check passes still gives every file of the
    // database, the sorted list while it is written included.
    void theLongestNameMakesEveryFile() {
        Program program;
        const QString name(longestDatabaseName(), u'n');
        QFile list(program.data(name + QStringLiteral("_Phrasen_Woerter_Utf8Liste.txt.XXXXXX")));
        QVERIFY2(list.open(QIODevice::WriteOnly), qPrintable(list.errorString()));
    }

    // A file whose name yields no valid database name is not offered: a
    // line break would make two entries of one, ".." could lead a deletion
    // out of Datenbank.
    void theCatalogueOffersValidNamesOnly() {
        Program program;
        for (const QString& file :
             QStringList{QStringLiteral("Gut.dat"),
#ifndef Q_OS_WIN // names NTFS does not take
                         QStringLiteral("Neu\nZeile.dat"), QStringLiteral("\x1b[2J.dat"),
#endif
                         QStringLiteral("a..b.dat"), QString(219, u'l') + QStringLiteral(".dat"),
                         QString(218, u'k') + QStringLiteral(".dat")})
            touch(program.data(file));
        QCOMPARE(scanCatalogue(program.path()), (QStringList{"Gut", QString(218, u'k')}));
    }

    // One holder at a time, in this process as in any other; the file is
    // there only while it is held.
    void aDatabaseHasOneHolder() {
        Program program;
        DatabaseLock first;
        QVERIFY(first.acquire(program.path(), QStringLiteral("A")));
        QVERIFY(QFile::exists(program.data(QStringLiteral("A.lock"))));
        DatabaseLock second;
        QVERIFY(!second.acquire(program.path(), QStringLiteral("A")));
        QVERIFY(second.busy());
        QCOMPARE(second.message(),
                 QStringLiteral("Die Datenbank \"A\" wird gerade von einem anderen Vorgang "
                                "bearbeitet (Indizierung, Sortierung, Positionsliste oder "
                                "Löschen). Es wurde nichts geändert. Bitte versuchen Sie es "
                                "später noch einmal."));
        DatabaseLock other;
        QVERIFY(other.acquire(program.path(), QStringLiteral("B")));
        first.release();
        QVERIFY(!QFile::exists(program.data(QStringLiteral("A.lock"))));
        QVERIFY(second.acquire(program.path(), QStringLiteral("A")));
    }

    // The system lets go of the lock when its holder dies, however it dies:
    // a lock file left behind does not keep the database busy.
    void aDeadHolderHoldsNothing() {
        Program program;
        const QString lockPath = program.data(QStringLiteral("A.lock"));
        QProcess holder;
        // flock(1) takes the lock and becomes the shell (no child keeps it),
        // which says so and waits.
        holder.start(QStringLiteral("flock"), {QStringLiteral("--no-fork"), QStringLiteral("-x"),
                                               lockPath, QStringLiteral("sh"), QStringLiteral("-c"),
                                               QStringLiteral("echo gesperrt; exec sleep 600")});
        if (!holder.waitForStarted())
            QSKIP("flock(1) is not installed");
        QVERIFY(holder.waitForReadyRead(30000));
        DatabaseLock probe;
        QVERIFY(!probe.acquire(program.path(), QStringLiteral("A")));
        QVERIFY(probe.busy());
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QVERIFY(QFile::exists(lockPath));
        QVERIFY(probe.acquire(program.path(), QStringLiteral("A")));
    }

    void aLockFileThatIsNoFileIsRefused() {
        Program program;
        QVERIFY(QDir().mkpath(program.data(QStringLiteral("A.lock"))));
        DatabaseLock lock;
        QVERIFY(!lock.acquire(program.path(), QStringLiteral("A")));
        QVERIFY(!lock.busy());
        QVERIFY2(lock.message().startsWith(QStringLiteral("Die Sperrdatei ")),
                 qPrintable(lock.message()));
    }

    // Each run has a folder of its own; clearing up removes what runs that
    // are gone left, and nothing of a run that lives or of anyone else.
    void scratchOfLiveRunsStays() {
        Program program;
        RunScratch live;
        QVERIFY(live.create(program.path()));
        QVERIFY(QDir::fromNativeSeparators(live.path())
                    .startsWith(program.temp(QStringLiteral("Lauf-"))));
        touch(live.path() + QStringLiteral("Teil.txt"));
        RunScratch other;
        QVERIFY(other.create(program.path()));
        QVERIFY(other.path() != live.path());

        touch(program.temp(QStringLiteral("Lauf-1-dead/SplitDokument001.txt")));
        touch(program.temp(QStringLiteral("Lauf-2-dead/Lauf.lock")));
        touch(program.temp(QStringLiteral("fremd.txt")));
        touch(program.temp(QStringLiteral("Fremder Ordner/x.txt")));
        touch(program.temp(QStringLiteral("ZipTemp/y.xml")));
        // A staging folder no run holds, and one whose database is held.
        touch(program.temp(QStringLiteral("Alt.neu/Alt.dat")));
        touch(program.temp(QStringLiteral("Belegt.neu/Belegt.dat")));
        DatabaseLock held;
        QVERIFY(held.acquire(program.path(), QStringLiteral("Belegt")));

        removeAbandonedScratch(program.path());
        QVERIFY(QFile::exists(live.path() + QStringLiteral("Teil.txt")));
        QVERIFY(QFileInfo(other.path()).isDir());
        QVERIFY(!QFileInfo::exists(program.temp(QStringLiteral("Lauf-1-dead"))));
        QVERIFY(!QFileInfo::exists(program.temp(QStringLiteral("Lauf-2-dead"))));
        QVERIFY(!QFileInfo::exists(program.temp(QStringLiteral("Alt.neu"))));
        QVERIFY(QFile::exists(program.temp(QStringLiteral("Belegt.neu/Belegt.dat"))));
        QVERIFY(QFile::exists(program.temp(QStringLiteral("fremd.txt"))));
        QVERIFY(QFile::exists(program.temp(QStringLiteral("Fremder Ordner/x.txt"))));
        QVERIFY(QFile::exists(program.temp(QStringLiteral("ZipTemp/y.xml"))));

        const QString livePath = live.path();
        live.remove();
        QVERIFY(!QFileInfo::exists(livePath));
        QVERIFY(QFileInfo(other.path()).isDir());
    }

    void scratchThatCannotBeMadeIsReported() {
        Program program;
        QVERIFY(QDir(program.temp()).removeRecursively());
        touch(program.data(QStringLiteral("Temp")));
        RunScratch scratch;
        QVERIFY(!scratch.create(program.path()));
        QCOMPARE(scratch.error(), QStringLiteral("Kann das temporäre Verzeichnis ") +
                                      QDir::toNativeSeparators(program.temp()) +
                                      QStringLiteral(" nicht anlegen!"));
    }
};

QTEST_GUILESS_MAIN(RunsTest)
#include "runs_test.moc"
