// The settings dialog with all windows of the program around it, offscreen:
// the colour chooser, the browser probe and the message boxes are doubles.
#include "main_window_fixture.h"

#include "widgets/drawn_pictures.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using Kind = platform::RecordingPrompts::Kind;

namespace {

// The one control of that name that lies in `window` itself (the dialogs are
// children of the main window, and several windows have a Label1).
template <typename Widget = QWidget> Widget* control(QWidget* window, const QString& name) {
    Widget* found = nullptr;
    for (Widget* candidate : window->findChildren<Widget*>(name)) {
        if (candidate->window() != window)
            continue;
        if (found)
            qWarning("two controls named %s", qPrintable(name));
        found = candidate;
    }
    return found;
}

template <typename Widget = QWidget> Widget* control(QWidget* window, const char* name) {
    return control<Widget>(window, QString::fromLatin1(name));
}

QImage pictureOf(QWidget* window, const char* name) {
    return control<QLabel>(window, name)->pixmap().toImage();
}

QImage browserImage(platform::BrowserKind kind) {
    return widgets::browserPicture(kind).toImage();
}

QColor background(QWidget* widget) {
    return widget->palette().color(QPalette::Window);
}

// Every window and panel of the background control set.
QList<QWidget*> backgroundSet(MainWindowFixture& f) {
    QList<QWidget*> set{f.mainWindow.get(), control(f.mainWindow.get(), "Panel1"),
                        f.settingsDialog.get(), f.dialog.get(), f.searchWindow.get()};
    for (const char* panel : {"PanelLinks", "PanelRechts", "PanelUnten", "Panel2"})
        set.append(control(f.searchWindow.get(), panel));
    return set;
}

// The pixel of the logo's corner, which is transparent in the picture.
QColor logoCorner(MainWindowFixture& f) {
    return control<QLabel>(f.mainWindow.get(), "Image1")->pixmap().toImage().pixelColor(0, 0);
}

QString searchMirrorText(MainWindowFixture& f) {
    return control(f.searchWindow.get(), "ViewerMemo")->property("plainText").toString();
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsCarryTheirTexts_data();
    void controlsCarryTheirTexts();
    void browsersFoundAtStartUp();
    void clickingAPicture_data();
    void clickingAPicture();
    void backgroundColourIsUndoneByAbbruchEvenAfterOk();
    void hintTextColourReachesAllThirtyFourControls();
    void textStaysReadableOnAChosenBackground_data();
    void textStaysReadableOnAChosenBackground();
    void switchesAreStoredOnOkOnly();
    void umlautBoxShowsTheStoredValue_data();
    void umlautBoxShowsTheStoredValue();
    void searchWindowButtonsFollowTheSearchWindow_data();
    void searchWindowButtonsFollowTheSearchWindow();
    void restoreDefaultsCentresTheWindows_data();
    void restoreDefaultsCentresTheWindows();
    void fontSizeStepsWithoutUpperBoundAndShowsASample();
    void listQuestions_data();
    void listQuestions();
};

void SettingsDialogTest::controlsCarryTheirTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* name, const QString& text) {
        QTest::newRow(name) << QString::fromLatin1(name) << text;
    };
    row("SuchtextInClipbrdCheckBox",
        QStringLiteral("Suchtext nach Suche in Zwischenablage kopieren"));
    row("FarbenAendernButton", QStringLiteral("Fenster Hintergrund Farben ändern"));
    row("HinweistexteFarbenAendernButton", QStringLiteral("Hinweistexte Farben ändern"));
    row("Button1", QStringLiteral("Standard wieder herstellen"));
    row("Button2", QStringLiteral("Liste der Datei-Positionen erstellen"));
    row("SortierungAnzeigenBitBtn", QStringLiteral("       Sortierte Listen erstellen       "));
    row("KurzhinweisImViewerZeigenCheckBox",
        QStringLiteral("Kurzhinweis im Viewer an Mauscursor anzeigen"));
    row("FoldUmlautsCheckBox",
        QStringLiteral("Bei Gross/klein egal auch Umlaute gleich behandeln (ä = Ä)"));
    row("Label1", QStringLiteral("Schriftgröße Text-Viewer"));
    row("Label2", QStringLiteral("Diese Browser sind auf Ihrem PC installiert:"));
    row("Label3", QStringLiteral("Dieser Browser zeigt aktuell die Suchergebnisse an:"));
    row("Label4", QStringLiteral("Symbol anklicken für Browser Auswahl."));
    row("Label5", QStringLiteral("Ihre Browser Standardeinstellung wird NICHT geändert."));
    row("OkButton", QStringLiteral("OK"));
    row("AbbruchButton", QStringLiteral("&Abbruch"));
}

void SettingsDialogTest::controlsCarryTheirTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    MainWindowFixture f;
    f.start();
    QWidget* widget = control(f.settingsDialog.get(), name);
    QVERIFY(widget);
    QCOMPARE(widget->property("text").toString(), text);
    QCOMPARE(f.settingsDialog->windowTitle(), QStringLiteral("Einstellungen"));
}

void SettingsDialogTest::browsersFoundAtStartUp() {
    MainWindowFixture f;
    f.browsers.names = {QStringLiteral("IEXPLORE Internet Explorer"),
                        QStringLiteral("Google Chrome")};
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Browser"), QStringLiteral("firefox"));
    f.start();
    QWidget* dialog = f.settingsDialog.get();

    const QList<std::pair<const char*, QString>> hints = {
        {"standard_Image", QStringLiteral("Standard Browser")},
        {"ie_Image", QStringLiteral("Microsoft Internet Explorer")},
        {"edge_Image", QStringLiteral("Microsoft Edge")},
        {"chrome_Image", QStringLiteral("Google Chrome")},
        {"opera_Image", QString()},
        {"safari_Image", QString()},
        {"firefox_Image", QString()}};
    const QImage empty = pictureOf(dialog, "leer_Image");
    for (const auto& [name, hint] : hints) {
        QLabel* picture = control<QLabel>(dialog, name);
        QCOMPARE(picture->toolTip(), hint);
        QVERIFY(!picture->isHidden());
        QCOMPARE(picture->pixmap().toImage() == empty, hint.isEmpty());
    }
    QCOMPARE(pictureOf(dialog, "chrome_Image"), browserImage(platform::BrowserKind::Chrome));
    QVERIFY(control(dialog, "leer_Image")->isHidden());

    // Firefox is not installed, yet the stored choice still shows.
    QCOMPARE(pictureOf(dialog, "AktuellerBrowser_Image"),
             browserImage(platform::BrowserKind::Firefox));
    QCOMPARE(f.settingsDialog->browserChoice(), QStringLiteral("firefox"));
}

void SettingsDialogTest::clickingAPicture_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shown"); // browser kind in the current-browser field
    QTest::newRow("found browser") << QStringLiteral("chrome_Image") << QStringLiteral("chrome")
                                   << int(platform::BrowserKind::Chrome);
    QTest::newRow("standard") << QStringLiteral("standard_Image") << QStringLiteral("standard")
                              << int(platform::BrowserKind::Standard);
    QTest::newRow("empty picture") << QStringLiteral("opera_Image") << QStringLiteral("safari")
                                   << int(platform::BrowserKind::Safari);
}

void SettingsDialogTest::clickingAPicture() {
    QFETCH(QString, picture);
    QFETCH(QString, stored);
    QFETCH(int, shown);
    MainWindowFixture f;
    f.browsers.names = {QStringLiteral("Google Chrome")};
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Browser"), QStringLiteral("safari"));
    f.start();
    f.settingsDialog->show();
    QTest::mouseClick(control(f.settingsDialog.get(), picture), Qt::LeftButton);
    // Written at once, without OK.
    QCOMPARE(f.settings.read(QStringLiteral("Browser")), stored);
    QCOMPARE(pictureOf(f.settingsDialog.get(), "AktuellerBrowser_Image"),
             browserImage(platform::BrowserKind(shown)));
}

void SettingsDialogTest::backgroundColourIsUndoneByAbbruchEvenAfterOk() {
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Farbe"), QStringLiteral("clNavy"));
    f.start(true);

    // A cancelled chooser changes nothing, and Abbruch has nothing to undo.
    f.settingsDialog->onChangeColourClicked();
    QCOMPARE(f.colourChooser.initials, QList<quint32>{0x00800000u});
    f.settingsDialog->onCancelClicked();
    QCOMPARE(f.settings.read(QStringLiteral("Farbe")), QStringLiteral("clNavy"));
    for (QWidget* widget : backgroundSet(f))
        QCOMPARE(background(widget), QColor(0, 0, 128));

    f.colourChooser.answers = {0x000000FFu};
    f.settingsDialog->onChangeColourClicked();
    QCOMPARE(f.settings.read(QStringLiteral("Farbe")), QStringLiteral("clRed"));
    for (QWidget* widget : backgroundSet(f))
        QCOMPARE(background(widget), QColor(255, 0, 0));
    QCOMPARE(logoCorner(f).alpha(), 0);               // drawn transparent
    QCOMPARE(f.mainWindow->size(), QSize(1024, 506)); // widened and narrowed again
    f.settingsDialog->onOkClicked();
    QCOMPARE(f.settings.read(QStringLiteral("Farbe")), QStringLiteral("clRed"));

    // Opened again later: Abbruch still remembers the colour of this run.
    f.settingsDialog->show();
    QTest::keyClick(f.settingsDialog.get(), Qt::Key_Escape);
    QCOMPARE(f.settings.read(QStringLiteral("Farbe")), QStringLiteral("clTeal"));
    for (QWidget* widget : backgroundSet(f))
        QCOMPARE(background(widget), QColor(0, 128, 128));
    QCOMPARE(logoCorner(f), QColor(0xBB, 0xBB, 0xBB)); // not transparent
    QVERIFY(f.settingsDialog->isHidden());
}

void SettingsDialogTest::hintTextColourReachesAllThirtyFourControls() {
    MainWindowFixture f;
    // Yellow reads on navy; on teal it would give way to white.
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Farbe"), QStringLiteral("clNavy"));
    f.start();
    f.colourChooser.answers = {0x0000FFFFu};
    f.settingsDialog->onChangeHintColourClicked();
    QCOMPARE(f.settings.read(QStringLiteral("HinweistextFarbe")), QStringLiteral("clYellow"));

    const QList<std::pair<QWidget*, QStringList>> set = {
        {f.mainWindow.get(), {"SpeedButton1", "SpeedButton2", "Label1", "Label2", "GeduldLabel"}},
        {f.settingsDialog.get(),
         {"SuchtextInClipbrdCheckBox", "KurzhinweisImViewerZeigenCheckBox", "Label1", "Label2",
          "Label3", "Label4", "Label5"}},
        {f.searchWindow.get(),
         {"GrossKleinBeachten", "NurGanzeWoerterCheckBox", "nurWoerterButton", "nurSaetzeButton",
          "WoerterUndSaetzeButton", "Label1", "Label2", "Label3", "Label5", "TntLabel1", "Label8",
          "OderCheckBox", "PhraseCheckBox", "SpeedButton1", "SpeedButton2"}},
        {f.dialog.get(),
         {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6",
          "ODTDokumenteErstellenCheckBox"}}};
    int count = 0;
    for (const auto& [window, names] : set) {
        for (const QString& name : names) {
            QWidget* widget = control(window, name);
            QVERIFY2(widget, qPrintable(window->objectName() + QLatin1Char(' ') + name));
            QVERIFY2(widget->palette().color(QPalette::Active, QPalette::WindowText) ==
                         QColor(255, 255, 0),
                     qPrintable(window->objectName() + QLatin1Char(' ') + name));
            ++count;
        }
    }
    QCOMPARE(count, 34);
    // The new switch reads like its neighbours.
    QCOMPARE(control(f.settingsDialog.get(), "FoldUmlautsCheckBox")
                 ->palette()
                 .color(QPalette::WindowText),
             QColor(255, 255, 0));
}

// A background chosen in the dialog: the product label, the hint texts and
// the plain labels read on it, disabled ones faint but readable.
void SettingsDialogTest::textStaysReadableOnAChosenBackground_data() {
    QTest::addColumn<quint32>("chosen");
    QTest::addColumn<QString>("hint"); // HinweistextFarbe
    QTest::newRow("default teal") << 0x00808000u << QStringLiteral("clWhite");
    QTest::newRow("near black") << 0x00202020u << QStringLiteral("clWhite");
    QTest::newRow("navy, black hints") << 0x00800000u << QStringLiteral("clBlack");
    QTest::newRow("white") << 0x00FFFFFFu << QStringLiteral("clWhite");
    QTest::newRow("pale yellow") << 0x00C0FFFFu << QStringLiteral("clYellow");
}

void SettingsDialogTest::textStaysReadableOnAChosenBackground() {
    QFETCH(quint32, chosen);
    QFETCH(QString, hint);
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("HinweistextFarbe"), hint);
    f.start();
    f.colourChooser.answers = {chosen};
    f.settingsDialog->onChangeColourClicked();
    const QColor back = background(f.mainWindow.get());
    QCOMPARE(back, QColor(int(chosen & 0xFF), int((chosen >> 8) & 0xFF), int(chosen >> 16)));

    const auto contrast = [](QWidget* widget, QPalette::ColorGroup group, QPalette::ColorRole role,
                             const QColor& on) {
        return widgets::contrastRatio(widget->palette().color(group, role), on);
    };
    QWidget* product = control(f.mainWindow.get(), "SpeedButton3");
    QVERIFY(!product->isEnabled());
    QVERIFY(contrast(product, QPalette::Disabled, QPalette::ButtonText, back) >= 4.5);
    const QList<std::pair<QWidget*, const char*>> texts = {
        {f.mainWindow.get(), "Label1"},
        {f.mainWindow.get(), "SpeedButton1"},
        {f.settingsDialog.get(), "Label1"},
        {f.settingsDialog.get(), "SuchtextInClipbrdCheckBox"},
        {f.searchWindow.get(), "Label1"},
        {f.searchWindow.get(), "TntLabel1"},
        {f.searchWindow.get(), "Label5"},
        {f.dialog.get(), "Label1"},
        {f.dialog.get(), "ODTDokumenteErstellenCheckBox"}};
    for (const auto& [window, name] : texts) {
        QWidget* widget = control(window, name);
        QVERIFY2(widget, name);
        QVERIFY2(contrast(widget, QPalette::Active, QPalette::WindowText, back) >= 4.5, name);
        QVERIFY2(contrast(widget, QPalette::Disabled, QPalette::WindowText, back) >= 3.0, name);
    }
}

void SettingsDialogTest::switchesAreStoredOnOkOnly() {
    MainWindowFixture f;
    f.start();
    auto* clipboard = control<QCheckBox>(f.settingsDialog.get(), "SuchtextInClipbrdCheckBox");
    auto* viewerHint =
        control<QCheckBox>(f.settingsDialog.get(), "KurzhinweisImViewerZeigenCheckBox");
    auto* umlauts = control<QCheckBox>(f.settingsDialog.get(), "FoldUmlautsCheckBox");
    // Umlauts fold for a new user, so their box starts ticked as well.
    QVERIFY(clipboard->isChecked() && viewerHint->isChecked() && umlauts->isChecked());

    for (QCheckBox* box : {clipboard, viewerHint, umlauts})
        box->click();
    f.settingsDialog->onCancelClicked();
    QCOMPARE(f.settings.read(QStringLiteral("Suchwort_in_Zwischenablage_kopieren")),
             QStringLiteral("1"));
    QCOMPARE(f.settings.read(QStringLiteral("Kurzhinweis_imViewer_anzeigen")), QStringLiteral("1"));
    QCOMPARE(f.settings.read(QStringLiteral("Umlaute_Gross_Klein_egal")), QString());
    // The boxes keep what the user ticked.
    QVERIFY(!clipboard->isChecked() && !viewerHint->isChecked() && !umlauts->isChecked());
    QVERIFY(f.searchWindow->viewerHintShown());

    f.settingsDialog->onOkClicked();
    QCOMPARE(f.settings.read(QStringLiteral("Suchwort_in_Zwischenablage_kopieren")),
             QStringLiteral("0"));
    QCOMPARE(f.settings.read(QStringLiteral("Kurzhinweis_imViewer_anzeigen")), QStringLiteral("0"));
    QCOMPARE(f.settings.read(QStringLiteral("Umlaute_Gross_Klein_egal")), QStringLiteral("0"));
    QVERIFY(!f.searchWindow->viewerHintShown());

    umlauts->click();
    f.settingsDialog->onOkClicked();
    QCOMPARE(f.settings.read(QStringLiteral("Umlaute_Gross_Klein_egal")), QStringLiteral("1"));
}

void SettingsDialogTest::umlautBoxShowsTheStoredValue_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("on") << QStringLiteral("1") << true;
    QTest::newRow("off") << QStringLiteral("0") << false;
    QTest::newRow("missing: on for a new user") << QString() << true;
}

void SettingsDialogTest::umlautBoxShowsTheStoredValue() {
    QFETCH(QString, stored);
    QFETCH(bool, ticked);
    MainWindowFixture f;
    if (!stored.isEmpty())
        f.settings.write(QStringLiteral("Umlaute_Gross_Klein_egal"), stored);
    f.start();
    QCOMPARE(control<QCheckBox>(f.settingsDialog.get(), "FoldUmlautsCheckBox")->isChecked(),
             ticked);
    // The first run writes its twelve values, not this one.
    QCOMPARE(f.settings.read(QStringLiteral("Umlaute_Gross_Klein_egal")), stored);
}

void SettingsDialogTest::searchWindowButtonsFollowTheSearchWindow_data() {
    QTest::addColumn<bool>("searchShown");
    QTest::addColumn<bool>("documentLoaded");
    QTest::newRow("search window closed") << false << true;
    QTest::newRow("shown, nothing loaded") << true << false;
    QTest::newRow("shown with a document") << true << true;
}

void SettingsDialogTest::searchWindowButtonsFollowTheSearchWindow() {
    QFETCH(bool, searchShown);
    QFETCH(bool, documentLoaded);
    MainWindowFixture f;
    f.start();
    f.searchWindow->setDocumentLoaded(documentLoaded);
    if (searchShown)
        f.searchWindow->show();
    f.settingsDialog->show();
    QWidget* dialog = f.settingsDialog.get();
    QCOMPARE(control(dialog, "SortierungAnzeigenBitBtn")->isEnabled(), searchShown);
    QCOMPARE(control(dialog, "SpeedButton1")->isEnabled(), searchShown);
    QCOMPARE(control(dialog, "SpeedButton2")->isEnabled(), searchShown);
    QCOMPARE(control(dialog, "Button2")->isEnabled(), searchShown && documentLoaded);
    QCOMPARE(control<QToolButton>(dialog, "SpeedButton1")->text(),
             searchShown ? QString() : QStringLiteral("+    "));
    QCOMPARE(control<QToolButton>(dialog, "SpeedButton2")->text(),
             searchShown ? QString() : QStringLiteral("-    "));
}

void SettingsDialogTest::restoreDefaultsCentresTheWindows_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("mainWindow");
    QTest::addColumn<QRect>("searchWindow"); // never narrower than 1043
    QTest::addColumn<QString>("storedWidth");
    QTest::newRow("1280 x 1024") << QSize(1280, 1024) << QRect(128, 259, 1024, 506)
                                 << QRect(119, 262, 1043, 500) << QStringLiteral("1024");
    QTest::newRow("800 x 600") << QSize(800, 600) << QRect(0, 47, 800, 506)
                               << QRect(-121, 50, 1043, 500) << QStringLiteral("800");
}

void SettingsDialogTest::restoreDefaultsCentresTheWindows() {
    QFETCH(QSize, screen);
    QFETCH(QRect, mainWindow);
    QFETCH(QRect, searchWindow);
    QFETCH(QString, storedWidth);
    MainWindowFixture f;
    f.screenWidth = screen.width();
    f.screenHeight = screen.height();
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Farbe"), QStringLiteral("clNavy"));
    f.settings.write(QStringLiteral("HinweistextFarbe"), QStringLiteral("clYellow"));
    f.settings.write(QStringLiteral("Browser"), QStringLiteral("chrome"));
    f.start();
    f.mainWindow->setGeometry(5, 6, 900, 700);
    f.searchWindow->setGeometry(7, 8, 1200, 800);

    f.settingsDialog->onRestoreDefaultsClicked();
    QCOMPARE(QRect(f.mainWindow->pos(), f.mainWindow->size()), mainWindow);
    QCOMPARE(QRect(f.searchWindow->pos(), f.searchWindow->size()), searchWindow);
    const QList<std::pair<const char*, QString>> stored = {
        {"Farbe", QStringLiteral("clTeal")},  {"HinweistextFarbe", QStringLiteral("clWhite")},
        {"Hoehe", QStringLiteral("506")},     {"Weite", storedWidth},
        {"SHoehe", QStringLiteral("500")},    {"SWeite", storedWidth},
        {"Browser", QStringLiteral("chrome")}};
    for (const auto& [name, value] : stored)
        QCOMPARE(f.settings.read(QString::fromLatin1(name)), value);
    for (QWidget* widget : backgroundSet(f))
        QCOMPARE(background(widget), QColor(0, 128, 128));
    QCOMPARE(logoCorner(f), QColor(0xBB, 0xBB, 0xBB));
    QCOMPARE(control(f.dialog.get(), "Label1")->palette().color(QPalette::WindowText),
             QColor(Qt::white));
}

void SettingsDialogTest::fontSizeStepsWithoutUpperBoundAndShowsASample() {
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("SchriftsizeTextViewer"), QStringLiteral("96"));
    f.start();
    f.searchWindow->show();
    f.settingsDialog->show();
    QTest::mouseClick(control(f.settingsDialog.get(), "SpeedButton1"), Qt::LeftButton);
    QCOMPARE(f.searchWindow->viewerFontSize(), 97);
    QCOMPARE(control(f.searchWindow.get(), "Viewer")->font().pointSize(), 97);
    QCOMPARE(searchMirrorText(f), QStringLiteral("Einstellung der Schriftgröße."));

    f.searchWindow->resetViewer();
    f.searchWindow->showViewerSampleText(QStringLiteral("Eine Zeile des Textes"));
    f.settingsDialog->onSmallerFontClicked();
    f.settingsDialog->onSmallerFontClicked();
    QCOMPARE(f.searchWindow->viewerFontSize(), 95);
    QCOMPARE(searchMirrorText(f), QStringLiteral("Eine Zeile des Textes"));
    // Stored only when the program closes.
    QCOMPARE(f.settings.read(QStringLiteral("SchriftsizeTextViewer")), QStringLiteral("96"));
}

void SettingsDialogTest::listQuestions_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("positionsExist");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    const QString positions =
        QStringLiteral("Möchten Sie die Datei-Positionen der DB: \"Texte\" erstellen?\r\n");
    const QString positionsLast =
        QStringLiteral("Mit Hilfe dieser Liste wird im Textviewer beim Scrollen angezeigt zu "
                       "welcher Datei der angezeigte Text gehört.");
    const QString existing = QStringLiteral("Die Datei: Texte_TitelPositionen.txt ist schon "
                                            "vorhanden und wird dann überschrieben!\r\n");
    const QString sorted = QStringLiteral(
        "Möchten Sie die Dokumente von \"Texte\" sortieren?\r\nVorhandene sortierte Listen "
        "werden überschrieben! Wenn JA, dann \r\nklicken Sie anschließend auf den Schalter "
        "\"Sortierte Listen erstellen\"");
    for (bool yes : {true, false}) {
        const char* answer = yes ? "Ja" : "Nein";
        QTest::addRow("positions, new list, %s", answer)
            << QStringLiteral("Button2") << false << yes << positions + positionsLast;
        QTest::addRow("positions, list exists, %s", answer)
            << QStringLiteral("Button2") << true << yes << positions + existing + positionsLast;
        QTest::addRow("sorted lists, %s", answer)
            << QStringLiteral("SortierungAnzeigenBitBtn") << false << yes << sorted;
    }
}

void SettingsDialogTest::listQuestions() {
    QFETCH(QString, button);
    QFETCH(bool, positionsExist);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    MainWindowFixture f;
    f.start();
    f.addDatabase(QStringLiteral("Texte"));
    if (positionsExist)
        f.writeFile(QStringLiteral("Datenbank/Texte_TitelPositionen.txt"), "1\r\n");
    f.searchWindow->setDatabaseName(QStringLiteral("Texte"));
    f.searchWindow->setDocumentLoaded(true);
    f.searchWindow->show();
    f.searchWindow->onWebSearchClicked(); // the web-site panel is open
    // An earlier list build was closed: abort requested stays set.
    f.searchWindow->showListBuilder();
    f.searchWindow->onStopListBuildClicked();
    QVERIFY(f.searchWindow->abortRequested());
    QVERIFY(!control(f.searchWindow.get(), "Panel2")->isHidden());
    f.settingsDialog->show();
    QSignalSpy positionsWanted(f.settingsDialog.get(),
                               &app::SettingsDialog::filePositionListRequested);
    f.prompts.answers = {yes};

    control<QPushButton>(f.settingsDialog.get(), button)->click();
    QCOMPARE(f.prompts.shown.size(), 1);
    QCOMPARE(f.prompts.shown.first().kind, Kind::Confirmation);
    QCOMPARE(f.prompts.shown.first().text, question);
    QCOMPARE(f.settingsDialog->isHidden(), yes);

    const bool positions = button == QLatin1String("Button2");
    QCOMPARE(positionsWanted.count(), positions && yes ? 1 : 0);
    const bool listBuilderShown = !positions && yes;
    QCOMPARE(!control(f.searchWindow.get(), "SortierteListenErstellenButton")->isHidden(),
             listBuilderShown);
    QCOMPARE(control(f.searchWindow.get(), "Panel2")->isHidden(), listBuilderShown);
    QCOMPARE(f.searchWindow->abortRequested(), !listBuilderShown);
}

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
