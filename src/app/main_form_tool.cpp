// The file-list tool during an index run: started, watched by UeberwachTimer
// until it has come and gone, then the run reads the list it wrote.
#include "main_form.h"

#include "indexing/index_run.h"
#include "platform/tool_launcher.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

void TMainForm_TX_ODT::startFileListTool() {
    toolStartError_.clear();
    monitor_.start();
    ueberwachTimer_->start();
    const auto plan = platform::planFileListToolStart(
        runDrive_, services_.programDirectory, controlDirectory_, controlDirectoryFlag_,
        services_.applicationDirectory, services_.drives, true);
    services_.toolLauncher.start(plan.request);
}

void TMainForm_TX_ODT::UeberwachTimerTimer() {
    // A tool that could not be started at all will never show up: give the
    // run up now with the reason instead of waiting out the minute.
    if (!toolStartError_.isEmpty() && monitor_.state() == filelist::ToolMonitor::State::Waiting) {
        const QString error = toolStartError_;
        toolStartError_.clear();
        timeOutToolRun();
        services_.prompts.plain(QStringLiteral("Das Programm \"ErstelleDateiliste\" konnte nicht "
                                               "gestartet werden: ") +
                                error);
        return;
    }
    // Top-level windows of other programs cannot be looked up by title on
    // every platform; the tool's process notifications stand in for them.
    const auto action = monitor_.tick(false);
    using Action = filelist::ToolMonitor::TickAction;
    switch (action) {
    case Action::None:
        return;
    case Action::ToolVisible:
        setWindowTitle(QString());
        return;
    case Action::ShowWaitingCaption:
        setRunButtonsEnabled(false);
        bitBtn2_->setEnabled(false);
        setWindowTitle(filelist::waitingCaption(elapsedText_));
        return;
    case Action::TimeOut:
        timeOutToolRun();
        services_.prompts.plain(filelist::timeoutMessageText());
        return;
    case Action::ReadList:
        setRunButtonsEnabled(false);
        bitBtn2_->setEnabled(true);
        setWindowTitle(QString());
        ueberwachTimer_->stop();
        readListAndFinish(true);
        return;
    }
}

void TMainForm_TX_ODT::timeOutToolRun() {
    timer1_->stop();
    ueberwachTimer_->stop();
    gedultTimer_->stop();
    setWindowTitle(QString());
    geduldLabel_->clear();
    const QRect closeButton(bitBtn2_->mapTo(centralWidget(), QPoint(0, 0)), bitBtn2_->size());
    geduldLabel_->move(filelist::patienceLabelLeftAfterTimeout(closeButton), geduldLabel_->y());
    running_ = false;
    updateRunActive_ = false;
    updateMode_ = false;
    label1_->setText(filelist::timeoutStatusText());
    setRunButtonsEnabled(true);
    bitBtn2_->setEnabled(true);
    bitBtn2_->setText(QStringLiteral("Schli&eßen"));
    run_.reset();
}
