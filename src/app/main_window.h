#pragma once

#include "app_services.h"
#include "search_window_host.h"

#include "filelist/run_indicators.h"
#include "filelist/scanner_notice.h"
#include "filelist/tool_monitor.h"
#include "widgets/window_colours.h"

#include <QColor>
#include <QMainWindow>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <memory>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;

namespace indexing {
class IndexRun;
}
namespace jobs {
class JobRunner;
}

namespace app {

class LocalSearchRequest;
class SettingsDialog;
class QuestionWindow;
class NewDatabaseDialog;
class SearchWindow;

// The other windows the main window works with; all are created once, after
// the main window, and live as long as it.
struct MainWindowPeers {
    NewDatabaseDialog* newDatabaseDialog = nullptr;
    SettingsDialog* settingsDialog = nullptr;
    QuestionWindow* questionWindow = nullptr;
    SearchWindow* searchWindow = nullptr;
};

// Where the main window's work stands. The status line says it in
// words; the handlers decide on this value.
enum class RunState {
    Idle,
    WaitingForTool, // the file-list tool builds the drive file list
    Indexing,       // the drive file list is read and the documents indexed
    Finished,       // an index run or a search has ended ("Fertig mit der ...")
};

// The main window: the catalogue of databases, the buttons that search and
// index, the status lines of a run, and the start-up and close of the program.
// The search window reaches it through SearchWindowHost.
class MainWindow : public QMainWindow, public SearchWindowHost {
    Q_OBJECT
public:
    explicit MainWindow(AppServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setWindows(const MainWindowPeers& windows);
    const MainWindowPeers& windows() const { return windows_; }

    // Start-up and close (main_window_start.cpp).
    void applyStoredSettings();
    bool confirmClose();
    void saveSettingsOnClose();
    void onHelpClicked();
    void onSettingsClicked();

    // The catalogue (main_window_catalogue.cpp).
    void readDatabaseNames();
    void onCatalogueSelectionChanged();
    void onDeleteDatabaseChosen();
    void openContextMenuAt(const QPoint& screenPosition);
    QMenu* contextMenu() const { return catalogueMenu_; }

    // Searching belongs to the search window; the button opens it.
    void onSearchClicked();

    // Index runs (main_window_run.cpp, main_window_tool.cpp).
    void onNewDatabaseClicked();
    void onReindexClicked();
    void reindexSelectedDatabase();
    void onCloseOrAbortClicked();

    // The four timers of a run.
    void onToolWatchTick();
    void onProgressTick();
    void onPatienceTick();
    void onScannerCheckTick();

    // What the search window asks of the main window (main_window_start.cpp).
    QStringList catalogueEntries() const override;
    QList<int> selectedCatalogueRows() const override;
    int rememberedSelection() const override { return rememberedSelection_; }
    void rememberSelection(int index) override { rememberedSelection_ = index; }
    void showStatus(const QString& text) override;
    void showFinishedStatus(const QString& text) override;
    void showProgressLine(const QString& text) override;
    void startPatienceMarks() override;
    void stopPatienceMarks() override;
    void bringToFront() override;
    void setSearchUnderWay(bool underWay) override { searchUnderWay_ = underWay; }
    void showSettingsDialog() override;

    // State that other windows and the tests read or set.
    QString programDirectory() const { return services_.programDirectory; }
    QString selectedDatabaseName() const { return selectedDatabaseName_; }
    qint64 bookmarkPosition() const { return bookmarkPosition_; }
    RunState runState() const { return runState_; }
    bool isRunning() const { return running_; }
    // The run's job is under way (its work or the showing of its end).
    bool indexRunUnderWay() const;
    bool isUpdateMode() const { return updateMode_; }
    bool isAbortRequested() const { return abortRequested_; }
    void setListBuildRunning(bool running) { listBuildRunning_ = running; }
    QString controlDirectory() const { return controlDirectory_; }
    bool controlDirectoryFlag() const { return controlDirectoryFlag_; }
    QString browserChoice() const { return browserChoice_; }
    QColor backgroundColour() const { return colours_.background; }
    // The default width of a window: 1024, or the screen's width when that
    // is smaller.
    int defaultWidth() const { return defaultWidth_; }
    // Colours the settings dialog changes: the window and its logo panel
    // (the logo drawn over its own grey unless transparent), and the hint
    // texts of the window.
    void applyBackgroundColour(const QColor& colour, quint32 value, bool logoTransparent);
    void applyHintTextColour(const QColor& colour);
    const QPixmap& listIcon() const { return listIcon_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // An index run has ended and the window shows its end: the status, the
    // catalogue, the buttons, and the summary box of skipped documents.
    void indexRunEnded();

private:
    // Building (main_window.cpp).
    void buildControls();
    void buildToolbar();
    QWidget* buildButtonColumn(QWidget* central);
    void buildTimers();
    void connectHandlers();

    // Start-up (main_window_start.cpp).
    void loadWindowSettings();
    void colourProductLabel(const QColor& background);
    void applyColours(const widgets::WindowColours& colours);
    void applyColoursToAllWindows();
    void applyViewerSwitches();
    void adjustSearchButtonFont();

    // The catalogue (main_window_catalogue.cpp).
    void selectFromStoredIndex();
    int selectedIndex() const;
    void selectRow(int row);
    void resetSearchWindowViewer();
    void loadSearchHistory(const QString& name);
    void readBookmark(const QString& name);

    // Index runs (main_window_run.cpp, main_window_tool.cpp).
    void setRunButtonsEnabled(bool enabled);
    void showRunStatus(const QString& text);
    void placePatienceLabel();
    void startFileListTool();
    void readListAndFinish(bool startedByMonitor);
    void endIndexRun(bool startedByMonitor, bool listed);
    void finishWindowSide();
    void timeOutToolRun();
    void reportMissingDriveList();

    AppServices& services_;
    MainWindowPeers windows_;
    std::unique_ptr<LocalSearchRequest> searchRequest_;

    QToolButton* productLabel_ = nullptr;
    QWidget* toolbarSpacer_ = nullptr;
    QToolButton* helpButton_ = nullptr;
    QToolButton* settingsButton_ = nullptr;
    QListWidget* catalogue_ = nullptr;
    QWidget* logoPanel_ = nullptr;
    QLabel* logo_ = nullptr;
    QLabel* listIconPicture_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QPushButton* newDatabaseButton_ = nullptr;
    QPushButton* reindexButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* progressLine_ = nullptr;
    QLabel* patienceLabel_ = nullptr;
    QMenu* catalogueMenu_ = nullptr;
    QTimer* toolWatchTimer_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    QTimer* patienceTimer_ = nullptr;
    QTimer* scannerTimer_ = nullptr;
    // Start-up state.
    int defaultWidth_ = 1024;
    int mainHeight_ = 506;
    int mainWidth_ = 1024;
    int searchHeight_ = 500;
    int searchWidth_ = 1024;
    QString browserChoice_;
    bool administrator_ = false;
    QString controlDirectory_;
    bool controlDirectoryFlag_ = false;
    bool firstPaintPending_ = true;
    QPixmap listIcon_;
    widgets::WindowColours colours_;

    // The catalogue.
    QString selectedDatabaseName_;
    QString workingDatabaseName_;
    qint64 bookmarkPosition_ = 0;
    int rememberedSelection_ = -1;
    int currentIndex_ = -1;
    bool selectingProgrammatically_ = false;

    // Run flags.
    RunState runState_ = RunState::Idle;
    bool running_ = false;
    bool updateMode_ = false;
    bool updateRunActive_ = false;
    bool abortRequested_ = false;
    bool abortedMessage_ = false;
    bool searchUnderWay_ = false;
    bool listBuildRunning_ = false;
    int updateCounter_ = 0;

    // Indicators of a run.
    qint64 runStartTick_ = 0;
    qint64 indexedFileCount_ = 0;
    QString elapsedText_;
    filelist::PatienceMarks patience_;
    filelist::ScannerNotice scannerNotice_{services_.osFamily};
    filelist::ToolMonitor monitor_;
    QChar runDrive_;
    QString toolStartError_;
    std::unique_ptr<indexing::IndexRun> run_;
    // The index run works on its thread; the runner is a child of the window.
    jobs::JobRunner* jobs_ = nullptr;
};

} // namespace app
