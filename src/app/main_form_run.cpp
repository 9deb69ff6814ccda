// Index runs from the main window: the two buttons, the close/abort button,
// and the indicators while a run works.
#include "main_form.h"

#include "ok_bottom_dlg.h"
#include "search_form.h"

#include "database/drive_file_list.h"
#include "filelist/process_probe.h"
#include "indexing/index_run.h"
#include "platform/program_directory.h"
#include "textio/windows1252.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <chrono>

qint64 TMainForm_TX_ODT::tickCount() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QStringList TMainForm_TX_ODT::catalogueNames() const {
    QStringList names;
    for (int row = 0; row < listBox1_->count(); ++row)
        names.append(listBox1_->item(row)->text());
    return names;
}

void TMainForm_TX_ODT::setRunButtonsEnabled(bool enabled) {
    suchenBtn_->setEnabled(enabled);
    neuErstellenBtn_->setEnabled(enabled);
    erneutIndiziereBtn_->setEnabled(enabled);
}

void TMainForm_TX_ODT::ErneutIndiziereBtnClick() {
    abortRequested_ = false;
    aktualisieren1Click();
    bitBtn2_->setText(QStringLiteral("Schli&eßen"));
}

void TMainForm_TX_ODT::aktualisieren1Click() {
    updateRunActive_ = true;
    updateCounter_ = 0;
    const int index = selectedIndex();
    if (index >= 0)
        workingDatabaseName_ = textio::ansiView(textio::ansiBytes(listBox1_->item(index)->text()));
    if (index < 0) {
        services_.prompts.information(
            listBox1_->count() == 0
                ? QStringLiteral("Es existiert noch keine Datenbank! Betätigen Sie bitte den "
                                 "Schalter \"Neue Datenbank erstellen\".")
                : QStringLiteral("Sie müssen zuerst eine Datenbank auswählen! Mit linker "
                                 "Maustaste anklicken!"));
    } else {
        updateMode_ = true;
        NeuErstellenBtnClick();
    }
    updateRunActive_ = false;
}

void TMainForm_TX_ODT::NeuErstellenBtnClick() {
    TOKBottomDlg* dialog = windows_.newDatabaseDialog;
    if (!dialog || running_)
        return;
    // The viewer lets go of the database text, which the run rewrites.
    clearSearchWindowDocument();

    abortRequested_ = false;
    abortedMessage_ = false;
    indexedFileCount_ = 0;
    dialog->clearForRun();
    label1_->clear();
    label2_->clear();

    if (updateMode_) {
        const auto stored =
            indexing::readStoredRunInputs(services_.programDirectory, workingDatabaseName_);
        dialog->prefillForUpdate(workingDatabaseName_, stored ? stored->folder : QString(),
                                 stored ? stored->patternText : QString());
    }
    dialog->setUpdateMode(updateMode_);
    dialog->setCatalogueNames(catalogueNames());
    const int answer = services_.runModal(*dialog);

    if (answer != QDialog::Accepted) {
        // Whatever the answer, the scratch space is cleared; a confirmed run
        // does it as its first step (IndexRun::begin), so only once.
        platform::emptyTempDirectory(services_.programDirectory);
        platform::ensureUnpackDirectory(services_.programDirectory, services_.prompts);
        timer1_->stop();
        updateMode_ = false;
        return;
    }

    runStartTick_ = tickCount();
    indexedFileCount_ = 0;
    timer1_->start();
    patience_.reset();
    gedultTimer_->start();

    const indexing::IndexRunRequest request{dialog->databaseName(), dialog->folder(),
                                            dialog->patterns(), updateMode_};
    platform::RunContext context;
    context.yield = services_.yield;
    context.pause = services_.pause;
    context.cancelRequested = &abortRequested_;
    context.prompts = &services_.prompts;
    indexing::IndexProgress progress;
    progress.caption = [this](const QString& text) { setWindowTitle(text); };
    progress.status = [this](const QString& text) { label1_->setText(text); };
    progress.listedFiles = [this](qint64 count) { indexedFileCount_ = count; };
    run_ = std::make_unique<indexing::IndexRun>(services_.programDirectory, services_.drives,
                                                services_.settings, context, progress);
    run_->begin(request);
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
void TMainForm_TX_ODT::readListAndFinish(bool startedByMonitor) {
    scannerNotice_.reset();
    checkDefenderTimer_->start();
    bitBtn2_->setText(QStringLiteral("&Abbruch"));
    const bool listed = run_->LiesDieListeEin();
    running_ = false;
    bitBtn2_->setEnabled(true);
    bitBtn2_->setText(QStringLiteral("Schli&eßen"));
    if (!listed && run_->driveListMissing()) {
        // Nothing was indexed and no database was made: say so, and leave no
        // log behind for a database that does not exist.
        reportMissingDriveList();
    } else {
        run_->finish();
        if (startedByMonitor && !run_->aborted() && run_->writeError().isEmpty())
            label1_->setText(QStringLiteral("Fertig mit der Indizierung.."));
    }
    finishWindowSide();
}

void TMainForm_TX_ODT::reportMissingDriveList() {
    const QString name = database::driveFileListName(runDrive_);
    label1_->setText(QStringLiteral("Indizierung nicht möglich: Die Dateiliste fehlt."));
    services_.prompts.information(
        QStringLiteral("Die Dateiliste \"") + name + QStringLiteral("\" für das Laufwerk \"") +
        runDrive_ + QStringLiteral("\" wurde nicht gefunden. Die Datenbank wurde nicht erstellt."));
}

void TMainForm_TX_ODT::finishWindowSide() {
    // The scanner notice belongs to the run; left running it would keep
    // setting the caption to "-" long after the run where no scanner runs.
    checkDefenderTimer_->stop();
    setWindowTitle(QString());
    geduldLabel_->clear();
    gedultTimer_->stop();
    LiesNamenDatenbanken();
    setRunButtonsEnabled(true);
    bitBtn2_->setEnabled(true);
    timer1_->stop();
    updateMode_ = false;
}

void TMainForm_TX_ODT::BitBtn2Click() {
    if (!running_ && !listBuildRunning_ && !updateRunActive_) {
        close();
        return;
    }
    if (updateRunActive_) {
        label1_->setText(QStringLiteral("Aktualisierung wurde abgebrochen! "));
        abortRequested_ = true;
        updateRunActive_ = false;
    }
    if (listBuildRunning_) {
        bitBtn2_->setText(QStringLiteral("Schli&eßen"));
        abortRequested_ = true;
        listBuildRunning_ = false;
    }
    if (running_) {
        label1_->setText(
            QStringLiteral("Indizierung wurde abgebrochen! Die Daten werden gespeichert"));
        abortRequested_ = true;
        if (run_)
            run_->requestAbort();
        running_ = false;
        bitBtn2_->setEnabled(false);
    }
    if (label1_->text().contains(QStringLiteral("Fertig mit der"))) {
        abortedMessage_ = true;
        setRunButtonsEnabled(true);
        bitBtn2_->setEnabled(true);
    }
}

void TMainForm_TX_ODT::Timer1Timer() {
    elapsedText_ = filelist::elapsedTimeText(filelist::elapsedSeconds(runStartTick_, tickCount()));
    label2_->setText(filelist::progressLineText(indexedFileCount_, elapsedText_));
}

void TMainForm_TX_ODT::placePatienceLabel() {
    const QRect closeButton(bitBtn2_->mapTo(centralWidget(), QPoint(0, 0)), bitBtn2_->size());
    geduldLabel_->move(filelist::patienceLabelPosition(closeButton, label1_->y()));
    geduldLabel_->raise();
}

void TMainForm_TX_ODT::GedultTimerTimer() {
    placePatienceLabel();
    geduldLabel_->setText(patience_.advance());
    geduldLabel_->adjustSize();
    placePatienceLabel();
}

void TMainForm_TX_ODT::checkDefenderTimerTimer() {
    filelist::ScannerNotice::Inputs in;
    in.scannerRunning = filelist::isProcessRunning(filelist::ScannerNotice::scannerProcessName());
    in.label1 = label1_->text();
    in.caption = windowTitle();
    in.updateMode = updateMode_;
    const auto out = scannerNotice_.tick(in);
    if (out.stopTimer)
        checkDefenderTimer_->stop();
    if (out.caption)
        setWindowTitle(*out.caption);
    if (out.label1)
        label1_->setText(*out.label1);
}
