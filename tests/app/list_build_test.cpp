// The sorted-list builder of the search window, started as a user starts it:
// the settings dialog's question answered with Yes, then the builder's
// button. Pauses and yields go through the services; nothing waits.
#include "main_window_fixture.h"
#include "search_window_wait.h"
#include "support/platform_doubles.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using Kind = testsupport::RecordingPrompts::Kind;

namespace {

const QByteArray kText = " \r\n \r\n \r\n#T:\\Brief.odt\r\n=============\r\n"
                         "Haus, Baum; Auto:Zelt\r\n"
                         "Das Haus am See, Kind\r\n";

template <typename Widget = QWidget> Widget* searchControl(MainWindowFixture& f, const char* name) {
    for (Widget* candidate : f.searchWindow->findChildren<Widget*>(QString::fromLatin1(name)))
        if (candidate->window() == f.searchWindow.get())
            return candidate;
    return nullptr;
}

QString listCaption(MainWindowFixture& f) {
    return searchControl<QLabel>(f, "Label4")->text();
}

QTimer* abortWait(MainWindowFixture& f) {
    return f.searchWindow->findChild<QTimer*>(QStringLiteral("Timer1"));
}

// The controls a running build locks and its end unlocks.
const QList<const char*> kUnlockedAtTheEnd = {"TntEdit2",
                                              "TntEdit1",
                                              "GrossKleinBeachten",
                                              "NurGanzeWoerterCheckBox",
                                              "SpeedButton2",
                                              "CancelBtn",
                                              "WeiterSuche",
                                              "SortierteListenErstellenButton",
                                              "nurWoerterButton",
                                              "nurSaetzeButton",
                                              "WoerterUndSaetzeButton"};

QStringList enabledOf(MainWindowFixture& f, const QList<const char*>& names) {
    QStringList enabled;
    for (const char* name : names)
        if (searchControl(f, name)->isEnabled())
            enabled.append(QString::fromLatin1(name));
    return enabled;
}

QStringList pieceFiles(MainWindowFixture& f) {
    return QDir(f.path(QStringLiteral("Datenbank/Temp"))).entryList({"SplitDokument*"});
}

// The database "Texte" of drive T:, its search window open, and the
// builder's controls shown by the settings dialog's question.
void openListBuilder(MainWindowFixture& f, const QByteArray& text) {
    f.start();
    f.addDatabase(QStringLiteral("Texte"));
    if (!text.isNull())
        f.writeFile(QStringLiteral("Datenbank/Texte_UTF8Dokument.txt"), text);
    f.searchWindow->setDatabaseName(QStringLiteral("Texte"));
    f.searchWindow->show();
    f.searchWindow->onWebSearchClicked(); // the web-site panel is open
    f.settingsDialog->show();
    f.settingsDialog->onSortedListsClicked();
    QVERIFY(!searchControl(f, "SortierteListenErstellenButton")->isHidden());
    QVERIFY(searchControl(f, "Panel2")->isHidden());
}

// Clicks the builder's button as the user does and waits for the build's end.
void buildList(MainWindowFixture& f) {
    QSignalSpy ended(f.searchWindow.get(), &app::SearchWindow::sortedListBuildEnded);
    searchControl<QPushButton>(f, "SortierteListenErstellenButton")->click();
    if (f.searchWindow->listBuildUnderWay())
        QVERIFY(ended.wait(kJobEndWait));
}

} // namespace

class ListBuildTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void aBuildRunsToFertig_data();
    void aBuildRunsToFertig();
    void aStoppedBuildWritesNothingAndTheAbortWaitCloses_data();
    void aStoppedBuildWritesNothingAndTheAbortWaitCloses();
    void aMissingTextIsOnlyReported();
    void aListThatCannotBeWrittenIsNotFertig();
    void abbrechenClosesTheBuilderWhileItIsShown();
    void theClickReturnsWhileTheListIsBuilt();
};

void ListBuildTest::aBuildRunsToFertig_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("list"); // null: no list is written
    QTest::newRow("words") << QStringLiteral("nurWoerterButton") << kText
                           << QByteArray("#T:\\Brief.odt\r\nAuto\r\nBaum\r\nHaus\r\nKind\r\n"
                                         "Zelt\r\n");
    QTest::newRow("phrases") << QStringLiteral("nurSaetzeButton") << kText
                             << QByteArray(
                                    "#T:\\Brief.odt\r\nBaum; Auto:Zelt\r\nDas Haus am See\r\n");
    QTest::newRow("a text of 4 bytes")
        << QStringLiteral("nurWoerterButton") << QByteArray("Haus") << QByteArray();
}

void ListBuildTest::aBuildRunsToFertig() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, list);
#ifdef Q_OS_WIN
    QSKIP("Order of the Windows collator: Wine's CompareStringEx passes over \"#\"");
#endif
    MainWindowFixture f;
    openListBuilder(f, text);
    searchControl<QRadioButton>(f, qPrintable(kind))->click();

    // What the window shows while the builder works.
    QString titleDuringBuild;
    QString captionDuringBuild;
    QStringList enabledDuringBuild;
    bool sortedListButtonDuringBuild = true;
    int progressMaximum = 0;
    f.onYield = [&] {
        titleDuringBuild = f.searchWindow->windowTitle();
        captionDuringBuild = listCaption(f);
        enabledDuringBuild = enabledOf(f, kUnlockedAtTheEnd);
        sortedListButtonDuringBuild = searchControl(f, "ZeilenAlsListeSortieren")->isEnabled();
        progressMaximum = searchControl<QProgressBar>(f, "ProgressBar1")->maximum();
    };
    buildList(f);

    QCOMPARE(f.readFile(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt")), list);
    QCOMPARE(listCaption(f), QStringLiteral("Fertig"));
    QCOMPARE(f.searchWindow->windowTitle(), QString());
    QCOMPARE(enabledOf(f, kUnlockedAtTheEnd).size(), kUnlockedAtTheEnd.size());
    QCOMPARE(searchControl<QProgressBar>(f, "ProgressBar1")->value(), 0);
    QVERIFY(!f.searchWindow->listBuildRunning());
    QVERIFY(abortWait(f)->isActive());
    QVERIFY(pieceFiles(f).isEmpty());
    QCOMPARE(f.prompts.shown.size(), 1); // only the settings dialog's question
    QCOMPARE(searchControl<QLabel>(f, "Label4")->palette().color(QPalette::WindowText),
             searchControl<QLabel>(f, "Label3")->palette().color(QPalette::WindowText));
    if (list.isNull()) {
        QCOMPARE(titleDuringBuild, QString()); // nothing was built, nothing yielded
        QVERIFY(!f.pauses.contains(100));
        return;
    }
    QCOMPARE(titleDuringBuild, QStringLiteral("Sortierung von: \"Texte\" läuft."));
    QCOMPARE(captionDuringBuild, QStringLiteral("Sortierte Liste von: Texte_UTF8Dokument.txt"));
    QCOMPARE(enabledDuringBuild, QStringList());
    QVERIFY(!sortedListButtonDuringBuild);
    QCOMPARE(progressMaximum, 500);
    QVERIFY(f.pauses.contains(100));
}

void ListBuildTest::aStoppedBuildWritesNothingAndTheAbortWaitCloses_data() {
    QTest::addColumn<bool>("byTheWindowsCloseBox");
    QTest::newRow("Abbrechen / Schließen") << false;
    QTest::newRow("the window closed") << true;
}

void ListBuildTest::aStoppedBuildWritesNothingAndTheAbortWaitCloses() {
    QFETCH(bool, byTheWindowsCloseBox);
    MainWindowFixture f;
    openListBuilder(f, kText);
    f.writeFile(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt"), "alt\r\n");
    int yields = 0;
    f.onYield = [&] {
        if (++yields != 3)
            return;
        if (byTheWindowsCloseBox)
            f.searchWindow->close();
        else
            searchControl<QPushButton>(f, "SortAbbrechenButton")->click();
    };
    buildList(f);

    QCOMPARE(f.readFile(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt")),
             QByteArray("alt\r\n"));
    QVERIFY(pieceFiles(f).isEmpty());
    QVERIFY(f.searchWindow->abortRequested());
    QVERIFY(!f.searchWindow->listBuildRunning());
    QCOMPARE(f.searchWindow->isHidden(), byTheWindowsCloseBox);
    if (byTheWindowsCloseBox)
        return; // the window closed once the build had stopped

    QCOMPARE(f.searchWindow->windowTitle(),
             QStringLiteral("Abbruch durch Benutzer! Bitte Geduld! Ich höre gleich auf!"));
    QCOMPARE(listCaption(f), QStringLiteral("Sortierte Liste von: Texte_UTF8Dokument.txt"));
    QVERIFY(enabledOf(f, kUnlockedAtTheEnd).isEmpty());

    // The abort wait's first tick closes the builder.
    f.searchWindow->onAbortWaitTick();
    QCOMPARE(f.searchWindow->windowTitle(), QString());
    QCOMPARE(listCaption(f), QStringLiteral("Sortierte Liste von: "));
    QVERIFY(searchControl(f, "SortAbbrechenButton")->isHidden());
    QVERIFY(!searchControl(f, "Panel2")->isHidden());
    QVERIFY(searchControl(f, "UTF8LadenButton")->isEnabled());
    QCOMPARE(enabledOf(f, kUnlockedAtTheEnd).size(), kUnlockedAtTheEnd.size());
    // It goes on ticking until it has counted ten.
    for (int tick = 2; tick <= 9; ++tick)
        f.searchWindow->onAbortWaitTick();
    QVERIFY(abortWait(f)->isActive());
    f.searchWindow->onAbortWaitTick();
    QVERIFY(!abortWait(f)->isActive());
}

void ListBuildTest::aMissingTextIsOnlyReported() {
    MainWindowFixture f;
    openListBuilder(f, QByteArray());
    const QString title = f.searchWindow->windowTitle();
    buildList(f);
    QCOMPARE(f.prompts.shown.size(), 2); // the question, then the message
    QCOMPARE(f.prompts.shown.last().kind, Kind::Information);
    QCOMPARE(f.prompts.shown.last().text,
             QStringLiteral("Für die Datenbank \"Texte\" existieren keine Dokumente, die sortiert "
                            "werden könnten!"));
    QCOMPARE(f.searchWindow->windowTitle(), title);
    QCOMPARE(listCaption(f), QString());
    QVERIFY(!abortWait(f)->isActive());
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt")));
    QCOMPARE(enabledOf(f, kUnlockedAtTheEnd).size(), kUnlockedAtTheEnd.size() - 1);
}

void ListBuildTest::aListThatCannotBeWrittenIsNotFertig() {
    MainWindowFixture f;
    openListBuilder(f, kText);
    // A folder where the list belongs: the list cannot be written.
    QVERIFY(QDir().mkpath(f.path(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt"))));
    buildList(f);
    QCOMPARE(f.prompts.shown.size(), 2);
    QCOMPARE(f.prompts.shown.last().kind, Kind::Warning);
    QVERIFY(!f.prompts.shown.last().text.isEmpty());
    QCOMPARE(listCaption(f), QStringLiteral("Die Liste wurde nicht erstellt."));
    QCOMPARE(f.searchWindow->windowTitle(), QString());
    QCOMPARE(enabledOf(f, kUnlockedAtTheEnd).size(), kUnlockedAtTheEnd.size());
    QVERIFY(pieceFiles(f).isEmpty());
}

void ListBuildTest::abbrechenClosesTheBuilderWhileItIsShown() {
    MainWindowFixture f;
    openListBuilder(f, kText);
    QVERIFY(!f.searchWindow->abortRequested());
    searchControl<QPushButton>(f, "CancelBtn")->click();
    QVERIFY(f.searchWindow->abortRequested());
    QVERIFY(searchControl(f, "SortAbbrechenButton")->isHidden());
    QVERIFY(!searchControl(f, "Panel2")->isHidden());
    QCOMPARE(listCaption(f), QStringLiteral("Sortierte Liste von: "));
    QVERIFY(f.searchWindow->isHidden());
    QCOMPARE(f.searchWindow->modalResult(), int(QDialog::Rejected));
}

// The click only starts the build: the window goes on with the controls
// locked, the builder's stop is an ordinary click, and the end comes after.
void ListBuildTest::theClickReturnsWhileTheListIsBuilt() {
    MainWindowFixture f;
    openListBuilder(f, kText);
    f.writeFile(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt"), "alt\r\n");
    f.onYield = [] {}; // the work waits at each checkpoint for the window
    QSignalSpy ended(f.searchWindow.get(), &app::SearchWindow::sortedListBuildEnded);
    searchControl<QPushButton>(f, "SortierteListenErstellenButton")->click();
    QVERIFY(f.searchWindow->listBuildUnderWay());
    QVERIFY(f.searchWindow->listBuildRunning());
    QCOMPARE(f.searchWindow->windowTitle(), QStringLiteral("Sortierung von: \"Texte\" läuft."));
    QVERIFY(enabledOf(f, kUnlockedAtTheEnd).isEmpty());

    searchControl<QPushButton>(f, "SortAbbrechenButton")->click();
    QCOMPARE(f.searchWindow->windowTitle(),
             QStringLiteral("Abbruch durch Benutzer! Bitte Geduld! Ich höre gleich auf!"));
    QVERIFY(ended.wait(kJobEndWait));
    QVERIFY(!f.searchWindow->listBuildUnderWay());
    QVERIFY(!f.searchWindow->listBuildRunning());
    QCOMPARE(f.readFile(QStringLiteral("Datenbank/Texte_Phrasen_Woerter_Utf8Liste.txt")),
             QByteArray("alt\r\n"));
    QVERIFY(pieceFiles(f).isEmpty());
    QCOMPARE(ended.size(), 1);
}

QTEST_MAIN(ListBuildTest)
#include "list_build_test.moc"
