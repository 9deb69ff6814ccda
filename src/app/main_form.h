#pragma once

#include "app_services.h"

#include "filelist/run_indicators.h"
#include "filelist/scanner_notice.h"
#include "filelist/tool_monitor.h"

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
class TEinstellform;
class THinweisForm;
class TOKBottomDlg;
class TSuchForm;

namespace indexing {
class IndexRun;
}

// The other windows the main window works with; all are created once, after
// the main window, and live as long as it.
struct MainFormWindows {
    TOKBottomDlg* newDatabaseDialog = nullptr;
    TEinstellform* settingsDialog = nullptr;
    THinweisForm* questionWindow = nullptr;
    TSuchForm* searchWindow = nullptr;
};

// The main window: the catalogue of databases, the buttons that search and
// index, the status lines of a run, and the start-up and close of the program.
class TMainForm_TX_ODT : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm_TX_ODT(AppServices& services, QWidget* parent = nullptr);
    ~TMainForm_TX_ODT() override;

    void setWindows(const MainFormWindows& windows);
    const MainFormWindows& windows() const { return windows_; }

    // Start-up and close.
    void FormPaint();
    bool FormCloseQuery();
    void FormClose();
    void SpeedButton1Click();
    void SpeedButton2Click();

    // The catalogue.
    void LiesNamenDatenbanken();
    void ListBox1Click();
    void Datenbankloeschen1Click();
    void openContextMenuAt(const QPoint& screenPosition);
    QMenu* contextMenu() const { return popupMenu1_; }

    // Searching belongs to the search window; the button opens it.
    void SuchenBtnClick();
    void setSearchStarter(std::function<void()> starter) { searchStarter_ = std::move(starter); }

    // Index runs.
    void NeuErstellenBtnClick();
    void ErneutIndiziereBtnClick();
    void aktualisieren1Click();
    void BitBtn2Click();

    // The four timers of a run.
    void UeberwachTimerTimer();
    void Timer1Timer();
    void GedultTimerTimer();
    void checkDefenderTimerTimer();

    // State that other windows read or set.
    QString programDirectory() const { return services_.programDirectory; }
    QString selectedDatabaseName() const { return selectedDatabaseName_; }
    qint64 bookmarkPosition() const { return bookmarkPosition_; }
    int rememberedSelection() const { return rememberedSelection_; }
    void setRememberedSelection(int index) { rememberedSelection_ = index; }
    bool isRunning() const { return running_; }
    bool isUpdateMode() const { return updateMode_; }
    bool isAbortRequested() const { return abortRequested_; }
    void setSearchUnderWay(bool underWay) { searchUnderWay_ = underWay; }
    void setListBuildRunning(bool running) { listBuildRunning_ = running; }
    bool isFirstPaintPending() const { return firstPaintPending_; }
    QString controlDirectory() const { return controlDirectory_; }
    bool controlDirectoryFlag() const { return controlDirectoryFlag_; }
    QString browserChoice() const { return browserChoice_; }
    QColor backgroundColour() const { return backgroundColour_; }
    const QPixmap& listIcon() const { return listIcon_; }
    QTimer* timer(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void FormCreate();
    void applyStoredColours();
    void applyHintTextColour(const QColor& colour);
    void applyViewerSwitches();
    void adjustSearchButtonFont();
    void selectFromStoredIndex();
    int selectedIndex() const;
    void selectRow(int row);
    void clearSearchWindowDocument();
    void loadSearchHistory(const QString& name);
    void setRunButtonsEnabled(bool enabled);
    void placePatienceLabel();
    QWidget* searchWindowChild(const QString& name) const;
    QStringList catalogueNames() const;
    void startFileListTool();
    void readListAndFinish(bool startedByMonitor);
    void finishWindowSide();
    void timeOutToolRun();
    void reportMissingDriveList();
    qint64 tickCount() const;

    AppServices& services_;
    MainFormWindows windows_;
    std::function<void()> searchStarter_;

    QToolButton* speedButton3_ = nullptr;
    QWidget* toolButton1_ = nullptr;
    QToolButton* speedButton1_ = nullptr;
    QToolButton* speedButton2_ = nullptr;
    QListWidget* listBox1_ = nullptr;
    QWidget* panel1_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* image2_ = nullptr;
    QPushButton* suchenBtn_ = nullptr;
    QPushButton* neuErstellenBtn_ = nullptr;
    QPushButton* erneutIndiziereBtn_ = nullptr;
    QPushButton* bitBtn2_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* geduldLabel_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    QTimer* ueberwachTimer_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* gedultTimer_ = nullptr;
    QTimer* checkDefenderTimer_ = nullptr;

    // Start-up state.
    int defaultWidth_ = 1024;
    int hoehe_ = 506;
    int weite_ = 1024;
    int sHoehe_ = 500;
    int sWeite_ = 1024;
    QString browserChoice_;
    bool administrator_ = false;
    QString controlDirectory_;
    bool controlDirectoryFlag_ = false;
    bool firstPaintPending_ = true;
    QPixmap listIcon_;
    QColor backgroundColour_;

    // The catalogue.
    QString selectedDatabaseName_;
    QString workingDatabaseName_;
    qint64 bookmarkPosition_ = 0;
    int rememberedSelection_ = -1;
    int currentIndex_ = -1;
    bool selectingProgrammatically_ = false;

    // Run flags.
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
    filelist::ScannerNotice scannerNotice_;
    filelist::ToolMonitor monitor_;
    QChar runDrive_;
    QString toolStartError_;
    std::unique_ptr<indexing::IndexRun> run_;
};
