#pragma once

#include "shell_launcher.h"

namespace platform {

// The windows' launcher: the default handler through QDesktopServices (which
// needs a running QGuiApplication), programs through QProcess.
class QtShellLauncher final : public ShellLauncher {
public:
    // On Linux, xdg-open waits for the viewer it started where no desktop
    // answers for it, and tries other programs when the viewer ends with an
    // error. Only a failure within `failureWindowMs` of the start means that
    // no program was found; a later one is the end of a viewer that ran.
    explicit QtShellLauncher(int failureWindowMs = 10000)
        : failureWindowMs_(failureWindowMs) {}

    bool openWithDefaultHandler(const QString& target) override;
    void openWithDefaultHandlerAndReport(const QString& target,
                                         std::function<void(bool opened)> outcome) override;
    bool runProgram(const QString& program, const QStringList& arguments) override;

private:
    int failureWindowMs_;
};

} // namespace platform
