// Results pages on a full or read-only volume, and a search of a database
// whose switch did not finish.
#include "support/pending_switch.h"
#include "support/platform_doubles.h"
#include "support/small_volume.h"

#include "search/search_engine.h"

#include "search_notices.h"
#include "test_database.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class SearchDurabilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The user is told once which page could not be written and why, the
    // outcome carries the failure, nothing is opened, and the pages of the
    // search before stay as they were.
    void aFullOrReadOnlyVolumeKeepsThePages_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full") << false << "Auf dem Datenträger ist nicht genug Platz frei.";
        QTest::newRow("read-only") << true << "Der Datenträger ist schreibgeschützt.";
    }
    void aFullOrReadOnlyVolumeKeepsThePages() {
        QFETCH(bool, readOnly);
        QFETCH(QString, reason);
        testsupport::SmallVolume volume(1 << 20);
        if (!volume.mounted())
            QSKIP(testsupport::SmallVolume::notAvailable());
        const QString program = volume.path();
        QList<TestDocument> documents;
        for (int i = 0; i < 12; ++i)
            documents.append({QStringLiteral("D:\\Texte\\%1.odt").arg(i), {"Das Haus am See"}});
        writeTestDatabase(volume.path().chopped(1), QStringLiteral("Texte"),
                          QStringLiteral("D:\\Texte"), documents);

        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('D'), QStringLiteral("/nirgends"));
        testsupport::RecordingPrompts prompts;
        platform::RunContext run;
        QStringList opened;
        search::SearchEnvironment environment;
        environment.programDirectory = program;
        environment.drives = &drives;
        environment.run = &run;
        environment.openPage = [&](const QString& page) { opened.append(page); };
        environment.notice = testsupport::noticesTo(prompts, program);
        search::SearchRequest request;
        request.databaseName = QStringLiteral("Texte");
        request.searchText = QStringLiteral("Haus");
        search::SearchSession session;
        QVERIFY(search::searchDatabase(request, session, environment).pageWriteError.isEmpty());
        QCOMPARE(opened.size(), 2);
        prompts.shown.clear(); // the documents are not on drive D
        const auto before = testsupport::snapshotOf(program);
        QVERIFY(before.contains(QStringLiteral("TX_Ergebnis2.htm")));

        QVERIFY(readOnly ? volume.setReadOnly(true) : volume.fill());
        opened.clear();
        request.searchText = QStringLiteral("See");
        const search::SearchOutcome outcome = search::searchDatabase(request, session, environment);
        QVERIFY(!outcome.pageWriteError.isEmpty());
        QVERIFY(opened.isEmpty());
        QStringList warnings;
        for (const auto& shown : prompts.shown) {
            if (shown.kind == platform::Prompts::Kind::Warning)
                warnings.append(shown.text);
        }
        QCOMPARE(warnings.size(), 1);
        const QString expectedStart =
            QStringLiteral("Die Ergebnisseite ") +
            QDir::toNativeSeparators(program + QStringLiteral("TX_Ergebnis.htm")) +
            QStringLiteral(" konnte nicht geschrieben werden: ");
        QVERIFY2(warnings.first().startsWith(expectedStart), qPrintable(warnings.first()));
        QVERIFY2(warnings.first().endsWith(QStringLiteral(". ") + reason),
                 qPrintable(warnings.first()));
        QVERIFY(testsupport::snapshotOf(program) == before);
    }

    // A search finds the text of the new database when the program that
    // wrote it died in the middle of putting its files in place.
    void aSearchReadsTheDatabaseOfAnInterruptedSwitch() {
        QTemporaryDir root;
        const QString program = root.path() + QLatin1Char('/');
        QVERIFY(QDir(program).mkpath(QStringLiteral("Datenbank/Temp")));
        const QByteArray list = "PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\nD:\\Texte\\a.odt\r\n";
        QVERIFY(testsupport::leavePendingSwitch(
            program, QStringLiteral("Texte"),
            {{".dat", list, list},
             {"_UTF8Dokument.txt",
              databaseTextBytes({{QStringLiteral("D:\\Texte\\a.odt"), {"altes Wort"}}}),
              databaseTextBytes({{QStringLiteral("D:\\Texte\\a.odt"), {"neues Wort"}}})}}));
        platform::DriveMap drives;
        drives.setDrive(QLatin1Char('D'), root.path());
        platform::RunContext run;
        search::SearchEnvironment environment;
        environment.programDirectory = program;
        environment.drives = &drives;
        environment.run = &run;
        search::SearchRequest request;
        request.databaseName = QStringLiteral("Texte");
        request.searchText = QStringLiteral("neues");
        search::SearchSession session;
        const search::SearchOutcome outcome = search::searchDatabase(request, session, environment);
        QCOMPARE(outcome.lastPageResultLines.size(), 1);
        QVERIFY(!QFile::exists(database::switchJournalPath(program, QStringLiteral("Texte"))));
    }
};

QTEST_GUILESS_MAIN(SearchDurabilityTest)
#include "durability_test.moc"
