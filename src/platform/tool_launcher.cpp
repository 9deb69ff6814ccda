#include "tool_launcher.h"

#include "program_directory.h"
#include "shell_launcher.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
// clang-format off
#include <QWinEventNotifier>
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace platform {

QString fileListToolFileName() {
#ifdef Q_OS_WIN
    return QStringLiteral("ErstelleDateiliste.exe");
#else
    return QStringLiteral("ErstelleDateiliste");
#endif
}

FileListToolStart planFileListToolStart(QChar driveLetter, const QString& programDirectory,
                                        const QString& controlDirectory, bool useControlDirectory,
                                        const QString& applicationDirectory, const DriveMap& drives,
                                        bool showWindow) {
    FileListToolStart plan;
    const bool control =
        useControlDirectory && !controlDirectory.isEmpty() && QFileInfo(controlDirectory).isDir();
    plan.listDirectory = withTrailingSeparator(control ? controlDirectory : programDirectory);

    const QString besideList = plan.listDirectory + fileListToolFileName();
    plan.request.program =
        QFileInfo(besideList).isFile()
            ? besideList
            : withTrailingSeparator(applicationDirectory) + fileListToolFileName();
    plan.request.arguments = {QStringLiteral("open"), QString(driveLetter)};
    if (!showWindow)
        plan.request.arguments.append(QStringLiteral("--no-window"));
    QString listDirectory = QDir::toNativeSeparators(plan.listDirectory);
    // "C:" without its backslash would be the current folder of drive C.
    const bool driveRoot = listDirectory.size() == 3 && listDirectory.at(1) == QLatin1Char(':');
    if (listDirectory.size() > 1 && listDirectory.endsWith(QDir::separator()) && !driveRoot)
        listDirectory.chop(1);
    plan.request.arguments << QStringLiteral("--program-dir") << listDirectory;
    // On Windows only a letter given a folder by hand is mapped, so the
    // tool walks what the caller means by it.
    const QMap<QChar, QString> mapped = drives.drives();
    for (auto it = mapped.constBegin(); it != mapped.constEnd(); ++it)
        plan.request.arguments << QStringLiteral("--drive")
                               << QString(it.key()) + QLatin1Char('=') + it.value();
    plan.request.elevated = true;
    return plan;
}

void ProcessToolLauncher::start(const ToolStartRequest& request) {
#ifdef Q_OS_WIN
    if (request.elevated) {
        const QString program = QDir::toNativeSeparators(request.program);
        const QString parameters = windowsParameterText(request.arguments);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = L"runas";
        info.lpFile = reinterpret_cast<LPCWSTR>(program.utf16());
        info.lpParameters = reinterpret_cast<LPCWSTR>(parameters.utf16());
        info.nShow = SW_SHOW;
        if (!ShellExecuteExW(&info) || !info.hProcess) {
            Q_EMIT toolFailedToStart(
                QStringLiteral("%1 konnte nicht gestartet werden.").arg(program));
            return;
        }
        Q_EMIT toolStarted();
        HANDLE handle = info.hProcess;
        auto* notifier = new QWinEventNotifier(handle, this);
        connect(notifier, &QWinEventNotifier::activated, this, [this, notifier, handle] {
            DWORD code = 0;
            GetExitCodeProcess(handle, &code);
            // The notifier lets go of the handle before it is closed.
            notifier->setEnabled(false);
            notifier->deleteLater();
            CloseHandle(handle);
            Q_EMIT toolFinished(static_cast<int>(code), false);
        });
        return;
    }
#endif
    if (process_) {
        process_->disconnect(this);
        process_->deleteLater();
    }
    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    QProcess* process = process_;
    connect(process, &QProcess::started, this, [this] { Q_EMIT toolStarted(); });
    connect(process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        Q_EMIT toolFinished(exitCode, status == QProcess::CrashExit);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            Q_EMIT toolFailedToStart(process->errorString());
    });
    process->start(request.program, request.arguments);
}

} // namespace platform
