#include "shell_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

bool ProcessShellLauncher::openWithDefaultHandler(const QString& target) {
    const bool localFile = QFileInfo(target).isAbsolute() && QFileInfo::exists(target);
#if defined(Q_OS_WIN)
    return QProcess::startDetached(QStringLiteral("cmd.exe"),
                                   {QStringLiteral("/c"), QStringLiteral("start"), QString(),
                                    localFile ? QDir::toNativeSeparators(target) : target});
#else
    const QString address = localFile ? QUrl::fromLocalFile(target).toString() : target;
#if defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {address});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {address});
#endif
#endif
}

bool ProcessShellLauncher::runProgram(const QString& program, const QString& parameters) {
    return QProcess::startDetached(program, QProcess::splitCommand(parameters));
}

} // namespace platform
