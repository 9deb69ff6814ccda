// A sorted-list build on a full or read-only volume, and of a database whose
// switch did not finish.
#include "support/pending_switch.h"
#include "support/small_volume.h"

#include "lists/sorted_list_builder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class ListDurabilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The build fails with a German message that names the file and the
    // volume's state, leaves no piece behind, and the list of the build
    // before stays byte for byte.
    void aFullOrReadOnlyVolumeKeepsTheList_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("file"); // what could not be written, and how it says so
        QTest::newRow("full") << false << "Auf dem Datenträger ist nicht genug Platz frei."
                              << "SplitDokument001.txt\" kann nicht geschrieben werden: ";
        // The build's lock is the first file it makes.
        QTest::newRow("read-only") << true << "Der Datenträger ist schreibgeschützt."
                                   << "Test.lock der Datenbank \"Test\" kann nicht angelegt "
                                      "werden: ";
    }
    void aFullOrReadOnlyVolumeKeepsTheList() {
        QFETCH(bool, readOnly);
        QFETCH(QString, reason);
        QFETCH(QString, file);
        testsupport::SmallVolume volume(1 << 20);
        if (!volume.mounted())
            QSKIP(testsupport::SmallVolume::notAvailable());
        const QString data = volume.path() + QStringLiteral("Datenbank/");
        QVERIFY(QDir().mkpath(data + QStringLiteral("Temp")));
        const auto write = [](const QString& path, const QByteArray& bytes) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        };
        write(data + QStringLiteral("Test.dat"),
              "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n");
        write(data + QStringLiteral("Test_UTF8Dokument.txt"),
              " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==============\r\nHaus, Baum; Auto:Zelt\r\n");

        lists::SortedListRequest request;
        request.programDirectory = volume.path();
        request.databaseName = QStringLiteral("Test");
        platform::RunContext run;
        QCOMPARE(lists::buildSortedList(request, run).status, lists::ListBuildStatus::Written);
        const auto before = testsupport::snapshotOf(volume.path());
        QVERIFY(before.contains(QStringLiteral("Datenbank/Test_Phrasen_Woerter_Utf8Liste.txt")));

        QVERIFY(readOnly ? volume.setReadOnly(true) : volume.fill());
        const lists::ListBuildOutcome outcome = lists::buildSortedList(request, run);
        QCOMPARE(outcome.status, lists::ListBuildStatus::Failed);
        QVERIFY2(outcome.error.startsWith(QStringLiteral("Die ")), qPrintable(outcome.error));
        QVERIFY2(outcome.error.contains(file), qPrintable(outcome.error));
        QVERIFY2(outcome.error.endsWith(QStringLiteral(". ") + reason), qPrintable(outcome.error));
        QVERIFY(testsupport::snapshotOf(volume.path()) == before);
    }

    // The list is made of the new database when the program that wrote it
    // died in the middle of putting its files in place.
    void theListIsMadeOfTheDatabaseOfAnInterruptedSwitch() {
        QTemporaryDir root;
        const QString program = root.path() + QLatin1Char('/');
        QVERIFY(QDir(program).mkpath(QStringLiteral("Datenbank/Temp")));
        const QByteArray list = "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\n";
        QVERIFY(testsupport::leavePendingSwitch(
            program, QStringLiteral("Test"),
            {{".dat", list, list},
             {"_UTF8Dokument.txt", " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==\r\nAltwort\r\n",
              " \r\n \r\n \r\n#D:\\Texte\\a.odt\r\n==\r\nNeuwort\r\n"}}));
        lists::SortedListRequest request;
        request.programDirectory = program;
        request.databaseName = QStringLiteral("Test");
        platform::RunContext run;
        QCOMPARE(lists::buildSortedList(request, run).status, lists::ListBuildStatus::Written);
        QFile written(program + QStringLiteral("Datenbank/Test_Phrasen_Woerter_Utf8Liste.txt"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("#D:\\Texte\\a.odt\r\nNeuwort\r\n"));
    }
};

QTEST_GUILESS_MAIN(ListDurabilityTest)
#include "durability_test.moc"
