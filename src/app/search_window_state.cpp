// What other windows set and read of the search window: its colours, the
// viewer's font and captions, the history and the search options.
#include "search_window.h"

#include "searching_notice.h"

#include "widgets/list_builder_panel.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"
#include "widgets/web_site_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace app {

void SearchWindow::setStartSize(int height, int width) {
    startHeight_ = height;
    startWidth_ = width;
}

void SearchWindow::setSearchingNoticeWindow(SearchingNotice* notice) {
    notice_ = notice;
    if (notice_)
        connect(notice_, &SearchingNotice::cancelRequested, this,
                &SearchWindow::requestSearchCancel, Qt::UniqueConnection);
}

SearchingNotice* SearchWindow::searchingNoticeWindow() {
    if (!notice_)
        setSearchingNoticeWindow(new SearchingNotice(this));
    return notice_;
}

void SearchWindow::applyColours(const widgets::WindowColours& colours) {
    applyBackgroundColour(colours.background);
    applyHintTextColour(colours.hintText);
}

void SearchWindow::applyBackgroundColour(const QColor& colour) {
    for (QWidget* part : QList<QWidget*>{this, leftPanel_, viewerPanel_, bottomPanel_, webPanel_})
        widgets::setBackgroundColour(part, colour);
    // The flat title lies on the window's colour, in black or white to suit.
    QPalette title = titleButton_->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        title.setColor(group, QPalette::ButtonText, widgets::blackOrWhiteOn(colour));
    titleButton_->setPalette(title);
    applyHintTextColour(hintText_);
}

void SearchWindow::applyHintTextColour(const QColor& colour) {
    hintText_ = colour;
    for (QWidget* hint : QList<QWidget*>{caseBox_, wholeWordBox_, hintLabel_, anyWordBox_,
                                         phraseBox_, helpButton_, settingsButton_})
        widgets::setTextColour(hint, colour);
    listBuilder_->colourHintTexts(colour);
    viewerPanel_->colourHintTexts(colour);
    webPanel_->colourHintTexts(colour);
}

void SearchWindow::setViewerFontSize(int points) {
    viewerPanel_->setFontSize(points);
}

int SearchWindow::viewerFontSize() const {
    return viewerPanel_->fontSize();
}

void SearchWindow::setViewerHintShown(bool shown) {
    viewerPanel_->setHintShownAtCursor(shown);
}

bool SearchWindow::viewerHintShown() const {
    return viewerPanel_->hintShownAtCursor();
}

void SearchWindow::showViewerSampleText(const QString& text) {
    if (!viewerPanel_->mirrorHasText())
        viewerPanel_->setMirrorText(text);
}

void SearchWindow::clearDatabaseLabels() {
    viewerPanel_->clearCaptions();
}

void SearchWindow::setSortedListButtonEnabled(bool enabled) {
    sortedListButton_->setEnabled(enabled);
}

void SearchWindow::showDatabaseCaption(const QString& text) {
    viewerPanel_->setCaption(text);
}

QString SearchWindow::databaseCaption() const {
    return viewerPanel_->caption();
}

void SearchWindow::clearFindText() {
    viewerPanel_->clearFindText();
}

void SearchWindow::setHistory(const QStringList& entries) {
    searchBar_->setHistory(entries);
}

QStringList SearchWindow::history() const {
    return searchBar_->history();
}

void SearchWindow::hideHistory() {
    searchBar_->hideHistory();
}

QString SearchWindow::searchText() const {
    return searchBar_->text();
}

void SearchWindow::setSearchText(const QString& text) {
    searchBar_->setText(text);
}

bool SearchWindow::caseSensitive() const {
    return caseBox_->isChecked();
}

bool SearchWindow::wholeWords() const {
    return wholeWordBox_->isChecked();
}

bool SearchWindow::phrase() const {
    return phraseBox_->isChecked();
}

bool SearchWindow::anyWord() const {
    return anyWordBox_->isChecked();
}

} // namespace app
