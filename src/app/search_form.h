#pragma once

#include "app_services.h"
#include "search_window_host.h"
#include "widgets/coalesced_call.h"

#include "search/search_engine.h"
#include "widgets/window_colours.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTimer;
class TBinbeimSuchenForm;
struct ViewerSideState;

namespace jobs {
class JobRunner;
}
namespace widgets {
class ListBuilderPanel;
class SearchBar;
class ViewerPanel;
class WebSitePanel;
} // namespace widgets

// The search window. Created once at start-up and shown modally by the main
// window's search request for the selected database. Other windows reach it
// through the typed calls below; the handlers carry the names the program's
// design gives them, so that tests can drive them one by one. Its parts: the
// search bar, the search options, the web-site panel and the list builder on
// the left, the viewer panel on the right, the buttons below.
class TSuchForm : public QDialog {
    Q_OBJECT
public:
    TSuchForm(AppServices& services, SearchWindowHost& host, QWidget* parent = nullptr);
    ~TSuchForm() override;

    // The database the next search runs against (the catalogue's choice).
    void setDatabaseName(const QString& name) { databaseName_ = name; }
    QString databaseName() const { return databaseName_; }

    // The window's size on first display (SHoehe, SWeite as loaded at
    // start-up). Without it the stored values are read.
    void setStartSize(int height, int width);

    // The small notice shown during the second pass; made on first use when
    // the program does not hand one over.
    void setSearchingNoticeWindow(TBinbeimSuchenForm* notice);
    TBinbeimSuchenForm* searchingNoticeWindow();

    // What the main window hands over at its first paint, and the settings
    // dialog when a colour changes: the window, its panels and Panel2 wear
    // the background; the hint texts of the window the other colour.
    void applyColours(const widgets::WindowColours& colours);
    void applyBackgroundColour(const QColor& colour);
    void applyHintTextColour(const QColor& colour);
    void setViewerFontSize(int points);
    int viewerFontSize() const;
    void setViewerHintShown(bool shown);
    bool viewerHintShown() const;
    // Shown in the mirror box while it holds nothing (the font size sample).
    void showViewerSampleText(const QString& text);

    // The viewer and its captions, which the catalogue and an index run
    // reset: the viewer shows no document any more (Viewer, ViewerMemo),
    // the captions Label8 and Label2 are emptied, "Sortierte Textliste
    // laden" (ZeilenAlsListeSortieren) is switched.
    void resetViewer();
    void clearDatabaseLabels();
    void setSortedListButtonEnabled(bool enabled);
    void showDatabaseCaption(const QString& text);
    QString databaseCaption() const;
    void clearFindText();

    // The search-term history of the selected database, newest first.
    void setHistory(const QStringList& entries);
    QStringList history() const;
    void hideHistory();

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
    // Per-search state of the engine; the search request clears the message
    // flag after each search.
    search::SearchSession& searchSession() { return session_; }

    // Window state shared with the viewer and the list builder.
    bool documentLoaded() const { return documentLoaded_; }
    void setDocumentLoaded(bool loaded) { documentLoaded_ = loaded; }
    bool sortedListShown() const { return sortedListShown_; }
    void setSortedListShown(bool shown) { sortedListShown_ = shown; }
    bool listBuildRunning() const { return listBuildRunning_; }
    void setListBuildRunning(bool running) { listBuildRunning_ = running; }
    bool abortRequested() const { return abortRequested_; }
    // The settings dialog's "Sortierte Listen erstellen" answered with Yes:
    // the list builder's controls take the place of the web-site panel.
    void showListBuilder();
    bool searchRunning() const { return searchRunning_; }
    bool searchCancelRequested() const { return searchCancelRequested_; }
    bool firstPaintPending() const { return firstPaintPending_; }

    // The result the window closes with: Accepted (OK) or Rejected (Cancel).
    // Set by the handlers; a handler that runs long (the search) closes the
    // window with it when it ends.
    void setModalResult(int result);
    int modalResult() const { return modalResult_; }

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
    void TntEdit2KeyDown(); // Enter in the search bar
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
    void SortierteListenErstellenButtonClick();
    void SortAbbrechenButtonClick();

    // Asked by the searching notice window's "Abbrechen".
    void requestSearchCancel();

    // The document viewer: loading, find, mirror box, bookmark, title and
    // file positions (search_form_viewer.cpp, search_form_find.cpp,
    // search_form_positions.cpp).
    void UTF8LadenButtonClick();
    void ZeilenAlsListeSortierenClick();
    void WeiterSucheClick();
    void TntEdit1Change();
    void Find(bool first);
    void ViewerMemoDblClick();
    void ViewerMemoKeyDown(int key);
    void ViewerMemoMouseDown();
    void LesezeichenBtnClick();
    void Timer2Timer();
    void ZeigDieTitelAn();
    void ErstelleDateiPosisVonAktDB();
    // "Liste der Datei-Positionen erstellen" of the settings dialog, answered
    // with Yes: the database text is loaded as "Textinhalt laden" does, then
    // the file-position list is built.
    void loadTextAndBuildFilePositions();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void reject() override;

private:
    // Applied again whenever the background changes, so it stays readable.
    QColor hintText_{Qt::white};
    // Building (search_form.cpp).
    void buildControls();
    QWidget* buildToolbar();
    QWidget* buildLeftPanel();
    QWidget* buildBottomPanel();
    void connectHandlers();
    void firstPaintSetUp();
    void finishHandler();
    bool databaseTextLoadable() const;

    // The search bar (search_form_entry.cpp).
    void applySearchTextState(const QString& trimmed);
    bool handlePathEntry(const QString& trimmed);
    void colourSearchButtons(bool enabled);
    int historyHeight() const;
    void copyToClipboard(const QString& text);
    bool clipboardCopyWanted() const;

    // The local search (search_form_search.cpp).
    void runSearchEngine();

    // The sorted-list builder (search_form_lists.cpp).
    void connectListBuilder();
    // Runs the list builder proper; false when the list could not be made.
    bool buildSortedList();
    // The controls a running build locks, and what its end unlocks again.
    void lockControlsForListBuild();
    void unlockControlsAfterListBuild();

    // The viewer (search_form_viewer.cpp, search_form_find.cpp).
    void connectViewerHandlers();
    void loadSearchHistoryOfDatabase();
    void openInViewer(const QString& fileName);
    void restoreBookmark();
    void startMirroredPage(qint64 top);
    void mirrorDrawnLine(const QString& line);
    void finishMirroredPage();
    void mirrorShownPageAgain();
    void showFindHit(qint64 start, qint64 length);
    void flashNotFound();
    void moveMirrorSelection(bool intoLeftBar, bool append);
    void appendToSearchText(const QString& text);

    // The web search (search_form_web.cpp).
    void fillTopicsFromSiteFile();
    void writeSiteSelection();
    QString siteFilePath() const;

    AppServices& services_;
    SearchWindowHost& host_;
    QString databaseName_;
    int startHeight_ = 0;
    int startWidth_ = 0;
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
    bool webPanelShownBeforeList_ = false;
    bool pathOpened_ = false;
    bool pathEntryPending_ = false; // typed by hand, looked up on Enter
    QString takenOverSearchText_;
    search::SearchSession session_;
    search::SearchOutcome lastOutcome_;
    std::unique_ptr<ViewerSideState> viewerState_;

    int modalResult_ = QDialog::Rejected;
    int handlersRunning_ = 0; // a close asked for meanwhile waits for them
    bool closeAsked_ = false;
    widgets::CoalescedCall deferredPaint_{this, [this] { FormPaint(); }};

    // The window's parts and the controls its handlers use.
    widgets::SearchBar* searchBar_ = nullptr;          // TntEdit2, Button1, TntListBox2
    widgets::WebSitePanel* webPanel_ = nullptr;        // Panel2
    widgets::ListBuilderPanel* listBuilder_ = nullptr; // ListBuilder
    widgets::ViewerPanel* viewerPanel_ = nullptr;      // PanelRechts
    QWidget* leftPanel_ = nullptr;                     // PanelLinks
    QWidget* bottomPanel_ = nullptr;                   // PanelUnten
    QSplitter* splitter_ = nullptr;                    // Splitter1
    QPushButton* titleButton_ = nullptr;               // TitelButton
    QPushButton* helpButton_ = nullptr;                // SpeedButton1
    QPushButton* settingsButton_ = nullptr;            // SpeedButton2
    QLabel* hintLabel_ = nullptr;                      // Label1
    QCheckBox* caseBox_ = nullptr;                     // GrossKleinBeachten
    QCheckBox* wholeWordBox_ = nullptr;                // NurGanzeWoerterCheckBox
    QCheckBox* phraseBox_ = nullptr;                   // PhraseCheckBox
    QCheckBox* anyWordBox_ = nullptr;                  // OderCheckBox
    QLineEdit* clipboardEdit_ = nullptr;               // ClipbrdTntEdit
    QPushButton* okButton_ = nullptr;                  // OKBtn
    QPushButton* webButton_ = nullptr;                 // SuchImInternetBtn
    QPushButton* sortedListButton_ = nullptr;          // ZeilenAlsListeSortieren
    QPushButton* loadTextButton_ = nullptr;            // UTF8LadenButton
    QPushButton* cancelButton_ = nullptr;              // CancelBtn
    QTimer* abortWaitTimer_ = nullptr;                 // Timer1
    QTimer* titleTimer_ = nullptr;                     // Timer2
    // The search, the list build, the position list and the find work on
    // its thread, one at a time; a child of the window.
    jobs::JobRunner* jobs_ = nullptr;
};
