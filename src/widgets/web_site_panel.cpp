#include "web_site_panel.h"

#include "object_names.h"
#include "site_list_delegate.h"
#include "window_colours.h"

#include "search/web_site_file.h"

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QToolTip>
#include <QVBoxLayout>

// The pictures live in this static library; the executable does not see
// their resource initialiser unless it is called, and the call must stand
// outside any namespace.
static void initSiteSymbols() {
    Q_INIT_RESOURCE(site_symbols);
}

namespace widgets {

namespace names = objectnames::web_site_panel;

namespace {

// The grey that Windows gives scroll bars; disabled site controls wear it.
const QColor kScrollBarColour(0xC8, 0xC8, 0xC8);

bool sortsAfter(const QString& entry, const QString& text) {
    return QString::compare(entry, text, Qt::CaseInsensitive) > 0;
}

} // namespace

WebSitePanel::WebSitePanel(QWidget* parent)
    : QFrame(parent) {
    initSiteSymbols();
    named(this, names::panel);
    setFrameShape(QFrame::StyledPanel);
    captionLabel_ = named(new QLabel(this), names::caption);
    captionLabel_->setWordWrap(true);
    promptLabel_ =
        named(new QLabel(QStringLiteral("Thema und Webseite auswählen:"), this), names::hint);
    topicBox_ = named(new QComboBox(this), names::topics);
    siteList_ = named(new QListWidget(this), names::sites);
    // Mouse moves and hint requests reach the list's viewport, not the list.
    siteList_->viewport()->setMouseTracking(true);
    siteList_->viewport()->installEventFilter(this);
    delegate_ =
        new SiteListDelegate(QPixmap(QStringLiteral(":/site_symbols/direct_search_site.png")),
                             QPixmap(QStringLiteral(":/site_symbols/paste_site.png")), siteList_);
    siteList_->setItemDelegate(delegate_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captionLabel_);
    layout->addWidget(promptLabel_);
    layout->addWidget(topicBox_);
    layout->addWidget(siteList_, 1);

    connect(delegate_, &SiteListDelegate::aboutToDrawRow, this, &WebSitePanel::aboutToDrawSite);
    connect(topicBox_, &QComboBox::activated, this, &WebSitePanel::topicChosen);
    connect(siteList_, &QListWidget::itemClicked, this, &WebSitePanel::siteClicked);
}

void WebSitePanel::setCaption(const QString& text) {
    captionLabel_->setText(text);
}

QString WebSitePanel::caption() const {
    return captionLabel_->text();
}

void WebSitePanel::setTopics(const QStringList& topics) {
    topicBox_->clear();
    for (const QString& topic : topics) {
        int row = 0;
        while (row < topicBox_->count() && !sortsAfter(topicBox_->itemText(row), topic))
            ++row;
        topicBox_->insertItem(row, topic);
    }
}

void WebSitePanel::setSites(const QStringList& sites) {
    siteList_->clear();
    for (const QString& site : sites) {
        int row = 0;
        while (row < siteList_->count() && !sortsAfter(siteList_->item(row)->text(), site))
            ++row;
        siteList_->insertItem(row, site);
    }
}

int WebSitePanel::topicCount() const {
    return topicBox_->count();
}

int WebSitePanel::siteCount() const {
    return siteList_->count();
}

int WebSitePanel::currentTopic() const {
    return topicBox_->currentIndex();
}

QString WebSitePanel::currentTopicText() const {
    return topicBox_->currentIndex() >= 0 ? topicBox_->currentText() : QString();
}

void WebSitePanel::setCurrentTopic(int index) {
    topicBox_->setCurrentIndex(index);
}

int WebSitePanel::currentSite() const {
    return siteList_->currentRow();
}

void WebSitePanel::setCurrentSite(int row) {
    siteList_->setCurrentRow(row);
}

QString WebSitePanel::selectedSite() const {
    const QListWidgetItem* site = siteList_->currentItem();
    return site && siteList_->currentRow() >= 0 ? site->text() : QString();
}

void WebSitePanel::setInputEnabled(bool enabled) {
    topicBox_->setEnabled(enabled);
    siteList_->setEnabled(enabled);
    colourLists(enabled);
    promptLabel_->setEnabled(enabled);
    captionLabel_->setEnabled(enabled);
}

void WebSitePanel::colourLists(bool enabled) {
    const QColor base = enabled ? QApplication::palette().color(QPalette::Base) : kScrollBarColour;
    for (QWidget* list : QList<QWidget*>{topicBox_, siteList_}) {
        QPalette palette = list->palette();
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Base, base);
            palette.setColor(group, QPalette::Button, base);
        }
        list->setPalette(palette);
    }
}

void WebSitePanel::setSelectionColour(const QColor& colour) {
    delegate_->setSelectionColour(colour);
}

void WebSitePanel::colourHintTexts(const QColor& colour) {
    setTextColour(promptLabel_, colour);
    setTextColour(captionLabel_, colour);
}

void WebSitePanel::showHintOfSelectedSite() {
    if (const QListWidgetItem* site = siteList_->currentItem())
        siteList_->setToolTip(websites::siteHint(site->text()));
}

void WebSitePanel::focusSitesForWheelAt(const QPoint& globalPosition) {
    if (!siteList_->isEnabled() || !siteList_->isVisible())
        return;
    const int x = siteList_->mapFromGlobal(globalPosition).x();
    if (x >= 0 && x <= siteList_->width())
        siteList_->setFocus();
}

bool WebSitePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == siteList_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            Q_EMIT pointerMovedOverSites();
        } else if (event->type() == QEvent::ToolTip) {
            // The hint follows the selected site, not the row under the pointer.
            if (!siteList_->toolTip().isEmpty())
                QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                                   siteList_->toolTip(), siteList_);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace widgets
