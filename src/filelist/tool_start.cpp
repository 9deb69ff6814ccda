#include "tool_start.h"

#include "tool_options.h"

#include <QEventLoop>

namespace filelist {

platform::FileListToolStart planFileListTool(const FileListToolCall& call,
                                             const platform::DriveMap& drives) {
    platform::FileListToolStart plan = platform::planFileListToolStart(
        call.driveLetter, call.programDirectory, call.controlDirectory, call.useControlDirectory,
        call.applicationDirectory, drives, call.showWindow);
    plan.request.elevated = call.elevated;
    return plan;
}

platform::FileListToolStart startFileListTool(platform::ToolLauncher& launcher,
                                              const FileListToolCall& call,
                                              const platform::DriveMap& drives) {
    const platform::FileListToolStart plan = planFileListTool(call, drives);
    launcher.start(plan.request);
    return plan;
}

ToolOutcome toolOutcome(int exitCode, bool crashed) {
    if (crashed)
        return ToolOutcome::Failed;
    switch (exitCode) {
    case ToolSucceeded:
        return ToolOutcome::ListWritten;
    case ToolRefused:
        return ToolOutcome::Refused;
    case ToolInterrupted:
        return ToolOutcome::Interrupted;
    default:
        return ToolOutcome::Failed;
    }
}

ToolRunResult runFileListToolAndWait(platform::ToolLauncher& launcher, const FileListToolCall& call,
                                     const platform::DriveMap& drives) {
    ToolRunResult result;
    bool ended = false;
    QEventLoop loop;
    // The launcher may answer before start() returns, so the end is
    // remembered as well as announced to the loop.
    QObject::connect(&launcher, &platform::ToolLauncher::toolFinished, &loop,
                     [&](int exitCode, bool crashed) {
                         result.exitCode = exitCode;
                         result.outcome = toolOutcome(exitCode, crashed);
                         ended = true;
                         loop.quit();
                     });
    QObject::connect(&launcher, &platform::ToolLauncher::toolFailedToStart, &loop,
                     [&](const QString& error) {
                         result.error = error;
                         result.outcome = ToolOutcome::NotStarted;
                         ended = true;
                         loop.quit();
                     });
    startFileListTool(launcher, call, drives);
    if (!ended)
        loop.exec();
    return result;
}

} // namespace filelist
