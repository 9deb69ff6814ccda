#include "search_form.h"

#include "binbeimsuchen_form.h"
#include "site_list_delegate.h"

#include "database/database_paths.h"
#include "platform/colour_text.h"
#include "platform/event_pause.h"
#include "platform/settings_values.h"
#include "search/browser_launch.h"
#include "search/search_engine.h"
#include "search/search_handoff.h"
#include "search/search_term_entry.h"
#include "search/web_site_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

const QString kSiteFileName = QStringLiteral("Adressen_Webseiten.txt");
constexpr int kDefaultSplitterPos = 483;
constexpr int kMinimumHeight = 499;
constexpr int kSnapHeight = 500;
constexpr int kMinimumWidth = 1043;
constexpr int kHistoryHeightBesideWebPanel = 155;
constexpr int kHistoryGapAboveBottomPanel = 48;

// The grey that Windows gives scroll bars; disabled site controls wear it.
const QColor kScrollBarColour(0xC8, 0xC8, 0xC8);

QColor colourOfSetting(platform::SettingsStore* settings, const QString& name,
                       const QColor& fallback) {
    if (!settings)
        return fallback;
    const std::optional<quint32> value = platform::colourFromText(settings->read(name));
    if (!value || platform::isSystemColour(*value))
        return fallback;
    return QColor(int(*value & 0xFF), int((*value >> 8) & 0xFF), int((*value >> 16) & 0xFF));
}

template <typename T> T* named(QWidget* parent, const char* name, T* widget) {
    widget->setObjectName(QLatin1String(name));
    Q_UNUSED(parent);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& hint = {}) {
    auto* b = named(parent, name, new QPushButton(caption, parent));
    b->setToolTip(hint);
    // Enter belongs to the search bar's own rule, never to a default button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void addSorted(QListWidget* list, const QString& text) {
    int row = 0;
    while (row < list->count() &&
           QString::compare(list->item(row)->text(), text, Qt::CaseInsensitive) <= 0)
        ++row;
    list->insertItem(row, text);
}

void addSorted(QComboBox* box, const QString& text) {
    int row = 0;
    while (row < box->count() &&
           QString::compare(box->itemText(row), text, Qt::CaseInsensitive) <= 0)
        ++row;
    box->insertItem(row, text);
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

TSuchForm::TSuchForm(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TSuchForm"));
    setWindowTitle(QStringLiteral("Trovex-ODT Suche"));
    buildSymbols();
    buildControls();

    abortWaitTimer_ = new QTimer(this);
    abortWaitTimer_->setObjectName(QStringLiteral("Timer1"));
    abortWaitTimer_->setInterval(1000);
    connect(abortWaitTimer_, &QTimer::timeout, this, &TSuchForm::Timer1Timer);
    titleTimer_ = new QTimer(this);
    titleTimer_->setObjectName(QStringLiteral("Timer2"));
    titleTimer_->setInterval(1000);

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

TSuchForm::~TSuchForm() = default;

void TSuchForm::buildSymbols() {
    // The pictures live in this static library; the executable does not see
    // its resource initialiser unless it is called.
    Q_INIT_RESOURCE(search_window);
    directSymbol_ = QPixmap(QStringLiteral(":/search_window/direct_search_site.png"));
    pasteSymbol_ = QPixmap(QStringLiteral(":/search_window/paste_site.png"));
}

void TSuchForm::buildControls() {
    // Toolbar: title, spacer, settings, help.
    auto* toolbar = new QHBoxLayout;
    auto* title = button(this, "TitelButton", QStringLiteral("Trovex-ODT"));
    title->setFlat(true);
    auto* settingsButton = button(this, "SpeedButton2", QStringLiteral("Einstellungen"),
                                  QStringLiteral("Einstellungen"));
    auto* helpButton = button(this, "SpeedButton1", QStringLiteral("?"), QStringLiteral("Hilfe"));
    helpButton->setFixedWidth(32);
    // Drawn on the window's colour, like the main window's toolbar.
    settingsButton->setFlat(true);
    helpButton->setFlat(true);
    toolbar->addWidget(title);
    toolbar->addStretch(1);
    toolbar->addWidget(settingsButton);
    toolbar->addWidget(helpButton);

    // Left panel: the search bar and everything a search needs.
    leftPanel_ = named(this, "PanelLinks", new QFrame);
    searchBar_ = named(leftPanel_, "TntEdit2", new QLineEdit(leftPanel_));
    auto* clearSearch = button(leftPanel_, "Button1", QStringLiteral("X"));
    clearSearch->setFixedWidth(28);
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(searchBar_);
    barRow->addWidget(clearSearch);

    hintLabel_ = named(leftPanel_, "Label1", new QLabel(leftPanel_));
    hintLabel_->setWordWrap(true);
    caseBox_ =
        named(leftPanel_, "GrossKleinBeachten",
              new QCheckBox(QStringLiteral("Bei lokaler Suche die Groß / Kleinschr. beachten"),
                            leftPanel_));
    wholeWordBox_ =
        named(leftPanel_, "NurGanzeWoerterCheckBox",
              new QCheckBox(QStringLiteral("Bei lokaler Suche nur ganze Wörter"), leftPanel_));
    phraseBox_ = named(leftPanel_, "PhraseCheckBox",
                       new QCheckBox(QStringLiteral("Suche als Phrase (Satz)"), leftPanel_));
    anyWordBox_ =
        named(leftPanel_, "OderCheckBox",
              new QCheckBox(QStringLiteral("die einen oder mehrere Suchbegriffe enthalten (ODER)."),
                            leftPanel_));
    phraseBox_->hide();
    anyWordBox_->hide();
    anyWordBox_->setChecked(true);

    // The web panel, shown by the first click on "Suche im Internet".
    webPanel_ = named(leftPanel_, "Panel2", new QFrame(leftPanel_));
    static_cast<QFrame*>(webPanel_)->setFrameShape(QFrame::StyledPanel);
    webTextLabel_ = named(webPanel_, "TntLabel1", new QLabel(webPanel_));
    webTextLabel_->setWordWrap(true);
    siteLabel_ = named(webPanel_, "Label5",
                       new QLabel(QStringLiteral("Thema und Webseite auswählen:"), webPanel_));
    topicBox_ = named(webPanel_, "TntComboBox1", new QComboBox(webPanel_));
    siteList_ = named(webPanel_, "TntListBox1", new QListWidget(webPanel_));
    // Mouse moves and hint requests reach the list's viewport, not the list.
    siteList_->viewport()->setMouseTracking(true);
    siteList_->viewport()->installEventFilter(this);
    auto* siteDelegate = new SiteListDelegate(directSymbol_, pasteSymbol_, siteList_);
    siteList_->setItemDelegate(siteDelegate);
    connect(siteDelegate, &SiteListDelegate::aboutToDrawRow, this, [this] {
        if (historyList_->isVisible())
            historyList_->hide();
    });
    auto* webLayout = new QVBoxLayout(webPanel_);
    webLayout->addWidget(webTextLabel_);
    webLayout->addWidget(siteLabel_);
    webLayout->addWidget(topicBox_);
    webLayout->addWidget(siteList_, 1);
    webPanel_->hide();

    // The sorted-list builder's controls; they appear only while it works.
    auto* builder = named(leftPanel_, "ListBuilder", new QWidget(leftPanel_));
    auto* bevel = named(builder, "Bevel5", new QFrame(builder));
    bevel->setFrameShape(QFrame::HLine);
    auto* label4 = named(builder, "Label4", new QLabel(builder));
    auto* progress = named(builder, "ProgressBar1", new QProgressBar(builder));
    auto* radioGroup = named(builder, "RadioGroup1", new QGroupBox(builder));
    auto* radios = new QVBoxLayout(radioGroup);
    radios->addWidget(named(radioGroup, "nurWoerterButton", new QRadioButton(radioGroup)));
    radios->addWidget(named(radioGroup, "nurSaetzeButton", new QRadioButton(radioGroup)));
    radios->addWidget(named(radioGroup, "WoerterUndSaetzeButton", new QRadioButton(radioGroup)));
    auto* buildButton = button(builder, "SortierteListenErstellenButton",
                               QStringLiteral("Sortierte Listen erstellen"));
    auto* stopButton =
        button(builder, "SortAbbrechenButton", QStringLiteral("Abbrechen / Schließen"));
    auto* builderLayout = new QVBoxLayout(builder);
    builderLayout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(bevel), static_cast<QWidget*>(label4),
                       static_cast<QWidget*>(progress), static_cast<QWidget*>(radioGroup),
                       static_cast<QWidget*>(buildButton), static_cast<QWidget*>(stopButton)})
        builderLayout->addWidget(w);

    clipboardEdit_ = named(leftPanel_, "ClipbrdTntEdit", new QLineEdit(leftPanel_));
    clipboardEdit_->hide();

    auto* left = new QVBoxLayout(leftPanel_);
    left->addLayout(barRow);
    left->addWidget(hintLabel_);
    left->addWidget(caseBox_);
    left->addWidget(wholeWordBox_);
    left->addWidget(phraseBox_);
    left->addWidget(anyWordBox_);
    left->addWidget(webPanel_, 1);
    left->addWidget(builder);
    left->addStretch(0);

    // Right panel: the place of the document viewer.
    rightPanel_ = named(this, "PanelRechts", new QFrame);
    auto* label8 = named(rightPanel_, "Label8", new QLabel(rightPanel_));
    findBar_ = named(rightPanel_, "TntEdit1", new QLineEdit(rightPanel_));
    auto* clearFind = button(rightPanel_, "Button2", QStringLiteral("X"));
    clearFind->setFixedWidth(28);
    findButton_ = button(rightPanel_, "WeiterSuche", QStringLiteral("Suchen"));
    auto* bookmark = button(rightPanel_, "LesezeichenBtn", QStringLiteral("Lesezeichen"),
                            QStringLiteral("Lesezeichen speichern"));
    bookmark->hide();
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findBar_, 1);
    findRow->addWidget(clearFind);
    findRow->addWidget(findButton_);
    findRow->addWidget(bookmark);
    viewer_ = named(rightPanel_, "Viewer", new QPlainTextEdit(rightPanel_));
    viewer_->setReadOnly(true);
    viewer_->installEventFilter(this);
    // The mirror box lies over the viewer and always has its size.
    viewerMemo_ = named(rightPanel_, "ViewerMemo", new QPlainTextEdit(rightPanel_));
    viewerMemo_->setReadOnly(true);
    auto* label2 = named(rightPanel_, "Label2", new QLabel(rightPanel_));
    auto* right = new QVBoxLayout(rightPanel_);
    right->addWidget(label8);
    right->addLayout(findRow);
    right->addWidget(viewer_, 1);
    right->addWidget(label2);

    splitter_ = named(this, "Splitter1", new QSplitter(Qt::Horizontal, this));
    splitter_->addWidget(leftPanel_);
    splitter_->addWidget(rightPanel_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStretchFactor(1, 1);

    // Bottom row.
    bottomPanel_ = named(this, "PanelUnten", new QFrame(this));
    webButton_ = button(bottomPanel_, "SuchImInternetBtn", QStringLiteral("Suche im Internet"),
                        QStringLiteral("Mit ausgewählter Website -Adresse suchen."));
    okButton_ = button(bottomPanel_, "OKBtn", QStringLiteral("Lokale Suche"),
                       QStringLiteral("Lokale Suche auf Datenträger."));
    sortedListButton_ = button(bottomPanel_, "ZeilenAlsListeSortieren",
                               QStringLiteral("Sortierte Textliste laden"));
    loadTextButton_ = button(bottomPanel_, "UTF8LadenButton", QStringLiteral("Textinhalt laden"));
    auto* cancelButton = button(bottomPanel_, "CancelBtn", QStringLiteral("Abbrechen"));
    auto* bottom = new QHBoxLayout(bottomPanel_);
    bottom->addWidget(webButton_);
    bottom->addWidget(okButton_);
    bottom->addStretch(1);
    bottom->addWidget(sortedListButton_);
    bottom->addWidget(loadTextButton_);
    bottom->addWidget(cancelButton);

    auto* all = new QVBoxLayout(this);
    all->setSizeConstraint(QLayout::SetNoConstraint);
    all->addLayout(toolbar);
    all->addWidget(splitter_, 1);
    all->addWidget(bottomPanel_);

    // The history drops down over the controls below the search bar.
    historyList_ = named(this, "TntListBox2", new QListWidget(this));
    historyList_->hide();
    searchBar_->installEventFilter(this);

    connect(searchBar_, &QLineEdit::textChanged, this, &TSuchForm::TntEdit2Change);
    connect(historyList_, &QListWidget::itemClicked, this, &TSuchForm::TntListBox2Click);
    connect(phraseBox_, &QCheckBox::clicked, this, &TSuchForm::PhraseCheckBoxClick);
    connect(anyWordBox_, &QCheckBox::clicked, this, &TSuchForm::OderCheckBoxClick);
    connect(okButton_, &QPushButton::clicked, this, &TSuchForm::OKBtnClick);
    connect(cancelButton, &QPushButton::clicked, this, &TSuchForm::CancelBtnClick);
    connect(webButton_, &QPushButton::clicked, this, &TSuchForm::SuchImInternetBtnClick);
    connect(helpButton, &QPushButton::clicked, this, &TSuchForm::SpeedButton1Click);
    connect(settingsButton, &QPushButton::clicked, this, &TSuchForm::SpeedButton2Click);
    connect(splitter_, &QSplitter::splitterMoved, this, &TSuchForm::Splitter1Moved);
    connect(topicBox_, &QComboBox::activated, this, &TSuchForm::TntComboBox1Click);
    connect(siteList_, &QListWidget::itemClicked, this, &TSuchForm::TntListBox1Click);
    connect(clearSearch, &QPushButton::clicked, this, &TSuchForm::Button1Click);
    connect(clearFind, &QPushButton::clicked, this, &TSuchForm::Button2Click);
    connect(findBar_, &QLineEdit::textChanged, this, [this] { update(); });
}

void TSuchForm::setEnvironment(const SearchWindowEnvironment& environment) {
    env_ = environment;
    if (env_.settings) {
        auto* delegate = static_cast<SiteListDelegate*>(siteList_->itemDelegate());
        delegate->setSelectionColour(darkenedToNinetyPercent(
            colourOfSetting(env_.settings, platform::settings::kFarbe, QColor(0, 128, 128))));
    }
}

void TSuchForm::setStartSize(int height, int width) {
    startHeight_ = height;
    startWidth_ = width;
}

void TSuchForm::setSearchingNoticeWindow(TBinbeimSuchenForm* notice) {
    notice_ = notice;
    if (notice_)
        connect(notice_, &TBinbeimSuchenForm::cancelRequested, this,
                &TSuchForm::requestSearchCancel, Qt::UniqueConnection);
}

TBinbeimSuchenForm* TSuchForm::searchingNoticeWindow() {
    if (!notice_)
        setSearchingNoticeWindow(new TBinbeimSuchenForm(this));
    return notice_;
}

void TSuchForm::resetViewer() {
    viewer_->clear();
    viewerMemo_->clear();
}

void TSuchForm::setHistory(const QStringList& entries) {
    historyList_->clear();
    historyList_->addItems(entries);
}

QStringList TSuchForm::history() const {
    QStringList entries;
    for (int i = 0; i < historyList_->count(); ++i)
        entries.append(historyList_->item(i)->text());
    return entries;
}

QString TSuchForm::searchText() const {
    return searchBar_->text();
}
void TSuchForm::setSearchText(const QString& text) {
    searchBar_->setText(text);
}
bool TSuchForm::caseSensitive() const {
    return caseBox_->isChecked();
}
bool TSuchForm::wholeWords() const {
    return wholeWordBox_->isChecked();
}
bool TSuchForm::phrase() const {
    return phraseBox_->isChecked();
}
bool TSuchForm::anyWord() const {
    return anyWordBox_->isChecked();
}

// ---------------------------------------------------------------------------
// Paint, size and activation

void TSuchForm::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The repaint rules change widgets, which must not happen inside a paint.
    if (!paintQueued_) {
        paintQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            paintQueued_ = false;
            FormPaint();
        });
    }
}

void TSuchForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormPaint();
}

void TSuchForm::FormPaint() {
    if (findBar_->text().isEmpty())
        findButton_->setEnabled(false);
    if (firstPaintPending_)
        firstPaintSetUp();
    if (!listBuildRunning_) {
        loadTextButton_->setEnabled(databaseTextLoadable());
        searchBar_->setEnabled(true);
        if (!searchentry::trimmedSearchText(searchBar_->text()).isEmpty())
            okButton_->setEnabled(true);
    }
    if (!searchBar_->hasFocus() && !viewerMemo_->toPlainText().isEmpty())
        viewerMemo_->setFocus();
}

void TSuchForm::firstPaintSetUp() {
    hideListBuilderControls();
    viewerMemo_->setToolTip(QStringLiteral(
        "Doppelklick markiert ganze Zeile und fügt sie in das Suchfeld auf der linken "
        "Seite ein.\r\nRechter Maustastenklick, markierter Text kann über Popup-Menü "
        "eingefügt werden."));
    int height = startHeight_;
    int width = startWidth_;
    if ((height <= 0 || width <= 0) && env_.settings) {
        height = platform::settings::readInteger(*env_.settings, platform::settings::kSHoehe, 500);
        width = platform::settings::readInteger(*env_.settings, platform::settings::kSWeite, 1024);
    }
    if (height > 0 && width > 0)
        resize(width, height);
    searchBar_->setFocus();
    hintLabel_->setText(
        QStringLiteral("Geben Sie oben den Text ein, den Sie suchen.   Bei der Suche\r\nnach einem "
                       "Pfadeintrag mit Dateinamen, setzen Sie das Raute-\r\nZeichen # davor:     "
                       "#C:\\Windows\\Dies ist ein Beispiel.odt"));
    sortedListButton_->setEnabled(false);
    webButton_->setEnabled(false);
    okButton_->setEnabled(false);
    siteLabel_->setEnabled(false);
    webTextLabel_->setEnabled(false);
    topicBox_->setEnabled(false);
    siteList_->setEnabled(false);
    colourListBoxes(false);

    if (QFileInfo::exists(siteFilePath())) {
        fillTopicsFromSiteFile();
    } else {
        siteList_->clear();
    }

    int splitterPos = kDefaultSplitterPos;
    if (env_.settings)
        splitterPos = platform::settings::readInteger(
            *env_.settings, platform::settings::kSplitterPos, kDefaultSplitterPos);
    const int total = qMax(splitter_->width(), width > 0 ? width : this->width());
    splitter_->setSizes({splitterPos, qMax(1, total - splitterPos - splitter_->handleWidth())});
    leftPanel_->resize(splitterPos, leftPanel_->height());
    firstPaintPending_ = false;
}

void TSuchForm::fillTopicsFromSiteFile() {
    const std::optional<websites::WebSiteFile> file = websites::WebSiteFile::load(siteFilePath());
    topicBox_->clear();
    if (file) {
        for (const QString& topic : file->topics())
            addSorted(topicBox_, topic);
    }
    int topic = -1;
    if (env_.settings)
        topic = platform::settings::readInteger(*env_.settings, platform::settings::kThemenWebseite,
                                                -1);
    topicBox_->setCurrentIndex(topic >= 0 && topic < topicBox_->count() ? topic : -1);
    TntComboBox1Click();
    int site = 0;
    if (env_.settings)
        site = platform::settings::readInteger(*env_.settings,
                                               platform::settings::kAusgewaehlteWebseite, 0);
    siteList_->setCurrentRow(site >= 0 && site < siteList_->count() ? site : -1);
}

void TSuchForm::hideListBuilderControls() {
    for (const char* name :
         {"Label2", "Bevel5", "Label4", "ProgressBar1", "SortierteListenErstellenButton",
          "SortAbbrechenButton", "nurWoerterButton", "nurSaetzeButton", "WoerterUndSaetzeButton",
          "RadioGroup1"}) {
        if (auto* w = findChild<QWidget*>(QLatin1String(name)))
            w->hide();
    }
}

bool TSuchForm::databaseTextLoadable() const {
    if (databaseName_.isEmpty() || env_.programDirectory.isEmpty())
        return false;
    const QFileInfo text(database::databaseTextPath(env_.programDirectory, databaseName_));
    return text.exists() && text.size() >= 4;
}

QString TSuchForm::siteFilePath() const {
    return env_.programDirectory + kSiteFileName;
}

void TSuchForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TSuchForm::FormResize() {
    historyList_->hide();
    int h = height();
    int w = width();
    if (h < kMinimumHeight)
        h = kSnapHeight;
    if (w < kMinimumWidth)
        w = kMinimumWidth;
    if (h != height() || w != width())
        resize(w, h);
    placeMirrorBox();
}

void TSuchForm::placeMirrorBox() {
    viewerMemo_->setGeometry(viewer_->geometry());
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
    if (historyList_->isVisible())
        historyList_->hide();
}

void TSuchForm::ApplicationActivate() {
    if (!env_.settings || !env_.siblingEditionRunning || !env_.siblingEditionRunning())
        return;
    const QString control = env_.settings->read(platform::settings::kTrovexControl);
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
    const int x = mapFromGlobal(globalPosition).x();
    const int rightLeft = rightPanel_->mapTo(this, QPoint(0, 0)).x();
    if (x >= rightLeft && x <= rightLeft + rightPanel_->width())
        viewer_->setFocus();
    if (siteList_->isEnabled() && siteList_->isVisible()) {
        const int siteLeft = siteList_->mapTo(this, QPoint(0, 0)).x();
        if (x >= siteLeft && x <= siteLeft + siteList_->width())
            siteList_->setFocus();
    }
}

bool TSuchForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == searchBar_) {
        if (event->type() == QEvent::MouseButtonPress)
            TntEdit2Click();
        if (event->type() == QEvent::KeyPress) {
            historyList_->hide();
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                // Enter goes to "Lokale Suche", which runs only when enabled.
                if (okButton_->isEnabled()) {
                    okButton_->setFocus();
                    okButton_->click();
                }
                return true;
            }
        }
    } else if (watched == siteList_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            TntListBox1MouseMove();
        } else if (event->type() == QEvent::ToolTip) {
            // The hint follows the selected site, not the row under the pointer.
            if (!siteList_->toolTip().isEmpty())
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                                   siteList_->toolTip(), siteList_);
            return true;
        }
    } else if (watched == viewer_ && event->type() == QEvent::Resize) {
        placeMirrorBox();
    }
    return QDialog::eventFilter(watched, event);
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

void TSuchForm::CancelBtnClick() {
    if (searchRunning_) {
        searchCancelRequested_ = true;
        if (env_.stopPatience)
            env_.stopPatience();
    }
    auto* stopBuild = findChild<QPushButton*>(QStringLiteral("SortAbbrechenButton"));
    if (stopBuild && stopBuild->isEnabled() && stopBuild->isVisible())
        stopBuild->click();
    hideListBuilderControls();
    if (clearSearchUnderWay_)
        clearSearchUnderWay_();
    setModalResult(QDialog::Rejected);
}

void TSuchForm::SpeedButton1Click() {
    if (env_.launcher)
        env_.launcher->openWithDefaultHandler(env_.programDirectory +
                                              QStringLiteral("Trovex_ODT.pdf"));
}

void TSuchForm::SpeedButton2Click() {
    if (env_.showSettingsDialog)
        env_.showSettingsDialog();
}

void TSuchForm::Splitter1Moved(int position) {
    if (env_.settings)
        env_.settings->write(platform::settings::kSplitterPos, QString::number(position));
}

void TSuchForm::Timer1Timer() {
    ++abortWaitTicks_;
    if (abortRequested_) {
        listBuildRunning_ = false;
        if (auto* stopBuild = findChild<QPushButton*>(QStringLiteral("SortAbbrechenButton")))
            stopBuild->click();
        if (abortWaitTicks_ >= 10)
            abortWaitTimer_->stop();
    }
}

// ---------------------------------------------------------------------------
// The search bar

void TSuchForm::TntEdit2Change() {
    const QString text = searchBar_->text();
    const QString stripped = searchentry::withoutLeadingBlanks(text);
    if (stripped != text) {
        // Setting the text runs this handler again with the clean text.
        searchBar_->setText(stripped);
        return;
    }
    const QString trimmed = searchentry::trimmedSearchText(text);
    const bool isPhrase = searchentry::searchModeOf(trimmed) == searchentry::SearchMode::Phrase;
    phraseBox_->setChecked(isPhrase);
    anyWordBox_->setChecked(!isPhrase);
    pathOpened_ = false;
    if (searchentry::isPathEntry(trimmed))
        handlePathEntry(trimmed);
    webTextLabel_->setText(QStringLiteral("Suchtext: ") + text);
    applySearchTextState(trimmed);
}

void TSuchForm::handlePathEntry(const QString& trimmed) {
    const QString path = searchentry::pathWithoutDriveLetter(trimmed);
    if (searchentry::fileExtension(path).isEmpty() && env_.prompts)
        env_.prompts->information(searchentry::missingExtensionMessage(path));
    std::optional<QString> found;
    if (env_.driveMap)
        found = searchentry::locatePathEntry(trimmed, env_.programDirectory, *env_.driveMap);
    if (!found) {
        if (env_.prompts)
            env_.prompts->information(searchentry::notFoundMessage(trimmed.mid(1)));
        CancelBtnClick();
        return;
    }
    if (env_.prompts && env_.prompts->confirm(searchentry::openWithProgramQuestion())) {
        pathOpened_ = true;
        if (env_.launcher)
            env_.launcher->openWithDefaultHandler(*found);
    }
}

void TSuchForm::applySearchTextState(const QString& trimmed) {
    const bool hasText = !trimmed.isEmpty();
    if (!hasText)
        webTextLabel_->setText(QStringLiteral("Es wurde kein Text eingegeben!"));
    okButton_->setEnabled(hasText);
    webButton_->setEnabled(hasText);
    colourSearchButtons(hasText);
    topicBox_->setEnabled(hasText);
    siteList_->setEnabled(hasText);
    colourListBoxes(hasText);
    siteLabel_->setEnabled(hasText);
    webTextLabel_->setEnabled(hasText);
}

void TSuchForm::colourSearchButtons(bool enabled) {
    const QColor caption =
        enabled ? QColor(Qt::darkGreen)
                : colourOfSetting(env_.settings, platform::settings::kHinweistextFarbe, Qt::white);
    for (QPushButton* b : {okButton_, webButton_}) {
        QPalette palette = b->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, caption);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, caption);
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, caption);
        b->setPalette(palette);
    }
}

void TSuchForm::colourListBoxes(bool enabled) {
    const QColor base = enabled ? QApplication::palette().color(QPalette::Base) : kScrollBarColour;
    for (QWidget* w : {static_cast<QWidget*>(topicBox_), static_cast<QWidget*>(siteList_)}) {
        QPalette palette = w->palette();
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Base, base);
            palette.setColor(group, QPalette::Button, base);
        }
        w->setPalette(palette);
    }
}

void TSuchForm::PhraseCheckBoxClick() {
    anyWordBox_->setChecked(!phraseBox_->isChecked());
}

void TSuchForm::OderCheckBoxClick() {
    phraseBox_->setChecked(!anyWordBox_->isChecked());
}

void TSuchForm::TntEdit2Click() {
    if (historyList_->count() == 0)
        return;
    if (historyList_->isVisible()) {
        historyList_->hide();
        return;
    }
    placeHistoryList();
    historyList_->show();
    historyList_->raise();
}

void TSuchForm::placeHistoryList() {
    const QPoint below = searchBar_->mapTo(this, QPoint(0, searchBar_->height()));
    int height = kHistoryHeightBesideWebPanel;
    if (webPanel_->isHidden())
        height = bottomPanel_->y() - below.y() - kHistoryGapAboveBottomPanel;
    historyList_->setGeometry(below.x(), below.y(), searchBar_->width(), qMax(height, 20));
}

void TSuchForm::TntListBox2Click() {
    const QListWidgetItem* entry = historyList_->currentItem();
    if (!entry)
        return;
    searchBar_->setText(entry->text());
    historyList_->hide();
    searchBar_->setFocus();
    searchBar_->deselect();
    searchBar_->setCursorPosition(searchBar_->text().size());
}

void TSuchForm::Button1Click() {
    searchBar_->clear();
}

void TSuchForm::Button2Click() {
    findBar_->clear();
}

void TSuchForm::copyToClipboard(const QString& text) {
    clipboardEdit_->setText(text);
    clipboardEdit_->selectAll();
    clipboardEdit_->copy();
}

// ---------------------------------------------------------------------------
// The local search

void TSuchForm::OKBtnClick() {
    ++handlersRunning_;
    modalResult_ = QDialog::Accepted; // the button's own result
    closeAsked_ = true;
    runSearchEngine();

    if (const std::optional<QString> repaired =
            searchentry::withoutTrailingReplacementCharacter(searchBar_->text()))
        searchBar_->setText(*repaired);

    if (env_.settings &&
        env_.settings->read(platform::settings::kSuchwortInZwischenablage) == QLatin1String("1"))
        copyToClipboard(
            searchentry::clipboardTextAfterSearch(searchBar_->text(), phrase(), pathOpened_));

    if (anyWord()) {
        const int words = searchentry::wordCount(searchBar_->text());
        if (words > searchentry::kMaximumAnyWordCount) {
            if (env_.prompts)
                env_.prompts->information(searchentry::tooManyWordsMessage(words));
            modalResult_ = QDialog::Rejected;
        }
    }
    if (env_.stopPatience)
        env_.stopPatience();
    --handlersRunning_;
    finishHandler();
}

void TSuchForm::runSearchEngine() {
    // NeuSuche step 1, the window's side of it.
    if (env_.setMainStatus)
        env_.setMainStatus(QStringLiteral("Suche läuft..."));
    if (env_.startPatience)
        env_.startPatience();
    if (env_.raiseMainWindow)
        env_.raiseMainWindow();
    searchCancelRequested_ = false;
    searchRunning_ = true;

    platform::RunContext run;
    run.yield = [] { platform::yieldToEvents(); };
    run.pause = [](int ms) { platform::pauseWithEvents(ms); };
    run.cancelRequested = &searchCancelRequested_;
    run.prompts = env_.prompts;

    search::SearchEnvironment environment;
    environment.programDirectory = env_.programDirectory;
    environment.drives = env_.driveMap;
    environment.run = &run;
    environment.openPage = [this](const QString& page) {
        if (env_.settings && env_.launcher && env_.prompts)
            search::StarteInternetBrowser(page, *env_.settings, *env_.launcher, *env_.prompts);
    };
    environment.passStarted = [this](int pass) {
        if (pass != 2)
            return;
        TBinbeimSuchenForm* notice = searchingNoticeWindow();
        notice->setSearchText(searchBar_->text());
        notice->show();
        notice->raise();
    };

    search::SearchRequest request;
    request.databaseName = databaseName_;
    request.searchText = searchBar_->text();
    request.caseSensitive = caseSensitive();
    request.wholeWords = wholeWords();
    request.pathOpened = pathOpened_;

    lastOutcome_ = search::NeuSuche(request, session_, environment);

    if (lastOutcome_.emptySearchText) {
        if (clearSearchUnderWay_)
            clearSearchUnderWay_();
        return;
    }
    if (notice_)
        notice_->hide();
    if (clearSearchUnderWay_)
        clearSearchUnderWay_();
    modalResult_ = QDialog::Accepted;
}

// ---------------------------------------------------------------------------
// Web search

QString TSuchForm::selectedSite() const {
    const QListWidgetItem* site = siteList_->currentItem();
    return site && siteList_->currentRow() >= 0 ? site->text() : QString();
}

void TSuchForm::SuchImInternetBtnClick() {
    const QString text = searchBar_->text();
    const QString trimmed = searchentry::trimmedSearchText(text);
    if (webPanel_->isHidden()) {
        if (siteList_->count() > 0)
            siteList_->setCurrentRow(0);
        webPanel_->show();
        webTextLabel_->setText(trimmed.isEmpty()
                                   ? QStringLiteral("Suchtext: Es wurde kein Text eingegeben!")
                                   : QStringLiteral("Suchtext: ") + text);
        return;
    }
    webTextLabel_->setText(QStringLiteral("Suchtext: "));
    const QString site = selectedSite();
    if (site.isEmpty() || trimmed.isEmpty())
        return;
    if (env_.settings &&
        env_.settings->read(platform::settings::kSuchwortInZwischenablage) == QLatin1String("1"))
        copyToClipboard(trimmed);
    if (env_.settings && env_.launcher && env_.prompts)
        search::StarteInternetBrowser(search::webSearchAddress(site, text), *env_.settings,
                                      *env_.launcher, *env_.prompts);
    searchBar_->clear();
    if (!viewerMemo_->toPlainText().isEmpty())
        viewerMemo_->setFocus();
}

void TSuchForm::TntComboBox1Click() {
    siteList_->clear();
    const QString topic = topicBox_->currentIndex() >= 0 ? topicBox_->currentText() : QString();
    if (!topic.isEmpty()) {
        if (const std::optional<websites::WebSiteFile> file =
                websites::WebSiteFile::load(siteFilePath())) {
            for (const QString& site : file->sitesOfTopic(topic))
                addSorted(siteList_, site);
        }
    }
    if (siteList_->count() > 0)
        siteList_->setCurrentRow(0);
    writeSiteSelection();
}

void TSuchForm::TntListBox1Click() {
    writeSiteSelection();
}

void TSuchForm::TntListBox1MouseMove() {
    if (const QListWidgetItem* site = siteList_->currentItem())
        siteList_->setToolTip(websites::siteHint(site->text()));
}

void TSuchForm::writeSiteSelection() {
    if (!env_.settings)
        return;
    env_.settings->write(platform::settings::kThemenWebseite,
                         QString::number(topicBox_->currentIndex()));
    env_.settings->write(platform::settings::kAusgewaehlteWebseite,
                         QString::number(siteList_->currentRow()));
}
