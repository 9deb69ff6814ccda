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
namespace {

QString quotedWindowsArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (const QChar ch : argument) {
        if (ch == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (ch == QLatin1Char('"'))
            quoted += QString(2 * backslashes + 1, QLatin1Char('\\'));
        else
            quoted += QString(backslashes, QLatin1Char('\\'));
        quoted += ch;
        backslashes = 0;
    }
    // Backslashes before the closing quote would escape it.
    quoted += QString(2 * backslashes, QLatin1Char('\\'));
    quoted += QLatin1Char('"');
    return quoted;
}

#ifdef Q_OS_WIN
// The shell itself, not cmd.exe's "start": a file name is never read as a
// command line there, so "&" or "|" in a document's name stays a name. It
// finds "firefox.exe" by its registered path and starts the "shell:" names
// of store programs, which a process start would not. The shell shows no
// error box of its own; the callers tell the user.
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
#endif

} // namespace

QString windowsParameterText(const QStringList& arguments) {
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (const QString& argument : arguments)
        quoted.append(quotedWindowsArgument(argument));
    return quoted.join(QLatin1Char(' '));
}

bool startProgramDetached(const QString& program, const QStringList& arguments) {
#ifdef Q_OS_WIN
    return shellExecute(nullptr, program, windowsParameterText(arguments));
#else
    return QProcess::startDetached(program, arguments);
#endif
}

bool ProcessShellLauncher::openWithDefaultHandler(const QString& target) {
    const bool localFile = QFileInfo(target).isAbsolute() && QFileInfo::exists(target);
#if defined(Q_OS_WIN)
    // The shell itself, not cmd.exe's start: cmd would read "&", "|" and "^"
    // in an address or a folder name as its own syntax.
    return shellExecute(L"open", localFile ? QDir::toNativeSeparators(target) : target, QString());
#else
    const QString address = localFile ? QUrl::fromLocalFile(target).toString() : target;
#if defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {address});
#else
    return QProcess::startDetached(QStringLiteral("xdg-open"), {address});
#endif
#endif
}

bool ProcessShellLauncher::runProgram(const QString& program, const QStringList& arguments) {
    return startProgramDetached(program, arguments);
}

} // namespace platform
