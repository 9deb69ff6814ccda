#include "shell_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_WIN
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#endif

namespace platform {

#ifdef Q_OS_WIN
namespace {

// The shell itself, not cmd.exe's "start": a file name is never read as a
// command line there, so "&" or "|" in a document's name stays a name. The
// shell shows no error box of its own; the callers tell the user.
bool shellExecute(const wchar_t* verb, const QString& file, const QString& parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = verb;
    info.lpFile = reinterpret_cast<LPCWSTR>(file.utf16());
    info.lpParameters =
        parameters.isEmpty() ? nullptr : reinterpret_cast<LPCWSTR>(parameters.utf16());
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

} // namespace

bool ProcessShellLauncher::openWithDefaultHandler(const QString& target) {
    const bool localFile = QFileInfo(target).isAbsolute() && QFileInfo::exists(target);
    return shellExecute(L"open", localFile ? QDir::toNativeSeparators(target) : target, QString());
}

// The parameters are one text, as the program receives it on Windows.
bool ProcessShellLauncher::runProgram(const QString& program, const QString& parameters) {
    return shellExecute(nullptr, program, parameters);
}
#else
bool ProcessShellLauncher::openWithDefaultHandler(const QString& target) {
    const bool localFile = QFileInfo(target).isAbsolute() && QFileInfo::exists(target);
    const QString address = localFile ? QUrl::fromLocalFile(target).toString() : target;
#if defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {address});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {address});
#endif
}

bool ProcessShellLauncher::runProgram(const QString& program, const QString& parameters) {
    return QProcess::startDetached(program, QProcess::splitCommand(parameters));
}
#endif

} // namespace platform
