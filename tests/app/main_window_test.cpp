#include "main_window_fixture.h"
#include "support/platform_doubles.h"
#include "search_window_wait.h"

#include "app/unreadable_documents.h"
#include "database/database_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <ctime>

using Kind = testsupport::RecordingPrompts::Kind;

namespace {

QListWidget* databaseList(const MainWindowFixture& f) {
    return f.mainWindow->findChild<QListWidget*>(QStringLiteral("ListBox1"));
}

QStringList entries(const MainWindowFixture& f) {
    QStringList names;
    for (int row = 0; row < databaseList(f)->count(); ++row)
        names.append(databaseList(f)->item(row)->text());
    return names;
}

int selectedRow(const MainWindowFixture& f) {
    const auto selected = databaseList(f)->selectedItems();
    return selected.isEmpty() ? -1 : databaseList(f)->row(selected.first());
}

QString mainText(const MainWindowFixture& f, const char* name) {
    if (auto* label = f.mainWindow->findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    return f.mainWindow->findChild<QPushButton*>(QString::fromLatin1(name))->text();
}

bool buttonEnabled(const MainWindowFixture& f, const char* name) {
    return f.mainWindow->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled();
}

// As the user's click: the selection moves and the handler runs.
void click(MainWindowFixture& f, int row) {
    databaseList(f)->setCurrentRow(row);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // German local time with its daylight saving, whatever the machine's
        // zone (no zone database needed for this form).
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }

    void firstStartWritesTheDefaultsAndSizesTheWindows_data();
    void firstStartWritesTheDefaultsAndSizesTheWindows();
    void firstPaintSelectsTheStoredDatabase_data();
    void firstPaintSelectsTheStoredDatabase();
    void firstPaintAppliesTheColours_data();
    void firstPaintAppliesTheColours();
    void theControlDirectoryFlag_data();
    void theControlDirectoryFlag();
    void noDatabasesMeansNoSelection();
    void aClickWhileBusySnapsBack();
    void selectingLoadsHistoryAndBookmark();
    void rightClickDeletesTheSelectedDatabase_data();
    void rightClickDeletesTheSelectedDatabase();
    void aDeletionThatLeavesFilesNamesThem();
    void updateWithoutSelectionExplains_data();
    void updateWithoutSelectionExplains();

    void emptyNameAndFolderGiveThreeBoxes();
    void nameFieldDropsForbiddenCharacters_data();
    void nameFieldDropsForbiddenCharacters();
    void takenNamesAreRefused_data();
    void takenNamesAreRefused();
    void aFolderOnAnUnindexableDriveIsRefused_data();
    void aFolderOnAnUnindexableDriveIsRefused();
    void theDriveCHintComesOncePerRun_data();
    void theDriveCHintComesOncePerRun();
    void theFileListNoteDescribesTheSystem_data();
    void theFileListNoteDescribesTheSystem();
    void theListDateIsTheLocalesFullDateAndTime_data();
    void theListDateIsTheLocalesFullDateAndTime();
    void theExtensionChoices_data();
    void theExtensionChoices();
    void aChosenPatternIsTakenOnce_data();
    void aChosenPatternIsTakenOnce();
    void theListQuestionDecidesOnTheTool_data();
    void theListQuestionDecidesOnTheTool();

    void anIndexRunWithAnExistingListBuildsTheDatabase();
    void abortDuringARunKeepsWhatWasGathered();
    void theWindowGoesOnWhileTheRunWorks();
    void brokenDocumentsAreListedInOneBoxAfterTheRun();
    void unreadableDocumentsMessage_data();
    void unreadableDocumentsMessage();
    void goneAndUnreadableDocumentsAreSummedUpAfterTheRun();
    void aLongHandEditedHistoryOffersItsFirstFifty();
    void aMissingDriveListIsReportedAndLeavesNothing();
    void theToolIsWatchedUntilItHasFinished();
    void aToolThatNeverShowsTimesOut();
    void theProgressLineShowsCountAndTime();

    void theSearchButtonOpensTheSearchWindow_data();
    void theSearchButtonOpensTheSearchWindow();
    void aClickDuringARunReturnsToTheLastSearchedDatabase();

    void closingStoresSelectionSizesAndClearsAbandonedScratch();
    void aHeldDatabaseIsNeitherIndexedNorDeleted();
    void closeQuestionNoKeepsTheProgramRunning();
    void aMaximisedSearchWindowKeepsItsStoredSize_data();
    void aMaximisedSearchWindowKeepsItsStoredSize();
    void helpOpensTheFirstCopyOrSaysWhereItBelongs_data();
    void helpOpensTheFirstCopyOrSaysWhereItBelongs();
};

void MainWindowTest::firstStartWritesTheDefaultsAndSizesTheWindows_data() {
    QTest::addColumn<QStringList>("stored"); // name=value pairs stored before the start
    QTest::addColumn<int>("screenWidth");
    QTest::addColumn<QSize>("mainSize");
    QTest::addColumn<QSize>("searchSize");
    QTest::newRow("empty store, narrow screen")
        << QStringList() << 800 << QSize(1024, 506) << QSize(1024, 500);
    QTest::newRow("Weite missing on an 800-pixel screen")
        << QStringList{QStringLiteral("Ausgewaehlte_Datenbank=0"), QStringLiteral("Hoehe=600")}
        << 800 << QSize(800, 600) << QSize(800, 500);
    QTest::newRow("stored sizes") << QStringList{QStringLiteral("Ausgewaehlte_Datenbank=0"),
                                                 QStringLiteral("Hoehe=700"),
                                                 QStringLiteral("Weite=1100"),
                                                 QStringLiteral("SHoehe=550"),
                                                 QStringLiteral("SWeite=900")}
                                  << 1920 << QSize(1100, 700) << QSize(900, 550);
    // A hand-edited size would ask for a window of gigabytes.
    QTest::newRow("hand-edited giant sizes")
        << QStringList{QStringLiteral("Ausgewaehlte_Datenbank=0"), QStringLiteral("Hoehe=100000"),
                       QStringLiteral("Weite=100000"), QStringLiteral("SHoehe=100000"),
                       QStringLiteral("SWeite=100000")}
        << 1280 << QSize(1280, 1024) << QSize(1280, 1024);
}

void MainWindowTest::firstStartWritesTheDefaultsAndSizesTheWindows() {
    QFETCH(QStringList, stored);
    QFETCH(int, screenWidth);
    QFETCH(QSize, mainSize);
    QFETCH(QSize, searchSize);
    MainWindowFixture f;
    for (const QString& pair : stored)
        f.settings.write(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    f.screenWidth = screenWidth;
    f.start();

    QCOMPARE(f.mainWindow->size(), mainSize);
    QCOMPARE(f.searchWindow->size(), searchSize);
    QVERIFY(f.exists(QStringLiteral("Datenbank/Temp/ZipTemp")));
    if (stored.isEmpty()) {
        const QList<QPair<QString, QString>> defaults = {
            {QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("-1")},
            {QStringLiteral("Themen-Webseite"), QStringLiteral("0")},
            {QStringLiteral("Ausgewaehlte_Webseite"), QStringLiteral("0")},
            {QStringLiteral("Farbe"), QStringLiteral("clTeal")},
            {QStringLiteral("HinweistextFarbe"), QStringLiteral("clWhite")},
            {QStringLiteral("Hoehe"), QStringLiteral("506")},
            {QStringLiteral("Weite"), QStringLiteral("1024")},
            {QStringLiteral("SHoehe"), QStringLiteral("500")},
            {QStringLiteral("SWeite"), QStringLiteral("1024")},
            {QStringLiteral("Browser"), QStringLiteral("standard")},
            {QStringLiteral("Suchwort_in_Zwischenablage_kopieren"), QStringLiteral("1")},
            {QStringLiteral("Kurzhinweis_imViewer_anzeigen"), QStringLiteral("1")},
        };
        for (const auto& [name, value] : defaults)
            QCOMPARE(f.settings.read(name), value);
        QCOMPARE(f.settings.size(), qsizetype(12));
        // clTeal is $00808000: red 0, green 128, blue 128.
        QCOMPARE(f.mainWindow->backgroundColour(), QColor(0, 128, 128));
        QCOMPARE(f.mainWindow->windowTitle(),
                 QStringLiteral("  Trovex-ODT -  Die Suchmaschine für eBooks, LibreOffice, "
                                "OpenOffice und Word (DOCX) Dokumente."));
        QCOMPARE(mainText(f, "BitBtn2"), QStringLiteral("Schli&eßen"));
    } else {
        // Missing values are not written at start, except the browser.
        QVERIFY(!f.settings.contains(QStringLiteral("Farbe")));
        QCOMPARE(f.settings.read(QStringLiteral("Browser")), QStringLiteral("standard"));
    }
}

void MainWindowTest::firstPaintSelectsTheStoredDatabase_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("second") << QStringLiteral("1") << 1;
    QTest::newRow("equal to the count") << QStringLiteral("3") << 0;
    QTest::newRow("minus one") << QStringLiteral("-1") << 0;
    QTest::newRow("larger than the count") << QStringLiteral("17") << 0;
    QTest::newRow("edited by hand") << QStringLiteral("zwei") << 0;
}

void MainWindowTest::firstPaintSelectsTheStoredDatabase() {
    QFETCH(QString, stored);
    QFETCH(int, expectedRow);
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), stored);
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        f.addDatabase(QString::fromLatin1(name));
    f.start();

    QCOMPARE(entries(f), (QStringList{"Alpha", "Beta", "Gamma"}));
    QCOMPARE(selectedRow(f), expectedRow);
    QCOMPARE(f.mainWindow->selectedDatabaseName(), entries(f).at(expectedRow));
    // The selection handler ran once and stored the index it settled on.
    QCOMPARE(f.settings.read(QStringLiteral("Ausgewaehlte_Datenbank")),
             QString::number(expectedRow));
}

void MainWindowTest::firstPaintAppliesTheColours_data() {
    QTest::addColumn<QString>("farbe");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("stored") << QStringLiteral("clNavy") << QStringLiteral("$0000FFFF")
                            << QColor(0, 0, 128) << QColor(255, 255, 0);
    QTest::newRow("hint colour missing") << QStringLiteral("$00102030") << QString()
                                         << QColor(0x30, 0x20, 0x10) << QColor(Qt::white);
}

void MainWindowTest::firstPaintAppliesTheColours() {
    QFETCH(QString, farbe);
    QFETCH(QString, hint);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Farbe"), farbe);
    f.settings.write(QStringLiteral("HinweistextFarbe"), hint);
    f.start(true);
    const QList<QWidget*> backgrounds = {
        f.mainWindow.get(),   f.mainWindow->findChild<QWidget*>(QStringLiteral("Panel1")),
        f.dialog.get(),       f.settingsDialog.get(),
        f.searchWindow.get(), f.searchWindow->findChild<QWidget*>(QStringLiteral("PanelRechts"))};
    for (QWidget* widget : backgrounds)
        QCOMPARE(widget->palette().color(QPalette::Window), background);
    const QList<QWidget*> hintTexts = {
        f.mainWindow->findChild<QWidget*>(QStringLiteral("Label1")),
        f.mainWindow->findChild<QWidget*>(QStringLiteral("SpeedButton1")),
        f.dialog->findChild<QWidget*>(QStringLiteral("Label4")),
        f.dialog->findChild<QWidget*>(QStringLiteral("ODTDokumenteErstellenCheckBox")),
        f.settingsDialog->findChild<QWidget*>(QStringLiteral("KurzhinweisImViewerZeigenCheckBox"))};
    f.dialog->show();
    f.settingsDialog->show();
    QCoreApplication::processEvents();
    for (QWidget* widget : hintTexts)
        QCOMPARE(widget->palette().color(QPalette::WindowText), text);
}

void MainWindowTest::theControlDirectoryFlag_data() {
    QTest::addColumn<QString>("stored"); // "@" stands for the program directory
    QTest::addColumn<bool>("flag");
    QTest::newRow("other letter case") << QStringLiteral("@upper") << true;
    QTest::newRow("a leading part") << QStringLiteral("@parent") << true;
    QTest::newRow("elsewhere") << QStringLiteral("/anderswo/Trovex") << false;
    QTest::newRow("not set") << QString() << false;
}

void MainWindowTest::theControlDirectoryFlag() {
    QFETCH(QString, stored);
    QFETCH(bool, flag);
    MainWindowFixture f;
    if (stored == QLatin1String("@upper"))
        stored = f.programDirectory.toUpper();
    else if (stored == QLatin1String("@parent"))
        stored = f.root.path();
    f.settings.write(QStringLiteral("Trovex_Control"), stored);
    f.start();
    QCOMPARE(f.mainWindow->controlDirectoryFlag(), flag);
    QCOMPARE(f.mainWindow->controlDirectory(), stored);
}

void MainWindowTest::noDatabasesMeansNoSelection() {
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("2"));
    f.writeFile(QStringLiteral("Datenbank/x_MHT.DAT"), "PFAD_UND_ENDUNGEN= T:\\\r\n");
    f.start();
    QCOMPARE(databaseList(f)->count(), 0);
    QCOMPARE(selectedRow(f), -1);
    QVERIFY(f.mainWindow->selectedDatabaseName().isEmpty());
    // The handler did not run, so the stored index is untouched.
    QCOMPARE(f.settings.read(QStringLiteral("Ausgewaehlte_Datenbank")), QStringLiteral("2"));
    f.mainWindow->openContextMenuAt(QPoint(10, 10));
    QVERIFY(!f.mainWindow->contextMenu()->isVisible());
}

void MainWindowTest::aClickWhileBusySnapsBack() {
    MainWindowFixture f;
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        f.addDatabase(QString::fromLatin1(name));
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("1"));
    f.start();
    f.pauses.clear();

    f.mainWindow->setSearchUnderWay(true);
    click(f, 2);
    QCOMPARE(selectedRow(f), 1);
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Beta"));
    QCOMPARE(f.pauses, QList<int>{100});
    QCOMPARE(f.settings.read(QStringLiteral("Ausgewaehlte_Datenbank")), QStringLiteral("1"));

    f.mainWindow->setSearchUnderWay(false);
    click(f, 2);
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Gamma"));
    QCOMPARE(f.settings.read(QStringLiteral("Ausgewaehlte_Datenbank")), QStringLiteral("2"));

    // Moving the selection with the keyboard selects as a click does.
    QTest::keyClick(databaseList(f), Qt::Key_Up);
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Beta"));
    QCOMPARE(f.settings.read(QStringLiteral("Ausgewaehlte_Datenbank")), QStringLiteral("1"));
}

void MainWindowTest::selectingLoadsHistoryAndBookmark() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Alpha"));
    f.addDatabase(QStringLiteral("Beta"));
    // UTF-16LE with mark, CR LF after every line.
    f.writeFile(QStringLiteral("Alpha_Suchwoerterliste.txt"),
                QByteArray("\xFF\xFE"
                           "H\0a\0u\0s\0\r\0\n\0B\0\xE4\0r\0\r\0\n\0",
                           22));
    f.settings.write(QStringLiteral("Lesezeichen_Alpha"), QStringLiteral("-5"));
    f.start();
    QCOMPARE(f.searchWindow->history(), (QStringList{"Haus", "Bär"}));
    QCOMPARE(f.mainWindow->bookmarkPosition(), qint64(-5));

    click(f, 1);
    QVERIFY(f.searchWindow->history().isEmpty());
    QCOMPARE(f.mainWindow->bookmarkPosition(), qint64(0));
}

void MainWindowTest::rightClickDeletesTheSelectedDatabase_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Ja") << true;
    QTest::newRow("Nein") << false;
}

void MainWindowTest::rightClickDeletesTheSelectedDatabase() {
    QFETCH(bool, yes);
    MainWindowFixture f;
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        f.addDatabase(QString::fromLatin1(name));
    f.writeFile(QStringLiteral("Datenbank/Beta_UTF8Dokument.txt"), "x\r\n");
    f.writeFile(QStringLiteral("Datenbank/Beta.log"), "x");
    f.writeFile(QStringLiteral("Beta_Suchwoerterliste.txt"), "x");
    f.settings.write(QStringLiteral("Lesezeichen_Beta"), QStringLiteral("12"));
    f.start();
    f.mainWindow->show();
    click(f, 1);

    // A right-button press on Gamma leaves Beta selected and opens the menu.
    QListWidget* list = databaseList(f);
    const QPoint onGamma = list->visualItemRect(list->item(2)).center();
    QTest::mousePress(list->viewport(), Qt::RightButton, Qt::NoModifier, onGamma);
    QCOMPARE(selectedRow(f), 1);
    QTRY_VERIFY(f.mainWindow->contextMenu()->isVisible());
    f.mainWindow->contextMenu()->hide();

    f.prompts.answers = {yes};
    f.mainWindow->contextMenu()->actions().first()->trigger();
    QCOMPARE(f.prompts.texts(),
             QStringList{QStringLiteral("Möchten Sie die Datenbank \"Beta\" wirklich löschen?")});
    QCOMPARE(f.prompts.shown.first().kind, Kind::Confirmation);
    if (yes) {
        QCOMPARE(entries(f), (QStringList{"Alpha", "Gamma"}));
        QVERIFY(!f.exists(QStringLiteral("Datenbank/Beta.dat")));
        QVERIFY(!f.exists(QStringLiteral("Datenbank/Beta_UTF8Dokument.txt")));
        QVERIFY(!f.exists(QStringLiteral("Datenbank/Beta.log")));
        QVERIFY(!f.exists(QStringLiteral("Beta_Suchwoerterliste.txt")));
        QCOMPARE(f.settings.read(QStringLiteral("Lesezeichen_Beta")), QStringLiteral("12"));
    } else {
        QCOMPARE(entries(f), (QStringList{"Alpha", "Beta", "Gamma"}));
        QVERIFY(f.exists(QStringLiteral("Datenbank/Beta_UTF8Dokument.txt")));
    }
    QCOMPARE(selectedRow(f), 0);
}

// The database stays listed with its document list while a file of it
// stays, and the user is told which.
void MainWindowTest::aDeletionThatLeavesFilesNamesThem() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Alpha"));
    f.addDatabase(QStringLiteral("Beta"));
    f.writeFile(QStringLiteral("Datenbank/Beta_UTF8Dokument.txt"), "x\r\n");
    f.writeFile(QStringLiteral("Datenbank/Beta.log/im Weg"), "x");
    f.start();
    click(f, 1);
    f.prompts.answers = {true};
    f.mainWindow->contextMenu()->actions().first()->trigger();
    const QString data = QDir::toNativeSeparators(f.path(QStringLiteral("Datenbank/")));
    QCOMPARE(f.prompts.texts(),
             (QStringList{QStringLiteral("Möchten Sie die Datenbank \"Beta\" wirklich löschen?"),
                          QStringLiteral("Die Datenbank \"Beta\" konnte nicht vollständig "
                                         "gelöscht werden. Diese Dateien konnten nicht entfernt "
                                         "werden:\r\n") +
                              data + QStringLiteral("Beta.dat\r\n") + data +
                              QStringLiteral("Beta.log")}));
    QCOMPARE(f.prompts.shown.last().kind, Kind::Warning);
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Beta_UTF8Dokument.txt")));
    QCOMPARE(entries(f), (QStringList{"Alpha", "Beta"}));
}

void MainWindowTest::updateWithoutSelectionExplains_data() {
    QTest::addColumn<bool>("withDatabases");
    QTest::addColumn<QString>("message");
    QTest::newRow("no databases")
        << false
        << QStringLiteral("Es existiert noch keine Datenbank! Betätigen Sie bitte den Schalter "
                          "\"Neue Datenbank erstellen\".");
    QTest::newRow("none selected") << true
                                   << QStringLiteral("Sie müssen zuerst eine Datenbank auswählen! "
                                                     "Mit linker Maustaste anklicken!");
}

void MainWindowTest::updateWithoutSelectionExplains() {
    QFETCH(bool, withDatabases);
    QFETCH(QString, message);
    MainWindowFixture f;
    if (withDatabases)
        f.addDatabase(QStringLiteral("Alpha"));
    bool dialogShown = false;
    f.answerDialog = [&](app::NewDatabaseDialog&) {
        dialogShown = true;
        return int(QDialog::Rejected);
    };
    f.start();
    databaseList(f)->clearSelection();
    f.mainWindow->onReindexClicked();
    QVERIFY(f.waitForIndexRun());
    QCOMPARE(f.prompts.texts(), QStringList{message});
    QCOMPARE(f.prompts.shown.first().kind, Kind::Information);
    QVERIFY(!dialogShown);
    QVERIFY(!f.mainWindow->isUpdateMode());
}

void MainWindowTest::emptyNameAndFolderGiveThreeBoxes() {
    MainWindowFixture f;
    f.start();
    f.dialog->onOkClicked();
    QCOMPARE(f.prompts.texts(),
             (QStringList{QStringLiteral("Sie haben keinen Namen für die Datenbank angegeben"),
                          QStringLiteral("Sie haben keinen Pfad angegeben"),
                          QStringLiteral("Der angegebene Ordner existiert nicht")}));
    for (const auto& shown : f.prompts.shown)
        QCOMPARE(shown.kind, Kind::Information);
    QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
}

void MainWindowTest::nameFieldDropsForbiddenCharacters_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("messages");
    QTest::newRow("colon") << QStringLiteral("a:b") << QStringLiteral("ab") << 1;
    QTest::newRow("all ten") << QStringLiteral("/\\*?\"<>|:^x") << QStringLiteral("x") << 1;
    QTest::newRow("outside the code page") << QStringLiteral("λόγος") << QString() << 1;
    QTest::newRow("umlauts are fine") << QStringLiteral("Bücher") << QStringLiteral("Bücher") << 0;
}

void MainWindowTest::nameFieldDropsForbiddenCharacters() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, messages);
    MainWindowFixture f;
    f.start();
    auto* name = f.dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    name->setText(typed);
    QCOMPARE(name->text(), kept);
    QCOMPARE(f.prompts.shown.size(), qsizetype(messages));
    for (const auto& shown : f.prompts.shown) {
        QCOMPARE(shown.kind, Kind::Plain);
        QCOMPARE(shown.text, QStringLiteral("Sie haben ungültige Zeichen eingegeben!"));
    }
}

void MainWindowTest::takenNamesAreRefused_data() {
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Test while TEST exists")
        << QStringLiteral("TEST") << QStringLiteral("Test") << false;
    QTest::newRow("Test1 while Test exists")
        << QStringLiteral("Test") << QStringLiteral("Test1") << true;
}

void MainWindowTest::takenNamesAreRefused() {
    QFETCH(QString, existing);
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    MainWindowFixture f;
    f.addDatabase(existing);
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) { return f.fillAndConfirm(dialog, name); };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());
    if (accepted) {
        // No drive file list: the tool is started for drive T.
        QCOMPARE(f.toolLauncher.requests.size(), qsizetype(1));
        QVERIFY(f.prompts.texts().isEmpty());
    } else {
        QCOMPARE(f.prompts.texts(),
                 QStringList{
                     QStringLiteral("Dieser Name existiert schon! Geben Sie einen anderen ein!")});
        QVERIFY(f.toolLauncher.requests.isEmpty());
        QVERIFY(!f.mainWindow->isRunning());
    }
}

void MainWindowTest::aFolderOnAnUnindexableDriveIsRefused_data() {
    QTest::addColumn<platform::OsFamily>("system");
    QTest::addColumn<QString>("message");
    QTest::newRow("Windows") << platform::OsFamily::Windows
                             << QStringLiteral("Das Laufwerk: \"T\" hat kein NTFS-Dateisystem! "
                                               "Trovex kann es deshalb nicht indizieren.");
    QTest::newRow("elsewhere") << platform::OsFamily::Other
                               << QStringLiteral("Das Laufwerk: \"T\" (Ordner \"%1\") liegt auf "
                                                 "keinem lokalen Dateisystem, das Trovex "
                                                 "durchsuchen kann (etwa auf einem Netzlaufwerk "
                                                 "oder einem Pseudo-Dateisystem)! Trovex kann es "
                                                 "deshalb nicht indizieren.");
}

void MainWindowTest::aFolderOnAnUnindexableDriveIsRefused() {
    QFETCH(platform::OsFamily, system);
    QFETCH(QString, message);
    MainWindowFixture f;
    f.osFamily = system;
    f.volumes.indexable.clear();
    f.start();
    f.folders.answers.append(f.documents);
    f.dialog->onChooseFolderClicked();
    QCOMPARE(f.folders.titles, QStringList{QStringLiteral("Ordner zum Scannen wählen")});
    QCOMPARE(f.dialog->folder(), QString());
    QCOMPARE(
        f.prompts.texts(),
        QStringList{message.contains(QStringLiteral("%1")) ? message.arg(f.documents) : message});
    QVERIFY(!f.dialog->useTool());

    // A cancelled browser changes nothing.
    f.prompts.shown.clear();
    f.dialog->onChooseFolderClicked();
    QVERIFY(f.prompts.shown.isEmpty());
}

void MainWindowTest::theDriveCHintComesOncePerRun_data() {
    QTest::addColumn<platform::OsFamily>("system");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("Windows") << platform::OsFamily::Windows
                             << QStringList{QStringLiteral(
                                    "Wenn Sie auf Laufwerk \"C:\\\" oder speziell in den Ordner "
                                    "\"C:\\Windows\", \"C:\\Program Files\" etc. \r\n"
                                    "Dateien indizieren möchten, ist es besser wenn Sie Trovex mit "
                                    "Administratorberechtigung starten.\r\n"
                                    "(Rechte Maustaste auf \"Trovex-odt.exe\" und im Kontextmenü "
                                    "auf \"Als Administrator ausführen\" klicken.\r\n"
                                    "\r\n"
                                    "                                       Sonst werden die "
                                    "Dateien nicht indiziert.")};
    // Elsewhere C: is only a letter of the drive map.
    QTest::newRow("elsewhere") << platform::OsFamily::Other << QStringList();
}

void MainWindowTest::theDriveCHintComesOncePerRun() {
    QFETCH(platform::OsFamily, system);
    QFETCH(QStringList, boxes);
    MainWindowFixture f;
    f.osFamily = system;
    const QString driveC = f.root.path() + QStringLiteral("/C");
    QDir().mkpath(driveC + QStringLiteral("/Windows"));
    f.drives.setDrive(QLatin1Char('C'), driveC);
    f.volumes.indexable.insert(QLatin1Char('C'));
    f.start();
    f.folders.answers = {driveC + QStringLiteral("/Windows"), driveC + QStringLiteral("/Windows")};
    f.dialog->onChooseFolderClicked();
    QCOMPARE(f.dialog->folder(), QStringLiteral("C:\\Windows"));
    f.dialog->onChooseFolderClicked();
    QCOMPARE(f.prompts.texts(), boxes);
    QVERIFY(f.dialog->useTool());
}

// The three lines under the fields say how the drive file list is made.
void MainWindowTest::theFileListNoteDescribesTheSystem_data() {
    QTest::addColumn<platform::OsFamily>("system");
    QTest::addColumn<QString>("label5");
    QTest::addColumn<QString>("label6"); // empty: hidden
    QTest::newRow("Windows") << platform::OsFamily::Windows
                             << QStringLiteral("Programm \"ErstelleDateienliste.exe\" gestartet. "
                                               "Dieses braucht Administratorrechte.")
                             << QStringLiteral("Deshalb müssen Sie die Frage der "
                                               "Benutzerkontensteuerung mit \"Ja\" bestätigen.");
    QTest::newRow("elsewhere") << platform::OsFamily::Other
                               << QStringLiteral("Programm \"ErstelleDateiliste\" gestartet.")
                               << QString();
}

void MainWindowTest::theFileListNoteDescribesTheSystem() {
    QFETCH(platform::OsFamily, system);
    QFETCH(QString, label5);
    QFETCH(QString, label6);
    MainWindowFixture f;
    f.osFamily = system;
    f.start();
    auto text = [&](const char* name) {
        return f.dialog->findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("Label4"), QStringLiteral("Nach dem Sie OK betätigt haben, wird eine "
                                            "Hauptdateienliste erstellt.  Dafür wird das "));
    QCOMPARE(text("Label5"), label5);
    QCOMPARE(text("Label6"), label6);
    QCOMPARE(f.dialog->findChild<QLabel*>(QStringLiteral("Label6"))->isHidden(), label6.isEmpty());
}

// The list question's date: local time with daylight saving, the locale's
// date with a four-digit year and its time with seconds.
void MainWindowTest::theListDateIsTheLocalesFullDateAndTime_data() {
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("winter") << QDateTime(QDate(2026, 12, 10), QTime(4, 40, 12), Qt::UTC) << german
                            << QStringLiteral("10.12.2026 05:40:12");
    QTest::newRow("summer") << QDateTime(QDate(2026, 7, 15), QTime(12, 0, 5), Qt::UTC) << german
                            << QStringLiteral("15.07.2026 14:00:05");
    QTest::newRow("British") << QDateTime(QDate(2026, 7, 15), QTime(12, 0, 5), Qt::UTC)
                             << QLocale(QLocale::English, QLocale::UnitedKingdom)
                             << QStringLiteral("15/07/2026 14:00:05");
}

void MainWindowTest::theListDateIsTheLocalesFullDateAndTime() {
    QFETCH(QDateTime, moment);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(app::listDateText(moment, locale), text);
}

// A new installation offers the four kinds of document the program reads;
// AuswahlEndungen.txt replaces them.
void MainWindowTest::theExtensionChoices_data() {
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<QStringList>("items");
    QTest::newRow("no file") << QByteArray() << QStringList{"*.docm", "*.docx", "*.epub", "*.odt"};
    QTest::newRow("the file's items")
        << QByteArray("*.odt\r\n*.epub\r\n") << QStringList{"*.epub", "*.odt"};
}

void MainWindowTest::theExtensionChoices() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, items);
    MainWindowFixture f;
    if (!file.isEmpty())
        f.writeFile(QStringLiteral("AuswahlEndungen.txt"), file);
    f.start();
    QCOMPARE(f.dialog->extensionChoices(), items);
}

void MainWindowTest::aChosenPatternIsTakenOnce_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty field") << QString() << QStringLiteral("*.docx")
                                 << QStringLiteral("*.docx");
    QTest::newRow("another one") << QStringLiteral("*.odt") << QStringLiteral("*.docx")
                                 << QStringLiteral("*.odt *.docx");
    QTest::newRow("held already") << QStringLiteral("*.odt *.docx") << QStringLiteral("*.odt")
                                  << QStringLiteral("*.odt *.docx");
    QTest::newRow("held in upper case, as an update shows it")
        << QStringLiteral("*.ODT *.EPUB") << QStringLiteral("*.epub")
        << QStringLiteral("*.ODT *.EPUB");
    QTest::newRow("a longer pattern is another one")
        << QStringLiteral("*.doc") << QStringLiteral("*.docx") << QStringLiteral("*.doc *.docx");
}

void MainWindowTest::aChosenPatternIsTakenOnce() {
    QFETCH(QString, before);
    QFETCH(QString, chosen);
    QFETCH(QString, after);
    MainWindowFixture f;
    f.start();
    f.dialog->findChild<QLineEdit*>(QStringLiteral("Edit3"))->setText(before);
    f.dialog->onPatternChosen(f.dialog->extensionChoices().indexOf(chosen));
    QCOMPARE(f.dialog->patterns(), after);
}

void MainWindowTest::theListQuestionDecidesOnTheTool_data() {
    QTest::addColumn<bool>("listExists");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("useTool");
    QTest::addColumn<int>("questions");
    QTest::newRow("no list: no question") << false << int(QDialog::Rejected) << true << 0;
    QTest::newRow("Ja builds it again") << true << int(QDialog::Accepted) << true << 1;
    QTest::newRow("Nein keeps it") << true << int(QDialog::Rejected) << false << 1;
}

void MainWindowTest::theListQuestionDecidesOnTheTool() {
    QFETCH(bool, listExists);
    QFETCH(int, answer);
    QFETCH(bool, useTool);
    QFETCH(int, questions);
    MainWindowFixture f;
    if (listExists) {
        f.writeDriveList({QStringLiteral("a.odt")});
        QFile list(f.path(QStringLiteral("Datenbank/Haupt_Dateinamen_Liste_Laufwerk_T.txt")));
        QVERIFY(list.open(QIODevice::ReadWrite));
        QVERIFY(list.setFileTime(QDateTime(QDate(2026, 12, 10), QTime(4, 40, 12), Qt::UTC),
                                 QFileDevice::FileModificationTime));
    }
    f.answerQuestion = answer;
    f.start();
    f.folders.answers.append(f.documents);
    f.dialog->onChooseFolderClicked();
    QCOMPARE(f.dialog->useTool(), useTool);
    QCOMPARE(f.questionsAsked, questions);
    QCOMPARE(f.dialog->findChild<QLabel*>(QStringLiteral("Image1"))->isHidden(), useTool);
    if (questions > 0) {
        const QStringList lines = f.question->text().split(QStringLiteral("\n"));
        QCOMPARE(lines.size(), 13);
        QCOMPARE(lines.at(0), QString());
        QCOMPARE(lines.at(1),
                 QStringLiteral("Die \"Haupt_Dateinamen_Liste_Laufwerk_T.txt\" ist schon "
                                "vorhanden."));
        QCOMPARE(lines.at(3), QStringLiteral("\tSie wurde am: 10.12.2026 05:40:12 erstellt."));
        QCOMPARE(lines.at(5), QStringLiteral("\t\tSoll sie neu erstellt werden?"));
        QCOMPARE(lines.at(6), QStringLiteral("\t\t--------------------------------------"));
        QCOMPARE(lines.at(8), QStringLiteral("  Das geht relativ schnell. Für 300.000 Dateien "
                                             "etwa 25 Sekunden."));
        QCOMPARE(lines.at(10), QStringLiteral("             Test-PC:  Prozessor: Intel Core "
                                              "i5-7400 4 x 3.00 GHz"));
        QCOMPARE(lines.at(12), QStringLiteral("Die Geschwindigkeit ist abhängig von der "
                                              "Leistungsfähigkeit des PC."));
        QCOMPARE(f.question->windowTitle(), QStringLiteral("Information"));
    }
}

void MainWindowTest::anIndexRunWithAnExistingListBuildsTheDatabase() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Andere"));
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("brief.odt"));
    f.writeDriveList({QStringLiteral("brief.odt")});
    f.answerQuestion = QDialog::Rejected; // keep the existing list
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Briefe");
    };
    bool buttonsDisabledDuringRun = false;
    f.onYield = [&] {
        if (f.mainWindow->isRunning())
            buttonsDisabledDuringRun = !buttonEnabled(f, "NeuErstellenBtn") &&
                                       !buttonEnabled(f, "SuchenBtn") &&
                                       mainText(f, "BitBtn2") == QStringLiteral("&Abbruch");
    };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());

    QVERIFY(f.prompts.texts().isEmpty());
    QVERIFY(buttonsDisabledDuringRun);
    QVERIFY(f.toolLauncher.requests.isEmpty());
    QCOMPARE(mainText(f, "Label1"), QStringLiteral("Fertig mit der Indizierung."));
    QCOMPARE(f.readFile(QStringLiteral("Datenbank/Briefe.dat")),
             QByteArray("PFAD_UND_ENDUNGEN= T:\\ *.odt    \r\nT:\\brief.odt\r\n"));
    const QByteArray text = f.readFile(QStringLiteral("Datenbank/Briefe_UTF8Dokument.txt"));
    QVERIFY(text.contains("#T:\\brief.odt\r\n"));
    QVERIFY(text.contains("Die Fahrkarte kostet 5 \xE2\x82\xAC und gilt f\xC3\xBCr \xC3\x84rzte"));
    QVERIFY(f.exists(QStringLiteral("Datenbank/Briefe.log")));

    QCOMPARE(entries(f), (QStringList{"Andere", "Briefe"}));
    QCOMPARE(selectedRow(f), 1);
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Briefe"));
    QVERIFY(buttonEnabled(f, "NeuErstellenBtn") && buttonEnabled(f, "SuchenBtn") &&
            buttonEnabled(f, "ErneutIndiziereBtn") && buttonEnabled(f, "BitBtn2"));
    QCOMPARE(mainText(f, "BitBtn2"), QStringLiteral("Schli&eßen"));
    QVERIFY(!f.timer("Timer1")->isActive());
    QVERIFY(!f.timer("GedultTimer")->isActive());
    QVERIFY(!f.timer("checkDefenderTimer")->isActive());
    QVERIFY(!f.mainWindow->isRunning());
    QVERIFY(!f.mainWindow->isUpdateMode());

    // Re-indexing the selection fills the dialog from the stored database.
    QString prefilled;
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        prefilled = dialog.databaseName() + QLatin1Char('|') + dialog.folder() + QLatin1Char('|') +
                    dialog.patterns();
        return int(QDialog::Rejected);
    };
    f.mainWindow->onReindexClicked();
    QVERIFY(f.waitForIndexRun());
    QCOMPARE(prefilled, QStringLiteral("Briefe|T:\\|*.ODT    "));
    QVERIFY(!f.mainWindow->isUpdateMode());
}

void MainWindowTest::abortDuringARunKeepsWhatWasGathered() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Alt1"));
    f.addDatabase(QStringLiteral("Alt2"));
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("a.odt"));
    f.addDocument(QStringLiteral("pandoc.docx"), QStringLiteral("b.docx"));
    f.writeDriveList({QStringLiteral("a.odt"), QStringLiteral("b.docx")});
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("Edit3"))
            ->setText(QStringLiteral("*.odt *.docx"));
        return f.fillAndConfirm(dialog, "Teil");
    };
    // The close button, pressed once the first document has been taken.
    bool pressed = false;
    int snappedBackTo = -2;
    f.onYield = [&] {
        if (!pressed && f.mainWindow->windowTitle().contains(QStringLiteral("a.odt"))) {
            pressed = true;
            // A click on the list during the run does not change the selection.
            click(f, 1);
            snappedBackTo = selectedRow(f);
            f.mainWindow->onCloseOrAbortClicked();
            QCOMPARE(mainText(f, "Label1"),
                     QStringLiteral("Indizierung wurde abgebrochen! Die Daten werden gespeichert"));
            QVERIFY(!buttonEnabled(f, "BitBtn2"));
        }
    };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());

    QVERIFY(pressed);
    QCOMPARE(snappedBackTo, 0);
    QCOMPARE(f.readFile(QStringLiteral("Datenbank/Teil.dat")),
             QByteArray("PFAD_UND_ENDUNGEN= T:\\ *.odt *.docx   \r\nT:\\a.odt\r\nT:\\b.docx\r\n"));
    const QByteArray text = f.readFile(QStringLiteral("Datenbank/Teil_UTF8Dokument.txt"));
    QVERIFY(text.contains("#T:\\a.odt\r\n"));
    QVERIFY(!text.contains("#T:\\b.docx"));
    QVERIFY(mainText(f, "Label1").startsWith(QStringLiteral("Fertig mit der")));
    QCOMPARE(entries(f), (QStringList{"Alt1", "Alt2", "Teil"}));
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Teil"));
    QVERIFY(buttonEnabled(f, "NeuErstellenBtn") && buttonEnabled(f, "BitBtn2"));
    QVERIFY(!f.mainWindow->isRunning());
}

// The handler that starts a run returns at once: the run works on its own
// thread, the window takes the next click while it does ("Abbruch" is
// heard before the first document is read), and shows the end when it comes.
void MainWindowTest::theWindowGoesOnWhileTheRunWorks() {
    MainWindowFixture f;
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("a.odt"));
    f.writeDriveList({QStringLiteral("a.odt")});
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Neu");
    };
    // Every check of the run waits for the window to take it: the run
    // cannot get past reading the list before the window's loop runs.
    int checks = 0;
    f.onYield = [&] { ++checks; };
    f.start();
    f.mainWindow->onNewDatabaseClicked();

    QVERIFY(f.mainWindow->indexRunUnderWay());
    QCOMPARE(checks, 0);
    QCOMPARE(mainText(f, "BitBtn2"), QStringLiteral("&Abbruch"));
    QVERIFY(!buttonEnabled(f, "NeuErstellenBtn") && !buttonEnabled(f, "SuchenBtn"));
    f.mainWindow->onCloseOrAbortClicked();
    QCOMPARE(mainText(f, "Label1"),
             QStringLiteral("Indizierung wurde abgebrochen! Die Daten werden gespeichert"));

    QVERIFY(f.waitForIndexRun());
    QVERIFY(checks > 0);
    QVERIFY(!f.mainWindow->indexRunUnderWay());
    QCOMPARE(mainText(f, "Label1"), QStringLiteral("Fertig mit der abgebrochenen Indizierung."));
    QVERIFY(!f.readFile(QStringLiteral("Datenbank/Neu_UTF8Dokument.txt")).contains("#T:\\a.odt"));
    QVERIFY(f.exists(QStringLiteral("Datenbank/Neu.dat")));
    QCOMPARE(mainText(f, "BitBtn2"), QStringLiteral("Schli&eßen"));
    QVERIFY(buttonEnabled(f, "NeuErstellenBtn") && buttonEnabled(f, "BitBtn2"));
}

// Two broken containers and a Word file saved with a password among three
// good documents: the run goes on to the end, the status line names each as
// it comes, one box after the run lists them (the locked one apart), and the
// database text is that of the good documents alone.
void MainWindowTest::brokenDocumentsAreListedInOneBoxAfterTheRun() {
    auto prepare = [](MainWindowFixture& f, bool withBroken) {
        f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("a.odt"));
        f.addDocument(QStringLiteral("libreoffice.docx"), QStringLiteral("b.docx"));
        f.addDocument(QStringLiteral("pandoc.epub"), QStringLiteral("c.epub"));
        QStringList names{"a.odt", "b.docx", "c.epub"};
        if (withBroken) {
            QFile text(f.documents + QStringLiteral("/Kaputt_Dokument.docx"));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("Das ist kein ZIP-Container.\r\n");
            // A container cut off after its first member's header.
            QFile whole(qEnvironmentVariable("TROVEX_FIXTURES") +
                        QStringLiteral("/indexing/pandoc.odt"));
            QVERIFY(whole.open(QIODevice::ReadOnly));
            QFile cut(f.documents + QStringLiteral("/halb.odt"));
            QVERIFY(cut.open(QIODevice::WriteOnly));
            cut.write(whole.read(200));
            // An OLE compound file that holds an encrypted package.
            QFile locked(f.documents + QStringLiteral("/Geheim.docx"));
            QVERIFY(locked.open(QIODevice::WriteOnly));
            locked.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0') +
                         QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32));
            names = QStringList{"a.odt",    "Kaputt_Dokument.docx", "b.docx",
                                "halb.odt", "Geheim.docx",          "c.epub"};
        }
        f.writeDriveList(names);
        f.answerDialog = [&f](app::NewDatabaseDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("Edit3"))
                ->setText(QStringLiteral("*.odt *.docx *.epub"));
            return f.fillAndConfirm(dialog, "Texte");
        };
    };

    MainWindowFixture good;
    prepare(good, false);
    good.start();
    good.mainWindow->onNewDatabaseClicked();
    QVERIFY(good.waitForIndexRun());
    QVERIFY(good.prompts.shown.isEmpty());

    MainWindowFixture f;
    prepare(f, true);
    QStringList statusTexts;
    qsizetype boxesDuringRun = 0;
    f.onYield = [&] {
        const QString status = mainText(f, "Label1");
        if (statusTexts.isEmpty() || statusTexts.last() != status)
            statusTexts.append(status);
        boxesDuringRun = qMax(boxesDuringRun, f.prompts.shown.size());
    };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());

    QCOMPARE(boxesDuringRun, 0);
    QVERIFY2(statusTexts.contains(QStringLiteral("<T:\\Kaputt_Dokument.docx> invalid zipfile")),
             qPrintable(statusTexts.join(QLatin1Char('|'))));
    QVERIFY(statusTexts.contains(QStringLiteral("<T:\\halb.odt> invalid zipfile")));
    QVERIFY(statusTexts.contains(QStringLiteral("<T:\\Geheim.docx> passwortgeschützt")));
    QCOMPARE(mainText(f, "Label1"), QStringLiteral("Fertig mit der Indizierung."));
    QCOMPARE(f.prompts.shown.size(), qsizetype(1));
    QCOMPARE(f.prompts.shown.first().kind, Kind::Information);
    QCOMPARE(f.prompts.shown.first().title, QStringLiteral("Trovex-ODT"));
    QCOMPARE(f.prompts.shown.first().text,
             QStringLiteral("Diese Dokumente konnten nicht gelesen werden (beschädigt oder kein "
                            "ZIP-Container):\r\nT:\\Kaputt_Dokument.docx\r\nT:\\halb.odt\r\n\r\n"
                            "Diese Dokumente sind passwortgeschützt (ihr Text kann nicht gelesen "
                            "werden):\r\nT:\\Geheim.docx"));
    const QByteArray text = f.readFile(QStringLiteral("Datenbank/Texte_UTF8Dokument.txt"));
    QVERIFY(text.contains("#T:\\c.epub\r\n"));
    QCOMPARE(text, good.readFile(QStringLiteral("Datenbank/Texte_UTF8Dokument.txt")));
}

void MainWindowTest::unreadableDocumentsMessage_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("lines");
    QTest::newRow("one") << 1 << QStringLiteral("D:\\Texte\\Kaputt1.docx") << 2;
    QTest::newRow("twenty") << 20 << QStringLiteral("D:\\Texte\\Kaputt20.docx") << 21;
    QTest::newRow("twenty-one") << 21 << QStringLiteral("… und 1 weitere.") << 22;
    QTest::newRow("1234") << 1234 << QStringLiteral("… und 1214 weitere.") << 22;
}

void MainWindowTest::unreadableDocumentsMessage() {
    QFETCH(int, count);
    QFETCH(QString, lastLine);
    QFETCH(int, lines);
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths.append(QStringLiteral("D:\\Texte\\Kaputt%1.docx").arg(i));
    const QStringList shown = app::unreadableDocumentsMessage(paths).split(QStringLiteral("\r\n"));
    QCOMPARE(shown.size(), lines);
    QCOMPARE(shown.first(), QStringLiteral("Diese Dokumente konnten nicht gelesen werden "
                                           "(beschädigt oder kein ZIP-Container):"));
    QCOMPARE(shown.at(1), QStringLiteral("D:\\Texte\\Kaputt1.docx"));
    QCOMPARE(shown.last(), lastLine);

    // The documents saved with a password in a list of their own, alone or
    // after the broken ones.
    const QStringList locked{QStringLiteral("D:\\Texte\\Geheim.odt"),
                             QStringLiteral("D:\\Texte\\Geheim.docx")};
    const QString lockedList =
        QStringLiteral("Diese Dokumente sind passwortgeschützt (ihr Text kann nicht gelesen "
                       "werden):\r\nD:\\Texte\\Geheim.odt\r\nD:\\Texte\\Geheim.docx");
    QList<indexing::SkippedDocument> skipped;
    for (const QString& path : locked)
        skipped.append({path, indexing::SkipReason::PasswordProtected});
    QCOMPARE(app::skippedDocumentsMessage(skipped), lockedList);
    for (const QString& path : paths)
        skipped.append({path, indexing::SkipReason::Damaged});
    QCOMPARE(app::skippedDocumentsMessage(skipped),
             app::unreadableDocumentsMessage(paths) + QStringLiteral("\r\n\r\n") + lockedList);
}

// A listed document that has gone, and one that cannot be read, are no
// documents in use: the run goes on without a box, and the box after it
// names each under its reason, after the broken containers.
void MainWindowTest::goneAndUnreadableDocumentsAreSummedUpAfterTheRun() {
    MainWindowFixture f;
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("a.odt"));
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("z.odt"));
    QVERIFY(QDir(f.documents).mkdir(QStringLiteral("ordner.odt")));
    QFile broken(f.documents + QStringLiteral("/Kaputt.odt"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("kein ZIP");
    broken.close();
    f.writeDriveList({"a.odt", "weg.odt", "Kaputt.odt", "ordner.odt", "fort.odt", "z.odt"});
    f.answerDialog = [&f](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Texte");
    };
    qsizetype boxesDuringRun = 0;
    f.onYield = [&] { boxesDuringRun = qMax(boxesDuringRun, f.prompts.shown.size()); };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());

    QCOMPARE(boxesDuringRun, 0);
    QCOMPARE(mainText(f, "Label1"), QStringLiteral("Fertig mit der Indizierung."));
    QCOMPARE(f.prompts.texts(),
             QStringList{QStringLiteral(
                 "Diese Dokumente konnten nicht gelesen werden (beschädigt oder kein "
                 "ZIP-Container):\r\nT:\\Kaputt.odt\r\n\r\n"
                 "Diese Dokumente gibt es nicht mehr (nach dem Erstellen der Dateiliste gelöscht "
                 "oder verschoben):\r\nT:\\weg.odt\r\nT:\\fort.odt\r\n\r\n"
                 "Für diese Dokumente fehlt die Leseberechtigung, oder sie sind keine normalen "
                 "Dateien:\r\nT:\\ordner.odt")});
    const QByteArray text = f.readFile(QStringLiteral("Datenbank/Texte_UTF8Dokument.txt"));
    QVERIFY(text.contains("#T:\\a.odt\r\n"));
    QVERIFY(text.contains("#T:\\z.odt\r\n"));
}

// Only the entries the list offers are read, however long the file is.
void MainWindowTest::aLongHandEditedHistoryOffersItsFirstFifty() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Alpha"));
    QByteArray history = "\xEF\xBB\xBF";
    QStringList first;
    for (int i = 1; i <= 120; ++i) {
        history += "Suchtext " + QByteArray::number(i) + "\r\n";
        if (i <= 50)
            first.append(QStringLiteral("Suchtext %1").arg(i));
    }
    f.writeFile(QStringLiteral("Alpha_Suchwoerterliste.txt"), history);
    f.start();
    QCOMPARE(f.searchWindow->history(), first);
}

void MainWindowTest::aMissingDriveListIsReportedAndLeavesNothing() {
    MainWindowFixture f;
    f.start();
    // The dialog chose the existing list, which has gone since.
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        f.writeDriveList({QStringLiteral("a.odt")});
        const int result = f.fillAndConfirm(dialog, "Leer");
        QFile::remove(f.path(QStringLiteral("Datenbank/Haupt_Dateinamen_Liste_Laufwerk_T.txt")));
        return result;
    };
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());
    QCOMPARE(f.prompts.texts(),
             QStringList{QStringLiteral("Die Dateiliste \"Haupt_Dateinamen_Liste_Laufwerk_T.txt\" "
                                        "für das Laufwerk \"T\" wurde nicht gefunden. Die "
                                        "Datenbank wurde nicht erstellt.")});
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Leer.dat")));
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Leer.log")));
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Leer_UTF8Dokument.txt")));
    QVERIFY(!mainText(f, "Label1").contains(QStringLiteral("Fertig")));
    QVERIFY(entries(f).isEmpty());
    QVERIFY(buttonEnabled(f, "NeuErstellenBtn") && buttonEnabled(f, "BitBtn2"));
    QCOMPARE(mainText(f, "BitBtn2"), QStringLiteral("Schli&eßen"));
}

void MainWindowTest::theToolIsWatchedUntilItHasFinished() {
    MainWindowFixture f;
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("brief.odt"));
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Neu");
    };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());

    QCOMPARE(f.toolLauncher.requests.size(), qsizetype(1));
    QVERIFY(f.toolLauncher.requests.first().arguments.contains(QStringLiteral("T")));
    QVERIFY(f.mainWindow->isRunning());
    QVERIFY(f.timer("UeberwachTimer")->isActive());
    QVERIFY(f.timer("Timer1")->isActive());
    QCOMPARE(mainText(f, "Label1"), QStringLiteral("Datenbank wird neu erstellt."));

    f.mainWindow->onToolWatchTick();
    QVERIFY(f.mainWindow->windowTitle().startsWith(
        QStringLiteral("Trovex-ODT wartet auf Erstellung der Hauptdatei-Liste! ")));
    QVERIFY(!buttonEnabled(f, "BitBtn2") && !buttonEnabled(f, "SuchenBtn"));

    f.toolLauncher.sendStarted();
    f.mainWindow->onToolWatchTick();
    QCOMPARE(f.mainWindow->windowTitle(), QString());
    // The tool writes its list and ends.
    f.writeDriveList({QStringLiteral("brief.odt")});
    f.toolLauncher.sendFinished();
    f.mainWindow->onToolWatchTick();
    QVERIFY(f.waitForIndexRun());

    QCOMPARE(mainText(f, "Label1"), QStringLiteral("Fertig mit der Indizierung.."));
    QVERIFY(!f.timer("UeberwachTimer")->isActive());
    QVERIFY(
        f.readFile(QStringLiteral("Datenbank/Neu_UTF8Dokument.txt")).contains("#T:\\brief.odt"));
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Neu"));
    QVERIFY(buttonEnabled(f, "BitBtn2") && buttonEnabled(f, "SuchenBtn"));
}

void MainWindowTest::aToolThatNeverShowsTimesOut() {
    MainWindowFixture f;
    f.osFamily = platform::OsFamily::Windows; // the texts of both systems: app_texts
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Neu");
    };
    f.start();
    f.mainWindow->onNewDatabaseClicked();
    for (int tick = 1; tick < 120; ++tick)
        f.mainWindow->onToolWatchTick();
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(f.mainWindow->isRunning());
    f.mainWindow->onToolWatchTick();
    QVERIFY(f.waitForIndexRun());

    QCOMPARE(f.prompts.shown.size(), qsizetype(1));
    QCOMPARE(f.prompts.shown.first().kind, Kind::Plain);
    QVERIFY(f.prompts.shown.first().text.startsWith(
        QStringLiteral("Die Vorgabezeit ist überschritten! Sie hätten in der Taskleiste")));
    QCOMPARE(mainText(f, "Label1"),
             QStringLiteral("\"ErstelleDateiliste.exe\" wurde abgebrochen, Vorgabezeit "
                            "überschritten oder noch nicht mit \"JA\" bestätigt!"));
    QVERIFY(!f.mainWindow->isRunning());
    for (const char* timer : {"UeberwachTimer", "Timer1", "GedultTimer"})
        QVERIFY(!f.timer(timer)->isActive());
    QVERIFY(buttonEnabled(f, "BitBtn2") && buttonEnabled(f, "NeuErstellenBtn"));
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Neu.dat")));
}

void MainWindowTest::theProgressLineShowsCountAndTime() {
    MainWindowFixture f;
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Neu");
    };
    f.clock.now = 50'999;
    f.start();
    f.mainWindow->onNewDatabaseClicked(); // waits for the tool
    QVERIFY(f.waitForIndexRun());
    f.mainWindow->onProgressTick();
    QCOMPARE(mainText(f, "Label2"), QStringLiteral("Anzahl Dateien:     0     Zeit: 0:0:0"));
    // Whole seconds of the clock count, as the tick count divided by 1000.
    f.clock.now = 50'999 + 3'725'001;
    f.mainWindow->onProgressTick();
    QCOMPARE(mainText(f, "Label2"), QStringLiteral("Anzahl Dateien:     0     Zeit: 1:2:6"));
    QCOMPARE(f.mainWindow->runState(), app::RunState::WaitingForTool);
    QStringList marks;
    for (int tick = 0; tick < 7; ++tick) {
        f.mainWindow->onPatienceTick();
        marks.append(mainText(f, "GeduldLabel"));
    }
    QCOMPARE(marks, (QStringList{"°", "° °", "° ° °", "° ° ° °", "° ° ° ° °", "", "°"}));
}

void MainWindowTest::theSearchButtonOpensTheSearchWindow_data() {
    QTest::addColumn<bool>("search");
    QTest::newRow("Lokale Suche") << true;
    QTest::newRow("Abbrechen") << false;
}

// "&Suchen" runs the search window for the selected database. Only a search
// that ended leaves the main window finished, which the close button reads
// while a list build runs: then it gives the buttons back.
void MainWindowTest::theSearchButtonOpensTheSearchWindow() {
    QFETCH(bool, search);
    MainWindowFixture f;
    f.writeFile(QStringLiteral("Datenbank/Alpha.dat"),
                "PFAD_UND_ENDUNGEN= T:\\ *.odt    \r\nT:\\brief.odt\r\n");
    f.writeFile(QStringLiteral("Datenbank/Alpha_UTF8Dokument.txt"),
                " \r\n \r\n \r\n#T:\\brief.odt\r\n============\r\nDas Haus am See\r\n");
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("brief.odt"));
    QString databaseOfTheWindow;
    f.answerSearch = [&](app::SearchWindow& window) {
        databaseOfTheWindow = window.databaseName();
        if (search) {
            window.setSearchText(QStringLiteral("Haus"));
            window.onLocalSearchClicked();
        } else {
            window.onCancelClicked();
        }
        return resultOnceSearchEnded(window);
    };
    f.start();
    f.mainWindow->onSearchClicked();

    QCOMPARE(databaseOfTheWindow, QStringLiteral("Alpha"));
    QCOMPARE(f.exists(QStringLiteral("TX_Ergebnis.htm")), search);
    QCOMPARE(mainText(f, "Label1"), search ? QStringLiteral("Fertig mit der Suche.") : QString());
    QCOMPARE(f.mainWindow->runState(), search ? app::RunState::Finished : app::RunState::Idle);
    QCOMPARE(f.searchWindow->history(),
             search ? QStringList{QStringLiteral("Haus")} : QStringList());

    // A list build took the buttons; its end by the close button gives them
    // back only after finished work.
    for (const char* name : {"SuchenBtn", "NeuErstellenBtn", "ErneutIndiziereBtn"})
        f.mainWindow->findChild<QPushButton*>(QLatin1String(name))->setEnabled(false);
    f.mainWindow->setListBuildRunning(true);
    f.mainWindow->onCloseOrAbortClicked();
    QVERIFY(f.mainWindow->isAbortRequested());
    QCOMPARE(buttonEnabled(f, "SuchenBtn"), search);
    QCOMPARE(buttonEnabled(f, "NeuErstellenBtn"), search);
    QVERIFY(!f.prompts.texts().contains(QStringLiteral("Trovex-ODT wirklich schließen?")));
}

// The remembered selection is the start-up selection until the first search
// and then the database of the last search: the first search of the start-up
// database keeps the viewer's find text, and a click during a run returns to
// the last searched database.
void MainWindowTest::aClickDuringARunReturnsToTheLastSearchedDatabase() {
    MainWindowFixture f;
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        f.addDatabase(QString::fromLatin1(name));
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("1"));
    f.answerSearch = [](app::SearchWindow& window) {
        window.onCancelClicked();
        return window.result();
    };
    f.start();
    auto* find = f.searchWindow->findChild<QLineEdit*>(QStringLiteral("TntEdit1"));
    find->setText(QStringLiteral("See"));
    f.mainWindow->onSearchClicked();
    QCOMPARE(find->text(), QStringLiteral("See"));

    click(f, 2);
    f.mainWindow->onSearchClicked();
    QCOMPARE(find->text(), QString());

    click(f, 0);
    f.mainWindow->setSearchUnderWay(true); // as during a run
    click(f, 1);
    QCOMPARE(selectedRow(f), 2);
    QCOMPARE(f.mainWindow->selectedDatabaseName(), QStringLiteral("Alpha"));
}

// Closing removes the scratch of runs that are gone, and nothing that may
// belong to a run of another program that is still at work.
void MainWindowTest::closingStoresSelectionSizesAndClearsAbandonedScratch() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Alpha"));
    f.addDatabase(QStringLiteral("Beta"));
    f.start();
    f.settings.write(QStringLiteral("Farbe"), QString());
    f.writeFile(QStringLiteral("Datenbank/Temp/ZipTemp/x/y.xml"), "x");
    f.writeFile(QStringLiteral("Datenbank/Temp/rest.txt"), "x");
    f.writeFile(QStringLiteral("Datenbank/Temp/Lauf-1-dead/SplitDokument001.txt"), "x");
    f.writeFile(QStringLiteral("Datenbank/Temp/Alpha.neu/Alpha.dat"), "x");
    f.mainWindow->show();
    f.mainWindow->resize(950, 610);
    databaseList(f)->clearSelection();
    f.prompts.answers = {true};
    QVERIFY(f.mainWindow->close());

    QCOMPARE(f.prompts.texts(), QStringList{QStringLiteral("Trovex-ODT wirklich schließen?")});
    QCOMPARE(f.settings.read(QStringLiteral("Ausgewaehlte_Datenbank")), QStringLiteral("0"));
    QCOMPARE(f.settings.read(QStringLiteral("Farbe")), QStringLiteral("clTeal"));
    QCOMPARE(f.settings.read(QStringLiteral("Hoehe")), QStringLiteral("610"));
    QCOMPARE(f.settings.read(QStringLiteral("Weite")), QStringLiteral("950"));
    QCOMPARE(f.settings.read(QStringLiteral("SchriftsizeTextViewer")), QStringLiteral("10"));
    QCOMPARE(QDir(f.path(QStringLiteral("Datenbank/Temp")))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("rest.txt"), QStringLiteral("ZipTemp")}));
    QVERIFY(f.exists(QStringLiteral("Datenbank/Temp/ZipTemp/x/y.xml")));
}

// A database that a run of another program holds is not indexed or deleted
// from the window: the user is told, and nothing changes.
void MainWindowTest::aHeldDatabaseIsNeitherIndexedNorDeleted() {
    MainWindowFixture f;
    f.addDatabase(QStringLiteral("Alpha"));
    f.addDocument(QStringLiteral("pandoc.odt"), QStringLiteral("a.odt"));
    f.writeDriveList({QStringLiteral("a.odt")});
    f.answerDialog = [&](app::NewDatabaseDialog& dialog) {
        return f.fillAndConfirm(dialog, "Neu");
    };
    f.start();
    const QString busy =
        QStringLiteral("Die Datenbank \"%1\" wird gerade von einem anderen Vorgang bearbeitet "
                       "(Indizierung, Sortierung, Positionsliste oder Löschen). Es wurde nichts "
                       "geändert. Bitte versuchen Sie es später noch einmal.");
    database::DatabaseLock neu;
    QVERIFY(neu.acquire(f.path(QString()), QStringLiteral("Neu")));
    f.mainWindow->onNewDatabaseClicked();
    QVERIFY(f.waitForIndexRun());
    QCOMPARE(f.prompts.texts(), QStringList{busy.arg(QStringLiteral("Neu"))});
    QCOMPARE(f.prompts.shown.first().kind, Kind::Warning);
    QVERIFY(!f.exists(QStringLiteral("Datenbank/Neu.dat")));
    QVERIFY(!f.mainWindow->isRunning());
    QVERIFY(buttonEnabled(f, "NeuErstellenBtn") && buttonEnabled(f, "ErneutIndiziereBtn"));
    neu.release();

    database::DatabaseLock alpha;
    QVERIFY(alpha.acquire(f.path(QString()), QStringLiteral("Alpha")));
    click(f, 0);
    f.prompts.shown.clear();
    f.prompts.answers = {true};
    f.mainWindow->onDeleteDatabaseChosen();
    QCOMPARE(f.prompts.texts(),
             (QStringList{QStringLiteral("Möchten Sie die Datenbank \"Alpha\" wirklich löschen?"),
                          busy.arg(QStringLiteral("Alpha"))}));
    QVERIFY(f.exists(QStringLiteral("Datenbank/Alpha.dat")));
    QCOMPARE(entries(f), QStringList{"Alpha"});
}

void MainWindowTest::closeQuestionNoKeepsTheProgramRunning() {
    MainWindowFixture f;
    f.start();
    f.mainWindow->show();
    f.settings.write(QStringLiteral("Hoehe"), QStringLiteral("1"));
    f.prompts.answers = {false};
    QVERIFY(!f.mainWindow->close());
    QVERIFY(f.mainWindow->isVisible());
    QCOMPARE(f.settings.read(QStringLiteral("Hoehe")), QStringLiteral("1"));
}

void MainWindowTest::aMaximisedSearchWindowKeepsItsStoredSize_data() {
    QTest::addColumn<bool>("maximised");
    QTest::newRow("maximised") << true;
    QTest::newRow("normal") << false;
}

void MainWindowTest::aMaximisedSearchWindowKeepsItsStoredSize() {
    QFETCH(bool, maximised);
    MainWindowFixture f;
    f.start();
    f.settings.write(QStringLiteral("SHoehe"), QStringLiteral("321"));
    f.settings.write(QStringLiteral("SWeite"), QStringLiteral("654"));
    f.searchWindow->resize(777, 444);
    if (maximised)
        f.searchWindow->setWindowState(Qt::WindowMaximized);
    f.mainWindow->saveSettingsOnClose();
    QCOMPARE(f.settings.read(QStringLiteral("SHoehe")),
             maximised ? QStringLiteral("321") : QString::number(f.searchWindow->height()));
    QCOMPARE(f.settings.read(QStringLiteral("SWeite")),
             maximised ? QStringLiteral("654") : QString::number(f.searchWindow->width()));
}

// Paths below are relative to the fixture's root: the program directory is
// Programm/, the executable lies in bin/, so an installed help is in
// share/trovex-odt/. "ROOT" in a message stands for the root.
void MainWindowTest::helpOpensTheFirstCopyOrSaysWhereItBelongs_data() {
    QTest::addColumn<bool>("fromSearchWindow");
    QTest::addColumn<QStringList>("copies");
    QTest::addColumn<bool>("viewerStarts"); // the desktop has a program for PDF files
    QTest::addColumn<QString>("opened");    // empty: nothing handed to the shell
    QTest::addColumn<QString>("message");   // empty: no box

    const QString program = QStringLiteral("Programm/Trovex_ODT.pdf");
    const QString installed = QStringLiteral("share/trovex-odt/Trovex_ODT.pdf");
    const QString missing =
        QStringLiteral("Die Hilfe-Datei \"Trovex_ODT.pdf\" wurde nicht gefunden.\n"
                       "Sie gehört an diese Stelle:\n"
                       "ROOT/Programm/Trovex_ODT.pdf");
    QTest::newRow("program directory")
        << false << QStringList{program} << true << program << QString();
    QTest::newRow("program directory before installed")
        << false << QStringList{program, installed} << true << program << QString();
    QTest::newRow("installed copy")
        << false << QStringList{installed} << true << installed << QString();
    QTest::newRow("none") << false << QStringList() << true << QString() << missing;
    QTest::newRow("a folder of that name is no help")
        << false << QStringList{program + QStringLiteral("/")} << true << QString() << missing;
    QTest::newRow("no program for PDF files")
        << false << QStringList{installed} << false << installed
        << QStringLiteral("Die Hilfe-Datei konnte nicht geöffnet werden:\n"
                          "ROOT/share/trovex-odt/Trovex_ODT.pdf\n"
                          "Ist ein Programm zum Anzeigen von PDF-Dateien installiert?");
    QTest::newRow("search window, installed copy")
        << true << QStringList{installed} << true << installed << QString();
    QTest::newRow("search window, none") << true << QStringList() << true << QString() << missing;
}

void MainWindowTest::helpOpensTheFirstCopyOrSaysWhereItBelongs() {
    QFETCH(bool, fromSearchWindow);
    QFETCH(QStringList, copies);
    QFETCH(bool, viewerStarts);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    MainWindowFixture f;
    const QString root = f.root.path() + QLatin1Char('/');
    f.applicationDirectory = root + QStringLiteral("bin");
    for (const QString& copy : copies) {
        if (copy.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(root + copy));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(root + copy).absolutePath()));
        QFile file(root + copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }
    f.shell.defaultHandlerOpens = viewerStarts;
    f.start();

    if (fromSearchWindow)
        f.searchWindow->onHelpClicked();
    else
        f.mainWindow->onHelpClicked();

    QCOMPARE(f.opened(), opened.isEmpty() ? QStringList()
                                          : QStringList{QDir::toNativeSeparators(root + opened)});
    if (!opened.isEmpty())
        QVERIFY(f.shell.calls.first().defaultHandler);
    QCOMPARE(f.prompts.texts(),
             message.isEmpty() ? QStringList()
                               : QStringList{QDir::toNativeSeparators(
                                     QString(message).replace(QStringLiteral("ROOT/"), root))});
    if (!message.isEmpty())
        QCOMPARE(f.prompts.shown.first().kind, platform::Prompts::Kind::Warning);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
