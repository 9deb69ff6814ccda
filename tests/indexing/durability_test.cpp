// An index run replaces the whole database or nothing of it: stopped in the
// middle of its switch, and on a full or read-only volume.
#include "support/platform_doubles.h"
#include "support/small_volume.h"
#include "test_support.h"

#include "database/catalogue.h"
#include "database/generation_switch.h"
#include "index_messages.h"
#include "indexing/index_run.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readAll;

namespace {

const QByteArray kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
const QStringList kDatabaseFiles = {"V.dat", "V_UTF8Dokument.txt", "V.log", "V_Textcache.bin"};

// A program directory (anywhere, a small volume too) and drive D: with
// documents.
struct Indexing {
    explicit Indexing(const QString& programDirectory)
        : program(programDirectory) {
        QDir(program).mkpath("Datenbank/Temp/ZipTemp");
        drives.setDrive(u'D', drive.path());
    }
    QString database(const QString& file) const { return program + "Datenbank/" + file; }
    void addDocument(const QString& name, const QByteArray& text) {
        QVERIFY(testsupport::makeZip(drive.path() + "/" + name,
                                     {{"content.xml", kDecl + "<p>" + text + "</p>"}}));
        list += (list.isEmpty() ? "D:\\" : "\" ") + name.toUtf8() + "\r\n";
    }
    void writeDriveList() const {
        QVERIFY(testsupport::writeAll(database("Haupt_Dateinamen_Liste_Laufwerk_D.txt"), list));
    }
    bool run(const database::SwitchStepHook& hook = {}) {
        prompts.shown.clear();
        platform::RunContext context;
        indexing::IndexProgress progress;
        progress.message = testsupport::messagesTo(prompts);
        progress.status = [this](const QString& text) { status = text; };
        indexing::IndexRun run(program, drives, settings, context, progress);
        run.setSwitchHook(hook);
        return run.run({"V", "D:\\", "*.odt", false});
    }
    // The files of the database with their bytes.
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> all;
        for (const QString& file : kDatabaseFiles)
            all.insert(file, readAll(database(file)));
        return all;
    }

    QString program;
    QTemporaryDir drive;
    QByteArray list;
    platform::DriveMap drives;
    testsupport::MemorySettingsStore settings;
    testsupport::RecordingPrompts prompts;
    QString status;
};

} // namespace

Q_DECLARE_METATYPE(database::SwitchStep)

class DurabilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The document list, the text, the log and the cache go in one switch:
    // a run that dies in it leaves the next reader all of the old database
    // or all of the new one.
    void aRunStoppedInItsSwitchLeavesOneDatabase_data() {
        QTest::addColumn<database::SwitchStep>("step");
        QTest::addColumn<int>("moved");
        QTest::addColumn<bool>("newDatabase");
        QTest::newRow("journal written") << database::SwitchStep::JournalWritten << 0 << false;
        QTest::newRow("journal in place") << database::SwitchStep::JournalInPlace << 0 << true;
        QTest::newRow("one file moved") << database::SwitchStep::FileMoved << 1 << true;
        QTest::newRow("three files moved") << database::SwitchStep::FileMoved << 3 << true;
    }
    void aRunStoppedInItsSwitchLeavesOneDatabase() {
        QFETCH(database::SwitchStep, step);
        QFETCH(int, moved);
        QFETCH(bool, newDatabase);
        QTemporaryDir program;
        Indexing old(program.path() + "/");
        old.addDocument("a.odt", "Alt");
        old.writeDriveList();
        QVERIFY(old.run());
        const QMap<QString, QByteArray> before = old.files();

        Indexing next(program.path() + "/");
        next.addDocument("a.odt", "Neu");
        next.addDocument("b.odt", "Dazu");
        next.writeDriveList();
        QVERIFY(next.run([&](database::SwitchStep at, int movedSoFar) {
            return !(at == step && movedSoFar == moved);
        }));
        QCOMPARE(database::scanCatalogue(next.program), QStringList{"V"});
        const QMap<QString, QByteArray> after = next.files();
        if (!newDatabase) {
            QVERIFY(after == before);
            return;
        }
        for (const QString& file : kDatabaseFiles)
            QVERIFY2(after.value(file) != before.value(file), qPrintable(file));
        QVERIFY(after.value("V_UTF8Dokument.txt").contains("Dazu"));
        QVERIFY(after.value("V.dat").endsWith("D:\\b.odt\r\n"));
        QVERIFY(after.value("V_Textcache.bin").contains("Dazu"));
    }

    // No room or no right to write: the run says so, in German and with the
    // reason, claims no success, and the database stays byte for byte; once
    // the volume takes writes again the next run goes through.
    void aFullOrReadOnlyVolumeKeepsTheDatabase_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full") << false << "Auf dem Datenträger ist nicht genug Platz frei.";
        QTest::newRow("read-only") << true << "Der Datenträger ist schreibgeschützt.";
    }
    void aFullOrReadOnlyVolumeKeepsTheDatabase() {
        QFETCH(bool, readOnly);
        QFETCH(QString, reason);
        testsupport::SmallVolume volume;
        if (!volume.mounted())
            QSKIP(testsupport::SmallVolume::notAvailable());
        Indexing indexing(volume.path());
        indexing.addDocument("a.odt", QByteArray("Erster Text ").repeated(2000));
        indexing.writeDriveList();
        QVERIFY(indexing.run());
        const QMap<QString, QByteArray> before = indexing.files();

        indexing.addDocument("b.odt", QByteArray("Zweiter Text ").repeated(2000));
        indexing.writeDriveList();
        QVERIFY(readOnly ? volume.setReadOnly(true) : volume.fill());
        QVERIFY(!indexing.run());
        QCOMPARE(indexing.prompts.shown.size(), 1);
        const QString message = indexing.prompts.shown.first().text;
        QVERIFY2(message.startsWith("Die Datenbank \"V\" wurde nicht gespeichert. "),
                 qPrintable(message));
        QVERIFY2(message.endsWith(". " + reason), qPrintable(message));
        QCOMPARE(indexing.status, QString("Die Datenbank wurde nicht gespeichert."));
        QVERIFY(indexing.files() == before);

        QVERIFY(readOnly ? volume.setReadOnly(false) : volume.unfill());
        QVERIFY(indexing.run());
        QVERIFY(indexing.files().value("V_UTF8Dokument.txt").contains("Zweiter Text"));
    }
};

QTEST_GUILESS_MAIN(DurabilityTest)
#include "durability_test.moc"
