#pragma once

#include "shell_launcher.h"

namespace platform {

// The windows' launcher: the default handler through QDesktopServices (which
// needs a running QGuiApplication), programs through QProcess.
class QtShellLauncher final : public ShellLauncher {
public:
    bool openWithDefaultHandler(const QString& target) override;
    bool runProgram(const QString& program, const QString& parameters) override;
};

} // namespace platform
