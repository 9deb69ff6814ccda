// What the settings dialog's buttons do: colours, defaults, the font size,
// OK and Abbruch, and the questions that start the lists of the search
// window.
#include "settings_dialog.h"

#include "main_window.h"
#include "new_database_dialog.h"
#include "search_window.h"

#include "database/database_paths.h"
#include "platform/colour_text.h"
#include "platform/settings_values.h"
#include "search/search_engine.h"

#include <QCheckBox>
#include <QFileInfo>

#include <algorithm>

namespace app {

namespace settings = platform::settings;

namespace {

constexpr quint32 kTeal = 0x00808000u;
constexpr quint32 kWhite = 0x00FFFFFFu;
constexpr int kDefaultMainHeight = 506;
constexpr int kDefaultSearchHeight = 500;

QString yesNo(bool ticked) {
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

QString filePositionsQuestion(const QString& name, bool listExists) {
    QStringList lines{QStringLiteral("Möchten Sie die Datei-Positionen der DB: \"") + name +
                      QStringLiteral("\" erstellen?")};
    if (listExists)
        lines.append(QStringLiteral("Die Datei: ") + name +
                     QStringLiteral("_TitelPositionen.txt ist schon vorhanden und wird dann "
                                    "überschrieben!"));
    lines.append(QStringLiteral("Mit Hilfe dieser Liste wird im Textviewer beim Scrollen "
                                "angezeigt zu welcher Datei der angezeigte Text gehört."));
    return lines.join(QStringLiteral("\r\n"));
}

QString sortedListsQuestion(const QString& name) {
    return QStringLiteral("Möchten Sie die Dokumente von \"") + name +
           QStringLiteral("\" sortieren?\r\n"
                          "Vorhandene sortierte Listen werden überschrieben! Wenn JA, dann \r\n"
                          "klicken Sie anschließend auf den Schalter \"Sortierte Listen "
                          "erstellen\"");
}

} // namespace

QString SettingsDialog::workingDatabaseName() const {
    return windows_.searchWindow ? windows_.searchWindow->databaseName() : QString();
}

// ---------------------------------------------------------------------------
// Colours

void SettingsDialog::onChangeColourClicked() {
    const quint32 current =
        platform::colourFromText(services_.settings.read(settings::kFarbe)).value_or(kTeal);
    const std::optional<quint32> chosen = services_.colourChooser.chooseColour(this, current);
    if (!chosen)
        return;
    applyBackgroundToAllWindows(*chosen, true);
    services_.settings.write(settings::kFarbe, platform::colourToText(*chosen));
    colourChanged_ = true;
    // One pixel wider and back makes the main window lay out and repaint.
    if (MainWindow* main = windows_.mainWindow) {
        main->resize(main->width() + 1, main->height());
        main->resize(main->width() - 1, main->height());
    }
}

void SettingsDialog::onChangeHintColourClicked() {
    const quint32 current =
        platform::colourFromText(services_.settings.read(settings::kHinweistextFarbe))
            .value_or(kWhite);
    const std::optional<quint32> chosen = services_.colourChooser.chooseColour(this, current);
    if (!chosen)
        return;
    services_.settings.write(settings::kHinweistextFarbe, platform::colourToText(*chosen));
    applyHintTextToAllWindows(*chosen);
}

// The background control set: the main window with its logo panel, the
// search window with its panels, this dialog and the new-database dialog.
void SettingsDialog::applyBackgroundToAllWindows(quint32 value, bool logoTransparent) {
    const QColor colour = widgets::colourFromValue(value, palette());
    if (windows_.mainWindow)
        windows_.mainWindow->applyBackgroundColour(colour, value, logoTransparent);
    if (windows_.searchWindow)
        windows_.searchWindow->applyBackgroundColour(colour);
    applyBackgroundColour(colour);
    if (windows_.newDatabaseDialog)
        windows_.newDatabaseDialog->applyBackgroundColour(colour);
}

// The hint-text control set of all four windows.
void SettingsDialog::applyHintTextToAllWindows(quint32 value) {
    const QColor colour = widgets::colourFromValue(value, palette());
    if (windows_.mainWindow)
        windows_.mainWindow->applyHintTextColour(colour);
    applyHintTextColour(colour);
    if (windows_.searchWindow)
        windows_.searchWindow->applyHintTextColour(colour);
    if (windows_.newDatabaseDialog)
        windows_.newDatabaseDialog->applyHintTextColour(colour);
}

// ---------------------------------------------------------------------------
// Defaults

void SettingsDialog::onRestoreDefaultsClicked() {
    applyBackgroundToAllWindows(kTeal, false);
    services_.settings.write(settings::kFarbe, QStringLiteral("clTeal"));

    const int width = windows_.mainWindow ? windows_.mainWindow->defaultWidth()
                                          : std::min(1024, services_.screenWidth);
    if (MainWindow* main = windows_.mainWindow) {
        main->resize(width, kDefaultMainHeight);
        centreOnScreen(*main);
    }
    services_.settings.write(settings::kHoehe, QString::number(kDefaultMainHeight));
    services_.settings.write(settings::kWeite, QString::number(width));

    if (SearchWindow* search = windows_.searchWindow) {
        // A search window not yet shown takes the size at its first display.
        search->setStartSize(kDefaultSearchHeight, width);
        search->resize(width, kDefaultSearchHeight);
        search->keepMinimumSize(); // its own limits apply at once, as on every resize
        centreOnScreen(*search);
    }
    services_.settings.write(settings::kSHoehe, QString::number(kDefaultSearchHeight));
    services_.settings.write(settings::kSWeite, QString::number(width));

    services_.settings.write(settings::kHinweistextFarbe, QStringLiteral("clWhite"));
    applyHintTextToAllWindows(kWhite);
}

// By the size the window took, which its own limits may have changed.
void SettingsDialog::centreOnScreen(QWidget& window) {
    window.move(services_.screenWidth / 2 - window.width() / 2,
                services_.screenHeight / 2 - window.height() / 2);
}

// ---------------------------------------------------------------------------
// Font size of the viewer

void SettingsDialog::onLargerFontClicked() {
    stepViewerFontSize(1);
}

void SettingsDialog::onSmallerFontClicked() {
    stepViewerFontSize(-1);
}

// The toolkit knows no font below one point; the size stops there.
void SettingsDialog::stepViewerFontSize(int step) {
    SearchWindow* search = windows_.searchWindow;
    if (!search)
        return;
    search->setViewerFontSize(std::max(1, search->viewerFontSize() + step));
    search->showViewerSampleText(QStringLiteral("Einstellung der Schriftgröße."));
}

// ---------------------------------------------------------------------------
// OK and Abbruch

void SettingsDialog::onOkClicked() {
    services_.settings.write(settings::kSuchwortInZwischenablage,
                             yesNo(clipboardBox_->isChecked()));
    services_.settings.write(settings::kKurzhinweisImViewer, yesNo(viewerHintBox_->isChecked()));
    services_.settings.write(search::kFoldUmlautsSetting, yesNo(umlautBox_->isChecked()));
    if (windows_.searchWindow)
        windows_.searchWindow->setViewerHintShown(viewerHintBox_->isChecked());
    done(QDialog::Accepted);
}

// A background chosen at any time of this run goes back to teal; the check
// boxes keep what the user ticked without it being stored.
void SettingsDialog::onCancelClicked() {
    if (colourChanged_) {
        applyBackgroundToAllWindows(kTeal, false);
        services_.settings.write(settings::kFarbe, QStringLiteral("clTeal"));
    }
    done(QDialog::Rejected);
}

// ---------------------------------------------------------------------------
// The lists of the search window

void SettingsDialog::onFilePositionListClicked() {
    const QString name = workingDatabaseName();
    const bool listExists =
        QFileInfo::exists(database::filePositionListPath(services_.programDirectory, name));
    if (!services_.prompts.confirm(filePositionsQuestion(name, listExists)))
        return;
    Q_EMIT filePositionListRequested();
    done(QDialog::Rejected);
}

void SettingsDialog::onSortedListsClicked() {
    if (!services_.prompts.confirm(sortedListsQuestion(workingDatabaseName())))
        return;
    if (windows_.searchWindow)
        windows_.searchWindow->showListBuilder();
    done(QDialog::Rejected);
}

} // namespace app
