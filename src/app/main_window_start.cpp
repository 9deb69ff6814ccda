// Start-up and close of the main window, the settings it hands the other
// windows at its first paint, and what the search window asks of it.
#include "main_window.h"

#include "help_document.h"
#include "new_database_dialog.h"
#include "search_request.h"
#include "search_window.h"
#include "settings_dialog.h"

#include "database/database_paths.h"
#include "database/extension_choices.h"
#include "database/generation_switch.h"
#include "database/run_scratch.h"
#include "platform/program_directory.h"
#include "platform/settings_values.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace app {

namespace settings = platform::settings;

namespace {

// Logo colour at which the logo keeps its own grey background.
constexpr quint32 kOpaqueLogoColour = 0x00BBBBBB;

} // namespace

void MainWindow::loadWindowSettings() {
    setWindowTitle(QStringLiteral("Trovex-ODT"));
    setMinimumSize(700, 506);
    resize(906, 506);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    // The stored width of a first run is always 1024; only the fallback for a
    // missing value follows the screen.
    settings::writeFirstRunDefaultsIfNeeded(services_.settings, 1024);
    defaultWidth_ = 1024;
    if (services_.screenWidth < 1025)
        defaultWidth_ = services_.screenWidth;

    statusLine_->clear();
    progressLine_->clear();
    indexedFileCount_ = 0;

    for (const QString& problem : platform::makeWorkingDirectories(services_.programDirectory))
        services_.prompts.warning(problem);

    controlDirectory_ = services_.settings.read(settings::kTrovexControl);
    controlDirectoryFlag_ =
        !controlDirectory_.isEmpty() &&
        services_.programDirectory.contains(controlDirectory_, Qt::CaseInsensitive);

    const int screenWidth = services_.screenWidth;
    const int screenHeight = services_.screenHeight;
    mainHeight_ = settings::windowExtentOnScreen(
        settings::readInteger(services_.settings, settings::kMainWindowHeight, 506), screenHeight,
        506);
    mainWidth_ = settings::windowExtentOnScreen(
        settings::readInteger(services_.settings, settings::kMainWindowWidth, defaultWidth_),
        screenWidth, 1024);
    searchHeight_ = settings::windowExtentOnScreen(
        settings::readInteger(services_.settings, settings::kSearchWindowHeight, 500), screenHeight,
        500);
    searchWidth_ = settings::windowExtentOnScreen(
        settings::readInteger(services_.settings, settings::kSearchWindowWidth, defaultWidth_),
        screenWidth, 1024);
}

void MainWindow::setWindows(const MainWindowPeers& windows) {
    windows_ = windows;
    if (windows_.newDatabaseDialog)
        windows_.newDatabaseDialog->setQuestionWindow(windows_.questionWindow);
    if (windows_.settingsDialog)
        windows_.settingsDialog->setWindows(
            {this, windows_.searchWindow, windows_.newDatabaseDialog});
    // "Liste der Datei-Positionen erstellen" loads the text into the search
    // window's viewer and builds the list there.
    if (windows_.settingsDialog && windows_.searchWindow)
        connect(windows_.settingsDialog, &SettingsDialog::filePositionListRequested,
                windows_.searchWindow, &SearchWindow::loadTextAndBuildFilePositions,
                Qt::UniqueConnection);
    searchRequest_.reset();
    if (windows_.searchWindow)
        searchRequest_ =
            std::make_unique<LocalSearchRequest>(services_, *this, *windows_.searchWindow);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The stored settings reach the other windows before the first paint,
    // once they all exist.
    if (firstPaintPending_)
        applyStoredSettings();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    adjustSearchButtonFont();
}

void MainWindow::adjustSearchButtonFont() {
    const int height = searchButton_->height();
    const int size = height > 60 ? 16 : height > 44 ? 12 : 10;
    if (searchButton_->font().pointSize() != size) {
        QFont font = searchButton_->font();
        font.setPointSize(size);
        searchButton_->setFont(font);
    }
}

void MainWindow::applyStoredSettings() {
    adjustSearchButtonFont();
    if (!firstPaintPending_)
        return;
    auto& store = services_.settings;

    patienceLabel_->clear();

    const int viewerFontSize = settings::readInteger(store, settings::kViewerFontSize, 10);
    if (windows_.searchWindow)
        windows_.searchWindow->setViewerFontSize(viewerFontSize > 0 ? viewerFontSize : 10);

    browserChoice_ = store.read(settings::kBrowser);
    if (browserChoice_.isEmpty()) {
        browserChoice_ = QStringLiteral("standard");
        store.write(settings::kBrowser, browserChoice_);
    }

    applyColoursToAllWindows();
    applyViewerSwitches();

    listIcon_ = listIconPicture_->pixmap();
    resize(mainWidth_, mainHeight_);
    readDatabaseNames();
    selectFromStoredIndex();

    if (!selectedDatabaseName_.isEmpty() && QFileInfo::exists(database::searchHistoryPath(
                                                services_.programDirectory, selectedDatabaseName_)))
        loadSearchHistory(selectedDatabaseName_);

    if (windows_.newDatabaseDialog &&
        QFileInfo::exists(database::extensionChoicesPath(services_.programDirectory)))
        windows_.newDatabaseDialog->setExtensionChoices(
            database::loadExtensionChoices(services_.programDirectory));

    closeButton_->setText(QStringLiteral("Schli&eßen"));

    administrator_ = services_.administrator;
    setWindowTitle(administrator_
                       ? QStringLiteral("Trovex-ODT - Mit Administratorberechtigung gestartet.")
                       : QStringLiteral("  Trovex-ODT -  Die Suchmaschine für eBooks, LibreOffice, "
                                        "OpenOffice und Word (DOCX) Dokumente."));
    if (windows_.newDatabaseDialog) {
        windows_.newDatabaseDialog->setAdministrator(administrator_);
        windows_.newDatabaseDialog->setControlDirectory(controlDirectory_, controlDirectoryFlag_);
    }

    if (windows_.searchWindow) {
        windows_.searchWindow->setStartSize(searchHeight_, searchWidth_);
        windows_.searchWindow->resize(searchWidth_, searchHeight_);
    }

    if (catalogue_->count() > 0)
        onCatalogueSelectionChanged();
    firstPaintPending_ = false;
}

// The stored window colour and hint-text colour, for this window and each
// of the others.
void MainWindow::applyColoursToAllWindows() {
    colours_ = widgets::storedWindowColours(services_.settings, palette());
    applyColours(colours_);
    if (windows_.settingsDialog)
        windows_.settingsDialog->applyColours(colours_);
    if (windows_.searchWindow)
        windows_.searchWindow->applyColours(colours_);
    if (windows_.newDatabaseDialog)
        windows_.newDatabaseDialog->applyColours(colours_);
}

void MainWindow::applyColours(const widgets::WindowColours& colours) {
    applyBackgroundColour(colours.background, colours.backgroundValue,
                          colours.backgroundValue != kOpaqueLogoColour);
    applyHintTextColour(colours.hintText);
}

void MainWindow::applyBackgroundColour(const QColor& colour, quint32 value, bool logoTransparent) {
    colours_.background = colour;
    colours_.backgroundValue = value;
    widgets::setBackgroundColour(this, colour);
    widgets::setBackgroundColour(logoPanel_, colour);
    colourProductLabel(colour);
    const QPixmap logo(QStringLiteral(":/trovex/logo.xpm"));
    if (logoTransparent) {
        logo_->setPixmap(logo);
    } else {
        QPixmap opaque(logo.size());
        opaque.fill(widgets::colourFromValue(kOpaqueLogoColour, palette()));
        QPainter painter(&opaque);
        painter.drawPixmap(0, 0, logo);
        painter.end();
        logo_->setPixmap(opaque);
    }
    catalogue_->viewport()->update();
    applyHintTextColour(colours_.hintText);
}

// The product label is a disabled button that keeps the look of enabled
// text, in black or white as the background needs.
void MainWindow::colourProductLabel(const QColor& background) {
    QPalette palette = productLabel_->palette();
    const QColor text = widgets::blackOrWhiteOn(background);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::ButtonText, text);
    productLabel_->setPalette(palette);
}

void MainWindow::applyHintTextColour(const QColor& colour) {
    colours_.hintText = colour;
    for (QWidget* hint :
         QList<QWidget*>{helpButton_, settingsButton_, statusLine_, progressLine_, patienceLabel_})
        widgets::setTextColour(hint, colour);
}

void MainWindow::applyViewerSwitches() {
    auto& store = services_.settings;
    const QString clipboard = store.read(settings::kCopySearchTextToClipboard);
    if (!clipboard.isEmpty() && windows_.settingsDialog)
        windows_.settingsDialog->setClipboardCopy(clipboard == QLatin1String("1"));
    const QString hint = store.read(settings::kViewerHintShown);
    if (!hint.isEmpty()) {
        const bool show = hint == QLatin1String("1");
        if (windows_.settingsDialog)
            windows_.settingsDialog->setViewerHintShown(show);
        if (windows_.searchWindow)
            windows_.searchWindow->setViewerHintShown(show);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (patienceLabel_ && !patienceLabel_->text().isEmpty())
        placePatienceLabel();
}

bool MainWindow::confirmClose() {
    return services_.prompts.confirm(QStringLiteral("Trovex-ODT wirklich schließen?"));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!confirmClose()) {
        event->ignore();
        return;
    }
    // Closing during a run stops it the way the abort button does, so the
    // gathered text is saved rather than cut off mid-write.
    if (running_)
        onCloseOrAbortClicked();
    saveSettingsOnClose();
    event->accept();
}

void MainWindow::saveSettingsOnClose() {
    auto& store = services_.settings;
    int selected = catalogue_->currentRow();
    if (catalogue_->selectedItems().isEmpty())
        selected = -1;
    if (selected == -1 && catalogue_->count() > 0)
        selected = 0;
    store.write(settings::kSelectedDatabase, QString::number(selected));

    if (store.read(settings::kBackgroundColour).isEmpty())
        store.write(settings::kBackgroundColour, QStringLiteral("clTeal"));

    const int viewerFontSize = windows_.searchWindow ? windows_.searchWindow->viewerFontSize() : 10;
    store.write(settings::kViewerFontSize, QString::number(viewerFontSize));

    store.write(settings::kMainWindowHeight, QString::number(height()));
    store.write(settings::kMainWindowWidth, QString::number(width()));
    if (windows_.searchWindow && !windows_.searchWindow->isMaximisedBySizeMessage()) {
        store.write(settings::kSearchWindowHeight,
                    QString::number(windows_.searchWindow->height()));
        store.write(settings::kSearchWindowWidth, QString::number(windows_.searchWindow->width()));
    }

    // Only what runs that are gone left: other programs may still be at work.
    database::removeAbandonedScratch(services_.programDirectory);
}

void MainWindow::onHelpClicked() {
    openHelpDocument(services_);
}

void MainWindow::onSettingsClicked() {
    showSettingsDialog();
}

// ---------------------------------------------------------------------------
// What the search window asks of the main window

QStringList MainWindow::catalogueEntries() const {
    QStringList names;
    for (int row = 0; row < catalogue_->count(); ++row)
        names.append(catalogue_->item(row)->text());
    return names;
}

QList<int> MainWindow::selectedCatalogueRows() const {
    QList<int> rows;
    for (int row = 0; row < catalogue_->count(); ++row)
        if (catalogue_->item(row)->isSelected())
            rows.append(row);
    return rows;
}

void MainWindow::showStatus(const QString& text) {
    showRunStatus(text);
}

void MainWindow::showFinishedStatus(const QString& text) {
    statusLine_->setText(text);
    runState_ = RunState::Finished;
}

void MainWindow::showProgressLine(const QString& text) {
    progressLine_->setText(text);
}

void MainWindow::startPatienceMarks() {
    patienceTimer_->start();
}

void MainWindow::stopPatienceMarks() {
    patienceTimer_->stop();
    patienceLabel_->clear();
}

void MainWindow::bringToFront() {
    raise();
    activateWindow();
}

void MainWindow::showSettingsDialog() {
    if (windows_.settingsDialog)
        services_.runModal(*windows_.settingsDialog);
}

} // namespace app
