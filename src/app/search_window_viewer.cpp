// The search window's document viewer: loading the database text or the
// sorted list, mirroring each drawn page into the mirror box, the page's
// offset and document name beside the caption, and the bookmark.
#include "search_window.h"
#include "search_window_viewer_state.h"

#include "database/database_paths.h"
#include "database/generation_switch.h"
#include "database/search_history.h"
#include "viewer/bookmarks.h"
#include "viewer/mirror_text.h"
#include "viewer/title_display.h"
#include "widgets/document_view.h"
#include "widgets/mirror_box.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"

#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace app {

using widgets::DocumentView;
using widgets::MirrorBox;
using widgets::ViewerPanel;

namespace {

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// A file under 4 bytes holds no document block.
constexpr qint64 kSmallestText = 4;

} // namespace

void SearchWindow::connectViewerHandlers() {
    DocumentView* view = viewerPanel_->view();
    connect(view, &DocumentView::pageAboutToBeDrawn, this, &SearchWindow::startMirroredPage);
    connect(view, &DocumentView::lineDrawn, this, &SearchWindow::mirrorDrawnLine);
    connect(view, &DocumentView::pageDrawn, this, &SearchWindow::finishMirroredPage);
    connect(view, &DocumentView::textTransferRequested, this, &SearchWindow::appendToSearchText);

    connect(viewerPanel_, &ViewerPanel::findTextChanged, this, &SearchWindow::onFindTextChanged);
    connect(viewerPanel_, &ViewerPanel::findClicked, this, &SearchWindow::onFindClicked);
    connect(viewerPanel_, &ViewerPanel::findEnterPressed, this, &SearchWindow::onFindClicked);
    connect(viewerPanel_, &ViewerPanel::bookmarkClicked, this, &SearchWindow::onBookmarkClicked);

    MirrorBox* mirror = viewerPanel_->mirror();
    connect(mirror, &MirrorBox::doubleClicked, this, &SearchWindow::onMirrorDoubleClicked);
    connect(mirror, &MirrorBox::keyPressed, this, &SearchWindow::onMirrorKeyPressed);
    connect(mirror, &MirrorBox::rightButtonPressed, this,
            &SearchWindow::onMirrorRightButtonPressed);
    connect(mirror, &MirrorBox::popupEntryChosen, this, [this](MirrorBox::PopupEntry entry) {
        moveMirrorSelection(entry == MirrorBox::PopupEntry::TransferLeft ||
                                entry == MirrorBox::PopupEntry::InsertLeft,
                            entry == MirrorBox::PopupEntry::InsertLeft ||
                                entry == MirrorBox::PopupEntry::InsertRight);
    });

    connect(titleTimer_, &QTimer::timeout, this, &SearchWindow::onTitleTick);
    connect(loadTextButton_, &QPushButton::clicked, this, &SearchWindow::onLoadTextClicked);
    connect(sortedListButton_, &QPushButton::clicked, this, &SearchWindow::onLoadSortedListClicked);
}

// ---------------------------------------------------------------------------
// Loading

void SearchWindow::onLoadTextClicked() {
    const QString& directory = services_.programDirectory;
    database::completeInterruptedSwitch(directory, databaseName_);
    viewerState_->positions =
        viewer::FilePositions::load(database::filePositionListPath(directory, databaseName_));
    loadSearchHistoryOfDatabase();
    viewerState_->bookmark = viewer::readBookmark(services_.settings, databaseName_);

    sortedListShown_ = false;
    documentLoaded_ = false;
    viewerPanel_->setBookmarkButtonShown(true);
    viewerPanel_->setFindButtonEnabled(true);
    viewerPanel_->clearPageOffset();
    viewerPanel_->setCaption(QStringLiteral("Lade Dokument"));
    services_.pause(100); // so that the caption shows before a large file opens
    loadTextButton_->setEnabled(false);

    const QString text = database::databaseTextPath(directory, databaseName_);
    if (QFileInfo::exists(text)) {
        viewerPanel_->setCaption(QStringLiteral("DB: ") + quoted(databaseName_));
        openInViewer(text);
        sortedListButton_->setEnabled(
            QFileInfo::exists(database::sortedListPath(directory, databaseName_)));
    }

    loadTextButton_->setEnabled(true);
    viewerPanel_->focusViewer();
    onFindTextChanged();
    if (viewerPanel_->findText().isEmpty())
        viewerPanel_->setFindButtonEnabled(false);
    restoreBookmark();
}

void SearchWindow::onLoadSortedListClicked() {
    sortedListShown_ = true;
    viewerPanel_->setBookmarkButtonShown(false);
    documentLoaded_ = false;
    viewerPanel_->setFindButtonEnabled(true);
    const QString list = database::sortedListPath(services_.programDirectory, databaseName_);
    if (QFileInfo::exists(list)) {
        viewerPanel_->setCaption(QStringLiteral("DB: ") + quoted(databaseName_));
        openInViewer(list);
        viewerPanel_->setCaption(QStringLiteral("Sortierte Dokumentenliste von DB: ") +
                                 quoted(databaseName_));
        viewerPanel_->clearPageOffset();
    }
    onFindTextChanged();
}

// "Textinhalt laden" reads the history of the database again; a missing
// file empties it.
void SearchWindow::loadSearchHistoryOfDatabase() {
    searchBar_->setHistory(database::readSearchHistoryFile(
        database::searchHistoryPath(services_.programDirectory, databaseName_)));
}

void SearchWindow::openInViewer(const QString& fileName) {
    if (QFileInfo(fileName).size() < kSmallestText)
        viewerPanel_->setCaption(QStringLiteral("ODT-Dokument enthält keine Einträge:"));
    viewerState_->viewerFile = fileName;
    DocumentView* view = viewerPanel_->view();
    if (view->isOpen() && view->fileName() == fileName) {
        // The viewer keeps the file and its page; the page counts as drawn
        // again, so the document is loaded once more.
        mirrorShownPageAgain();
        return;
    }
    if (!view->openFile(fileName))
        services_.prompts.error(fileName + QStringLiteral(" kann nicht geöffnet werden."),
                                QStringLiteral("Error"));
}

void SearchWindow::restoreBookmark() {
    if (viewerState_->bookmark > 0 && documentLoaded_)
        viewerPanel_->view()->scrollToOffset(viewerState_->bookmark);
}

void SearchWindow::resetViewer() {
    titleTimer_->stop();
    viewerPanel_->resetViewer();
    // Lets go of the database text, which an index run may now replace.
    viewerState_->search.setFileName(QString());
    viewerState_->find.active = false;
    viewerState_->viewerFile.clear();
    documentLoaded_ = false;
}

// ---------------------------------------------------------------------------
// Page mirroring: the viewer tells each page it draws, row by row.

void SearchWindow::startMirroredPage(qint64) {
    viewerPanel_->mirror()->clear();
    viewerState_->pageText.clear();
}

void SearchWindow::mirrorDrawnLine(const QString& line) {
    documentLoaded_ = true;
    viewerState_->pageText += line;
    viewerState_->pageText += QLatin1Char('\n');
}

void SearchWindow::finishMirroredPage() {
    viewer::LetztesUmbruchZeicheEntfernen(viewerState_->pageText);
    viewerPanel_->mirror()->setPlainText(viewerState_->pageText);
    titleTimer_->start();
}

void SearchWindow::mirrorShownPageAgain() {
    const DocumentView* view = viewerPanel_->view();
    startMirroredPage(view->topOffset());
    for (const viewer::PageLine& line : view->pageLines())
        mirrorDrawnLine(viewer::mirrorLineText(line));
    finishMirroredPage();
}

// ---------------------------------------------------------------------------
// Title and bookmark

void SearchWindow::onTitleTick() {
    if (sortedListShown_)
        return;
    titleTimer_->stop();
    showPageTitle();
}

void SearchWindow::showPageTitle() {
    const qint64 top = viewerPanel_->view()->topOffset();
    const QLocale locale;
    const QString offset = viewer::formatTopOffset(top, locale);
    viewerPanel_->showPageOffset(offset);
    const bool sortedListInCaption = viewerPanel_->caption().contains(QStringLiteral("Sortierte "));
    const QString caption =
        viewer::titleCaption(top, viewerState_->positions, sortedListInCaption, locale);
    if (caption == offset)
        return;
    viewerPanel_->showPageOffset(viewer::fitCaption(
        caption, viewerPanel_->pageOffsetLeft(), viewerPanel_->width(),
        [this](QStringView text) { return viewerPanel_->pageOffsetTextWidth(text); }));
}

void SearchWindow::onBookmarkClicked() {
    if (documentLoaded_)
        viewer::writeBookmark(services_.settings, databaseName_, viewerPanel_->view()->topOffset());
}

} // namespace app
