// The web search of the search window: topics and sites from the user's site
// file, and "Suche im Internet".
#include "search_window.h"

#include "platform/settings_values.h"
#include "search/browser_launch.h"
#include "search/search_term_entry.h"
#include "search/web_site_file.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"
#include "widgets/web_site_panel.h"

namespace app {

namespace {

const QString kSiteFileName = QStringLiteral("Adressen_Webseiten.txt");

} // namespace

QString SearchWindow::siteFilePath() const {
    return services_.programDirectory + kSiteFileName;
}

void SearchWindow::fillTopicsFromSiteFile() {
    const std::optional<websites::WebSiteFile> file = websites::WebSiteFile::load(siteFilePath());
    webPanel_->setTopics(file ? file->topics() : QStringList());
    const int topic =
        platform::settings::readInteger(services_.settings, platform::settings::kWebSiteTopic, -1);
    webPanel_->setCurrentTopic(topic >= 0 && topic < webPanel_->topicCount() ? topic : -1);
    onTopicChosen();
    const int site = platform::settings::readInteger(services_.settings,
                                                     platform::settings::kSelectedWebSite, 0);
    webPanel_->setCurrentSite(site >= 0 && site < webPanel_->siteCount() ? site : -1);
}

void SearchWindow::onWebSearchClicked() {
    const QString text = searchBar_->text();
    const QString trimmed = searchentry::trimmedSearchText(text);
    if (webPanel_->isHidden()) {
        if (webPanel_->siteCount() > 0)
            webPanel_->setCurrentSite(0);
        webPanel_->show();
        webPanel_->setCaption(trimmed.isEmpty()
                                  ? QStringLiteral("Suchtext: Es wurde kein Text eingegeben!")
                                  : QStringLiteral("Suchtext: ") + text);
        return;
    }
    webPanel_->setCaption(QStringLiteral("Suchtext: "));
    const QString site = webPanel_->selectedSite();
    if (site.isEmpty() || trimmed.isEmpty())
        return;
    if (clipboardCopyWanted())
        copyToClipboard(trimmed);
    if (const std::optional<QString> warning = search::openInChosenBrowser(
            search::webSearchAddress(site, text), services_.settings, services_.shell))
        services_.prompts.warning(*warning);
    searchBar_->clear();
    if (viewerPanel_->mirrorHasText())
        viewerPanel_->focusMirror();
}

void SearchWindow::onTopicChosen() {
    QStringList sites;
    const QString topic = webPanel_->currentTopicText();
    if (!topic.isEmpty()) {
        if (const std::optional<websites::WebSiteFile> file =
                websites::WebSiteFile::load(siteFilePath()))
            sites = file->sitesOfTopic(topic);
    }
    webPanel_->setSites(sites);
    if (webPanel_->siteCount() > 0)
        webPanel_->setCurrentSite(0);
    writeSiteSelection();
}

void SearchWindow::onSiteClicked() {
    writeSiteSelection();
}

void SearchWindow::onPointerOverSites() {
    webPanel_->showHintOfSelectedSite();
}

void SearchWindow::writeSiteSelection() {
    services_.settings.write(platform::settings::kWebSiteTopic,
                             QString::number(webPanel_->currentTopic()));
    services_.settings.write(platform::settings::kSelectedWebSite,
                             QString::number(webPanel_->currentSite()));
}

} // namespace app
