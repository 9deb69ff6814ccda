// The local search of the search window: "Lokale Suche" runs the engine.
#include "search_window.h"

#include "searching_notice.h"
#include "window_jobs.h"

#include "search/browser_launch.h"
#include "search/search_engine.h"
#include "search/search_term_entry.h"
#include "widgets/search_bar.h"

namespace app {

// The handler only starts the search; its end closes the window with the
// result, as the click would have when the search ran inside it.
void SearchWindow::onLocalSearchClicked() {
    // A click while the search works changes nothing: it goes on alone.
    if (!search_.mayStart())
        return;
    close_.hold();                 // a close asked for meanwhile waits for the end
    close_.ask(QDialog::Accepted); // the button's own result
    if (!startSearchJob())
        finishLocalSearch();
}

void SearchWindow::finishLocalSearch() {
    if (const std::optional<QString> repaired =
            searchentry::withoutTrailingReplacementCharacter(searchBar_->text()))
        searchBar_->setText(*repaired);

    if (clipboardCopyWanted())
        copyToClipboard(
            searchentry::clipboardTextAfterSearch(searchBar_->text(), phrase(), pathOpened_));

    if (anyWord()) {
        const int words = searchentry::wordCount(searchBar_->text());
        if (words > searchentry::kMaximumAnyWordCount) {
            services_.prompts.information(searchentry::tooManyWordsMessage(words));
            close_.setResult(QDialog::Rejected);
        }
    }
    host_.stopPatienceMarks();
    close_.release();
    finishHandler();
}

bool SearchWindow::startSearchJob() {
    host_.showStatus(QStringLiteral("Suche läuft..."));
    host_.startPatienceMarks();
    host_.bringToFront();
    search_.starting();

    // The engine works on the job's thread; its pages, notices and the
    // searching notice reach the window on its own.
    search::SearchEnvironment environment;
    environment.programDirectory = services_.programDirectory;
    environment.drives = &services_.drives;
    environment.openPage = [this](const QString& page) {
        jobs_->post([this, page] {
            if (const std::optional<QString> warning =
                    search::openInChosenBrowser(page, services_.settings, services_.shell))
                services_.prompts.warning(*warning);
        });
    };
    environment.passStarted = [this](int pass) {
        if (pass != 2)
            return;
        jobs_->post([this] {
            SearchingNotice* notice = searchingNoticeWindow();
            notice->setSearchText(searchBar_->text());
            notice->show();
            notice->raise();
        });
    };
    environment.notice = [this](const search::SearchNotice& notice) {
        jobs_->post([this, notice] {
            const QString text = search::searchNoticeText(notice, services_.programDirectory);
            if (search::isWarning(notice))
                services_.prompts.warning(text);
            else
                services_.prompts.information(text);
        });
    };

    search::SearchRequest request;
    request.databaseName = databaseName_;
    request.searchText = searchBar_->text();
    request.caseSensitive = caseSensitive();
    request.wholeWords = wholeWords();
    request.foldUmlauts = search::foldUmlautsSetting(services_.settings);
    request.pathOpened = pathOpened_;

    // The outcome and the session belong to the job until its end comes.
    const bool started = windowjobs::start(
        *jobs_, services_,
        [this, request, environment](const platform::RunContext& run) mutable {
            environment.run = &run;
            lastOutcome_ = search::searchDatabase(request, session_, environment);
        },
        [this] { endSearchJob(); });
    search_.started(started);
    return started;
}

void SearchWindow::endSearchJob() {
    search_.ended();
    if (!lastOutcome_.emptySearchText) {
        if (notice_)
            notice_->hide();
        close_.setResult(QDialog::Accepted);
    }
    host_.setSearchUnderWay(false);
    finishLocalSearch();
    Q_EMIT localSearchEnded();
}

} // namespace app
