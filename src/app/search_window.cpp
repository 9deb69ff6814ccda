// The search window: its parts, paint, size and activation, and closing.
#include "search_window.h"

#include "help_document.h"
#include "search_window_viewer_state.h"
#include "searching_notice.h"
#include "system_texts.h"

#include "database/database_paths.h"
#include "jobs/job_runner.h"
#include "platform/settings_values.h"
#include "search/search_handoff.h"
#include "search/search_term_entry.h"
#include "widgets/list_builder_panel.h"
#include "widgets/object_names.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"
#include "widgets/web_site_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace app {

namespace names = widgets::objectnames::search_window;

using widgets::named;

namespace {

constexpr int kDefaultSplitterPos = 483;
constexpr int kMinimumHeight = 499;
constexpr int kSnapHeight = 500;
constexpr int kMinimumWidth = 1043;

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& hint = {}) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(hint);
    // Enter belongs to the search bar's own rule, never to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

// Sees every wheel event of the application before its target does.
class WheelWatcher final : public QObject {
public:
    explicit WheelWatcher(SearchWindow* window)
        : QObject(window)
        , window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_)
            window_->onWheelTurned(static_cast<QWheelEvent*>(event)->globalPosition().toPoint());
        return false;
    }

private:
    SearchWindow* window_;
};

} // namespace

SearchWindow::SearchWindow(AppServices& services, SearchWindowHost& host, QWidget* parent)
    : QDialog(parent)
    , services_(services)
    , host_(host)
    , viewerState_(std::make_unique<ViewerSideState>()) {
    named(this, names::window);
    setWindowTitle(QStringLiteral("Trovex-ODT Suche"));
    buildControls();
    connectHandlers();
    connectListBuilder();
    webPanel_->setSelectionColour(widgets::darkenedToNinetyPercent(widgets::plainColourSetting(
        services_.settings, platform::settings::kBackgroundColour, QColor(0, 128, 128))));

    abortWaitTimer_ = named(new QTimer(this), names::abortWaitTimer);
    jobs_ = new jobs::JobRunner(this);
    abortWaitTimer_->setInterval(1000);
    connect(abortWaitTimer_, &QTimer::timeout, this, &SearchWindow::onAbortWaitTick);
    titleTimer_ = named(new QTimer(this), names::titleTimer);
    titleTimer_->setInterval(1000);
    connectViewerHandlers();

    // Every wheel turn of the application passes here.
    QCoreApplication::instance()->installEventFilter(new WheelWatcher(this));

    // The window hears of every activation of the application.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        takeOverSiblingSearchText();
                });
    }
}

// Work still under way is stopped before the state it works on goes.
SearchWindow::~SearchWindow() {
    delete jobs_;
}

void SearchWindow::buildControls() {
    QWidget* toolbar = buildToolbar();
    QWidget* left = buildLeftPanel();
    viewerPanel_ = new widgets::ViewerPanel(this);

    splitter_ = named(new QSplitter(Qt::Horizontal, this), names::splitter);
    splitter_->addWidget(left);
    splitter_->addWidget(viewerPanel_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(1, 1);

    QWidget* bottom = buildBottomPanel();

    auto* all = new QVBoxLayout(this);
    all->setSizeConstraint(QLayout::SetNoConstraint);
    all->addWidget(toolbar);
    all->addWidget(splitter_, 1);
    all->addWidget(bottom);
}

// Title, spacer, settings, help.
QWidget* SearchWindow::buildToolbar() {
    auto* toolbar = new QWidget(this);
    titleButton_ = button(toolbar, names::titleButton, QStringLiteral("Trovex-ODT"));
    titleButton_->setFlat(true);
    settingsButton_ = button(toolbar, names::settingsButton, QStringLiteral("Einstellungen"),
                             QStringLiteral("Einstellungen"));
    helpButton_ = button(toolbar, names::helpButton, QStringLiteral("?"), QStringLiteral("Hilfe"));
    helpButton_->setFixedWidth(32);
    // Drawn on the window's colour, like the main window's toolbar.
    settingsButton_->setFlat(true);
    helpButton_->setFlat(true);
    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(titleButton_);
    row->addStretch(1);
    row->addWidget(settingsButton_);
    row->addWidget(helpButton_);
    return toolbar;
}

// The search bar and everything a search needs.
QWidget* SearchWindow::buildLeftPanel() {
    leftPanel_ = named(new QFrame, names::leftPanel);
    searchBar_ = new widgets::SearchBar(this, leftPanel_);
    hintLabel_ = named(new QLabel(leftPanel_), names::hintLabel);
    hintLabel_->setWordWrap(true);
    caseBox_ =
        named(new QCheckBox(QStringLiteral("Bei lokaler Suche die Groß / Kleinschr. beachten"),
                            leftPanel_),
              names::caseBox);
    wholeWordBox_ =
        named(new QCheckBox(QStringLiteral("Bei lokaler Suche nur ganze Wörter"), leftPanel_),
              names::wholeWordBox);
    phraseBox_ = named(new QCheckBox(QStringLiteral("Suche als Phrase (Satz)"), leftPanel_),
                       names::phraseBox);
    anyWordBox_ =
        named(new QCheckBox(QStringLiteral("die einen oder mehrere Suchbegriffe enthalten (ODER)."),
                            leftPanel_),
              names::anyWordBox);
    phraseBox_->hide();
    anyWordBox_->hide();
    anyWordBox_->setChecked(true);

    // Shown by the first click on "Suche im Internet".
    webPanel_ = new widgets::WebSitePanel(leftPanel_);
    webPanel_->hide();
    listBuilder_ = new widgets::ListBuilderPanel(leftPanel_);
    clipboardEdit_ = named(new QLineEdit(leftPanel_), names::clipboardField);
    clipboardEdit_->hide();

    auto* layout = new QVBoxLayout(leftPanel_);
    layout->addWidget(searchBar_);
    layout->addWidget(hintLabel_);
    layout->addWidget(caseBox_);
    layout->addWidget(wholeWordBox_);
    layout->addWidget(phraseBox_);
    layout->addWidget(anyWordBox_);
    layout->addWidget(webPanel_, 1);
    layout->addWidget(listBuilder_);
    layout->addStretch(0);
    return leftPanel_;
}

QWidget* SearchWindow::buildBottomPanel() {
    bottomPanel_ = named(new QFrame(this), names::bottomPanel);
    webButton_ = button(bottomPanel_, names::webSearchButton, QStringLiteral("Suche im Internet"),
                        QStringLiteral("Mit ausgewählter Website -Adresse suchen."));
    okButton_ = button(bottomPanel_, names::localSearchButton, QStringLiteral("Lokale Suche"),
                       QStringLiteral("Lokale Suche auf Datenträger."));
    sortedListButton_ =
        button(bottomPanel_, names::sortedListButton, QStringLiteral("Sortierte Textliste laden"));
    loadTextButton_ =
        button(bottomPanel_, names::loadTextButton, QStringLiteral("Textinhalt laden"));
    cancelButton_ = button(bottomPanel_, names::cancelButton, QStringLiteral("Abbrechen"));
    auto* row = new QHBoxLayout(bottomPanel_);
    row->addWidget(webButton_);
    row->addWidget(okButton_);
    row->addStretch(1);
    row->addWidget(sortedListButton_);
    row->addWidget(loadTextButton_);
    row->addWidget(cancelButton_);
    return bottomPanel_;
}

void SearchWindow::connectHandlers() {
    connect(searchBar_, &widgets::SearchBar::textChanged, this, &SearchWindow::onSearchTextChanged);
    connect(searchBar_, &widgets::SearchBar::pressed, this, &SearchWindow::onSearchBarPressed);
    connect(searchBar_, &widgets::SearchBar::historyEntryClicked, this,
            &SearchWindow::onHistoryEntryClicked);
    connect(searchBar_, &widgets::SearchBar::clearClicked, this,
            &SearchWindow::onClearSearchClicked);
    connect(searchBar_, &widgets::SearchBar::enterPressed, this,
            &SearchWindow::onSearchEnterPressed);
    connect(phraseBox_, &QCheckBox::clicked, this, &SearchWindow::onPhraseClicked);
    connect(anyWordBox_, &QCheckBox::clicked, this, &SearchWindow::onAnyWordClicked);
    connect(okButton_, &QPushButton::clicked, this, &SearchWindow::onLocalSearchClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &SearchWindow::onCancelClicked);
    connect(webButton_, &QPushButton::clicked, this, &SearchWindow::onWebSearchClicked);
    connect(helpButton_, &QPushButton::clicked, this, &SearchWindow::onHelpClicked);
    connect(settingsButton_, &QPushButton::clicked, this, &SearchWindow::onSettingsClicked);
    connect(splitter_, &QSplitter::splitterMoved, this, &SearchWindow::onSplitterMoved);
    connect(webPanel_, &widgets::WebSitePanel::topicChosen, this, &SearchWindow::onTopicChosen);
    connect(webPanel_, &widgets::WebSitePanel::siteClicked, this, &SearchWindow::onSiteClicked);
    connect(webPanel_, &widgets::WebSitePanel::pointerMovedOverSites, this,
            &SearchWindow::onPointerOverSites);
    connect(webPanel_, &widgets::WebSitePanel::aboutToDrawSite, this, [this] {
        if (searchBar_->historyShown())
            searchBar_->hideHistory();
    });
    connect(viewerPanel_, &widgets::ViewerPanel::clearFindClicked, this,
            &SearchWindow::onClearFindClicked);
}

// ---------------------------------------------------------------------------
// Paint, size and activation

void SearchWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    deferredPaint_.request(); // the rules change widgets: not inside a paint
}

void SearchWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refreshControls();
}

void SearchWindow::refreshControls() {
    if (viewerPanel_->findText().isEmpty())
        viewerPanel_->setFindButtonEnabled(false);
    if (firstPaintPending_)
        firstPaintSetUp();
    if (!listBuild_.working()) {
        loadTextButton_->setEnabled(databaseTextLoadable());
        searchBar_->setEnabled(true);
        if (!searchentry::trimmedSearchText(searchBar_->text()).isEmpty())
            okButton_->setEnabled(true);
    }
    if (!searchBar_->textHasFocus() && viewerPanel_->mirrorHasText())
        viewerPanel_->focusMirror();
}

void SearchWindow::firstPaintSetUp() {
    listBuilder_->hideControls();
    viewerPanel_->hidePageOffset();
    viewerPanel_->setMirrorHint(QStringLiteral(
        "Doppelklick markiert ganze Zeile und fügt sie in das Suchfeld auf der linken "
        "Seite ein.\r\nRechter Maustastenklick, markierter Text kann über Popup-Menü "
        "eingefügt werden."));
    int height = startHeight_;
    int width = startWidth_;
    if (height <= 0 || width <= 0) {
        using platform::settings::windowExtentOnScreen;
        height = windowExtentOnScreen(
            platform::settings::readInteger(services_.settings,
                                            platform::settings::kSearchWindowHeight, 500),
            services_.screenHeight, 500);
        width = windowExtentOnScreen(
            platform::settings::readInteger(services_.settings,
                                            platform::settings::kSearchWindowWidth, 1024),
            services_.screenWidth, 1024);
    }
    if (height > 0 && width > 0)
        resize(width, height);
    searchBar_->focusText();
    hintLabel_->setText(systemtexts::searchHintText(
        systemtexts::pathEntryExample(services_.osFamily, services_.drives, QDir::homePath())));
    sortedListButton_->setEnabled(false);
    webButton_->setEnabled(false);
    okButton_->setEnabled(false);
    webPanel_->setInputEnabled(false);

    if (QFileInfo::exists(siteFilePath()))
        fillTopicsFromSiteFile();
    else
        webPanel_->setSites({});

    const int splitterPos = platform::settings::readInteger(
        services_.settings, platform::settings::kSplitterPos, kDefaultSplitterPos);
    const int total = qMax(splitter_->width(), width > 0 ? width : this->width());
    splitter_->setSizes({splitterPos, qMax(1, total - splitterPos - splitter_->handleWidth())});
    leftPanel_->resize(splitterPos, leftPanel_->height());
    firstPaintPending_ = false;
}

bool SearchWindow::databaseTextLoadable() const {
    if (databaseName_.isEmpty() || services_.programDirectory.isEmpty())
        return false;
    const QFileInfo text(database::databaseTextPath(services_.programDirectory, databaseName_));
    return text.exists() && text.size() >= 4;
}

void SearchWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    keepMinimumSize();
}

void SearchWindow::keepMinimumSize() {
    searchBar_->hideHistory();
    int h = height();
    int w = width();
    if (h < kMinimumHeight)
        h = kSnapHeight;
    if (w < kMinimumWidth)
        w = kMinimumWidth;
    if (h != height() || w != width())
        resize(w, h);
    viewerPanel_->placeMirrorBox();
}

void SearchWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        maximised_ = windowState().testFlag(Qt::WindowMaximized);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        raiseSearchingNotice();
    QDialog::changeEvent(event);
}

void SearchWindow::raiseSearchingNotice() {
    if (notice_ && notice_->isVisible()) {
        notice_->showNormal();
        notice_->raise();
        notice_->activateWindow();
    }
}

void SearchWindow::mousePressEvent(QMouseEvent* event) {
    onWindowClicked();
    QDialog::mousePressEvent(event);
}

void SearchWindow::onWindowClicked() {
    if (searchBar_->historyShown())
        searchBar_->hideHistory();
}

void SearchWindow::takeOverSiblingSearchText() {
    if (!services_.processes.siblingEditionRunning())
        return;
    const QString control = services_.settings.read(platform::settings::kTrovexControl);
    if (control.isEmpty())
        return;
    if (const std::optional<QString> text = search::readHandOffSearchText(control)) {
        takenOverSearchText_ = *text;
        searchBar_->setText(*text);
    }
}

// The wheel scrolls what lies under the pointer; over the viewer or the site
// list that control also takes the focus, so the keys follow the wheel.
void SearchWindow::onWheelTurned(const QPoint& globalPosition) {
    if (!isVisible())
        return;
    const int x = viewerPanel_->mapFromGlobal(globalPosition).x();
    if (x >= 0 && x <= viewerPanel_->width())
        viewerPanel_->focusViewer();
    webPanel_->focusSitesForWheelAt(globalPosition);
}

// ---------------------------------------------------------------------------
// Closing

void SearchWindow::setModalResult(int result) {
    close_.ask(result);
    finishHandler();
}

void SearchWindow::finishHandler() {
    if (const std::optional<int> result = close_.take())
        QDialog::done(*result);
}

void SearchWindow::reject() {
    onCancelClicked();
}

void SearchWindow::requestSearchCancel() {
    if (jobs_->running())
        jobs_->cancel();
}

void SearchWindow::onCancelClicked() {
    if (search_.searched()) {
        requestSearchCancel();
        host_.stopPatienceMarks();
    }
    if (listBuilder_->stopAvailable())
        onStopListBuildClicked();
    listBuilder_->hideControls();
    viewerPanel_->hidePageOffset();
    host_.setSearchUnderWay(false);
    setModalResult(QDialog::Rejected);
}

void SearchWindow::onHelpClicked() {
    openHelpDocument(services_);
}

void SearchWindow::onSettingsClicked() {
    host_.showSettingsDialog();
}

void SearchWindow::onSplitterMoved(int position) {
    services_.settings.write(platform::settings::kSplitterPos, QString::number(position));
}

void SearchWindow::onAbortWaitTick() {
    const ListBuildState::Tick tick = listBuild_.abortWaitTick();
    if (tick == ListBuildState::Tick::Nothing)
        return;
    onStopListBuildClicked();
    if (tick == ListBuildState::Tick::CloseBuilderAndStopWaiting)
        abortWaitTimer_->stop();
}

} // namespace app
