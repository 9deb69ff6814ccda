// The sorted word and phrase list of the search window: its controls, the
// build with its progress, and how a build is stopped and the builder closed.
#include "search_window.h"
#include "window_jobs.h"

#include "database/database_paths.h"
#include "jobs/job_runner.h"
#include "lists/sorted_list_builder.h"
#include "widgets/list_builder_panel.h"
#include "widgets/search_bar.h"
#include "widgets/viewer_panel.h"
#include "widgets/web_site_panel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <optional>

namespace app {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

void SearchWindow::connectListBuilder() {
    connect(listBuilder_, &widgets::ListBuilderPanel::buildClicked, this,
            &SearchWindow::onBuildSortedListClicked);
    connect(listBuilder_, &widgets::ListBuilderPanel::stopClicked, this,
            &SearchWindow::onStopListBuildClicked);
}

void SearchWindow::showListBuilder() {
    listBuild_.open();
    listBuilder_->showControls();
    // The web-site panel comes back as it was when the builder closes.
    if (!webPanel_->isHidden())
        webPanelShownBeforeList_ = true;
    webPanel_->hide();
}

// The handler only starts the build; its end shows the outcome and gives
// the controls back.
void SearchWindow::onBuildSortedListClicked() {
    close_.hold(); // a close asked for meanwhile waits for the build
    listBuilder_->colourProgressGreen();
    resetViewer();
    viewerPanel_->clearPageOffset();
    listBuilder_->colourCaptionAsHintText();

    const QString textPath = database::databaseTextPath(services_.programDirectory, databaseName_);
    if (!QFileInfo::exists(textPath)) {
        services_.prompts.information(lists::noDocumentsMessage(databaseName_));
    } else if (!listBuild_.stopRequested()) {
        abortWaitTimer_->start();
        setWindowTitle(QStringLiteral("Sortierung von: ") + quoted(databaseName_) +
                       QStringLiteral(" läuft."));
        if (QFileInfo(textPath).size() > 4) {
            listBuilder_->setProgressPosition(0);
            listBuilder_->setCaption(QStringLiteral("Sortierte Liste von: ") + databaseName_ +
                                     QStringLiteral("_UTF8Dokument.txt"));
            startListBuild();
            return;
        }
        finishListBuild(true);
        return;
    }
    close_.release();
    finishHandler();
}

void SearchWindow::startListBuild() {
    lockControlsForListBuild();
    listBuild_.workStarted();

    lists::SortedListRequest request;
    request.programDirectory = services_.programDirectory;
    request.databaseName = databaseName_;
    request.kind = listBuilder_->listKind();
    request.locale = QLocale();

    // Read by the end only, after the work has left it.
    auto built = std::make_shared<std::optional<lists::ListBuildOutcome>>();
    const bool started = windowjobs::start(
        *jobs_, services_,
        [this, request, built](const platform::RunContext& run) {
            *built =
                lists::buildSortedList(request, run, [this](const lists::ListProgress& progress) {
                    jobs_->post([this, progress] {
                        listBuilder_->setProgressRange(progress.minimum, progress.maximum);
                        listBuilder_->setProgressPosition(progress.position);
                    });
                });
        },
        [this, built] { endListBuild(*built); });
    // Another job of the window still works (the abort wait gave the
    // controls back before a stopped build had ended): nothing is built.
    if (!started)
        endListBuild(std::nullopt);
}

void SearchWindow::endListBuild(const std::optional<lists::ListBuildOutcome>& built) {
    listBuild_.jobEnded();
    const bool made = built && showListBuildOutcome(*built);
    if (!built)
        listBuild_.outcomeShown();
    listBuilder_->fillProgress();
    services_.pause(100);
    finishListBuild(made);
}

void SearchWindow::finishListBuild(bool made) {
    if (listBuild_.endCaptionShown()) {
        unlockControlsAfterListBuild();
        listBuilder_->setProgressPosition(0);
        // A build that failed has said why in its box; "Fertig" would
        // tell the user the list is there.
        listBuilder_->setCaption(made ? QStringLiteral("Fertig")
                                      : QStringLiteral("Die Liste wurde nicht erstellt."));
        setWindowTitle(QString());
    }
    close_.release();
    finishHandler();
    Q_EMIT sortedListBuildEnded();
}

bool SearchWindow::showListBuildOutcome(const lists::ListBuildOutcome& outcome) {
    listBuild_.outcomeShown();
    loadTextButton_->setEnabled(true);

    switch (outcome.status) {
    case lists::ListBuildStatus::NoDocuments:
        // The text went away while the build was being prepared.
        services_.prompts.information(lists::noDocumentsMessage(databaseName_));
        break;
    case lists::ListBuildStatus::Failed:
    case lists::ListBuildStatus::Refused:
        services_.prompts.warning(outcome.error);
        break;
    case lists::ListBuildStatus::Written:
    case lists::ListBuildStatus::NothingToSort:
    case lists::ListBuildStatus::Stopped:
        break;
    }
    if (!outcome.warning.isEmpty())
        services_.prompts.warning(outcome.warning);
    return outcome.status != lists::ListBuildStatus::Failed &&
           outcome.status != lists::ListBuildStatus::Refused &&
           outcome.status != lists::ListBuildStatus::NoDocuments;
}

void SearchWindow::lockControlsForListBuild() {
    for (QWidget* control :
         QList<QWidget*>{sortedListButton_, loadTextButton_, searchBar_, caseBox_, wholeWordBox_,
                         settingsButton_, cancelButton_, okButton_})
        control->setEnabled(false);
    viewerPanel_->setFindControlsEnabled(false);
    listBuilder_->setBuildControlsEnabled(false);
}

// "Lokale Suche" comes back with the next change of the search bar, and
// "Sortierte Textliste laden" with the next document load.
void SearchWindow::unlockControlsAfterListBuild() {
    for (QWidget* control :
         QList<QWidget*>{searchBar_, caseBox_, wholeWordBox_, settingsButton_, cancelButton_})
        control->setEnabled(true);
    viewerPanel_->setFindControlsEnabled(true);
    listBuilder_->setBuildControlsEnabled(true);
}

void SearchWindow::onStopListBuildClicked() {
    if (listBuild_.requestStop()) {
        jobs_->cancel();
        // The build stops at its next check; the abort wait then closes.
        setWindowTitle(
            QStringLiteral("Abbruch durch Benutzer! Bitte Geduld! Ich höre gleich auf!"));
        return;
    }
    listBuilder_->hideControls();
    if (QFileInfo::exists(database::databaseTextPath(services_.programDirectory, databaseName_)))
        loadTextButton_->setEnabled(true);
    unlockControlsAfterListBuild();
    listBuilder_->setCaption(QStringLiteral("Sortierte Liste von: "));
    listBuilder_->setProgressPosition(0);
    setWindowTitle(QString());
    if (webPanelShownBeforeList_)
        webPanel_->show();
    webPanelShownBeforeList_ = false;
}

} // namespace app
