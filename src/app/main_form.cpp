#include "main_form.h"

#include "database_list_delegate.h"
#include "einstell_form.h"
#include "ok_bottom_dlg.h"
#include "search_form.h"
#include "window_colours.h"

#include "indexing/index_run.h"

#include "database/database_paths.h"
#include "database/extension_choices.h"
#include "platform/colour_text.h"
#include "platform/program_directory.h"
#include "platform/settings_values.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace settings = platform::settings;

namespace {

// Logo colour at which the logo keeps its own grey background.
constexpr quint32 kOpaqueLogoColour = 0x00BBBBBB;

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

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

// The 34 controls that take the hint-text colour, window by window.
const char* const kMainHintControls[] = {"SpeedButton1", "SpeedButton2", "Label1", "Label2",
                                         "GeduldLabel"};
const char* const kSettingsHintControls[] = {"SuchtextInClipbrdCheckBox",
                                             "KurzhinweisImViewerZeigenCheckBox",
                                             "Label1",
                                             "Label2",
                                             "Label3",
                                             "Label4",
                                             "Label5"};
const char* const kSearchHintControls[] = {"GrossKleinBeachten",
                                           "NurGanzeWoerterCheckBox",
                                           "nurWoerterButton",
                                           "nurSaetzeButton",
                                           "WoerterUndSaetzeButton",
                                           "Label1",
                                           "Label2",
                                           "Label3",
                                           "Label5",
                                           "TntLabel1",
                                           "Label8",
                                           "OderCheckBox",
                                           "PhraseCheckBox",
                                           "SpeedButton1",
                                           "SpeedButton2"};
const char* const kDialogHintControls[] = {
    "Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "ODTDokumenteErstellenCheckBox"};

template <size_t N>
void colourNamedControls(QWidget* window, const char* const (&names)[N], const QColor& colour) {
    if (!window)
        return;
    for (const char* name : names)
        setTextColour(window->findChild<QWidget*>(QString::fromLatin1(name)), colour);
}

} // namespace

TMainForm_TX_ODT::TMainForm_TX_ODT(AppServices& services, QWidget* parent)
    : QMainWindow(parent)
    , services_(services) {
    setObjectName(QStringLiteral("TMainForm_TX_ODT"));
    buildControls();
    FormCreate();
}

TMainForm_TX_ODT::~TMainForm_TX_ODT() = default;

void TMainForm_TX_ODT::buildControls() {
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

    speedButton1_ = named(new QToolButton(toolbar), "SpeedButton1");
    speedButton1_->setText(QStringLiteral("?"));
    speedButton1_->setToolTip(QStringLiteral("Hilfe"));
    speedButton1_->setAutoRaise(true);
    QFont helpFont = speedButton1_->font();
    helpFont.setPointSize(14);
    helpFont.setBold(true);
    speedButton1_->setFont(helpFont);
    toolbar->addWidget(speedButton1_);

    speedButton2_ = named(new QToolButton(toolbar), "SpeedButton2");
    speedButton2_->setIcon(QIcon(QStringLiteral(":/trovex/einstellungen.xpm")));
    speedButton2_->setIconSize(QSize(24, 24));
    speedButton2_->setToolTip(QStringLiteral("Einstellungen"));
    speedButton2_->setAutoRaise(true);
    toolbar->addWidget(speedButton2_);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainPanel"));
    setCentralWidget(central);

    listBox1_ = named(new QListWidget(central), "ListBox1");
    listBox1_->setSelectionMode(QAbstractItemView::SingleSelection);
    listBox1_->setItemDelegate(
        new DatabaseListDelegate([this] { return backgroundColour_; }, listBox1_));
    listBox1_->setUniformItemSizes(false);
    listBox1_->viewport()->installEventFilter(this);

    panel1_ = named(new QWidget(central), "Panel1");
    image1_ = named(new QLabel(panel1_), "Image1");
    image1_->setToolTip(QStringLiteral("Hier könnte Ihr Logo Eindruck machen!"));
    image1_->setAlignment(Qt::AlignCenter);
    image1_->setPixmap(QPixmap(QStringLiteral(":/trovex/logo.xpm")));
    auto* panelLayout = new QVBoxLayout(panel1_);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(image1_);

    image2_ = named(new QLabel(central), "Image2");
    image2_->setPixmap(QPixmap(QStringLiteral(":/trovex/listicon.xpm")));
    image2_->hide();

    suchenBtn_ = runButton(QStringLiteral("&Suchen"),
                           QStringLiteral("In der ausgewählten Datenbank wird nach Text gesucht."),
                           "SuchenBtn", central);
    neuErstellenBtn_ = runButton(QStringLiteral("  &Neue DB erstellen "),
                                 QStringLiteral("Eine neue Datenbank wird  erstellt (indiziert)"),
                                 "NeuErstellenBtn", central);
    erneutIndiziereBtn_ = runButton(QStringLiteral("DB erneut indizieren"),
                                    QStringLiteral("Ausgewählte Datenbank wird neu indiziert"),
                                    "ErneutIndiziereBtn", central);
    bitBtn2_ = runButton(QStringLiteral("Schli&eßen"), QString(), "BitBtn2", central);

    label1_ = named(new QLabel(central), "Label1");
    label2_ = named(new QLabel(central), "Label2");
    QFont statusFont = label1_->font();
    statusFont.setPointSize(11);
    statusFont.setBold(true);
    label1_->setFont(statusFont);
    label2_->setFont(statusFont);
    geduldLabel_ = named(new QLabel(central), "GeduldLabel");
    geduldLabel_->setFont(statusFont);
    geduldLabel_->setMinimumWidth(120);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(panel1_);
    buttons->addWidget(suchenBtn_);
    buttons->addWidget(neuErstellenBtn_);
    buttons->addWidget(erneutIndiziereBtn_);
    buttons->addStretch();
    buttons->addWidget(bitBtn2_);
    auto* buttonColumn = new QWidget(central);
    buttonColumn->setLayout(buttons);
    buttonColumn->setFixedWidth(230);
    buttons->setContentsMargins(0, 0, 0, 0);

    auto* grid = new QGridLayout(central);
    grid->addWidget(listBox1_, 0, 0);
    grid->addWidget(buttonColumn, 0, 1);
    grid->addWidget(label1_, 1, 0, 1, 2);
    grid->addWidget(label2_, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    geduldLabel_->raise();

    popupMenu1_ = named(new QMenu(this), "PopupMenu1");
    auto* deleteAction = popupMenu1_->addAction(QStringLiteral("Datenbank löschen"));
    deleteAction->setObjectName(QStringLiteral("Datenbankloeschen1"));

    ueberwachTimer_ = offTimer(500, "UeberwachTimer", this);
    timer1_ = offTimer(200, "Timer1", this);
    gedultTimer_ = offTimer(1000, "GedultTimer", this);
    checkDefenderTimer_ = offTimer(1000, "checkDefenderTimer", this);

    connect(speedButton1_, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(speedButton2_, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    // A click or a key that moves the selection runs the handler; selections
    // the program makes itself do not.
    connect(listBox1_, &QListWidget::currentRowChanged, this, [this] {
        if (!selectingProgrammatically_)
            ListBox1Click();
    });
    connect(listBox1_, &QListWidget::itemDoubleClicked, this, [this] { SuchenBtnClick(); });
    connect(deleteAction, &QAction::triggered, this, [this] { Datenbankloeschen1Click(); });
    connect(suchenBtn_, &QPushButton::clicked, this, [this] { SuchenBtnClick(); });
    connect(neuErstellenBtn_, &QPushButton::clicked, this, [this] { NeuErstellenBtnClick(); });
    connect(erneutIndiziereBtn_, &QPushButton::clicked, this,
            [this] { ErneutIndiziereBtnClick(); });
    connect(bitBtn2_, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(ueberwachTimer_, &QTimer::timeout, this, [this] { UeberwachTimerTimer(); });
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(gedultTimer_, &QTimer::timeout, this, [this] { GedultTimerTimer(); });
    connect(checkDefenderTimer_, &QTimer::timeout, this, [this] { checkDefenderTimerTimer(); });

    connect(&services_.toolLauncher, &platform::ToolLauncher::toolStarted, this,
            [this] { monitor_.toolProcessStarted(); });
    connect(&services_.toolLauncher, &platform::ToolLauncher::toolFinished, this,
            [this] { monitor_.toolProcessFinished(); });
    connect(&services_.toolLauncher, &platform::ToolLauncher::toolFailedToStart, this,
            [this](const QString& error) { toolStartError_ = error; });
}

void TMainForm_TX_ODT::FormCreate() {
    setWindowTitle(QStringLiteral("Trovex-ODT"));
    setMinimumSize(700, 506);
    resize(906, 506);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    // The stored width of a first run is always 1024; only the fallback for a
    // missing value follows the screen.
    settings::writeFirstRunDefaultsIfNeeded(services_.settings, 1024);
    defaultWidth_ = 1024;
    if (services_.screenWidth < 1025)
        defaultWidth_ = services_.screenWidth;

    label1_->clear();
    label2_->clear();
    indexedFileCount_ = 0;

    platform::ensureWorkingDirectories(services_.programDirectory, services_.prompts);

    controlDirectory_ = services_.settings.read(settings::kTrovexControl);
    controlDirectoryFlag_ =
        !controlDirectory_.isEmpty() &&
        services_.programDirectory.contains(controlDirectory_, Qt::CaseInsensitive);

    hoehe_ = settings::readInteger(services_.settings, settings::kHoehe, 506);
    weite_ = settings::readInteger(services_.settings, settings::kWeite, defaultWidth_);
    sHoehe_ = settings::readInteger(services_.settings, settings::kSHoehe, 500);
    sWeite_ = settings::readInteger(services_.settings, settings::kSWeite, defaultWidth_);
}

void TMainForm_TX_ODT::setWindows(const MainFormWindows& windows) {
    windows_ = windows;
    if (windows_.newDatabaseDialog)
        windows_.newDatabaseDialog->setQuestionWindow(windows_.questionWindow);
}

QTimer* TMainForm_TX_ODT::timer(const QString& name) const {
    return findChild<QTimer*>(name);
}

QWidget* TMainForm_TX_ODT::searchWindowChild(const QString& name) const {
    return windows_.searchWindow ? windows_.searchWindow->findChild<QWidget*>(name) : nullptr;
}

void TMainForm_TX_ODT::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The stored settings reach the other windows before the first paint,
    // once they all exist.
    if (firstPaintPending_)
        FormPaint();
}

void TMainForm_TX_ODT::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    adjustSearchButtonFont();
}

void TMainForm_TX_ODT::adjustSearchButtonFont() {
    const int height = suchenBtn_->height();
    const int size = height > 60 ? 16 : height > 44 ? 12 : 10;
    if (suchenBtn_->font().pointSize() != size) {
        QFont font = suchenBtn_->font();
        font.setPointSize(size);
        suchenBtn_->setFont(font);
    }
}

void TMainForm_TX_ODT::FormPaint() {
    adjustSearchButtonFont();
    if (!firstPaintPending_)
        return;
    auto& store = services_.settings;

    geduldLabel_->clear();

    const int viewerFontSize = settings::readInteger(store, settings::kSchriftsizeTextViewer, 10);
    for (const char* name : {"Viewer", "ViewerMemo"}) {
        if (QWidget* viewer = searchWindowChild(QString::fromLatin1(name))) {
            QFont font = viewer->font();
            font.setPointSize(viewerFontSize > 0 ? viewerFontSize : 10);
            viewer->setFont(font);
        }
    }

    browserChoice_ = store.read(settings::kBrowser);
    if (browserChoice_.isEmpty()) {
        browserChoice_ = QStringLiteral("standard");
        store.write(settings::kBrowser, browserChoice_);
    }

    applyStoredColours();
    applyViewerSwitches();

    listIcon_ = image2_->pixmap();
    resize(weite_, hoehe_);
    LiesNamenDatenbanken();
    selectFromStoredIndex();

    if (!selectedDatabaseName_.isEmpty() && QFileInfo::exists(database::searchHistoryPath(
                                                services_.programDirectory, selectedDatabaseName_)))
        loadSearchHistory(selectedDatabaseName_);

    if (windows_.newDatabaseDialog &&
        QFileInfo::exists(database::extensionChoicesPath(services_.programDirectory)))
        windows_.newDatabaseDialog->setExtensionChoices(
            database::loadExtensionChoices(services_.programDirectory));

    bitBtn2_->setText(QStringLiteral("Schli&eßen"));

    administrator_ = services_.administrator;
    setWindowTitle(administrator_
                       ? QStringLiteral("Trovex-ODT - Mit Administratorberechtigung gestartet.")
                       : QStringLiteral("  Trovex-ODT -  Die Suchmaschine für eBooks, LibreOffice, "
                                        "OpenOffice und Word (DOCX) Dokumente."));
    if (windows_.newDatabaseDialog) {
        windows_.newDatabaseDialog->setAdministrator(administrator_);
        windows_.newDatabaseDialog->setControlDirectory(controlDirectory_, controlDirectoryFlag_);
    }

    if (windows_.searchWindow) {
        windows_.searchWindow->setStartSize(sHoehe_, sWeite_);
        windows_.searchWindow->resize(sWeite_, sHoehe_);
    }

    if (listBox1_->count() > 0)
        ListBox1Click();
    firstPaintPending_ = false;
}

void TMainForm_TX_ODT::applyStoredColours() {
    auto& store = services_.settings;
    const QString stored = store.read(settings::kFarbe);
    // A value edited by hand into something unreadable falls back to the
    // first-run colour rather than stopping the start.
    const quint32 value = stored.isEmpty() ? 0x8000000Du // clHighlight
                                           : platform::colourFromText(stored).value_or(0x00808000u);
    backgroundColour_ = colourFromValue(value, palette());

    setBackgroundColour(this, backgroundColour_);
    setBackgroundColour(panel1_, backgroundColour_);
    setBackgroundColour(windows_.settingsDialog, backgroundColour_);
    setBackgroundColour(windows_.newDatabaseDialog, backgroundColour_);
    if (windows_.searchWindow) {
        setBackgroundColour(windows_.searchWindow, backgroundColour_);
        for (const char* name : {"PanelLinks", "PanelRechts", "PanelUnten", "Panel2"})
            setBackgroundColour(searchWindowChild(QString::fromLatin1(name)), backgroundColour_);
    }
    const QPixmap logo(QStringLiteral(":/trovex/logo.xpm"));
    if (stored.isEmpty() || value != kOpaqueLogoColour) {
        image1_->setPixmap(logo);
    } else {
        QPixmap opaque(logo.size());
        opaque.fill(colourFromValue(kOpaqueLogoColour, palette()));
        QPainter painter(&opaque);
        painter.drawPixmap(0, 0, logo);
        painter.end();
        image1_->setPixmap(opaque);
    }

    const QString hint = store.read(settings::kHinweistextFarbe);
    const quint32 hintValue =
        hint.isEmpty() ? 0x00FFFFFFu : platform::colourFromText(hint).value_or(0x00FFFFFFu);
    applyHintTextColour(colourFromValue(hintValue, palette()));
}

void TMainForm_TX_ODT::applyHintTextColour(const QColor& colour) {
    colourNamedControls(this, kMainHintControls, colour);
    colourNamedControls(windows_.settingsDialog, kSettingsHintControls, colour);
    colourNamedControls(windows_.searchWindow, kSearchHintControls, colour);
    colourNamedControls(windows_.newDatabaseDialog, kDialogHintControls, colour);
}

void TMainForm_TX_ODT::applyViewerSwitches() {
    auto& store = services_.settings;
    const QString clipboard = store.read(settings::kSuchwortInZwischenablage);
    if (!clipboard.isEmpty() && windows_.settingsDialog) {
        if (auto* box = windows_.settingsDialog->findChild<QCheckBox*>(
                QStringLiteral("SuchtextInClipbrdCheckBox")))
            box->setChecked(clipboard == QLatin1String("1"));
    }
    const QString hint = store.read(settings::kKurzhinweisImViewer);
    if (!hint.isEmpty()) {
        const bool show = hint == QLatin1String("1");
        if (windows_.settingsDialog) {
            if (auto* box = windows_.settingsDialog->findChild<QCheckBox*>(
                    QStringLiteral("KurzhinweisImViewerZeigenCheckBox")))
                box->setChecked(show);
        }
        // The viewer's mirror box reads this when it decides to show its hint.
        if (QWidget* memo = searchWindowChild(QStringLiteral("ViewerMemo")))
            memo->setProperty("showHintAtCursor", show);
    }
}

void TMainForm_TX_ODT::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (geduldLabel_ && !geduldLabel_->text().isEmpty())
        placePatienceLabel();
}

bool TMainForm_TX_ODT::FormCloseQuery() {
    return services_.prompts.confirm(QStringLiteral("Trovex-ODT wirklich schließen?"));
}

void TMainForm_TX_ODT::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    // Closing during a run stops it the way the abort button does, so the
    // gathered text is saved rather than cut off mid-write.
    if (running_)
        BitBtn2Click();
    FormClose();
    event->accept();
}

void TMainForm_TX_ODT::FormClose() {
    auto& store = services_.settings;
    int selected = listBox1_->currentRow();
    if (listBox1_->selectedItems().isEmpty())
        selected = -1;
    if (selected == -1 && listBox1_->count() > 0)
        selected = 0;
    store.write(settings::kAusgewaehlteDatenbank, QString::number(selected));

    if (store.read(settings::kFarbe).isEmpty())
        store.write(settings::kFarbe, QStringLiteral("clTeal"));

    int viewerFontSize = 10;
    if (QWidget* memo = searchWindowChild(QStringLiteral("ViewerMemo")))
        viewerFontSize = memo->font().pointSize();
    store.write(settings::kSchriftsizeTextViewer, QString::number(viewerFontSize));

    store.write(settings::kHoehe, QString::number(height()));
    store.write(settings::kWeite, QString::number(width()));
    if (windows_.searchWindow && !windows_.searchWindow->isMaximisedBySizeMessage()) {
        store.write(settings::kSHoehe, QString::number(windows_.searchWindow->height()));
        store.write(settings::kSWeite, QString::number(windows_.searchWindow->width()));
    }

    platform::emptyTempDirectory(services_.programDirectory);
}

void TMainForm_TX_ODT::SpeedButton1Click() {
    services_.shell.open(services_.programDirectory + QStringLiteral("Trovex_ODT.pdf"));
}

void TMainForm_TX_ODT::SpeedButton2Click() {
    if (windows_.settingsDialog)
        services_.runModal(*windows_.settingsDialog);
}

void TMainForm_TX_ODT::SuchenBtnClick() {
    if (searchStarter_)
        searchStarter_();
}
