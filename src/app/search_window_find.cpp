// The find in the viewer (the right-hand find bar and "Suchen"), and
// what the mirror box does with the mouse and the keys: lines and selected
// text go into the search bars.
#include "search_window.h"
#include "search_window_viewer_state.h"
#include "window_jobs.h"

#include "jobs/job_runner.h"
#include "search/search_engine.h"
#include "search/search_term_entry.h"
#include "textio/utf8.h"
#include "viewer/mirror_text.h"
#include "widgets/document_view.h"
#include "widgets/mirror_box.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"

#include <QCheckBox>

#include <exception>
#include <memory>

namespace app {

using widgets::DocumentView;
using widgets::MirrorBox;

namespace {

constexpr int kNotFoundFlashMilliseconds = 1000;
constexpr int kReselectLineMilliseconds = 500;

} // namespace

bool SearchWindow::findUnderWay() const {
    return viewerState_->work == ViewerSideState::Work::Find;
}

void SearchWindow::onFindClicked() {
    if (!documentLoaded_)
        return;
    findInViewer(!viewerState_->find.active);
}

void SearchWindow::onFindTextChanged() {
    const QString text = viewerPanel_->findText();
    viewerState_->find.changeText(text);
    if (text.isEmpty())
        viewerPanel_->setFindButtonEnabled(false);
    else if (documentLoaded_)
        viewerPanel_->setFindButtonEnabled(true);
}

void SearchWindow::findInViewer(bool first) {
    viewerPanel_->mirror()->clearSelection();
    // The caption goes blank, as a status text of other work (a list build)
    // would otherwise stand over the found page.
    setWindowTitle(QString());

    viewer::FindState& state = viewerState_->find;
    viewer::Search& search = viewerState_->search;
    state.text = textio::utf8EncodePerUnit(viewerPanel_->findText());
    search.setUmlautFolding(search::foldUmlautsSetting(services_.settings)
                                ? search::UmlautFolding::On
                                : search::UmlautFolding::Off);

    // The window takes no input until the find's end has been shown; the
    // find state and the search belong to the job until then.
    struct Found {
        viewer::FindOutcome outcome;
        bool failed = false;
        QString failure;
    };
    auto found = std::make_shared<Found>();
    setEnabled(false);
    const bool started = windowjobs::start(
        *jobs_, services_,
        [&state, &search, file = viewerState_->viewerFile, first,
         found](const platform::RunContext& run) {
            search.setRunContext(&run);
            try {
                found->outcome = viewer::findInViewerFile(state, search, file, first);
            } catch (const std::exception& error) {
                found->failed = true;
                found->failure = QString::fromLocal8Bit(error.what());
            }
            search.setRunContext(nullptr);
        },
        [this, found] {
            viewerState_->work = ViewerSideState::Work::None;
            setEnabled(true);
            showFindOutcome(found->outcome, found->failed, found->failure);
            Q_EMIT findEnded();
        });
    if (started)
        viewerState_->work = ViewerSideState::Work::Find;
    else
        setEnabled(true);
}

void SearchWindow::showFindOutcome(const viewer::FindOutcome& outcome, bool failed,
                                   const QString& failure) {
    if (failed) {
        if (!failure.isEmpty())
            services_.prompts.error(failure, QStringLiteral("Suche fehlgeschlagen"));
        viewerState_->find.active = false;
        return;
    }
    switch (outcome.kind) {
    case viewer::FindOutcome::CannotOpen:
        services_.prompts.error(outcome.message, QStringLiteral("Error"));
        return;
    case viewer::FindOutcome::Hit:
        showFindHit(outcome.start, outcome.length);
        return;
    case viewer::FindOutcome::NotFound:
        flashNotFound();
        return;
    }
}

// The hit is selected in the viewer, which redraws its page and so refills
// the mirror box; the same characters are then selected there, found from
// the hit's byte offset on that page.
void SearchWindow::showFindHit(qint64 start, qint64 length) {
    DocumentView* view = viewerPanel_->view();
    view->selectRange(start, length);
    viewerPanel_->setFindButtonEnabled(true);
    MirrorBox* mirror = viewerPanel_->mirror();
    if (const auto selection = viewer::mirrorSelectionOfRange(view->pageLines(), start, length))
        mirror->selectRange(selection->start, selection->length);
    mirror->setFocus();
}

void SearchWindow::flashNotFound() {
    viewerPanel_->setFindButtonEnabled(false);
    viewerPanel_->setFindButtonCaption(QStringLiteral("-"));
    services_.pause(kNotFoundFlashMilliseconds);
    viewerPanel_->setFindButtonEnabled(true);
    viewerPanel_->setFindButtonCaption(QStringLiteral("Suchen"));
    viewerPanel_->mirror()->setFocus();
}

// ---------------------------------------------------------------------------
// Mirror box input

void SearchWindow::onMirrorDoubleClicked() {
    MirrorBox* mirror = viewerPanel_->mirror();
    const QString line = mirror->selectLineAtCaret();
    if (searchentry::trimmedSearchText(searchBar_->text()).isEmpty() && line.size() > 2) {
        const bool isPhrase = line.contains(QLatin1Char(' ')) || line.contains(QLatin1Char('\t'));
        phraseBox_->setChecked(isPhrase);
        anyWordBox_->setChecked(!isPhrase);
    }
    searchBar_->setText(line);
    services_.pause(kReselectLineMilliseconds);
    mirror->selectLineAtCaret();
}

void SearchWindow::onMirrorKeyPressed(int key) {
    if (key == Qt::Key_Tab) {
        viewerPanel_->focusFindBarAtEnd();
        return;
    }
    viewerPanel_->view()->handleNavigationKey(key);
}

void SearchWindow::onMirrorRightButtonPressed() {
    viewerPanel_->mirror()->enablePopupEntriesForSelection();
}

// The pop-up entries: "übertragen" replaces the bar's text by the
// selection, "einfügen" appends a blank and the selection.
void SearchWindow::moveMirrorSelection(bool intoLeftBar, bool append) {
    const QString selection = viewerPanel_->mirror()->selectedText();
    if (searchentry::trimmedSearchText(selection).isEmpty())
        return;
    if (intoLeftBar) {
        searchBar_->setText(append ? searchBar_->text() + QLatin1Char(' ') + selection : selection);
    } else {
        viewerPanel_->setFindText(append ? viewerPanel_->findText() + QLatin1Char(' ') + selection
                                         : selection);
    }
}

// The viewer's own "Text Übertragen".
void SearchWindow::appendToSearchText(const QString& text) {
    searchBar_->setText(searchBar_->text() + QLatin1Char(' ') + text);
}

} // namespace app
