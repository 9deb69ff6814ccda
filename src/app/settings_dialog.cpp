// The settings dialog: its controls, the browsers it finds at start-up, the
// choice of a browser, and what a repaint switches.
#include "settings_dialog.h"

#include "search_window.h"

#include "platform/settings_values.h"
#include "search/search_engine.h"
#include "widgets/clickable_picture.h"
#include "widgets/drawn_pictures.h"
#include "widgets/object_names.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace names = widgets::objectnames::settings_dialog;

using widgets::named;

namespace {

// Object names of the browser pictures, in the order of the browser table.
constexpr const char* kPictureNames[platform::kBrowserCount] = {
    names::defaultBrowserPicture, names::internetExplorerPicture,
    names::edgePicture,           names::chromePicture,
    names::operaPicture,          names::safariPicture,
    names::firefoxPicture};

QPushButton* dialogButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

SettingsDialog::SettingsDialog(AppServices& services, QWidget* parent)
    : QDialog(parent)
    , services_(services) {
    named(this, names::window);
    setWindowTitle(QStringLiteral("Einstellungen"));
    buildControls();
    connectHandlers();
    loadInitialState();
}

void SettingsDialog::setWindows(const SettingsDialogWindows& windows) {
    windows_ = windows;
}

void SettingsDialog::buildControls() {
    clipboardBox_ =
        named(new QCheckBox(QStringLiteral("Suchtext nach Suche in Zwischenablage kopieren"), this),
              names::clipboardBox);
    clipboardBox_->setChecked(true);
    coloursButton_ = dialogButton(this, names::coloursButton,
                                  QStringLiteral("Fenster Hintergrund Farben ändern"));
    hintColours_ =
        dialogButton(this, names::hintColoursButton, QStringLiteral("Hinweistexte Farben ändern"));
    defaultsButton_ =
        dialogButton(this, names::defaultsButton, QStringLiteral("Standard wieder herstellen"));
    positionsButton_ = dialogButton(this, names::positionsButton,
                                    QStringLiteral("Liste der Datei-Positionen erstellen"));
    sortedButton_ = dialogButton(this, names::sortedListsButton,
                                 QStringLiteral("       Sortierte Listen erstellen       "));
    viewerHintBox_ =
        named(new QCheckBox(QStringLiteral("Kurzhinweis im Viewer an Mauscursor anzeigen"), this),
              names::viewerHintBox);
    viewerHintBox_->setChecked(true);
    umlautBox_ = named(
        new QCheckBox(QStringLiteral("Bei Gross/klein egal auch Umlaute gleich behandeln (ä = Ä)"),
                      this),
        names::umlautBox);

    biggerButton_ = named(new QToolButton(this), names::largerFontButton);
    biggerButton_->setText(QStringLiteral("+ "));
    smallerButton_ = named(new QToolButton(this), names::smallerFontButton);
    smallerButton_->setText(QStringLiteral("-"));
    fontLabel_ =
        named(new QLabel(QStringLiteral("Schriftgröße Text-Viewer"), this), names::fontLabel);

    installedLabel_ =
        named(new QLabel(QStringLiteral("Diese Browser sind auf Ihrem PC installiert:"), this),
              names::installedLabel);
    currentLabel_ = named(
        new QLabel(QStringLiteral("Dieser Browser zeigt aktuell die Suchergebnisse an:"), this),
        names::currentLabel);
    pickLabel_ = named(new QLabel(QStringLiteral("Symbol anklicken für Browser Auswahl."), this),
                       names::pickLabel);
    unchangedLabel_ = named(
        new QLabel(QStringLiteral("Ihre Browser Standardeinstellung wird NICHT geändert."), this),
        names::unchangedLabel);

    okButton_ = named(new QPushButton(QStringLiteral("OK"), this), names::okButton);
    okButton_->setDefault(true);
    cancelButton_ = dialogButton(this, names::cancelButton, QStringLiteral("&Abbruch"));

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(biggerButton_);
    fontRow->addWidget(fontLabel_);
    fontRow->addWidget(smallerButton_);
    fontRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(clipboardBox_);
    for (QWidget* button : QList<QWidget*>{coloursButton_, hintColours_, defaultsButton_,
                                           positionsButton_, sortedButton_})
        layout->addWidget(button);
    layout->addWidget(viewerHintBox_);
    layout->addWidget(umlautBox_);
    layout->addLayout(fontRow);
    layout->addSpacing(8);
    layout->addWidget(installedLabel_);
    layout->addLayout(buildBrowserRow());
    layout->addWidget(pickLabel_);
    layout->addWidget(unchangedLabel_);
    layout->addSpacing(8);
    auto* currentRow = new QHBoxLayout;
    currentRow->addWidget(currentLabel_);
    currentRow->addWidget(currentBrowserPicture_);
    currentRow->addStretch();
    layout->addLayout(currentRow);
    layout->addStretch();
    layout->addLayout(buttons);
}

QLayout* SettingsDialog::buildBrowserRow() {
    auto* row = new QHBoxLayout;
    for (int index = 0; index < platform::kBrowserCount; ++index) {
        auto* picture = named(new widgets::ClickablePicture(this), kPictureNames[index]);
        picture->setFixedSize(widgets::kBrowserPictureSize, widgets::kBrowserPictureSize);
        picture->setPixmap(widgets::browserPicture(platform::browserTable()[index].kind));
        picture->setCursor(Qt::PointingHandCursor);
        browserPictures_[index] = picture;
        row->addWidget(picture);
    }
    row->addStretch();
    currentBrowserPicture_ = named(new QLabel(this), names::currentBrowserPicture);
    currentBrowserPicture_->setFixedSize(widgets::kBrowserPictureSize,
                                         widgets::kBrowserPictureSize);
    emptyPicture_ = named(new QLabel(this), names::emptyPicture);
    emptyPicture_->setPixmap(widgets::emptyBrowserPicture());
    emptyPicture_->hide();
    return row;
}

void SettingsDialog::connectHandlers() {
    connect(coloursButton_, &QPushButton::clicked, this, &SettingsDialog::onChangeColourClicked);
    connect(hintColours_, &QPushButton::clicked, this, &SettingsDialog::onChangeHintColourClicked);
    connect(defaultsButton_, &QPushButton::clicked, this,
            &SettingsDialog::onRestoreDefaultsClicked);
    connect(positionsButton_, &QPushButton::clicked, this,
            &SettingsDialog::onFilePositionListClicked);
    connect(sortedButton_, &QPushButton::clicked, this, &SettingsDialog::onSortedListsClicked);
    connect(biggerButton_, &QToolButton::clicked, this, &SettingsDialog::onLargerFontClicked);
    connect(smallerButton_, &QToolButton::clicked, this, &SettingsDialog::onSmallerFontClicked);
    connect(okButton_, &QPushButton::clicked, this, &SettingsDialog::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &SettingsDialog::onCancelClicked);
    const std::array<void (SettingsDialog::*)(), platform::kBrowserCount> clicks = {
        &SettingsDialog::onDefaultBrowserClicked, &SettingsDialog::onInternetExplorerClicked,
        &SettingsDialog::onEdgeClicked,           &SettingsDialog::onChromeClicked,
        &SettingsDialog::onOperaClicked,          &SettingsDialog::onSafariClicked,
        &SettingsDialog::onFirefoxClicked};
    for (int index = 0; index < platform::kBrowserCount; ++index)
        connect(browserPictures_[index], &widgets::ClickablePicture::clicked, this, clicks[index]);
}

void SettingsDialog::loadInitialState() {
    detectInstalledBrowsers();
    umlautBox_->setChecked(search::foldUmlautsSetting(services_.settings));
}

// A browser that is not there keeps its place in the row with the empty
// picture and no hint, so a click on it does nothing.
void SettingsDialog::detectInstalledBrowsers() {
    const auto hints = platform::detectedBrowserHints(services_.browsers.installedBrowserNames(),
                                                      services_.browsers.edgeProgramExists());
    const auto& table = platform::browserTable();
    for (int row = 0; row < platform::kBrowserCount; ++row) {
        widgets::ClickablePicture* picture = browserPictures_[row];
        picture->setToolTip(hints[row]);
        picture->setPixmap(hints[row].isEmpty() ? emptyPicture_->pixmap()
                                                : widgets::browserPicture(table[row].kind));
        picture->show();
    }
    // The stored choice shows even when its browser was not found.
    if (const std::optional<int> current =
            platform::currentBrowserRow(services_.settings.read(platform::settings::kBrowser))) {
        currentBrowserPicture_->setPixmap(widgets::browserPicture(table[*current].kind));
        browserChoice_ = table[*current].value;
    }
}

void SettingsDialog::chooseBrowser(int row) {
    widgets::ClickablePicture* picture = browserPictures_[row];
    if (picture->toolTip().isEmpty())
        return;
    currentBrowserPicture_->setPixmap(picture->pixmap());
    // Stored at once: the browser start reads the value when it runs.
    services_.settings.write(platform::settings::kBrowser, platform::browserTable()[row].value);
}

void SettingsDialog::onDefaultBrowserClicked() {
    chooseBrowser(0);
}

void SettingsDialog::onInternetExplorerClicked() {
    chooseBrowser(1);
}

void SettingsDialog::onEdgeClicked() {
    chooseBrowser(2);
}

void SettingsDialog::onChromeClicked() {
    chooseBrowser(3);
}

void SettingsDialog::onOperaClicked() {
    chooseBrowser(4);
}

void SettingsDialog::onSafariClicked() {
    chooseBrowser(5);
}

void SettingsDialog::onFirefoxClicked() {
    chooseBrowser(6);
}

// ---------------------------------------------------------------------------
// Paint

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refreshControls();
}

void SettingsDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    deferredPaint_.request(); // the rules change widgets: not inside a paint
}

// The font size and the two lists belong to the search window: without it
// on the screen there is nothing for them to act on.
void SettingsDialog::refreshControls() {
    const bool searchShown = windows_.searchWindow && windows_.searchWindow->isVisible();
    if (!searchShown) {
        for (QWidget* control :
             QList<QWidget*>{positionsButton_, sortedButton_, biggerButton_, smallerButton_})
            control->setEnabled(false);
        biggerButton_->setText(QStringLiteral("+    "));
        smallerButton_->setText(QStringLiteral("-    "));
        showFontStepPictures(false);
        return;
    }
    for (QWidget* control : QList<QWidget*>{sortedButton_, biggerButton_, smallerButton_})
        control->setEnabled(true);
    biggerButton_->setText(QString());
    smallerButton_->setText(QString());
    showFontStepPictures(true);
    positionsButton_->setEnabled(windows_.searchWindow->documentLoaded());
}

// Enabled, the buttons show a drawn plus and minus in place of their
// emptied captions; disabled, their captions alone.
void SettingsDialog::showFontStepPictures(bool shown) {
    biggerButton_->setIcon(shown ? widgets::fontStepIcon(true) : QIcon());
    smallerButton_->setIcon(shown ? widgets::fontStepIcon(false) : QIcon());
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    // Escape is the Abbruch button, with what it undoes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        onCancelClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Colours and switches handed over by the main window

void SettingsDialog::applyColours(const widgets::WindowColours& colours) {
    applyBackgroundColour(colours.background);
    applyHintTextColour(colours.hintText);
}

void SettingsDialog::applyBackgroundColour(const QColor& colour) {
    widgets::setBackgroundColour(this, colour);
    applyHintTextColour(hintText_);
}

void SettingsDialog::applyHintTextColour(const QColor& colour) {
    hintText_ = colour;
    for (QWidget* hint :
         QList<QWidget*>{clipboardBox_, viewerHintBox_, umlautBox_, fontLabel_, installedLabel_,
                         currentLabel_, pickLabel_, unchangedLabel_})
        widgets::setTextColour(hint, colour);
}

void SettingsDialog::setClipboardCopy(bool copy) {
    clipboardBox_->setChecked(copy);
}

void SettingsDialog::setViewerHintShown(bool shown) {
    viewerHintBox_->setChecked(shown);
}

} // namespace app
