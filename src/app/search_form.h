#pragma once

#include "platform/drive_map.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"
#include "platform/shell_launcher.h"
#include "search/search_engine.h"

#include <QDialog>
#include <QPixmap>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTimer;
class TBinbeimSuchenForm;

// What the search window needs of the rest of the program. The main window
// fills it once; every member may stay empty in tests that do not need it.
struct SearchWindowEnvironment {
    QString programDirectory; // native, ending in a separator
    platform::SettingsStore* settings = nullptr;
    platform::Prompts* prompts = nullptr;
    platform::ShellLauncher* launcher = nullptr;
    const platform::DriveMap* driveMap = nullptr;
    // The settings dialog, shown modally by the toolbar button.
    std::function<void()> showSettingsDialog;
    // Stops the main window's patience timer and empties its patience label.
    std::function<void()> stopPatience;
    // Starts the main window's patience timer.
    std::function<void()> startPatience;
    // Sets the main window's status label Label1.
    std::function<void(const QString&)> setMainStatus;
    // Brings the main window to the foreground while a search runs.
    std::function<void()> raiseMainWindow;
    // Whether the sibling edition that hands over search texts is running.
    std::function<bool()> siblingEditionRunning;
};

// The search window. Created once at start-up and shown modally by the main
// window for the selected database. The main window reaches the controls it
// touches by their object names (Label2, Label8, ZeilenAlsListeSortieren,
// TntListBox2, Viewer, ViewerMemo, PanelLinks, PanelRechts, PanelUnten,
// Panel2) and through the calls below. The handlers carry the names the
// program's design gives them, so that tests can drive them one by one.
class TSuchForm : public QDialog {
    Q_OBJECT
public:
    explicit TSuchForm(QWidget* parent = nullptr);
    ~TSuchForm() override;

    void setEnvironment(const SearchWindowEnvironment& environment);
    const SearchWindowEnvironment& environment() const { return env_; }

    // The database the next search runs against (the catalogue's choice).
    void setDatabaseName(const QString& name) { databaseName_ = name; }
    QString databaseName() const { return databaseName_; }

    // The window's size on first display (SHoehe, SWeite as loaded at
    // start-up). Without it the stored values are read.
    void setStartSize(int height, int width);

    // Clears the main window's search-under-way flag; called at the search's
    // end and by "Abbrechen".
    void setSearchUnderWayClearer(std::function<void()> clear) {
        clearSearchUnderWay_ = std::move(clear);
    }

    // The small notice shown during the second pass; made on first use when
    // the program does not hand one over.
    void setSearchingNoticeWindow(TBinbeimSuchenForm* notice);
    TBinbeimSuchenForm* searchingNoticeWindow();

    // The viewer shows no document any more; Viewer and ViewerMemo are emptied.
    void resetViewer();

    // The search-term history of the selected database, newest first.
    void setHistory(const QStringList& entries);
    QStringList history() const;

    // True when the last size change reported the maximised state.
    bool isMaximisedBySizeMessage() const { return maximised_; }

    // The search bar as typed and the search options the engine reads.
    QString searchText() const;
    void setSearchText(const QString& text);
    bool caseSensitive() const;
    bool wholeWords() const;
    bool phrase() const;
    bool anyWord() const;
    bool pathOpened() const { return pathOpened_; }

    // The text taken over from the sibling edition's hand-off file.
    QString takenOverSearchText() const { return takenOverSearchText_; }

    // What the last local search left: the no-hits flag decides whether the
    // history is saved.
    const search::SearchOutcome& lastSearchOutcome() const { return lastOutcome_; }
    // Per-search state of the engine; the main window clears the message
    // flag after each search.
    search::SearchSession& searchSession() { return session_; }

    // Window state shared with the viewer and the list builder.
    bool documentLoaded() const { return documentLoaded_; }
    void setDocumentLoaded(bool loaded) { documentLoaded_ = loaded; }
    bool sortedListShown() const { return sortedListShown_; }
    void setSortedListShown(bool shown) { sortedListShown_ = shown; }
    bool listBuildRunning() const { return listBuildRunning_; }
    void setListBuildRunning(bool running) { listBuildRunning_ = running; }
    bool searchRunning() const { return searchRunning_; }
    bool searchCancelRequested() const { return searchCancelRequested_; }
    bool firstPaintPending() const { return firstPaintPending_; }

    // The result the window closes with: Accepted (OK) or Rejected (Cancel).
    // Set by the handlers; a handler that runs long (the search) closes the
    // window with it when it ends.
    void setModalResult(int result);
    int modalResult() const { return modalResult_; }

    // The settings text of the two options as the results page needs it.
    QPixmap directSearchSymbol() const { return directSymbol_; }
    QPixmap pasteSiteSymbol() const { return pasteSymbol_; }

public Q_SLOTS:
    void FormPaint();
    void FormResize();
    void FormClick();
    void FormActivate();
    void ApplicationActivate();
    void CancelBtnClick();
    void OKBtnClick();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void Splitter1Moved(int position);
    void Timer1Timer();
    void TntEdit2Change();
    void TntEdit2Click();
    void TntListBox2Click();
    void PhraseCheckBoxClick();
    void OderCheckBoxClick();
    void SuchImInternetBtnClick();
    void TntComboBox1Click();
    void TntListBox1Click();
    void TntListBox1MouseMove();
    void ApplicationEvents1Message(const QPoint& globalPosition);
    void Button1Click();
    void Button2Click();

    // Asked by the searching notice window's "Abbrechen".
    void requestSearchCancel() { searchCancelRequested_ = true; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void buildControls();
    void buildSymbols();
    void firstPaintSetUp();
    void hideListBuilderControls();
    void fillTopicsFromSiteFile();
    void applySearchTextState(const QString& text);
    void handlePathEntry(const QString& trimmed);
    void copyToClipboard(const QString& text);
    void placeHistoryList();
    void placeMirrorBox();
    void runSearchEngine();
    void writeSiteSelection();
    QString siteFilePath() const;
    bool databaseTextLoadable() const;
    void colourListBoxes(bool enabled);
    void colourSearchButtons(bool enabled);
    void finishHandler();
    QString selectedSite() const;

    SearchWindowEnvironment env_;
    QString databaseName_;
    int startHeight_ = 0;
    int startWidth_ = 0;
    std::function<void()> clearSearchUnderWay_;
    TBinbeimSuchenForm* notice_ = nullptr;

    // State that lives for the whole run, as the window is made once.
    bool maximised_ = false;
    bool firstPaintPending_ = true;
    bool documentLoaded_ = false;
    bool sortedListShown_ = false;
    bool listBuildRunning_ = false;
    bool abortRequested_ = false;
    bool searchRunning_ = false;
    bool searchCancelRequested_ = false;
    int abortWaitTicks_ = 0;
    bool pathOpened_ = false;
    QString takenOverSearchText_;
    search::SearchSession session_;
    search::SearchOutcome lastOutcome_;

    int modalResult_ = QDialog::Rejected;
    int handlersRunning_ = 0; // a close asked for meanwhile waits for them
    bool closeAsked_ = false;
    bool paintQueued_ = false;

    QPixmap directSymbol_;
    QPixmap pasteSymbol_;

    // The controls the handlers use most.
    QLineEdit* searchBar_ = nullptr;          // TntEdit2
    QListWidget* historyList_ = nullptr;      // TntListBox2
    QLineEdit* findBar_ = nullptr;            // TntEdit1
    QPushButton* findButton_ = nullptr;       // WeiterSuche
    QPushButton* okButton_ = nullptr;         // OKBtn
    QPushButton* webButton_ = nullptr;        // SuchImInternetBtn
    QPushButton* loadTextButton_ = nullptr;   // UTF8LadenButton
    QPushButton* sortedListButton_ = nullptr; // ZeilenAlsListeSortieren
    QCheckBox* caseBox_ = nullptr;            // GrossKleinBeachten
    QCheckBox* wholeWordBox_ = nullptr;       // NurGanzeWoerterCheckBox
    QCheckBox* phraseBox_ = nullptr;          // PhraseCheckBox
    QCheckBox* anyWordBox_ = nullptr;         // OderCheckBox
    QWidget* webPanel_ = nullptr;             // Panel2
    QWidget* bottomPanel_ = nullptr;          // PanelUnten
    QWidget* leftPanel_ = nullptr;            // PanelLinks
    QWidget* rightPanel_ = nullptr;           // PanelRechts
    QSplitter* splitter_ = nullptr;           // Splitter1
    QLabel* webTextLabel_ = nullptr;          // TntLabel1
    QLabel* siteLabel_ = nullptr;             // Label5
    QLabel* hintLabel_ = nullptr;             // Label1
    QComboBox* topicBox_ = nullptr;           // TntComboBox1
    QListWidget* siteList_ = nullptr;         // TntListBox1
    QLineEdit* clipboardEdit_ = nullptr;      // ClipbrdTntEdit
    QPlainTextEdit* viewer_ = nullptr;        // Viewer
    QPlainTextEdit* viewerMemo_ = nullptr;    // ViewerMemo
    QTimer* abortWaitTimer_ = nullptr;        // Timer1
    QTimer* titleTimer_ = nullptr;            // Timer2
};
