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
class TMainForm_TX_ODT;
class TOKBottomDlg;
class TSuchForm;

namespace widgets {
class ClickablePicture;
}

// The windows the settings dialog colours, sizes and starts work in.
struct SettingsDialogWindows {
    TMainForm_TX_ODT* mainWindow = nullptr;
    TSuchForm* searchWindow = nullptr;
    TOKBottomDlg* newDatabaseDialog = nullptr;
};

// The settings dialog "Einstellungen": window colours, the colour of the hint
// texts, the viewer's font size, the browser of the result pages, the
// switches, the defaults, and the start of the two lists of the search
// window. Made once at start-up (it looks for the installed browsers then)
// and shown modally by the settings buttons of the main and search windows.
class TEinstellform : public QDialog {
    Q_OBJECT
public:
    explicit TEinstellform(AppServices& services, QWidget* parent = nullptr);

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
    void FormPaint();
    void FarbenAendernButtonClick();
    void HinweistexteFarbenAendernButtonClick();
    void Button1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void standard_ImageClick();
    void ie_ImageClick();
    void edge_ImageClick();
    void chrome_ImageClick();
    void opera_ImageClick();
    void safari_ImageClick();
    void firefox_ImageClick();
    void OkButtonClick();
    void AbbruchButtonClick();
    void Button2Click();
    void SortierungAnzeigenBitBtnClick();

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
    // Building (einstell_form.cpp).
    void buildControls();
    QLayout* buildBrowserRow();
    void connectHandlers();
    void FormCreate();
    void PruefeWelcheBrowserInstalliert();
    void chooseBrowser(int row);
    void showFontStepPictures(bool shown);

    // What the buttons do (einstell_form_actions.cpp).
    void applyBackgroundToAllWindows(quint32 value, bool logoTransparent);
    void applyHintTextToAllWindows(quint32 value);
    void centreOnScreen(QWidget& window);
    void stepViewerFontSize(int step);
    QString workingDatabaseName() const;

    AppServices& services_;
    SettingsDialogWindows windows_;
    QString browserChoice_;
    bool colourChanged_ = false;
    widgets::CoalescedCall deferredPaint_{this, [this] { FormPaint(); }};

    QCheckBox* clipboardBox_ = nullptr;      // SuchtextInClipbrdCheckBox
    QCheckBox* viewerHintBox_ = nullptr;     // KurzhinweisImViewerZeigenCheckBox
    QCheckBox* umlautBox_ = nullptr;         // FoldUmlautsCheckBox
    QPushButton* coloursButton_ = nullptr;   // FarbenAendernButton
    QPushButton* hintColours_ = nullptr;     // HinweistexteFarbenAendernButton
    QPushButton* defaultsButton_ = nullptr;  // Button1
    QPushButton* positionsButton_ = nullptr; // Button2
    QPushButton* sortedButton_ = nullptr;    // SortierungAnzeigenBitBtn
    QToolButton* biggerButton_ = nullptr;    // SpeedButton1
    QToolButton* smallerButton_ = nullptr;   // SpeedButton2
    QLabel* fontLabel_ = nullptr;            // Label1
    QLabel* installedLabel_ = nullptr;       // Label2
    QLabel* currentLabel_ = nullptr;         // Label3
    QLabel* pickLabel_ = nullptr;            // Label4
    QLabel* unchangedLabel_ = nullptr;       // Label5
    // standard_Image, ie_Image, edge_Image, chrome_Image, opera_Image,
    // safari_Image, firefox_Image: in the order of the browser table.
    std::array<widgets::ClickablePicture*, platform::kBrowserCount> browserPictures_{};
    QLabel* currentBrowserPicture_ = nullptr; // AktuellerBrowser_Image
    QLabel* emptyPicture_ = nullptr;          // leer_Image
    QPushButton* okButton_ = nullptr;         // OkButton
    QPushButton* cancelButton_ = nullptr;     // AbbruchButton
};
