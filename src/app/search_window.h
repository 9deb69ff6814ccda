#pragma once

#include "app_services.h"
#include "list_build_state.h"
#include "search_state.h"
#include "search_window_host.h"
#include "widgets/coalesced_call.h"

#include "search/search_engine.h"
#include "widgets/window_colours.h"

#include <QDialog>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTimer;

namespace jobs {
class JobRunner;
}
namespace lists {
struct ListBuildOutcome;
}
namespace viewer {
struct FindOutcome;
struct PositionListBuild;
} // namespace viewer
namespace widgets {
class ListBuilderPanel;
class SearchBar;
class ViewerPanel;
class WebSitePanel;
} // namespace widgets

namespace app {

class SearchingNotice;
struct ViewerSideState;

// The search window. Created once at start-up and shown modally by the main
// window's search request for the selected database. Other windows reach it
// through the typed calls below; the handlers are public, so that tests can
// drive them one by one as the user's actions. Its parts: the
// search bar, the search options, the web-site panel and the list builder on
// the left, the viewer panel on the right, the buttons below.
class SearchWindow : public QDialog {
    Q_OBJECT
public:
    SearchWindow(AppServices& services, SearchWindowHost& host, QWidget* parent = nullptr);
    ~SearchWindow() override;

    // The database the next search runs against (the catalogue's choice).
    void setDatabaseName(const QString& name) { databaseName_ = name; }
    QString databaseName() const { return databaseName_; }

    // The window's size on first display (as the main window loaded it at
    // start-up). Without it the stored values are read.
    void setStartSize(int height, int width);

    // The small notice shown during the second pass; made on first use when
    // the program does not hand one over.
    void setSearchingNoticeWindow(SearchingNotice* notice);
    SearchingNotice* searchingNoticeWindow();

    // What the main window hands over at its first paint, and the settings
    // dialog when a colour changes: the window, its panels and the web-site panel wear
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
    // reset: the viewer and the mirror box show no document any more, the
    // caption and the page-offset line are emptied, "Sortierte Textliste
    // laden" is switched.
    void resetViewer();
    void clearDatabaseLabels();
    void setSortedListButtonEnabled(bool enabled);
    void showDatabaseCaption(const QString& text);
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
    bool listBuildRunning() const { return listBuild_.working(); }
    bool abortRequested() const { return listBuild_.stopRequested(); }
    // The settings dialog's "Sortierte Listen erstellen" answered with Yes:
    // the list builder's controls take the place of the web-site panel.
    void showListBuilder();
    bool searchRunning() const { return search_.searched(); }
    // True from the start of a local search until its end has been shown.
    bool localSearchUnderWay() const { return search_.underWay(); }
    // True from the start of a sorted-list build's work until its end.
    bool listBuildUnderWay() const { return listBuild_.jobUnderWay(); }
    bool positionListUnderWay() const;
    bool findUnderWay() const;
    bool firstPaintPending() const { return firstPaintPending_; }

    // The result the window closes with: Accepted (OK) or Rejected (Cancel).
    // Set by the handlers; a handler that runs long (the search) closes the
    // window with it when it ends.
    void setModalResult(int result);
    int modalResult() const { return close_.result(); }

Q_SIGNALS:
    // The local search has ended and its outcome has been shown (and the
    // window closed when the search closes it).
    void localSearchEnded();
    // The sorted-list build has ended and its outcome has been shown.
    void sortedListBuildEnded();
    // The file-position list has been built (or not) and the window takes
    // input again.
    void filePositionListEnded();
    // The find in the viewer has ended and its outcome has been shown.
    void findEnded();

public Q_SLOTS:
    void refreshControls();
    void keepMinimumSize();
    void onWindowClicked();
    void raiseSearchingNotice();
    void takeOverSiblingSearchText();
    void onCancelClicked();
    void onLocalSearchClicked();
    void onHelpClicked();
    void onSettingsClicked();
    void onSplitterMoved(int position);
    void onAbortWaitTick();
    void onSearchTextChanged();
    void onSearchBarPressed();
    void onSearchEnterPressed(); // Enter in the search bar
    void onHistoryEntryClicked();
    void onPhraseClicked();
    void onAnyWordClicked();
    void onWebSearchClicked();
    void onTopicChosen();
    void onSiteClicked();
    void onPointerOverSites();
    void onWheelTurned(const QPoint& globalPosition);
    void onClearSearchClicked();
    void onClearFindClicked();
    void onBuildSortedListClicked();
    void onStopListBuildClicked();

    // Asked by the searching notice window's "Abbrechen".
    void requestSearchCancel();

    // The document viewer: loading, find, mirror box, bookmark, title and
    // file positions (search_window_viewer.cpp, search_window_find.cpp,
    // search_window_positions.cpp).
    void onLoadTextClicked();
    void onLoadSortedListClicked();
    void onFindClicked();
    void onFindTextChanged();
    void findInViewer(bool first);
    void onMirrorDoubleClicked();
    void onMirrorKeyPressed(int key);
    void onMirrorRightButtonPressed();
    void onBookmarkClicked();
    void onTitleTick();
    void showPageTitle();
    void buildFilePositionList();
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
    // Building (search_window.cpp).
    void buildControls();
    QWidget* buildToolbar();
    QWidget* buildLeftPanel();
    QWidget* buildBottomPanel();
    void connectHandlers();
    void firstPaintSetUp();
    void finishHandler();
    bool databaseTextLoadable() const;

    // The search bar (search_window_entry.cpp).
    void applySearchTextState(const QString& trimmed);
    bool handlePathEntry(const QString& trimmed);
    void colourSearchButtons(bool enabled);
    int historyHeight() const;
    void copyToClipboard(const QString& text);
    bool clipboardCopyWanted() const;

    // The local search (search_window_search.cpp): started by the click, it
    // works as a job and shows its outcome when the job ends.
    [[nodiscard]] bool startSearchJob();
    void endSearchJob();
    void finishLocalSearch();

    // The sorted-list builder (search_window_lists.cpp).
    void connectListBuilder();
    // The build works as a job; its end shows the outcome (true when the
    // list was made) and gives the controls back.
    void startListBuild();
    void endListBuild(const std::optional<lists::ListBuildOutcome>& built);
    [[nodiscard]] bool showListBuildOutcome(const lists::ListBuildOutcome& outcome);
    void finishListBuild(bool made);
    // The controls a running build locks, and what its end unlocks again.
    void lockControlsForListBuild();
    void unlockControlsAfterListBuild();

    // The viewer (search_window_viewer.cpp, search_window_find.cpp).
    void connectViewerHandlers();
    void loadSearchHistoryOfDatabase();
    void openInViewer(const QString& fileName);
    void endFilePositionList(const viewer::PositionListBuild& build);
    void restoreBookmark();
    void startMirroredPage(qint64 top);
    void mirrorDrawnLine(const QString& line);
    void finishMirroredPage();
    void mirrorShownPageAgain();
    void showFindOutcome(const viewer::FindOutcome& outcome, bool failed, const QString& failure);
    void showFindHit(qint64 start, qint64 length);
    void flashNotFound();
    void moveMirrorSelection(bool intoLeftBar, bool append);
    void appendToSearchText(const QString& text);

    // The web search (search_window_web.cpp).
    void fillTopicsFromSiteFile();
    void writeSiteSelection();
    QString siteFilePath() const;

    AppServices& services_;
    SearchWindowHost& host_;
    QString databaseName_;
    int startHeight_ = 0;
    int startWidth_ = 0;
    SearchingNotice* notice_ = nullptr;

    // State that lives for the whole run, as the window is made once.
    bool maximised_ = false;
    bool firstPaintPending_ = true;
    bool documentLoaded_ = false;
    bool sortedListShown_ = false;
    LocalSearchState search_;
    ListBuildState listBuild_;
    bool webPanelShownBeforeList_ = false;
    bool pathOpened_ = false;
    bool pathEntryPending_ = false; // typed by hand, looked up on Enter
    QString takenOverSearchText_;
    search::SearchSession session_;
    search::SearchOutcome lastOutcome_;
    std::unique_ptr<ViewerSideState> viewerState_;

    PendingClose close_;
    widgets::CoalescedCall deferredPaint_{this, [this] { refreshControls(); }};

    // The window's parts and the controls its handlers use.
    widgets::SearchBar* searchBar_ = nullptr;
    widgets::WebSitePanel* webPanel_ = nullptr;
    widgets::ListBuilderPanel* listBuilder_ = nullptr;
    widgets::ViewerPanel* viewerPanel_ = nullptr;
    QWidget* leftPanel_ = nullptr;
    QWidget* bottomPanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QPushButton* titleButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QPushButton* settingsButton_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QCheckBox* caseBox_ = nullptr;
    QCheckBox* wholeWordBox_ = nullptr;
    QCheckBox* phraseBox_ = nullptr;
    QCheckBox* anyWordBox_ = nullptr;
    QLineEdit* clipboardEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* webButton_ = nullptr;
    QPushButton* sortedListButton_ = nullptr;
    QPushButton* loadTextButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QTimer* abortWaitTimer_ = nullptr;
    QTimer* titleTimer_ = nullptr;
    // The search, the list build, the position list and the find work on
    // its thread, one at a time; a child of the window.
    jobs::JobRunner* jobs_ = nullptr;
};

} // namespace app
