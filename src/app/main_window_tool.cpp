// The file-list tool during an index run: started, watched by the tool-watch timer
// until it has come and gone, then the run reads the list it wrote.
#include "main_window.h"

#include "filelist/tool_start.h"
#include "indexing/index_run.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace app {

void MainWindow::startFileListTool() {
    runState_ = RunState::WaitingForTool;
    toolStartError_.clear();
    monitor_.start();
    toolWatchTimer_->start();
    filelist::FileListToolCall call;
    call.driveLetter = runDrive_;
    call.programDirectory = services_.programDirectory;
    call.controlDirectory = controlDirectory_;
    call.useControlDirectory = controlDirectoryFlag_;
    call.applicationDirectory = services_.applicationDirectory;
    filelist::startFileListTool(services_.toolLauncher, call, services_.drives);
}

void MainWindow::onToolWatchTick() {
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
        closeButton_->setEnabled(false);
        setWindowTitle(filelist::waitingCaption(elapsedText_));
        return;
    case Action::TimeOut:
        timeOutToolRun();
        services_.prompts.plain(filelist::timeoutMessageText(services_.osFamily));
        return;
    case Action::ReadList:
        setRunButtonsEnabled(false);
        closeButton_->setEnabled(true);
        setWindowTitle(QString());
        toolWatchTimer_->stop();
        readListAndFinish(true);
        return;
    }
}

void MainWindow::timeOutToolRun() {
    progressTimer_->stop();
    toolWatchTimer_->stop();
    patienceTimer_->stop();
    setWindowTitle(QString());
    patienceLabel_->clear();
    const QRect closeButton(closeButton_->mapTo(centralWidget(), QPoint(0, 0)),
                            closeButton_->size());
    patienceLabel_->move(filelist::patienceLabelLeftAfterTimeout(closeButton), patienceLabel_->y());
    running_ = false;
    updateRunActive_ = false;
    updateMode_ = false;
    runState_ = RunState::Idle;
    statusLine_->setText(filelist::timeoutStatusText(services_.osFamily));
    setRunButtonsEnabled(true);
    closeButton_->setEnabled(true);
    closeButton_->setText(QStringLiteral("Schli&eßen"));
    run_.reset();
}

} // namespace app
