// The search window's search bar: what a change of its text sets, the path
// entry, the history drop-down and the search options.
#include "search_window.h"

#include "platform/settings_values.h"
#include "search/search_term_entry.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"
#include "widgets/web_site_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace app {

namespace {

constexpr int kHistoryHeightBesideWebPanel = 155;
constexpr int kHistoryGapAboveBottomPanel = 48;

} // namespace

void SearchWindow::onSearchTextChanged() {
    const QString text = searchBar_->text();
    const QString stripped = searchentry::withoutLeadingBlanks(text);
    if (stripped != text) {
        // Setting the text runs this handler again with the clean text,
        // which arrived as the text it was cut from.
        searchBar_->setText(stripped, searchBar_->lastArrival());
        return;
    }
    const QString trimmed = searchentry::trimmedSearchText(text);
    const bool isPhrase = searchentry::searchModeOf(trimmed) == searchentry::SearchMode::Phrase;
    phraseBox_->setChecked(isPhrase);
    anyWordBox_->setChecked(!isPhrase);
    pathOpened_ = false;
    // A path typed by hand is complete only when the user says so with Enter;
    // looked up at every key it would be "not found" from its fourth
    // character on, and the window would close.
    pathEntryPending_ = false;
    if (searchentry::isPathEntry(trimmed)) {
        if (searchBar_->lastArrival() == widgets::SearchBar::Arrival::Whole)
            handlePathEntry(trimmed);
        else
            pathEntryPending_ = true;
    }
    webPanel_->setCaption(QStringLiteral("Suchtext: ") + text);
    applySearchTextState(trimmed);
}

// Enter runs "Lokale Suche" when it is enabled; a path entry typed by hand
// is looked up first, and one that is not found closes the window instead.
void SearchWindow::onSearchEnterPressed() {
    if (pathEntryPending_) {
        pathEntryPending_ = false;
        if (!handlePathEntry(searchentry::trimmedSearchText(searchBar_->text())))
            return;
    }
    if (okButton_->isEnabled()) {
        okButton_->setFocus();
        okButton_->click();
    }
}

// False when the path was not found and the window is closing.
bool SearchWindow::handlePathEntry(const QString& trimmed) {
    platform::Prompts& prompts = services_.prompts;
    const QString path = searchentry::pathWithoutDriveLetter(trimmed);
    if (searchentry::fileExtension(path).isEmpty())
        prompts.information(searchentry::missingExtensionMessage(path),
                            searchentry::pathEntryMessageTitle());
    const std::optional<QString> found =
        searchentry::locatePathEntry(trimmed, services_.programDirectory, services_.drives);
    if (!found) {
        prompts.information(searchentry::notFoundMessage(trimmed.mid(1)),
                            searchentry::pathEntryMessageTitle());
        onCancelClicked();
        return false;
    }
    if (prompts.confirm(searchentry::openWithProgramQuestion())) {
        pathOpened_ = true;
        services_.shell.openWithDefaultHandler(*found);
    }
    return true;
}

void SearchWindow::applySearchTextState(const QString& trimmed) {
    const bool hasText = !trimmed.isEmpty();
    if (!hasText)
        webPanel_->setCaption(QStringLiteral("Es wurde kein Text eingegeben!"));
    okButton_->setEnabled(hasText);
    webButton_->setEnabled(hasText);
    colourSearchButtons(hasText);
    webPanel_->setInputEnabled(hasText);
}

void SearchWindow::colourSearchButtons(bool enabled) {
    const QColor hintText = widgets::plainColourSetting(
        services_.settings, platform::settings::kHinweistextFarbe, Qt::white);
    for (QPushButton* b : {okButton_, webButton_}) {
        QPalette palette = b->palette();
        // The hint-text colour is made for the window's background; the
        // caption sits on the button's face, where white hint text would
        // vanish. There it is made readable, then dimmed as disabled.
        const QColor face = palette.color(QPalette::Disabled, QPalette::Button);
        const QColor caption =
            enabled
                ? QColor(Qt::darkGreen)
                : widgets::disabledTextColour(widgets::readableTextColour(hintText, face), face);
        palette.setColor(QPalette::Active, QPalette::ButtonText, caption);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, caption);
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, caption);
        b->setPalette(palette);
    }
}

void SearchWindow::onPhraseClicked() {
    anyWordBox_->setChecked(!phraseBox_->isChecked());
}

void SearchWindow::onAnyWordClicked() {
    phraseBox_->setChecked(!anyWordBox_->isChecked());
}

void SearchWindow::onSearchBarPressed() {
    if (searchBar_->history().isEmpty())
        return;
    if (searchBar_->historyShown()) {
        searchBar_->hideHistory();
        return;
    }
    searchBar_->dropDownHistory(historyHeight());
}

// Beside the open web panel the history is short; otherwise it reaches down
// to just above the bottom row.
int SearchWindow::historyHeight() const {
    if (!webPanel_->isHidden())
        return kHistoryHeightBesideWebPanel;
    return bottomPanel_->y() - searchBar_->dropDownTop() - kHistoryGapAboveBottomPanel;
}

void SearchWindow::onHistoryEntryClicked() {
    searchBar_->takeChosenEntry();
}

void SearchWindow::onClearSearchClicked() {
    searchBar_->clear();
}

void SearchWindow::onClearFindClicked() {
    viewerPanel_->clearFindText();
}

bool SearchWindow::clipboardCopyWanted() const {
    return services_.settings.read(platform::settings::kSuchwortInZwischenablage) ==
           QLatin1String("1");
}

// The hidden clipboard field holds what was copied last; screen checks read it.
void SearchWindow::copyToClipboard(const QString& text) {
    clipboardEdit_->setText(text);
    services_.clipboard.setText(text);
}

} // namespace app
