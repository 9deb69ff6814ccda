#include "qt_shell_launcher.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <memory>

namespace platform {
namespace {

QUrl addressOf(const QString& target) {
    const QFileInfo info(target);
    return info.isAbsolute() && info.exists() ? QUrl::fromLocalFile(target)
                                              : QUrl::fromUserInput(target);
}

} // namespace

bool QtShellLauncher::openWithDefaultHandler(const QString& target) {
    return QDesktopServices::openUrl(addressOf(target));
}

void QtShellLauncher::openWithDefaultHandlerAndReport(const QString& target,
                                                      std::function<void(bool opened)> outcome) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    // The shell answers at once there.
    outcome(openWithDefaultHandler(target));
#else
    // QDesktopServices hands the address to xdg-open and forgets it, so it
    // would call a desktop without a PDF viewer a success. The opener is
    // started the same way here, but its answer is awaited without
    // blocking. It is never deleted while running: it may wait for the
    // viewer for as long as the program runs, and must not take it down.
    auto* opener = new QProcess;
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    auto started = std::make_shared<QElapsedTimer>();
    auto report = std::make_shared<std::function<void(bool)>>(std::move(outcome));
    const int window = failureWindowMs_;
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, started, report, window](int exitCode, QProcess::ExitStatus status) {
                         const bool noProgramFound = status == QProcess::NormalExit &&
                                                     exitCode != 0 && started->elapsed() < window;
                         opener->deleteLater();
                         (*report)(!noProgramFound);
                     });
    QObject::connect(opener, &QProcess::errorOccurred, opener,
                     [opener, report](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         opener->deleteLater();
                         (*report)(false);
                     });
    started->start();
    opener->start(QStringLiteral("xdg-open"), {addressOf(target).toString()});
#endif
}

bool QtShellLauncher::runProgram(const QString& program, const QString& parameters) {
#if defined(Q_OS_WIN)
    // Through the shell, which finds "firefox.exe" by its registered path
    // and starts the "shell:" names of store programs; a process start would
    // do neither.
    return ProcessShellLauncher().runProgram(program, parameters);
#else
    return QProcess::startDetached(program, QProcess::splitCommand(parameters));
#endif
}

} // namespace platform
