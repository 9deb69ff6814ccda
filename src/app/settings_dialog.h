#pragma once

#include "app_services.h"
#include "widgets/coalesced_call.h"

#include "platform/browser_detection.h"
#include "widgets/window_colours.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace widgets {
class ClickablePicture;
}

namespace app {

class MainWindow;
class NewDatabaseDialog;
class SearchWindow;

// The windows the settings dialog colours, sizes and starts work in.
struct SettingsDialogWindows {
    MainWindow* mainWindow = nullptr;
    SearchWindow* searchWindow = nullptr;
    NewDatabaseDialog* newDatabaseDialog = nullptr;
};

// The settings dialog "Einstellungen": window colours, the colour of the hint
// texts, the viewer's font size, the browser of the result pages, the
// switches, the defaults, and the start of the two lists of the search
// window. Made once at start-up (it looks for the installed browsers then)
// and shown modally by the settings buttons of the main and search windows.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(AppServices& services, QWidget* parent = nullptr);

    void setWindows(const SettingsDialogWindows& windows);

    // What the main window hands over at its first paint.
    void applyColours(const widgets::WindowColours& colours);
    void applyBackgroundColour(const QColor& colour);
    void applyHintTextColour(const QColor& colour);
    // "Suchtext nach Suche in Zwischenablage kopieren"
    void setClipboardCopy(bool copy);
    // "Kurzhinweis im Viewer an Mauscursor anzeigen"
    void setViewerHintShown(bool shown);

    // The browser the stored value chose when the dialog was made.
    QString browserChoice() const { return browserChoice_; }
    // A background colour was chosen here at some time during this run.
    bool colourChanged() const { return colourChanged_; }

public Q_SLOTS:
    void refreshControls();
    void onChangeColourClicked();
    void onChangeHintColourClicked();
    void onRestoreDefaultsClicked();
    void onLargerFontClicked();
    void onSmallerFontClicked();
    void onDefaultBrowserClicked();
    void onInternetExplorerClicked();
    void onEdgeClicked();
    void onChromeClicked();
    void onOperaClicked();
    void onSafariClicked();
    void onFirefoxClicked();
    void onOkClicked();
    void onCancelClicked();
    void onFilePositionListClicked();
    void onSortedListsClicked();

Q_SIGNALS:
    // "Liste der Datei-Positionen erstellen" answered with Yes: the search
    // window loads the database text and builds the list.
    void filePositionListRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Applied again whenever the background changes, so it stays readable.
    QColor hintText_{Qt::white};
    // Building (settings_dialog.cpp).
    void buildControls();
    QLayout* buildBrowserRow();
    void connectHandlers();
    void loadInitialState();
    void detectInstalledBrowsers();
    void chooseBrowser(int row);
    void showFontStepPictures(bool shown);

    // What the buttons do (settings_dialog_actions.cpp).
    void applyBackgroundToAllWindows(quint32 value, bool logoTransparent);
    void applyHintTextToAllWindows(quint32 value);
    void centreOnScreen(QWidget& window);
    void stepViewerFontSize(int step);
    QString workingDatabaseName() const;

    AppServices& services_;
    SettingsDialogWindows windows_;
    QString browserChoice_;
    bool colourChanged_ = false;
    widgets::CoalescedCall deferredPaint_{this, [this] { refreshControls(); }};

    QCheckBox* clipboardBox_ = nullptr;
    QCheckBox* viewerHintBox_ = nullptr;
    QCheckBox* umlautBox_ = nullptr;
    QPushButton* coloursButton_ = nullptr;
    QPushButton* hintColours_ = nullptr;
    QPushButton* defaultsButton_ = nullptr;
    QPushButton* positionsButton_ = nullptr;
    QPushButton* sortedButton_ = nullptr;
    QToolButton* biggerButton_ = nullptr;
    QToolButton* smallerButton_ = nullptr;
    QLabel* fontLabel_ = nullptr;
    QLabel* installedLabel_ = nullptr;
    QLabel* currentLabel_ = nullptr;
    QLabel* pickLabel_ = nullptr;
    QLabel* unchangedLabel_ = nullptr;
    // In the order of the browser table.
    std::array<widgets::ClickablePicture*, platform::kBrowserCount> browserPictures_{};
    QLabel* currentBrowserPicture_ = nullptr;
    QLabel* emptyPicture_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace app
