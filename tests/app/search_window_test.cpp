// The search window driven through its handlers and through the main
// window's search request, offscreen, with the prompts and launcher doubles.
#include "app_test_services.h"
#include "search_window_wait.h"
#include "support/platform_doubles.h"

#include "app/search_request.h"
#include "app/search_window.h"
#include "app/search_window_host.h"
#include "app/searching_notice.h"

#include "database/document_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using testsupport::RecordingPrompts;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the search window and its request ask of the main window, recorded.
struct RecordingHost final : app::SearchWindowHost {
    QStringList entries;
    QList<int> selected;
    QString status = QStringLiteral("vorher");
    bool statusFinished = false;
    QString progressLine = QStringLiteral("vorher");
    bool patienceRunning = false;
    bool searchUnderWay = false;
    int settingsShown = 0;
    int remembered = -1;

    QStringList catalogueEntries() const override { return entries; }
    QList<int> selectedCatalogueRows() const override { return selected; }
    int rememberedSelection() const override { return remembered; }
    void rememberSelection(int index) override { remembered = index; }
    void showStatus(const QString& text) override {
        status = text;
        statusFinished = false;
    }
    void showFinishedStatus(const QString& text) override {
        status = text;
        statusFinished = true;
    }
    void showProgressLine(const QString& text) override { progressLine = text; }
    void startPatienceMarks() override { patienceRunning = true; }
    void stopPatienceMarks() override { patienceRunning = false; }
    void bringToFront() override {}
    void setSearchUnderWay(bool underWay) override { searchUnderWay = underWay; }
    void showSettingsDialog() override { ++settingsShown; }
};

// A program directory with one database "Texte" over the folder D:\ (the
// documents' own folder, mapped to a scratch directory), a recorded main
// window, and the search window with its search request.
struct Bench : AppTestServices {
    QTemporaryDir root;
    QString documents;
    RecordingHost host;
    std::unique_ptr<app::SearchWindow> form;
    std::unique_ptr<app::LocalSearchRequest> request;
    // What the user does while the search window is open.
    std::function<void(app::SearchWindow&)> user;

    Bench() {
        programDirectory = root.path() + QStringLiteral("/Programm/");
        documents = root.path() + QStringLiteral("/Laufwerk_D");
        QDir().mkpath(programDirectory + QStringLiteral("Datenbank"));
        QDir().mkpath(documents);
        drives.setDrive(QLatin1Char('D'), documents);
        settings.write(QStringLiteral("Browser"), QStringLiteral("standard"));
        settings.write(QStringLiteral("Suchwort_in_Zwischenablage_kopieren"), QStringLiteral("1"));
        // The window stays responsive during a search; no pause is waited.
        onPause = [] { QCoreApplication::processEvents(); };
        onYield = [] { QCoreApplication::processEvents(); };
        runModal = [this](QDialog& window) {
            auto& searchWindow = static_cast<app::SearchWindow&>(window);
            searchWindow.show();
            if (user)
                user(searchWindow);
            return resultOnceSearchEnded(searchWindow);
        };
        form = std::make_unique<app::SearchWindow>(services(), host);
        request = std::make_unique<app::LocalSearchRequest>(services(), host, *form);
    }

    // Documents as name -> running text, stored in the database text in
    // this order and present on drive D.
    void makeDatabase(const QList<QPair<QString, QString>>& documentTexts) {
        QStringList listLines{database::documentListHeader(
            QStringLiteral("D:\\"), {QStringLiteral("*.odt"), {}, {}, {}, {}})};
        QString text;
        for (const auto& [name, body] : documentTexts) {
            const QString path = QStringLiteral("D:\\") + name;
            listLines.append(database::toDoubleUtf8Form(path));
            text += QStringLiteral(" \r\n \r\n \r\n#") + path + QStringLiteral("\r\n") +
                    QString(path.size(), QLatin1Char('=')) + QStringLiteral("\r\n") + body +
                    QStringLiteral("\r\n");
            writeBytes(documents + QLatin1Char('/') + name, "zip");
        }
        QVERIFY(database::writeDocumentList(listLines, programDirectory +
                                                           QStringLiteral("Datenbank/Texte.dat")));
        writeBytes(programDirectory + QStringLiteral("Datenbank/Texte_UTF8Dokument.txt"),
                   text.toUtf8());
        host.entries = {QStringLiteral("Texte")};
        host.selected = {0};
    }

    QLineEdit* bar() { return form->findChild<QLineEdit*>(QStringLiteral("TntEdit2")); }
    QPushButton* pushButton(const char* name) {
        return form->findChild<QPushButton*>(QLatin1String(name));
    }
    QString page(const char* name = "TX_Ergebnis.htm") {
        return QString::fromUtf8(readBytes(programDirectory + QLatin1String(name)));
    }
};

// Types like the user does, one key at a time, then presses Enter.
void typeAndPressEnter(app::SearchWindow& form, const QString& text) {
    auto* bar = form.findChild<QLineEdit*>(QStringLiteral("TntEdit2"));
    bar->setFocus();
    QTest::keyClicks(bar, text);
    QTest::keyClick(bar, Qt::Key_Return);
}

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullSearchWritesPageAndFilesHistory();
    void sameTextTwiceKeepsOneEntry();
    void umlautOptionReachesTheSearch_data();
    void umlautOptionReachesTheSearch();
    void emptySearchTextIsReportedTwice();
    void catalogueMessages_data();
    void catalogueMessages();
    void leadingBlankLeavesBarEmpty();
    void disabledSearchButtonsStayReadable_data();
    void disabledSearchButtonsStayReadable();
    void searchModeFollowsBlanks_data();
    void searchModeFollowsBlanks();
    void pathEntryFoundOnDriveD();
    void pathEntryWithoutExtensionWarnsAndLooksUp();
    void pathEntryOnlyOnDriveCIsNotFoundByScan();
    void aTypedPathWaitsForEnter_data();
    void aTypedPathWaitsForEnter();
    void aPathThatArrivesWholeIsLookedUpAtOnce_data();
    void aPathThatArrivesWholeIsLookedUpAtOnce();
    void theHintGivesAnExampleOfTheUsersOwnPaths();
    void theFindTextStaysWhileTheDatabaseStays();
    void cancelDuringPassOneGivesCancelPage();
    void theClickReturnsWhileTheSearchWorks();
    void noticeCancelsPassTwo();
    void sixWordsInAnyWordModeSkipHistory();
    void webSearchAppendsTextToDirectSite();
    void webSearchWithoutSiteFileOnlyShowsPanel();
    void sizeLimitsAndSplitter();
    void loadButtonNeedsFourBytes();
    void historyDropDownHeights();
    void handOffTextIsTakenOverOnlyFromTheSiblingEdition();
};

void SearchWindowTest::fullSearchWritesPageAndFilesHistory() {
    Bench bench;
    bench.makeDatabase({{QStringLiteral("Brief.odt"), QStringLiteral("Das Haus am See.")},
                        {QStringLiteral("Notiz.odt"), QStringLiteral("Kein Treffer hier.")}});
    bench.user = [](app::SearchWindow& form) { typeAndPressEnter(form, QStringLiteral("Haus")); };
    bench.request->run();

    const QString page = bench.page();
    QVERIFY2(page.contains(QStringLiteral("Datenbankname: \"Texte\"<br>")), qPrintable(page));
    QVERIFY(page.contains(QStringLiteral(
        "<br>Suchbegriff: <font color=\"#cc0000\">\"<u>Haus\"</u><font color=\"#000000\"> wurde "
        "gefunden:<br>")));
#ifdef Q_OS_WIN
    // Windows links name the drive itself.
    const QString link = QStringLiteral("file:///D:/Brief.odt");
#else
    const QString link = QStringLiteral("file://") + bench.documents + QStringLiteral("/Brief.odt");
#endif
    QVERIFY(page.contains(QStringLiteral("<font color=\"#000000\">1 mal in: <a href=\"") + link +
                          QStringLiteral("\" target=\"_blank\">")));
    QCOMPARE(page.count(QStringLiteral(" mal in: ")), 1);
    QVERIFY(bench.opened().contains(
        QDir::toNativeSeparators(bench.programDirectory + QStringLiteral("TX_Ergebnis.htm"))));

    QCOMPARE(bench.form->history(), QStringList{QStringLiteral("Haus")});
    QCOMPARE(readBytes(bench.programDirectory + QStringLiteral("Texte_Suchwoerterliste.txt")),
             QByteArray("\xFF\xFEH\0a\0u\0s\0\r\0\n\0", 14));
    QCOMPARE(bench.host.status, QStringLiteral("Fertig mit der Suche."));
    QVERIFY(bench.host.statusFinished);
    QCOMPARE(bench.host.progressLine, QString());
    QVERIFY(!bench.host.patienceRunning);
    QVERIFY(!bench.host.searchUnderWay);
    QCOMPARE(bench.clipboard.text(), QStringLiteral("Haus"));
    // The search waits nowhere: each page opens as soon as it is written.
    QVERIFY(!bench.pauses.contains(1000));
    QVERIFY(bench.prompts.shown.isEmpty());
}

void SearchWindowTest::sameTextTwiceKeepsOneEntry() {
    Bench bench;
    bench.makeDatabase({{QStringLiteral("Brief.odt"), QStringLiteral("Haus und haus")}});
    bench.form->setHistory(
        {QStringLiteral("Garten"), QStringLiteral("Sie_haben_keinen_Suchtext_eingegeben!")});
    for (const QString& text :
         {QStringLiteral("Haus"), QStringLiteral("haus"), QStringLiteral("Haus")}) {
        bench.user = [text](app::SearchWindow& form) { typeAndPressEnter(form, text); };
        bench.request->run();
    }
    QCOMPARE(bench.form->history(), (QStringList{QStringLiteral("Haus"), QStringLiteral("haus"),
                                                 QStringLiteral("Garten")}));
}

void SearchWindowTest::umlautOptionReachesTheSearch_data() {
    QTest::addColumn<QString>("stored"); // Umlaute_Gross_Klein_egal
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("found");
    QTest::newRow("on") << QStringLiteral("1") << false << true;
    QTest::newRow("off") << QStringLiteral("0") << false << false;
    QTest::newRow("missing: on for a new user") << QString() << false << true;
    QTest::newRow("on, but the case counts") << QStringLiteral("1") << true << false;
}

void SearchWindowTest::umlautOptionReachesTheSearch() {
    QFETCH(QString, stored);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, found);
    Bench bench;
    if (!stored.isEmpty())
        bench.settings.write(QStringLiteral("Umlaute_Gross_Klein_egal"), stored);
    bench.makeDatabase({{QStringLiteral("Obst.odt"), QStringLiteral("Äpfel und Birnen")}});
    bench.user = [caseSensitive](app::SearchWindow& form) {
        form.findChild<QCheckBox*>(QStringLiteral("GrossKleinBeachten"))->setChecked(caseSensitive);
        // Pasted: the key simulation knows no umlauts.
        form.setSearchText(QStringLiteral("äpfel"));
        QTest::keyClick(form.findChild<QLineEdit*>(QStringLiteral("TntEdit2")), Qt::Key_Return);
    };
    bench.request->run();
    QCOMPARE(!bench.form->lastSearchOutcome().noHits, found);
    QCOMPARE(bench.page().contains(QStringLiteral("1 mal in: ")), found);
}

void SearchWindowTest::emptySearchTextIsReportedTwice() {
    Bench bench;
    bench.makeDatabase({{QStringLiteral("Brief.odt"), QStringLiteral("Haus")}});
    // The button is disabled without text; the handler is called directly,
    // as a synthesised click would.
    bench.user = [](app::SearchWindow& form) { form.onLocalSearchClicked(); };
    bench.request->run();
    QCOMPARE(bench.prompts.texts(),
             (QStringList{QStringLiteral("Sie haben keinen Suchtext eingegeben!"),
                          QStringLiteral("Sie haben keinen Suchtext eingegeben!")}));
    QVERIFY(!QFile::exists(bench.programDirectory + QStringLiteral("TX_Ergebnis.htm")));
    QVERIFY(bench.form->history().isEmpty());
    QVERIFY(!bench.host.searchUnderWay);
}

void SearchWindowTest::catalogueMessages_data() {
    QTest::addColumn<bool>("withEntry");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty catalogue")
        << false << QStringLiteral("Es existiert noch keine Datenbank! ");
    QTest::newRow("nothing selected")
        << true
        << QStringLiteral(
               "Markieren Sie eine Datenbank und betätigen Sie dann nochmal den Suchen Schalter!");
}

void SearchWindowTest::catalogueMessages() {
    QFETCH(bool, withEntry);
    QFETCH(QString, message);
    Bench bench;
    if (withEntry)
        bench.host.entries = {QStringLiteral("Texte")};
    bool opened = false;
    bench.user = [&opened](app::SearchWindow&) { opened = true; };
    bench.request->run();
    QCOMPARE(bench.prompts.shown.size(), 1);
    QCOMPARE(bench.prompts.shown.first().kind, RecordingPrompts::Kind::Information);
    QCOMPARE(bench.prompts.shown.first().text, message);
    QVERIFY(!opened);
    QVERIFY(!bench.host.searchUnderWay);
}

// The two buttons are disabled while the bar is empty and take the hint
// colour then; on their light face white hint text would vanish. Whatever
// the hint colour, the caption stays readable and fainter than enabled text.
void SearchWindowTest::disabledSearchButtonsStayReadable_data() {
    QTest::addColumn<QString>("hint");
    for (const char* hint : {"clWhite", "clBlack", "clYellow", "$00EFEFEF", "clTeal"})
        QTest::newRow(hint) << QString::fromLatin1(hint);
}

void SearchWindowTest::disabledSearchButtonsStayReadable() {
    QFETCH(QString, hint);
    Bench bench;
    bench.settings.write(QStringLiteral("HinweistextFarbe"), hint);
    bench.form->show();
    QTest::keyClicks(bench.bar(), QStringLiteral("a"));
    QTest::keyClick(bench.bar(), Qt::Key_Backspace);
    for (const char* name : {"OKBtn", "SuchImInternetBtn"}) {
        QPushButton* button = bench.pushButton(name);
        QVERIFY(!button->isEnabled());
        const QPalette palette = button->palette();
        const double faint =
            widgets::contrastRatio(palette.color(QPalette::Disabled, QPalette::ButtonText),
                                   palette.color(QPalette::Disabled, QPalette::Button));
        QVERIFY2(faint >= 3.0 && faint < 4.5, qPrintable(QString::number(faint)));
    }
}

void SearchWindowTest::leadingBlankLeavesBarEmpty() {
    Bench bench;
    bench.form->show();
    QTest::keyClick(bench.bar(), Qt::Key_Space);
    QCOMPARE(bench.bar()->text(), QString());
    QVERIFY(!bench.pushButton("OKBtn")->isEnabled());
    QVERIFY(!bench.pushButton("SuchImInternetBtn")->isEnabled());
    QCOMPARE(bench.form->findChild<QLabel*>(QStringLiteral("TntLabel1"))->text(),
             QStringLiteral("Es wurde kein Text eingegeben!"));
    QTest::keyClicks(bench.bar(), QStringLiteral("a"));
    QVERIFY(bench.pushButton("OKBtn")->isEnabled());
    QCOMPARE(bench.form->findChild<QLabel*>(QStringLiteral("TntLabel1"))->text(),
             QStringLiteral("Suchtext: a"));
}

void SearchWindowTest::searchModeFollowsBlanks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("phrase");
    QTest::newRow("one word") << QStringLiteral("Haus") << false;
    QTest::newRow("two words") << QStringLiteral("Haus Bau") << true;
    QTest::newRow("tab") << QStringLiteral("Haus\tBau") << true;
    QTest::newRow("trailing blank only") << QStringLiteral("Haus ") << false;
}

void SearchWindowTest::searchModeFollowsBlanks() {
    QFETCH(QString, text);
    QFETCH(bool, phrase);
    Bench bench;
    bench.bar()->setText(text);
    QCOMPARE(bench.form->phrase(), phrase);
    QCOMPARE(bench.form->anyWord(), !phrase);
    QCOMPARE(bench.form->findChild<QCheckBox*>(QStringLiteral("PhraseCheckBox"))->isChecked(),
             phrase);
}

void SearchWindowTest::pathEntryFoundOnDriveD() {
    Bench bench;
    writeBytes(bench.documents + QStringLiteral("/Ordner/Brief.odt"), "zip");
    bench.prompts.answers = {true};
    bench.bar()->setText(QStringLiteral("#X:\\Ordner\\Brief.odt"));
    QCOMPARE(bench.prompts.texts(),
             QStringList{QStringLiteral(
                 "Bei dem Suchtext handelt es sich um einen Pfad zu einer Datei.\r\n"
                 "Möchten Sie die Datei mit dem zugehörigen externen Programm öffnen?")});
    QCOMPARE(bench.opened(), QStringList{QDir::toNativeSeparators(
                                 bench.documents + QStringLiteral("/Ordner/Brief.odt"))});
    QVERIFY(bench.form->pathOpened());
    // Any further change clears the flag.
    bench.bar()->setText(QStringLiteral("Haus"));
    QVERIFY(!bench.form->pathOpened());
}

void SearchWindowTest::pathEntryWithoutExtensionWarnsAndLooksUp() {
    Bench bench;
    writeBytes(bench.documents + QStringLiteral("/Ordner/Liesmich"), "text");
    bench.prompts.answers = {false};
    bench.bar()->setText(QStringLiteral("#D:\\Ordner\\Liesmich"));
    QCOMPARE(bench.prompts.shown.size(), 2);
    QCOMPARE(bench.prompts.shown.at(0).kind, RecordingPrompts::Kind::Information);
    QCOMPARE(
        bench.prompts.shown.at(0).text,
        QStringLiteral("?:\\Ordner\\Liesmich\r\n hat keine Dateiendung.\r\nÜberprüfen Sie ob im "
                       "Viewer der \"Pfad+Dateiname+Endung\" in einer Zeile steht. Wenn der "
                       "Eintrag umgebrochen ist (ein Teil steht eine Zeile darunter), dann "
                       "verbreitern Sie das Fenster bis er in einer Zeile steht."));
    QCOMPARE(bench.prompts.shown.at(1).kind, RecordingPrompts::Kind::Confirmation);
    // The two messages about a path entry are titled "Info"; the question
    // has no title of its own.
    QCOMPARE(bench.prompts.shown.at(0).title, QStringLiteral("Info"));
    QCOMPARE(bench.prompts.shown.at(1).title, QStringLiteral("Trovex-ODT"));
    QVERIFY(bench.opened().isEmpty());
    QVERIFY(!bench.form->pathOpened());
}

void SearchWindowTest::pathEntryOnlyOnDriveCIsNotFoundByScan() {
#ifdef Q_OS_WIN
    QSKIP("The scan looks at the drives the machine has, which a test cannot choose");
#endif
    Bench bench;
    const QString driveC = bench.root.path() + QStringLiteral("/Laufwerk_C");
    writeBytes(driveC + QStringLiteral("/Brief.odt"), "zip");
    bench.drives.setDrive(QLatin1Char('C'), driveC);
    bench.form->show();

    // Typed with another letter: the scan skips C, so the file is not found
    // and the window closes as with "Abbrechen".
    bench.bar()->setText(QStringLiteral("#E:\\Brief.odt"));
    QCOMPARE(bench.prompts.texts(),
             QStringList{QStringLiteral("E:\\Brief.odt\r\nwurde nicht gefunden.")});
    QCOMPARE(bench.prompts.shown.first().title, QStringLiteral("Info"));
    QCOMPARE(bench.form->result(), int(QDialog::Rejected));
    QVERIFY(bench.form->isHidden());

    // Typed with C itself: the path as typed finds it.
    bench.prompts.shown.clear();
    bench.prompts.answers = {true};
    bench.bar()->setText(QStringLiteral("#C:\\Brief.odt"));
    QCOMPARE(bench.opened(), QStringList{driveC + QStringLiteral("/Brief.odt")});
}

// Typed by hand, a path is complete only when the user presses Enter: no
// message while typing, the window stays open; Enter then looks it up and,
// when the window goes on, runs the search.
void SearchWindowTest::aTypedPathWaitsForEnter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("openIt");
    QTest::addColumn<QString>("notFound"); // the message, empty when found
    QTest::newRow("not found") << QStringLiteral("#D:\\Texte\\Fehlt.odt") << false
                               << QStringLiteral("D:\\Texte\\Fehlt.odt\r\nwurde nicht gefunden.");
    QTest::newRow("found, opened") << QStringLiteral("#D:\\Brief.odt") << true << QString();
    QTest::newRow("found, not opened") << QStringLiteral("#D:\\Brief.odt") << false << QString();
}

void SearchWindowTest::aTypedPathWaitsForEnter() {
    QFETCH(QString, typed);
    QFETCH(bool, openIt);
    QFETCH(QString, notFound);
    Bench bench;
    bench.makeDatabase({{QStringLiteral("Brief.odt"), QStringLiteral("Das Haus am See.")}});
    bench.prompts.answers = {openIt};
    qsizetype boxesWhileTyping = -1;
    bool openWhileTyping = false;
    bench.user = [&](app::SearchWindow& form) {
        auto* bar = form.findChild<QLineEdit*>(QStringLiteral("TntEdit2"));
        bar->setFocus();
        QTest::keyClicks(bar, typed);
        boxesWhileTyping = bench.prompts.shown.size();
        openWhileTyping = form.isVisible();
        QTest::keyClick(bar, Qt::Key_Return);
    };
    bench.request->run();

    QCOMPARE(boxesWhileTyping, 0);
    QVERIFY(openWhileTyping);
    QCOMPARE(bench.prompts.shown.size(), 1);
    const RecordingPrompts::Shown& box = bench.prompts.shown.first();
    if (!notFound.isEmpty()) {
        QCOMPARE(box.kind, RecordingPrompts::Kind::Information);
        QCOMPARE(box.text, notFound);
        QCOMPARE(box.title, QStringLiteral("Info"));
        QVERIFY(bench.form->isHidden());
        QCOMPARE(bench.form->result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(bench.programDirectory + QStringLiteral("TX_Ergebnis.htm")));
        return;
    }
    QCOMPARE(box.kind, RecordingPrompts::Kind::Confirmation);
    QCOMPARE(bench.opened().contains(
                 QDir::toNativeSeparators(bench.documents + QStringLiteral("/Brief.odt"))),
             openIt);
    // Then the search ran, writing its page unless the user opened the file.
    QCOMPARE(bench.form->result(), int(QDialog::Accepted));
    QCOMPARE(bench.page().contains(QStringLiteral("\"<u>#D:\\Brief.odt\"</u>")), !openIt);
    QCOMPARE(bench.form->history(), QStringList{typed});
    QCOMPARE(bench.clipboard.text(), openIt ? QStringLiteral("D:\\Brief.odt") : typed);
}

void SearchWindowTest::aPathThatArrivesWholeIsLookedUpAtOnce_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("pasted") << QStringLiteral("pasted");
    QTest::newRow("from the history") << QStringLiteral("history");
    QTest::newRow("from the viewer or the hand-off") << QStringLiteral("window");
}

void SearchWindowTest::aPathThatArrivesWholeIsLookedUpAtOnce() {
    QFETCH(QString, how);
    Bench bench;
    const QString path = QStringLiteral("#D:\\Texte\\Fehlt.odt");
    bench.form->show();
    if (how == QLatin1String("pasted")) {
        QGuiApplication::clipboard()->setText(path);
        bench.bar()->setFocus();
        QTest::keySequence(bench.bar(), QKeySequence::Paste);
    } else if (how == QLatin1String("history")) {
        bench.form->setHistory({path});
        auto* history = bench.form->findChild<QListWidget*>(QStringLiteral("TntListBox2"));
        history->setCurrentRow(0);
        bench.form->onHistoryEntryClicked();
    } else {
        bench.form->setSearchText(path);
    }
    QCOMPARE(bench.prompts.texts(),
             QStringList{QStringLiteral("D:\\Texte\\Fehlt.odt\r\nwurde nicht gefunden.")});
    QCOMPARE(bench.prompts.shown.first().title, QStringLiteral("Info"));
    QVERIFY(bench.form->isHidden());
}

// Off Windows the example is a file in the user's home folder, in the form
// the drive map gives it (Z: is the root when nothing else is mapped).
void SearchWindowTest::theHintGivesAnExampleOfTheUsersOwnPaths() {
#ifdef Q_OS_WIN
    QSKIP("The example of the other systems comes from their drive map");
#endif
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/anna");
    Bench bench;
    bench.osFamily = platform::OsFamily::Other;
    app::SearchWindow form(bench.services(), bench.host);
    form.show();
    qputenv("HOME", home);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Geben Sie oben den Text ein, den Sie suchen.   Bei der Suche\r\nnach "
                            "einem Pfadeintrag mit Dateinamen, setzen Sie das Raute-\r\nZeichen # "
                            "davor:     #Z:\\home\\anna\\Texte\\Beispiel.odt"));
}

// The find text of the viewer belongs to the database it was typed for: the
// first search after the start keeps it when the start-up selection is
// searched, and a search of another database empties it.
void SearchWindowTest::theFindTextStaysWhileTheDatabaseStays() {
    Bench bench;
    bench.makeDatabase({{QStringLiteral("Brief.odt"), QStringLiteral("Das Haus am See.")}});
    bench.host.entries = {QStringLiteral("Texte"), QStringLiteral("Andere")};
    bench.host.remembered = 0; // as the start-up selection
    auto* find = bench.form->findChild<QLineEdit*>(QStringLiteral("TntEdit1"));
    find->setText(QStringLiteral("See"));
    bench.user = [](app::SearchWindow& form) { form.onCancelClicked(); };
    bench.request->run();
    QCOMPARE(find->text(), QStringLiteral("See"));
    QCOMPARE(bench.host.remembered, 0);

    bench.host.selected = {1};
    bench.request->run();
    QCOMPARE(find->text(), QString());
    QCOMPARE(bench.host.remembered, 1);
}

void SearchWindowTest::cancelDuringPassOneGivesCancelPage() {
    Bench bench;
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("Ein Haus steht hier. ");
    bench.makeDatabase({{QStringLiteral("Brief.odt"), text}, {QStringLiteral("Notiz.odt"), text}});
    // A first search, so that "Abbrechen" knows a search may run.
    bench.user = [](app::SearchWindow& form) { typeAndPressEnter(form, QStringLiteral("Haus")); };
    bench.request->run();
    QVERIFY(bench.form->searchRunning());

    bench.user = [&bench](app::SearchWindow& form) {
        // "Abbrechen" is pressed as soon as the search first lets the window breathe.
        QTimer::singleShot(0, bench.pushButton("CancelBtn"), &QPushButton::click);
        typeAndPressEnter(form, QStringLiteral("Haus"));
    };
    bench.request->run();
    const QString page = bench.page();
    QVERIFY2(page.contains(QStringLiteral("Benutzer hat die Suche abgebrochen!")),
             qPrintable(page));
    QVERIFY(!page.contains(QStringLiteral("mal in:")));
    QVERIFY(!bench.host.searchUnderWay);
}

// The click only starts the search: the window stays open, a second click
// starts nothing, "Abbrechen" is an ordinary click that stops the work, and
// the window shows the outcome and closes when the search has ended.
void SearchWindowTest::theClickReturnsWhileTheSearchWorks() {
    Bench bench;
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("Ein Haus steht hier. ");
    bench.makeDatabase({{QStringLiteral("Brief.odt"), text}});
    bench.onYield = [] {}; // the work waits at each checkpoint for the window
    bench.form->setDatabaseName(QStringLiteral("Texte"));
    bench.form->show();
    bench.form->setSearchText(QStringLiteral("Haus"));
    QSignalSpy ended(bench.form.get(), &app::SearchWindow::localSearchEnded);

    bench.pushButton("OKBtn")->click();
    QVERIFY(bench.form->localSearchUnderWay());
    QCOMPARE(bench.host.status, QStringLiteral("Suche läuft..."));
    QVERIFY(bench.opened().isEmpty());
    bench.pushButton("OKBtn")->click();
    QVERIFY(bench.host.patienceRunning);

    bench.pushButton("CancelBtn")->click();
    QVERIFY(bench.form->isVisible()); // the close waits for the search's end
    QVERIFY(ended.wait(kJobEndWait));
    QVERIFY(!bench.form->localSearchUnderWay());
    QVERIFY(bench.form->isHidden());
    QVERIFY(!bench.host.patienceRunning);
    QVERIFY(!bench.host.searchUnderWay);
    QVERIFY(bench.page().contains(QStringLiteral("Benutzer hat die Suche abgebrochen!")));
    QVERIFY(bench.opened().contains(
        QDir::toNativeSeparators(bench.programDirectory + QStringLiteral("TX_Ergebnis.htm"))));
    QCOMPARE(ended.size(), 1);
}

void SearchWindowTest::noticeCancelsPassTwo() {
    Bench bench;
    QString text;
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("Ein Haus steht hier. ");
    bench.makeDatabase({{QStringLiteral("Brief.odt"), text}, {QStringLiteral("Notiz.odt"), text}});
    app::SearchingNotice* notice = bench.form->searchingNoticeWindow();
    QString shownText;
    QTimer watch;
    watch.setInterval(0);
    // The user presses the notice's "Abbrechen" as soon as it appears.
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!notice->isVisible())
            return;
        shownText = notice->searchText();
        watch.stop();
        notice->findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
    });
    bench.user = [&watch](app::SearchWindow& form) {
        watch.start();
        typeAndPressEnter(form, QStringLiteral("Haus"));
    };
    bench.request->run();
    QCOMPARE(notice->windowTitle(), QStringLiteral("Bitte Geduld, bin beim Suchen..."));
    QCOMPARE(shownText, QStringLiteral("Haus"));
    QVERIFY(!notice->isVisible());
    QVERIFY(bench.page().contains(QStringLiteral(" mal in: ")));
    const QString second = bench.page("TX_Ergebnis2.htm");
    QVERIFY2(second.contains(QStringLiteral("Benutzer hat die Suche abgebrochen!")),
             qPrintable(second));
    QVERIFY(!second.contains(QStringLiteral(" mal in: ")));
}

void SearchWindowTest::sixWordsInAnyWordModeSkipHistory() {
    Bench bench;
    bench.makeDatabase({{QStringLiteral("Brief.odt"), QStringLiteral("a b c d e f")}});
    bench.user = [](app::SearchWindow& form) {
        form.setSearchText(QStringLiteral("a b c d e f"));
        // Only a click on the hidden option can give a text with blanks the
        // any-word setting.
        form.findChild<QCheckBox*>(QStringLiteral("OderCheckBox"))->click();
        QVERIFY(form.anyWord() && !form.phrase());
        form.onLocalSearchClicked();
    };
    bench.request->run();
    QCOMPARE(bench.prompts.texts(),
             QStringList{QStringLiteral("Der Suchtext darf nur maximal 5 Wörter enthalten! Sie "
                                        "haben 6 eingetragen!")});
    QCOMPARE(bench.form->result(), int(QDialog::Rejected));
    QVERIFY(bench.page().contains(QStringLiteral(" mal in: ")));
    QVERIFY(bench.form->history().isEmpty());
}

void SearchWindowTest::webSearchAppendsTextToDirectSite() {
    Bench bench;
    writeBytes(bench.programDirectory + QStringLiteral("Adressen_Webseiten.txt"),
               "[Themen1]\r\nListe=Lexika\r\n[Themen2]\r\nListe=,Karten\r\n"
               "[Lexika]\r\nListe=https://lexikon.example.org/start, "
               "https://lexikon.example.org/suche?q=\r\n");
    bench.form->refreshControls();
    auto* topics = bench.form->findChild<QComboBox*>(QStringLiteral("TntComboBox1"));
    auto* sites = bench.form->findChild<QListWidget*>(QStringLiteral("TntListBox1"));
    QCOMPARE(topics->count(), 2);
    QCOMPARE(topics->itemText(0), QStringLiteral("Karten"));
    topics->setCurrentIndex(1);
    bench.form->onTopicChosen();
    QCOMPARE(sites->count(), 2);
    QCOMPARE(bench.settings.read(QStringLiteral("Themen-Webseite")), QStringLiteral("1"));
    QCOMPARE(bench.settings.read(QStringLiteral("Ausgewaehlte_Webseite")), QStringLiteral("0"));

    bench.bar()->setText(QStringLiteral("Haus am See"));
    bench.form->onWebSearchClicked(); // shows the panel only
    QVERIFY(bench.opened().isEmpty());
    QCOMPARE(bench.form->findChild<QLabel*>(QStringLiteral("TntLabel1"))->text(),
             QStringLiteral("Suchtext: Haus am See"));
    sites->setCurrentRow(1);
    QCOMPARE(sites->currentItem()->text(), QStringLiteral("https://lexikon.example.org/suche?q="));
    bench.form->onPointerOverSites();
    QCOMPARE(sites->toolTip(),
             QStringLiteral("Grünes Symbol: [>] Webseite sucht selbständig nach dem Suchtext."));
    bench.form->onWebSearchClicked();
    // The text is one percent-encoded query value.
    QCOMPARE(bench.opened(),
             QStringList{QStringLiteral("https://lexikon.example.org/suche?q=Haus%20am%20See")});
    QCOMPARE(bench.bar()->text(), QString());
    QCOMPARE(bench.clipboard.text(), QStringLiteral("Haus am See"));

    // A paste site opens unchanged.
    bench.bar()->setText(QStringLiteral("Haus"));
    sites->setCurrentRow(0);
    bench.form->onPointerOverSites();
    QCOMPARE(sites->toolTip(),
             QStringLiteral("Weißes Symbol: [+] Sie müssen den Suchtext auf der Webseite\r\nmit "
                            "Hilfe der Zwischenablage einfügen bzw. eintippen."));
    bench.form->onWebSearchClicked();
    QCOMPARE(bench.opened().last(), QStringLiteral("https://lexikon.example.org/start"));
}

void SearchWindowTest::webSearchWithoutSiteFileOnlyShowsPanel() {
    Bench bench;
    bench.form->refreshControls();
    QCOMPARE(bench.form->findChild<QComboBox*>(QStringLiteral("TntComboBox1"))->count(), 0);
    QCOMPARE(bench.form->findChild<QListWidget*>(QStringLiteral("TntListBox1"))->count(), 0);
    bench.bar()->setText(QStringLiteral("Haus"));
    bench.form->onWebSearchClicked();
    QVERIFY(!bench.form->findChild<QWidget*>(QStringLiteral("Panel2"))->isHidden());
    bench.form->onWebSearchClicked();
    QVERIFY(bench.opened().isEmpty());
    QCOMPARE(bench.bar()->text(), QStringLiteral("Haus"));
}

void SearchWindowTest::sizeLimitsAndSplitter() {
    Bench bench;
    bench.form->show();
    auto* left = bench.form->findChild<QWidget*>(QStringLiteral("PanelLinks"));
    QCOMPARE(left->width(), 483);
    bench.form->resize(1100, 499);
    QCOMPARE(bench.form->size(), QSize(1100, 499));
    bench.form->resize(1000, 498);
    QCOMPARE(bench.form->size(), QSize(1043, 500));
    bench.form->onSplitterMoved(420);
    QCOMPARE(bench.settings.read(QStringLiteral("SplitterPos")), QStringLiteral("420"));

    AppTestServices secondServices;
    secondServices.settings.write(QStringLiteral("SplitterPos"), QStringLiteral("420"));
    RecordingHost secondHost;
    app::SearchWindow second(secondServices.services(), secondHost);
    second.setStartSize(600, 1200);
    second.show();
    QCOMPARE(second.size(), QSize(1200, 600));
    QCOMPARE(second.findChild<QWidget*>(QStringLiteral("PanelLinks"))->width(), 420);
}

void SearchWindowTest::loadButtonNeedsFourBytes() {
    Bench bench;
    bench.form->setDatabaseName(QStringLiteral("Texte"));
    const QString text =
        bench.programDirectory + QStringLiteral("Datenbank/Texte_UTF8Dokument.txt");
    writeBytes(text, "abc");
    bench.form->refreshControls();
    QVERIFY(!bench.pushButton("UTF8LadenButton")->isEnabled());
    writeBytes(text, "abcd");
    bench.form->refreshControls();
    QVERIFY(bench.pushButton("UTF8LadenButton")->isEnabled());
}

void SearchWindowTest::historyDropDownHeights() {
    Bench bench;
    bench.form->setHistory({QStringLiteral("Haus"), QStringLiteral("Garten")});
    bench.form->show();
    auto* list = bench.form->findChild<QListWidget*>(QStringLiteral("TntListBox2"));
    auto* bottom = bench.form->findChild<QWidget*>(QStringLiteral("PanelUnten"));
    bench.form->onSearchBarPressed();
    QVERIFY(list->isVisible());
    QCOMPARE(list->height(), bottom->y() - list->y() - 48);
    bench.form->onSearchBarPressed();
    QVERIFY(!list->isVisible());

    bench.form->findChild<QWidget*>(QStringLiteral("Panel2"))->show();
    bench.form->onSearchBarPressed();
    QCOMPARE(list->height(), 155);
    list->setCurrentRow(1);
    bench.form->onHistoryEntryClicked();
    QCOMPARE(bench.bar()->text(), QStringLiteral("Garten"));
    QVERIFY(!list->isVisible());
    QCOMPARE(bench.bar()->cursorPosition(), 6);
}

void SearchWindowTest::handOffTextIsTakenOverOnlyFromTheSiblingEdition() {
    Bench bench;
    const QString control = bench.root.path() + QStringLiteral("/Kontrolle/");
    bench.settings.write(QStringLiteral("Trovex_Control"), control);
    writeBytes(control + QStringLiteral("Datenbank/Suchtext.txt"), "Fahrkarte");

    bench.form->takeOverSiblingSearchText();
    QCOMPARE(bench.bar()->text(), QString());
    QCOMPARE(bench.form->takenOverSearchText(), QString());

    bench.processes.siblingEdition = true;
    bench.form->takeOverSiblingSearchText();
    QCOMPARE(bench.bar()->text(), QStringLiteral("Fahrkarte"));
    QCOMPARE(bench.form->takenOverSearchText(), QStringLiteral("Fahrkarte"));
}

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
