// Index runs from the main window: the two buttons, the close/abort button,
// and the indicators while a run works.
#include "main_window.h"

#include "new_database_dialog.h"
#include "unreadable_documents.h"

#include "database/drive_file_list.h"
#include "database/generation_switch.h"
#include "database/run_scratch.h"
#include "indexing/index_run.h"
#include "jobs/job_runner.h"
#include "platform/program_directory.h"
#include "textio/windows1252.h"
#include "window_jobs.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace app {

void MainWindow::setRunButtonsEnabled(bool enabled) {
    searchButton_->setEnabled(enabled);
    newDatabaseButton_->setEnabled(enabled);
    reindexButton_->setEnabled(enabled);
}

// A status that is not the end of the work: the status line no longer says
// "Fertig mit der ...".
void MainWindow::showRunStatus(const QString& text) {
    statusLine_->setText(text);
    if (runState_ == RunState::Finished)
        runState_ = RunState::Idle;
}

void MainWindow::onReindexClicked() {
    abortRequested_ = false;
    reindexSelectedDatabase();
    // A run under way keeps "Abbruch" until its end.
    if (!jobs_->running())
        closeButton_->setText(QStringLiteral("Schli&eßen"));
}

void MainWindow::reindexSelectedDatabase() {
    updateRunActive_ = true;
    updateCounter_ = 0;
    const int index = selectedIndex();
    if (index >= 0)
        workingDatabaseName_ = textio::ansiView(textio::ansiBytes(catalogue_->item(index)->text()));
    if (index < 0) {
        services_.prompts.information(
            catalogue_->count() == 0
                ? QStringLiteral("Es existiert noch keine Datenbank! Betätigen Sie bitte den "
                                 "Schalter \"Neue Datenbank erstellen\".")
                : QStringLiteral("Sie müssen zuerst eine Datenbank auswählen! Mit linker "
                                 "Maustaste anklicken!"));
    } else {
        updateMode_ = true;
        onNewDatabaseClicked();
    }
    updateRunActive_ = false;
}

void MainWindow::onNewDatabaseClicked() {
    NewDatabaseDialog* dialog = windows_.newDatabaseDialog;
    if (!dialog || running_ || jobs_->running())
        return;
    // The viewer lets go of the database text, which the run rewrites.
    resetSearchWindowViewer();

    abortRequested_ = false;
    abortedMessage_ = false;
    indexedFileCount_ = 0;
    dialog->clearForRun();
    showRunStatus(QString());
    progressLine_->clear();

    if (updateMode_) {
        const auto stored =
            indexing::readStoredRunInputs(services_.programDirectory, workingDatabaseName_);
        dialog->prefillForUpdate(workingDatabaseName_, stored ? stored->folder : QString(),
                                 stored ? stored->patternText : QString());
    }
    dialog->setUpdateMode(updateMode_);
    dialog->setCatalogueNames(catalogueEntries());
    const int answer = services_.runModal(*dialog);

    if (answer != QDialog::Accepted) {
        // Whatever the answer, the scratch of runs that are gone is removed;
        // a confirmed run does it as its first step (IndexRun::begin).
        database::removeAbandonedScratch(services_.programDirectory);
        if (const auto problem = platform::makeUnpackDirectory(services_.programDirectory))
            services_.prompts.warning(*problem);
        progressTimer_->stop();
        updateMode_ = false;
        return;
    }

    runStartTick_ = services_.clock.milliseconds();
    indexedFileCount_ = 0;
    progressTimer_->start();
    patience_.reset();
    patienceTimer_->start();

    const indexing::IndexRunRequest request{dialog->databaseName(), dialog->folder(),
                                            dialog->patterns(), updateMode_};
    // The run reports from its thread; the window shows it on its own.
    platform::RunContext context = windowjobs::jobContext(*jobs_, services_, {});
    indexing::IndexProgress progress;
    progress.caption = [this](const QString& text) {
        jobs_->post([this, text] { setWindowTitle(text); });
    };
    progress.status = [this](const QString& text) {
        jobs_->post([this, text] { statusLine_->setText(text); });
    };
    progress.listedFiles = [this](qint64 count) {
        jobs_->post([this, count] { indexedFileCount_ = count; });
    };
    // A document that cannot be read does not stop the run: the status line
    // names it, and one box after the run lists them all.
    progress.notice = [this](const QString& text) {
        jobs_->post([this, text] { statusLine_->setText(text); });
    };
    progress.message = [this](const indexing::IndexMessage& message) {
        jobs_->post([this, message] {
            if (message.warning())
                services_.prompts.warning(message.text);
            else
                services_.prompts.information(message.text);
        });
    };
    run_ = std::make_unique<indexing::IndexRun>(services_.programDirectory, services_.drives,
                                                services_.settings, context, progress);
    run_->setClock([this] { return services_.clock.milliseconds(); });
    if (!run_->begin(request)) {
        // Another run holds the database (or the name cannot be one):
        // nothing was touched.
        progressTimer_->stop();
        patienceTimer_->stop();
        patienceLabel_->clear();
        updateMode_ = false;
        showRunStatus(QString());
        services_.prompts.warning(run_->refusal());
        return;
    }
    running_ = true;
    runDrive_ = request.folder.at(0);

    if (dialog->useTool()) {
        startFileListTool();
        return;
    }
    setRunButtonsEnabled(false);
    readListAndFinish(false);
}

// Reading the list, the builder, and the finish; the monitor calls it once
// the tool has written a new list.
void MainWindow::readListAndFinish(bool startedByMonitor) {
    runState_ = RunState::Indexing;
    scannerNotice_.reset();
    scannerTimer_->start();
    closeButton_->setText(QStringLiteral("&Abbruch"));
    // The run works on its thread; the window goes on and shows its reports.
    auto listed = std::make_shared<bool>(false);
    const bool started = windowjobs::start(
        *jobs_, services_,
        [this, listed](const platform::RunContext&) {
            *listed = run_->readDriveList();
            jobs_->post([this] {
                running_ = false;
                closeButton_->setEnabled(true);
                closeButton_->setText(QStringLiteral("Schli&eßen"));
            });
            // Nothing was indexed and no database was made: no log is left
            // behind for a database that does not exist.
            if (!*listed && run_->driveListMissing())
                run_->end();
            else
                run_->finish();
        },
        [this, startedByMonitor, listed] { endIndexRun(startedByMonitor, *listed); });
    // Only one run at a time: the buttons that start one are off meanwhile.
    Q_ASSERT(started);
    Q_UNUSED(started);
}

bool MainWindow::indexRunUnderWay() const {
    return jobs_->running();
}

void MainWindow::endIndexRun(bool startedByMonitor, bool listed) {
    if (!listed && run_->driveListMissing()) {
        reportMissingDriveList();
    } else if (startedByMonitor && !run_->aborted() && run_->writeError().isEmpty()) {
        statusLine_->setText(QStringLiteral("Fertig mit der Indizierung.."));
    }
    // A run that read its list has ended with "Fertig mit der ..." in the
    // status line.
    runState_ = listed ? RunState::Finished : RunState::Idle;
    finishWindowSide();
    if (!run_->skippedDocuments().isEmpty())
        services_.prompts.information(skippedDocumentsMessage(run_->skippedDocuments()));
    Q_EMIT indexRunEnded();
}

void MainWindow::reportMissingDriveList() {
    const QString name = database::driveFileListName(runDrive_);
    showRunStatus(QStringLiteral("Indizierung nicht möglich: Die Dateiliste fehlt."));
    services_.prompts.information(
        QStringLiteral("Die Dateiliste \"") + name + QStringLiteral("\" für das Laufwerk \"") +
        runDrive_ + QStringLiteral("\" wurde nicht gefunden. Die Datenbank wurde nicht erstellt."));
}

void MainWindow::finishWindowSide() {
    // The scanner notice belongs to the run; left running it would keep
    // setting the caption to "-" long after the run where no scanner runs.
    scannerTimer_->stop();
    setWindowTitle(QString());
    patienceLabel_->clear();
    patienceTimer_->stop();
    readDatabaseNames();
    setRunButtonsEnabled(true);
    closeButton_->setEnabled(true);
    progressTimer_->stop();
    updateMode_ = false;
}

void MainWindow::onCloseOrAbortClicked() {
    if (!running_ && !listBuildRunning_ && !updateRunActive_) {
        close();
        return;
    }
    if (updateRunActive_) {
        showRunStatus(QStringLiteral("Aktualisierung wurde abgebrochen! "));
        abortRequested_ = true;
        updateRunActive_ = false;
    }
    if (listBuildRunning_) {
        closeButton_->setText(QStringLiteral("Schli&eßen"));
        abortRequested_ = true;
        listBuildRunning_ = false;
    }
    if (running_) {
        showRunStatus(
            QStringLiteral("Indizierung wurde abgebrochen! Die Daten werden gespeichert"));
        abortRequested_ = true;
        running_ = false;
        closeButton_->setEnabled(false);
    }
    // Whichever way it was asked for, a run under way stops.
    if (abortRequested_ && run_)
        run_->requestAbort();
    if (runState_ == RunState::Finished) {
        abortedMessage_ = true;
        setRunButtonsEnabled(true);
        closeButton_->setEnabled(true);
    }
}

void MainWindow::onProgressTick() {
    elapsedText_ = filelist::elapsedTimeText(
        filelist::elapsedSeconds(runStartTick_, services_.clock.milliseconds()));
    progressLine_->setText(filelist::progressLineText(indexedFileCount_, elapsedText_));
}

void MainWindow::placePatienceLabel() {
    const QRect closeButton(closeButton_->mapTo(centralWidget(), QPoint(0, 0)),
                            closeButton_->size());
    patienceLabel_->move(filelist::patienceLabelPosition(closeButton, statusLine_->y()));
    patienceLabel_->raise();
}

void MainWindow::onPatienceTick() {
    placePatienceLabel();
    patienceLabel_->setText(patience_.advance());
    patienceLabel_->adjustSize();
    placePatienceLabel();
}

void MainWindow::onScannerCheckTick() {
    filelist::ScannerNotice::Inputs in;
    in.scannerRunning =
        services_.processes.isRunning(filelist::ScannerNotice::scannerProcessName());
    in.statusText = statusLine_->text();
    in.caption = windowTitle();
    in.updateMode = updateMode_;
    const auto out = scannerNotice_.tick(in);
    if (out.stopTimer)
        scannerTimer_->stop();
    if (out.caption)
        setWindowTitle(*out.caption);
    if (out.statusText)
        statusLine_->setText(*out.statusText);
}

} // namespace app
