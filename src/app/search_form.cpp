// The search window: its parts, paint, size and activation, and closing.
#include "search_form.h"

#include "binbeimsuchen_form.h"
#include "help_document.h"
#include "search_form_viewer_state.h"
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
    explicit WheelWatcher(TSuchForm* form)
        : QObject(form)
        , form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == form_)
            form_->ApplicationEvents1Message(
                static_cast<QWheelEvent*>(event)->globalPosition().toPoint());
        return false;
    }

private:
    TSuchForm* form_;
};

} // namespace

TSuchForm::TSuchForm(AppServices& services, SearchWindowHost& host, QWidget* parent)
    : QDialog(parent)
    , services_(services)
    , host_(host)
    , viewerState_(std::make_unique<ViewerSideState>()) {
    setObjectName(QStringLiteral("TSuchForm"));
    setWindowTitle(QStringLiteral("Trovex-ODT Suche"));
    buildControls();
    connectHandlers();
    connectListBuilder();
    webPanel_->setSelectionColour(widgets::darkenedToNinetyPercent(widgets::plainColourSetting(
        services_.settings, platform::settings::kFarbe, QColor(0, 128, 128))));

    abortWaitTimer_ = named(new QTimer(this), "Timer1");
    jobs_ = new jobs::JobRunner(this);
    abortWaitTimer_->setInterval(1000);
    connect(abortWaitTimer_, &QTimer::timeout, this, &TSuchForm::Timer1Timer);
    titleTimer_ = named(new QTimer(this), "Timer2");
    titleTimer_->setInterval(1000);
    connectViewerHandlers();

    // ApplicationEvents1Message: every wheel turn of the application passes here.
    QCoreApplication::instance()->installEventFilter(new WheelWatcher(this));

    // FormCreate: the window hears of every activation of the application.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive)
                        ApplicationActivate();
                });
    }
}

// Work still under way is stopped before the state it works on goes.
TSuchForm::~TSuchForm() {
    delete jobs_;
}

void TSuchForm::buildControls() {
    QWidget* toolbar = buildToolbar();
    QWidget* left = buildLeftPanel();
    viewerPanel_ = new widgets::ViewerPanel(this);

    splitter_ = named(new QSplitter(Qt::Horizontal, this), "Splitter1");
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
QWidget* TSuchForm::buildToolbar() {
    auto* toolbar = new QWidget(this);
    titleButton_ = button(toolbar, "TitelButton", QStringLiteral("Trovex-ODT"));
    titleButton_->setFlat(true);
    settingsButton_ = button(toolbar, "SpeedButton2", QStringLiteral("Einstellungen"),
                             QStringLiteral("Einstellungen"));
    helpButton_ = button(toolbar, "SpeedButton1", QStringLiteral("?"), QStringLiteral("Hilfe"));
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
QWidget* TSuchForm::buildLeftPanel() {
    leftPanel_ = named(new QFrame, "PanelLinks");
    searchBar_ = new widgets::SearchBar(this, leftPanel_);
    hintLabel_ = named(new QLabel(leftPanel_), "Label1");
    hintLabel_->setWordWrap(true);
    caseBox_ =
        named(new QCheckBox(QStringLiteral("Bei lokaler Suche die Groß / Kleinschr. beachten"),
                            leftPanel_),
              "GrossKleinBeachten");
    wholeWordBox_ =
        named(new QCheckBox(QStringLiteral("Bei lokaler Suche nur ganze Wörter"), leftPanel_),
              "NurGanzeWoerterCheckBox");
    phraseBox_ = named(new QCheckBox(QStringLiteral("Suche als Phrase (Satz)"), leftPanel_),
                       "PhraseCheckBox");
    anyWordBox_ =
        named(new QCheckBox(QStringLiteral("die einen oder mehrere Suchbegriffe enthalten (ODER)."),
                            leftPanel_),
              "OderCheckBox");
    phraseBox_->hide();
    anyWordBox_->hide();
    anyWordBox_->setChecked(true);

    // Shown by the first click on "Suche im Internet".
    webPanel_ = new widgets::WebSitePanel(leftPanel_);
    webPanel_->hide();
    listBuilder_ = new widgets::ListBuilderPanel(leftPanel_);
    clipboardEdit_ = named(new QLineEdit(leftPanel_), "ClipbrdTntEdit");
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

QWidget* TSuchForm::buildBottomPanel() {
    bottomPanel_ = named(new QFrame(this), "PanelUnten");
    webButton_ = button(bottomPanel_, "SuchImInternetBtn", QStringLiteral("Suche im Internet"),
                        QStringLiteral("Mit ausgewählter Website -Adresse suchen."));
    okButton_ = button(bottomPanel_, "OKBtn", QStringLiteral("Lokale Suche"),
                       QStringLiteral("Lokale Suche auf Datenträger."));
    sortedListButton_ = button(bottomPanel_, "ZeilenAlsListeSortieren",
                               QStringLiteral("Sortierte Textliste laden"));
    loadTextButton_ = button(bottomPanel_, "UTF8LadenButton", QStringLiteral("Textinhalt laden"));
    cancelButton_ = button(bottomPanel_, "CancelBtn", QStringLiteral("Abbrechen"));
    auto* row = new QHBoxLayout(bottomPanel_);
    row->addWidget(webButton_);
    row->addWidget(okButton_);
    row->addStretch(1);
    row->addWidget(sortedListButton_);
    row->addWidget(loadTextButton_);
    row->addWidget(cancelButton_);
    return bottomPanel_;
}

void TSuchForm::connectHandlers() {
    connect(searchBar_, &widgets::SearchBar::textChanged, this, &TSuchForm::TntEdit2Change);
    connect(searchBar_, &widgets::SearchBar::pressed, this, &TSuchForm::TntEdit2Click);
    connect(searchBar_, &widgets::SearchBar::historyEntryClicked, this,
            &TSuchForm::TntListBox2Click);
    connect(searchBar_, &widgets::SearchBar::clearClicked, this, &TSuchForm::Button1Click);
    connect(searchBar_, &widgets::SearchBar::enterPressed, this, &TSuchForm::TntEdit2KeyDown);
    connect(phraseBox_, &QCheckBox::clicked, this, &TSuchForm::PhraseCheckBoxClick);
    connect(anyWordBox_, &QCheckBox::clicked, this, &TSuchForm::OderCheckBoxClick);
    connect(okButton_, &QPushButton::clicked, this, &TSuchForm::OKBtnClick);
    connect(cancelButton_, &QPushButton::clicked, this, &TSuchForm::CancelBtnClick);
    connect(webButton_, &QPushButton::clicked, this, &TSuchForm::SuchImInternetBtnClick);
    connect(helpButton_, &QPushButton::clicked, this, &TSuchForm::SpeedButton1Click);
    connect(settingsButton_, &QPushButton::clicked, this, &TSuchForm::SpeedButton2Click);
    connect(splitter_, &QSplitter::splitterMoved, this, &TSuchForm::Splitter1Moved);
    connect(webPanel_, &widgets::WebSitePanel::topicChosen, this, &TSuchForm::TntComboBox1Click);
    connect(webPanel_, &widgets::WebSitePanel::siteClicked, this, &TSuchForm::TntListBox1Click);
    connect(webPanel_, &widgets::WebSitePanel::pointerMovedOverSites, this,
            &TSuchForm::TntListBox1MouseMove);
    connect(webPanel_, &widgets::WebSitePanel::aboutToDrawSite, this, [this] {
        if (searchBar_->historyShown())
            searchBar_->hideHistory();
    });
    connect(viewerPanel_, &widgets::ViewerPanel::clearFindClicked, this, &TSuchForm::Button2Click);
}

// ---------------------------------------------------------------------------
// Paint, size and activation

void TSuchForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    deferredPaint_.request(); // the rules change widgets: not inside a paint
}

void TSuchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormPaint();
}

void TSuchForm::FormPaint() {
    if (viewerPanel_->findText().isEmpty())
        viewerPanel_->setFindButtonEnabled(false);
    if (firstPaintPending_)
        firstPaintSetUp();
    if (!listBuildRunning_) {
        loadTextButton_->setEnabled(databaseTextLoadable());
        searchBar_->setEnabled(true);
        if (!searchentry::trimmedSearchText(searchBar_->text()).isEmpty())
            okButton_->setEnabled(true);
    }
    if (!searchBar_->textHasFocus() && viewerPanel_->mirrorHasText())
        viewerPanel_->focusMirror();
}

void TSuchForm::firstPaintSetUp() {
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
            platform::settings::readInteger(services_.settings, platform::settings::kSHoehe, 500),
            services_.screenHeight, 500);
        width = windowExtentOnScreen(
            platform::settings::readInteger(services_.settings, platform::settings::kSWeite, 1024),
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

bool TSuchForm::databaseTextLoadable() const {
    if (databaseName_.isEmpty() || services_.programDirectory.isEmpty())
        return false;
    const QFileInfo text(database::databaseTextPath(services_.programDirectory, databaseName_));
    return text.exists() && text.size() >= 4;
}

void TSuchForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TSuchForm::FormResize() {
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

void TSuchForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        maximised_ = windowState().testFlag(Qt::WindowMaximized);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QDialog::changeEvent(event);
}

void TSuchForm::FormActivate() {
    if (notice_ && notice_->isVisible()) {
        notice_->showNormal();
        notice_->raise();
        notice_->activateWindow();
    }
}

void TSuchForm::mousePressEvent(QMouseEvent* event) {
    FormClick();
    QDialog::mousePressEvent(event);
}

void TSuchForm::FormClick() {
    if (searchBar_->historyShown())
        searchBar_->hideHistory();
}

void TSuchForm::ApplicationActivate() {
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
void TSuchForm::ApplicationEvents1Message(const QPoint& globalPosition) {
    if (!isVisible())
        return;
    const int x = viewerPanel_->mapFromGlobal(globalPosition).x();
    if (x >= 0 && x <= viewerPanel_->width())
        viewerPanel_->focusViewer();
    webPanel_->focusSitesForWheelAt(globalPosition);
}

// ---------------------------------------------------------------------------
// Closing

void TSuchForm::setModalResult(int result) {
    modalResult_ = result;
    closeAsked_ = true;
    if (handlersRunning_ == 0)
        finishHandler();
}

void TSuchForm::finishHandler() {
    if (handlersRunning_ > 0 || !closeAsked_)
        return;
    closeAsked_ = false;
    QDialog::done(modalResult_);
}

void TSuchForm::reject() {
    CancelBtnClick();
}

void TSuchForm::requestSearchCancel() {
    searchCancelRequested_ = true;
    if (jobs_->running())
        jobs_->cancel();
}

void TSuchForm::CancelBtnClick() {
    if (searchRunning_) {
        requestSearchCancel();
        host_.stopPatienceMarks();
    }
    if (listBuilder_->stopAvailable())
        SortAbbrechenButtonClick();
    listBuilder_->hideControls();
    viewerPanel_->hidePageOffset();
    host_.setSearchUnderWay(false);
    setModalResult(QDialog::Rejected);
}

void TSuchForm::SpeedButton1Click() {
    openHelpDocument(services_);
}

void TSuchForm::SpeedButton2Click() {
    host_.showSettingsDialog();
}

void TSuchForm::Splitter1Moved(int position) {
    services_.settings.write(platform::settings::kSplitterPos, QString::number(position));
}

void TSuchForm::Timer1Timer() {
    ++abortWaitTicks_;
    if (abortRequested_) {
        listBuildRunning_ = false;
        SortAbbrechenButtonClick();
        if (abortWaitTicks_ >= 10)
            abortWaitTimer_->stop();
    }
}
