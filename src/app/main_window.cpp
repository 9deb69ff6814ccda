// The main window's controls and how they are wired to the handlers.
#include "main_window.h"

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

namespace app {

namespace names = widgets::objectnames::main_window;

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

MainWindow::MainWindow(AppServices& services, QWidget* parent)
    : QMainWindow(parent)
    , services_(services) {
    named(this, names::window);
    buildControls();
    connectHandlers();
    loadWindowSettings();
}

// A run still under way is stopped before the objects it works with go.
MainWindow::~MainWindow() {
    delete jobs_;
}

void MainWindow::buildControls() {
    buildToolbar();

    auto* central = named(new QWidget(this), names::centralPanel);
    setCentralWidget(central);

    catalogue_ = named(new QListWidget(central), names::catalogue);
    catalogue_->setSelectionMode(QAbstractItemView::SingleSelection);
    catalogue_->setItemDelegate(
        new widgets::DatabaseListDelegate([this] { return colours_.background; }, catalogue_));
    catalogue_->setUniformItemSizes(false);
    catalogue_->viewport()->installEventFilter(this);

    listIconPicture_ = named(new QLabel(central), names::listIcon);
    listIconPicture_->setPixmap(QPixmap(QStringLiteral(":/trovex/listicon.xpm")));
    listIconPicture_->hide();

    statusLine_ = named(new QLabel(central), names::statusLine);
    progressLine_ = named(new QLabel(central), names::progressLine);
    QFont statusFont = statusLine_->font();
    statusFont.setPointSize(11);
    statusFont.setBold(true);
    statusLine_->setFont(statusFont);
    progressLine_->setFont(statusFont);
    patienceLabel_ = named(new QLabel(central), names::patienceLabel);
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

    catalogueMenu_ = named(new QMenu(this), names::catalogueMenu);
    catalogueMenu_->addAction(QStringLiteral("Datenbank löschen"))
        ->setObjectName(QString::fromLatin1(names::deleteDatabaseEntry));

    buildTimers();
}

void MainWindow::buildToolbar() {
    auto* toolbar = named(new QToolBar(this), names::toolbar);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, toolbar);

    productLabel_ = named(new QToolButton(toolbar), names::productLabel);
    productLabel_->setText(QStringLiteral("  Trovex-ODT 2.0"));
    productLabel_->setAutoRaise(true);
    productLabel_->setEnabled(false);
    QFont productFont = productLabel_->font();
    productFont.setPointSize(16);
    productFont.setBold(true);
    productLabel_->setFont(productFont);
    // The disabled label keeps its colour rather than turning grey.
    QPalette productPalette = productLabel_->palette();
    productPalette.setColor(QPalette::Disabled, QPalette::ButtonText,
                            productPalette.color(QPalette::Active, QPalette::ButtonText));
    productLabel_->setPalette(productPalette);
    toolbar->addWidget(productLabel_);

    // The separator fills the toolbar, so "?" and the settings button keep to
    // the right edge at every width.
    toolbarSpacer_ = named(new QWidget(toolbar), names::toolbarSpacer);
    toolbarSpacer_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(toolbarSpacer_);

    helpButton_ = named(new QToolButton(toolbar), names::helpButton);
    helpButton_->setText(QStringLiteral("?"));
    helpButton_->setToolTip(QStringLiteral("Hilfe"));
    helpButton_->setAutoRaise(true);
    QFont helpFont = helpButton_->font();
    helpFont.setPointSize(14);
    helpFont.setBold(true);
    helpButton_->setFont(helpFont);
    toolbar->addWidget(helpButton_);

    settingsButton_ = named(new QToolButton(toolbar), names::settingsButton);
    settingsButton_->setIcon(QIcon(QStringLiteral(":/trovex/einstellungen.xpm")));
    settingsButton_->setIconSize(QSize(24, 24));
    settingsButton_->setToolTip(QStringLiteral("Einstellungen"));
    settingsButton_->setAutoRaise(true);
    toolbar->addWidget(settingsButton_);
}

// The logo above the buttons that search and index, the close button below.
QWidget* MainWindow::buildButtonColumn(QWidget* central) {
    logoPanel_ = named(new QWidget(central), names::logoPanel);
    logo_ = named(new QLabel(logoPanel_), names::logo);
    logo_->setToolTip(QStringLiteral("Hier könnte Ihr Logo Eindruck machen!"));
    logo_->setAlignment(Qt::AlignCenter);
    logo_->setPixmap(QPixmap(QStringLiteral(":/trovex/logo.xpm")));
    auto* logoLayout = new QVBoxLayout(logoPanel_);
    logoLayout->setContentsMargins(4, 4, 4, 4);
    logoLayout->addWidget(logo_);

    searchButton_ =
        runButton(QStringLiteral("&Suchen"),
                  QStringLiteral("In der ausgewählten Datenbank wird nach Text gesucht."),
                  names::searchButton, central);
    newDatabaseButton_ = runButton(QStringLiteral("  &Neue DB erstellen "),
                                   QStringLiteral("Eine neue Datenbank wird  erstellt (indiziert)"),
                                   names::newDatabaseButton, central);
    reindexButton_ = runButton(QStringLiteral("DB erneut indizieren"),
                               QStringLiteral("Ausgewählte Datenbank wird neu indiziert"),
                               names::reindexButton, central);
    closeButton_ = runButton(QStringLiteral("Schli&eßen"), QString(), names::closeButton, central);

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

void MainWindow::buildTimers() {
    toolWatchTimer_ = offTimer(500, names::toolWatchTimer, this);
    progressTimer_ = offTimer(200, names::progressTimer, this);
    patienceTimer_ = offTimer(1000, names::patienceTimer, this);
    scannerTimer_ = offTimer(1000, names::scannerTimer, this);
    jobs_ = new jobs::JobRunner(this);
}

void MainWindow::connectHandlers() {
    connect(helpButton_, &QToolButton::clicked, this, [this] { onHelpClicked(); });
    connect(settingsButton_, &QToolButton::clicked, this, [this] { onSettingsClicked(); });
    // A click or a key that moves the selection runs the handler; selections
    // the program makes itself do not.
    connect(catalogue_, &QListWidget::currentRowChanged, this, [this] {
        if (!selectingProgrammatically_)
            onCatalogueSelectionChanged();
    });
    connect(catalogue_, &QListWidget::itemDoubleClicked, this, [this] { onSearchClicked(); });
    connect(catalogueMenu_->actions().constFirst(), &QAction::triggered, this,
            [this] { onDeleteDatabaseChosen(); });
    connect(searchButton_, &QPushButton::clicked, this, [this] { onSearchClicked(); });
    connect(newDatabaseButton_, &QPushButton::clicked, this, [this] { onNewDatabaseClicked(); });
    connect(reindexButton_, &QPushButton::clicked, this, [this] { onReindexClicked(); });
    connect(closeButton_, &QPushButton::clicked, this, [this] { onCloseOrAbortClicked(); });
    connect(toolWatchTimer_, &QTimer::timeout, this, [this] { onToolWatchTick(); });
    connect(progressTimer_, &QTimer::timeout, this, [this] { onProgressTick(); });
    connect(patienceTimer_, &QTimer::timeout, this, [this] { onPatienceTick(); });
    connect(scannerTimer_, &QTimer::timeout, this, [this] { onScannerCheckTick(); });

    connect(&services_.toolLauncher, &platform::ToolLauncher::toolStarted, this,
            [this] { monitor_.toolProcessStarted(); });
    connect(&services_.toolLauncher, &platform::ToolLauncher::toolFinished, this,
            [this] { monitor_.toolProcessFinished(); });
    connect(&services_.toolLauncher, &platform::ToolLauncher::toolFailedToStart, this,
            [this](const QString& error) { toolStartError_ = error; });
}

void MainWindow::onSearchClicked() {
    // The search button is off during an index run, but a double click on
    // the catalogue is not: a search then would map the text the run is
    // about to replace.
    if (indexRunUnderWay())
        return;
    if (searchRequest_)
        searchRequest_->run();
}

} // namespace app
