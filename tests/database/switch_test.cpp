// Replacing a database's files in one switch, deleting a database, and what
// the volume tells when writing fails.
#include "support/platform_doubles.h"
#include "support/small_volume.h"

#include "database/catalogue.h"
#include "database/database_paths.h"
#include "database/generation_switch.h"
#include "database/run_scratch.h"
#include "database/storage_hint.h"
#include "platform/program_directory.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace database;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<fehlt>");
}

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

const QStringList kFiles = {"A_UTF8Dokument.txt", "A.dat", "A.log"};

// A database A of generation "alt" and its next generation "neu" staged.
struct Generations {
    QTemporaryDir dir;
    Generations() {
        QVERIFY(platform::makeWorkingDirectories(path()).isEmpty());
        for (const QString& file : kFiles) {
            write(data(file), "alt " + file.toUtf8());
            write(stagingFolder(path(), "A") + file, "neu " + file.toUtf8());
        }
    }
    QString path() const { return dir.path() + "/"; }
    QString data(const QString& name) const { return path() + "Datenbank/" + name; }
    // "alt" or "neu" when every file is of that generation, else what each holds.
    QString generation() const {
        QStringList held;
        for (const QString& file : kFiles)
            held.append(QString::fromUtf8(readAll(data(file))).section(' ', 0, 0));
        held.removeDuplicates();
        return held.join(',');
    }
};

} // namespace

Q_DECLARE_METATYPE(database::SwitchStep)

class SwitchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Stopped after any step, as a crash would stop it, the switch leaves
    // one whole generation to the next reader: the old one before the
    // journal is in place, the new one from then on.
    void aStoppedSwitchLeavesOneWholeGeneration_data() {
        QTest::addColumn<SwitchStep>("step");
        QTest::addColumn<int>("moved");
        QTest::addColumn<QString>("expected");
        QTest::newRow("files synced") << SwitchStep::FilesSynced << 0 << "alt";
        QTest::newRow("journal written") << SwitchStep::JournalWritten << 0 << "alt";
        QTest::newRow("journal in place") << SwitchStep::JournalInPlace << 0 << "neu";
        QTest::newRow("one file moved") << SwitchStep::FileMoved << 1 << "neu";
        QTest::newRow("two files moved") << SwitchStep::FileMoved << 2 << "neu";
        QTest::newRow("three files moved") << SwitchStep::FileMoved << 3 << "neu";
        QTest::newRow("all moved") << SwitchStep::AllMoved << 3 << "neu";
        QTest::newRow("journal removed") << SwitchStep::JournalRemoved << 3 << "neu";
    }
    void aStoppedSwitchLeavesOneWholeGeneration() {
        QFETCH(SwitchStep, step);
        QFETCH(int, moved);
        QFETCH(QString, expected);
        Generations g;
        const SwitchOutcome outcome =
            switchToStagedFiles(g.path(), "A", kFiles, [&](SwitchStep at, int movedSoFar) {
                return !(at == step && movedSoFar == moved);
            });
        QVERIFY(!outcome.done);
        QVERIFY(outcome.error.isEmpty());

        // A fresh reader: the catalogue scan at start-up.
        QCOMPARE(scanCatalogue(g.path()), QStringList{"A"});
        QCOMPARE(g.generation(), expected);
        QVERIFY(!QFile::exists(switchJournalPath(g.path(), "A")));
        // Completing again changes nothing, and the next switch starts clean.
        QVERIFY(!completeInterruptedSwitch(g.path(), "A"));
        QCOMPARE(g.generation(), expected);
        // The staging folder no run holds any more goes; the unpack folder stays.
        removeAbandonedScratch(g.path());
        QCOMPARE(QDir(platform::tempDirectory(g.path()))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"ZipTemp"});
    }

    void aWholeSwitchReplacesEveryFile() {
        Generations g;
        const SwitchOutcome outcome = switchToStagedFiles(g.path(), "A", kFiles);
        QVERIFY(outcome.done);
        QCOMPARE(g.generation(), QString("neu"));
        QVERIFY(!QFile::exists(switchJournalPath(g.path(), "A")));
        QVERIFY(!QFileInfo::exists(stagingFolder(g.path(), "A")));
    }

    // A file that cannot take its place (here a folder is in the way)
    // leaves the switch pending: it is reported, its staged files survive
    // the emptying of the scratch space, and a later reader completes it.
    void aSwitchThatCannotFinishStaysPending() {
        Generations g;
        QVERIFY(QFile::remove(g.data("A.log")));
        write(g.data("A.log/im Weg"), "x");
        const SwitchOutcome outcome = switchToStagedFiles(g.path(), "A", kFiles);
        QVERIFY(!outcome.done);
        QVERIFY2(outcome.error.startsWith("Die Datei " + QDir::toNativeSeparators(g.data("A.log")) +
                                          " konnte nicht geschrieben werden: "),
                 qPrintable(outcome.error));
        QVERIFY(QFile::exists(switchJournalPath(g.path(), "A")));
        removeAbandonedScratch(g.path());
        QCOMPARE(readAll(stagingFolder(g.path(), "A") + "A.log"), QByteArray("neu A.log"));
        QVERIFY(completeInterruptedSwitch(g.path(), "A"));

        QVERIFY(QDir(g.data("A.log")).removeRecursively());
        QCOMPARE(scanCatalogue(g.path()), QStringList{"A"});
        QCOMPARE(g.generation(), QString("neu"));
    }

    // Only a whole journal is renamed into place; one damaged afterwards, or
    // one naming files outside Datenbank, moves nothing and is dropped.
    void aJournalThatIsNotWholeMovesNothing_data() {
        QTest::addColumn<QByteArray>("journal");
        QTest::newRow("cut short") << QByteArray("Trovex-ODT Umstellung 1\r\nA.dat\r\n");
        QTest::newRow("no head") << QByteArray("A.dat\r\nEnde\r\n");
        QTest::newRow("a folder") << QByteArray("Trovex-ODT Umstellung 1\r\n../A.dat\r\nEnde\r\n");
        QTest::newRow("empty") << QByteArray();
    }
    void aJournalThatIsNotWholeMovesNothing() {
        QFETCH(QByteArray, journal);
        Generations g;
        write(switchJournalPath(g.path(), "A"), journal);
        QCOMPARE(scanCatalogue(g.path()), QStringList{"A"});
        QCOMPARE(g.generation(), QString("alt"));
        QVERIFY(!QFile::exists(switchJournalPath(g.path(), "A")));
    }

    // Files that stay are named, and the document list stays with them, so
    // the database is still listed and can be deleted once more.
    void deletingNamesWhatItCouldNotRemove() {
        Generations g;
        const QString positions = g.data("A_TitelPositionen.txt");
        write(positions + "/im Weg", "x");
        const QStringList left = deleteDatabaseFiles(g.path(), "A");
        QCOMPARE(left, (QStringList{QDir::toNativeSeparators(g.data("A.dat")),
                                    QDir::toNativeSeparators(positions)}));
        QCOMPARE(filesLeftMessage("A", left),
                 "Die Datenbank \"A\" konnte nicht vollständig gelöscht werden. Diese Dateien "
                 "konnten nicht entfernt werden:\r\n" +
                     QDir::toNativeSeparators(g.data("A.dat")) + "\r\n" +
                     QDir::toNativeSeparators(positions));
        QVERIFY(!QFile::exists(g.data("A_UTF8Dokument.txt")));
        QCOMPARE(scanCatalogue(g.path()), QStringList{"A"});

        QVERIFY(QDir(positions).removeRecursively());
        QCOMPARE(deleteDatabaseFiles(g.path(), "A"), QStringList());
        QCOMPARE(scanCatalogue(g.path()), QStringList());
    }

    // A switch pending when the database is deleted does not bring the
    // staged files back afterwards.
    void deletingDropsAPendingSwitch() {
        Generations g;
        QVERIFY(QFile::remove(g.data("A.log")));
        write(g.data("A.log/im Weg"), "x");
        QVERIFY(!switchToStagedFiles(g.path(), "A", kFiles).done);
        QVERIFY(QDir(g.data("A.log")).removeRecursively());
        QCOMPARE(deleteDatabaseFiles(g.path(), "A"), QStringList());
        QCOMPARE(scanCatalogue(g.path()), QStringList());
        for (const QString& file : kFiles)
            QVERIFY2(!QFile::exists(g.data(file)), qPrintable(file));
    }

    void theVolumeTellsWhyWritingFailed() {
        testsupport::SmallVolume volume(1 << 20);
        if (!volume.mounted())
            QSKIP(testsupport::SmallVolume::notAvailable());
        QCOMPARE(storageHint(volume.path()), QString());
        QCOMPARE(withStorageHint("Geht nicht.", volume.path()), QString("Geht nicht."));
        QVERIFY(volume.fill());
        QCOMPARE(storageHint(volume.path()),
                 QString(" Auf dem Datenträger ist nicht genug Platz frei."));
        QCOMPARE(
            withStorageHint("Die Datei x konnte nicht geschrieben werden: voll", volume.path()),
            QString("Die Datei x konnte nicht geschrieben werden: voll. Auf dem Datenträger "
                    "ist nicht genug Platz frei."));
        QVERIFY(volume.unfill());
        QVERIFY(volume.setReadOnly(true));
        QCOMPARE(storageHint(volume.path()), QString(" Der Datenträger ist schreibgeschützt."));
    }
};

QTEST_GUILESS_MAIN(SwitchTest)
#include "switch_test.moc"
