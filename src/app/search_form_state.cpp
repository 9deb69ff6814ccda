// What other windows set and read of the search window: its colours, the
// viewer's font and captions, the history and the search options.
#include "search_form.h"

#include "binbeimsuchen_form.h"

#include "widgets/list_builder_panel.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"
#include "widgets/web_site_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

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

void TSuchForm::applyColours(const widgets::WindowColours& colours) {
    applyBackgroundColour(colours.background);
    applyHintTextColour(colours.hintText);
}

void TSuchForm::applyBackgroundColour(const QColor& colour) {
    for (QWidget* part : QList<QWidget*>{this, leftPanel_, viewerPanel_, bottomPanel_, webPanel_})
        widgets::setBackgroundColour(part, colour);
    // The flat title lies on the window's colour, in black or white to suit.
    QPalette title = titleButton_->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        title.setColor(group, QPalette::ButtonText, widgets::blackOrWhiteOn(colour));
    titleButton_->setPalette(title);
    applyHintTextColour(hintText_);
}

void TSuchForm::applyHintTextColour(const QColor& colour) {
    hintText_ = colour;
    for (QWidget* hint : QList<QWidget*>{caseBox_, wholeWordBox_, hintLabel_, anyWordBox_,
                                         phraseBox_, helpButton_, settingsButton_})
        widgets::setTextColour(hint, colour);
    listBuilder_->colourHintTexts(colour);
    viewerPanel_->colourHintTexts(colour);
    webPanel_->colourHintTexts(colour);
}

void TSuchForm::setViewerFontSize(int points) {
    viewerPanel_->setFontSize(points);
}

int TSuchForm::viewerFontSize() const {
    return viewerPanel_->fontSize();
}

void TSuchForm::setViewerHintShown(bool shown) {
    viewerPanel_->setHintShownAtCursor(shown);
}

bool TSuchForm::viewerHintShown() const {
    return viewerPanel_->hintShownAtCursor();
}

void TSuchForm::showViewerSampleText(const QString& text) {
    if (!viewerPanel_->mirrorHasText())
        viewerPanel_->setMirrorText(text);
}

void TSuchForm::clearDatabaseLabels() {
    viewerPanel_->clearCaptions();
}

void TSuchForm::setSortedListButtonEnabled(bool enabled) {
    sortedListButton_->setEnabled(enabled);
}

void TSuchForm::showDatabaseCaption(const QString& text) {
    viewerPanel_->setCaption(text);
}

QString TSuchForm::databaseCaption() const {
    return viewerPanel_->caption();
}

void TSuchForm::clearFindText() {
    viewerPanel_->clearFindText();
}

void TSuchForm::setHistory(const QStringList& entries) {
    searchBar_->setHistory(entries);
}

QStringList TSuchForm::history() const {
    return searchBar_->history();
}

void TSuchForm::hideHistory() {
    searchBar_->hideHistory();
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
