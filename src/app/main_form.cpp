// The main window's controls and how they are wired to the handlers.
#include "main_form.h"

#include "search_request.h"

#include "indexing/index_run.h"
#include "jobs/job_runner.h"
#include "widgets/database_list_delegate.h"
#include "widgets/object_names.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using widgets::named;

namespace {

QPushButton* runButton(const QString& caption, const QString& hint, const char* name,
                       QWidget* parent) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setToolTip(hint);
    button->setMinimumHeight(38);
    return button;
}

QTimer* offTimer(int interval, const char* name, QObject* parent) {
    auto* timer = named(new QTimer(parent), name);
    timer->setInterval(interval);
    return timer;
}

} // namespace

TMainForm_TX_ODT::TMainForm_TX_ODT(AppServices& services, QWidget* parent)
    : QMainWindow(parent)
    , services_(services) {
    setObjectName(QStringLiteral("TMainForm_TX_ODT"));
    buildControls();
    connectHandlers();
    FormCreate();
}

// A run still under way is stopped before the objects it works with go.
TMainForm_TX_ODT::~TMainForm_TX_ODT() {
    delete jobs_;
}

void TMainForm_TX_ODT::buildControls() {
    buildToolbar();

    auto* central = named(new QWidget(this), "MainPanel");
    setCentralWidget(central);

    catalogue_ = named(new QListWidget(central), "ListBox1");
    catalogue_->setSelectionMode(QAbstractItemView::SingleSelection);
    catalogue_->setItemDelegate(
        new widgets::DatabaseListDelegate([this] { return colours_.background; }, catalogue_));
    catalogue_->setUniformItemSizes(false);
    catalogue_->viewport()->installEventFilter(this);

    listIconPicture_ = named(new QLabel(central), "Image2");
    listIconPicture_->setPixmap(QPixmap(QStringLiteral(":/trovex/listicon.xpm")));
    listIconPicture_->hide();

    statusLine_ = named(new QLabel(central), "Label1");
    progressLine_ = named(new QLabel(central), "Label2");
    QFont statusFont = statusLine_->font();
    statusFont.setPointSize(11);
    statusFont.setBold(true);
    statusLine_->setFont(statusFont);
    progressLine_->setFont(statusFont);
    patienceLabel_ = named(new QLabel(central), "GeduldLabel");
    patienceLabel_->setFont(statusFont);
    patienceLabel_->setMinimumWidth(120);

    auto* grid = new QGridLayout(central);
    grid->addWidget(catalogue_, 0, 0);
    grid->addWidget(buildButtonColumn(central), 0, 1);
    grid->addWidget(statusLine_, 1, 0, 1, 2);
    grid->addWidget(progressLine_, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    patienceLabel_->raise();

    popupMenu1_ = named(new QMenu(this), "PopupMenu1");
    popupMenu1_->addAction(QStringLiteral("Datenbank löschen"))
        ->setObjectName(QStringLiteral("Datenbankloeschen1"));

    buildTimers();
}

void TMainForm_TX_ODT::buildToolbar() {
    auto* toolbar = named(new QToolBar(this), "ToolBar1");
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, toolbar);

    speedButton3_ = named(new QToolButton(toolbar), "SpeedButton3");
    speedButton3_->setText(QStringLiteral("  Trovex-ODT 2.0"));
    speedButton3_->setAutoRaise(true);
    speedButton3_->setEnabled(false);
    QFont productFont = speedButton3_->font();
    productFont.setPointSize(16);
    productFont.setBold(true);
    speedButton3_->setFont(productFont);
    // The disabled label keeps its colour rather than turning grey.
    QPalette productPalette = speedButton3_->palette();
    productPalette.setColor(QPalette::Disabled, QPalette::ButtonText,
                            productPalette.color(QPalette::Active, QPalette::ButtonText));
    speedButton3_->setPalette(productPalette);
    toolbar->addWidget(speedButton3_);

    // The separator fills the toolbar, so "?" and the settings button keep to
    // the right edge at every width.
    toolButton1_ = named(new QWidget(toolbar), "ToolButton1");
    toolButton1_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(toolButton1_);

    helpButton_ = named(new QToolButton(toolbar), "SpeedButton1");
    helpButton_->setText(QStringLiteral("?"));
    helpButton_->setToolTip(QStringLiteral("Hilfe"));
    helpButton_->setAutoRaise(true);
    QFont helpFont = helpButton_->font();
    helpFont.setPointSize(14);
    helpFont.setBold(true);
    helpButton_->setFont(helpFont);
    toolbar->addWidget(helpButton_);

    settingsButton_ = named(new QToolButton(toolbar), "SpeedButton2");
    settingsButton_->setIcon(QIcon(QStringLiteral(":/trovex/einstellungen.xpm")));
    settingsButton_->setIconSize(QSize(24, 24));
    settingsButton_->setToolTip(QStringLiteral("Einstellungen"));
    settingsButton_->setAutoRaise(true);
    toolbar->addWidget(settingsButton_);
}

// The logo above the buttons that search and index, the close button below.
QWidget* TMainForm_TX_ODT::buildButtonColumn(QWidget* central) {
    logoPanel_ = named(new QWidget(central), "Panel1");
    logo_ = named(new QLabel(logoPanel_), "Image1");
    logo_->setToolTip(QStringLiteral("Hier könnte Ihr Logo Eindruck machen!"));
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setPixmap(QPixmap(QStringLiteral(":/trovex/logo.xpm")));
    auto* logoLayout = new QVBoxLayout(logoPanel_);
    logoLayout->setContentsMargins(4, 4, 4, 4);
    logoLayout->addWidget(logo_);

    searchButton_ =
        runButton(QStringLiteral("&Suchen"),
                  QStringLiteral("In der ausgewählten Datenbank wird nach Text gesucht."),
                  "SuchenBtn", central);
    newDatabaseButton_ = runButton(QStringLiteral("  &Neue DB erstellen "),
                                   QStringLiteral("Eine neue Datenbank wird  erstellt (indiziert)"),
                                   "NeuErstellenBtn", central);
    reindexButton_ = runButton(QStringLiteral("DB erneut indizieren"),
                               QStringLiteral("Ausgewählte Datenbank wird neu indiziert"),
                               "ErneutIndiziereBtn", central);
    closeButton_ = runButton(QStringLiteral("Schli&eßen"), QString(), "BitBtn2", central);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(logoPanel_);
    buttons->addWidget(searchButton_);
    buttons->addWidget(newDatabaseButton_);
    buttons->addWidget(reindexButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton_);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* column = new QWidget(central);
    column->setLayout(buttons);
    column->setFixedWidth(230);
    return column;
}

void TMainForm_TX_ODT::buildTimers() {
    toolWatchTimer_ = offTimer(500, "UeberwachTimer", this);
    progressTimer_ = offTimer(200, "Timer1", this);
    patienceTimer_ = offTimer(1000, "GedultTimer", this);
    scannerTimer_ = offTimer(1000, "checkDefenderTimer", this);
    jobs_ = new jobs::JobRunner(this);
}

void TMainForm_TX_ODT::connectHandlers() {
    connect(helpButton_, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(settingsButton_, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    // A click or a key that moves the selection runs the handler; selections
    // the program makes itself do not.
    connect(catalogue_, &QListWidget::currentRowChanged, this, [this] {
        if (!selectingProgrammatically_)
            ListBox1Click();
    });
    connect(catalogue_, &QListWidget::itemDoubleClicked, this, [this] { SuchenBtnClick(); });
    connect(popupMenu1_->actions().constFirst(), &QAction::triggered, this,
            [this] { Datenbankloeschen1Click(); });
    connect(searchButton_, &QPushButton::clicked, this, [this] { SuchenBtnClick(); });
    connect(newDatabaseButton_, &QPushButton::clicked, this, [this] { NeuErstellenBtnClick(); });
    connect(reindexButton_, &QPushButton::clicked, this, [this] { ErneutIndiziereBtnClick(); });
    connect(closeButton_, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(toolWatchTimer_, &QTimer::timeout, this, [this] { UeberwachTimerTimer(); });
    connect(progressTimer_, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(patienceTimer_, &QTimer::timeout, this, [this] { GedultTimerTimer(); });
    connect(scannerTimer_, &QTimer::timeout, this, [this] { checkDefenderTimerTimer(); });

    connect(&services_.toolLauncher, &platform::ToolLauncher::toolStarted, this,
            [this] { monitor_.toolProcessStarted(); });
    connect(&services_.toolLauncher, &platform::ToolLauncher::toolFinished, this,
            [this] { monitor_.toolProcessFinished(); });
    connect(&services_.toolLauncher, &platform::ToolLauncher::toolFailedToStart, this,
            [this](const QString& error) { toolStartError_ = error; });
}

void TMainForm_TX_ODT::SuchenBtnClick() {
    if (searchRequest_)
        searchRequest_->SuchenBtnClick();
}
