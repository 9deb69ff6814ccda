#include "qt_shell_launcher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

bool QtShellLauncher::openWithDefaultHandler(const QString& target) {
    const QFileInfo info(target);
    const QUrl url = info.isAbsolute() && info.exists() ? QUrl::fromLocalFile(target)
                                                        : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

bool QtShellLauncher::runProgram(const QString& program, const QString& parameters) {
    return QProcess::startDetached(program, QProcess::splitCommand(parameters));
}

} // namespace platform
