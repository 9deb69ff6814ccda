#include "process_probe.h"

#include "instance_probe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on
#endif

namespace platform {
namespace {

bool nameMatches(const QString& candidate, const QString& processName) {
    if (candidate.isEmpty())
        return false;
    if (candidate.compare(processName, Qt::CaseInsensitive) == 0)
        return true;
    const QString fileName = QFileInfo(candidate).fileName();
    return fileName.compare(processName, Qt::CaseInsensitive) == 0;
}

#ifdef Q_OS_WIN
// Empty when the process has gone or may not be asked.
QString fullImagePath(DWORD processId) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return QString();
    wchar_t path[MAX_PATH * 4];
    DWORD length = MAX_PATH * 4;
    const bool read = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    return read ? QString::fromWCharArray(path, int(length)) : QString();
}
#endif

#ifdef Q_OS_LINUX
QString firstCommandWord(const QString& processDirectory) {
    QFile file(processDirectory + QStringLiteral("/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.read(4096);
    const qsizetype end = bytes.indexOf('\0');
    return QFile::decodeName(end < 0 ? bytes : bytes.left(end));
}

QString shortName(const QString& processDirectory) {
    QFile file(processDirectory + QStringLiteral("/comm"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QFile::decodeName(file.readAll().trimmed());
}
#endif

} // namespace

bool isProcessRunning(const QString& processName) {
#if defined(Q_OS_WIN)
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    bool found = false;
    // The snapshot names the executable file only; its full path is asked
    // of the process, and both are compared with "/" and "\\" alike.
    const QString wanted = QDir::fromNativeSeparators(processName);
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        found = nameMatches(QString::fromWCharArray(entry.szExeFile), wanted) ||
                nameMatches(QDir::fromNativeSeparators(fullImagePath(entry.th32ProcessID)), wanted);
    }
    CloseHandle(snapshot);
    return found;
#elif defined(Q_OS_LINUX)
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QString directory = QStringLiteral("/proc/") + pid;
        const QString executable = QFileInfo(directory + QStringLiteral("/exe")).symLinkTarget();
        if (nameMatches(executable, processName) ||
            nameMatches(firstCommandWord(directory), processName) ||
            nameMatches(shortName(directory), processName))
            return true;
    }
    return false;
#else
    Q_UNUSED(processName);
    return false;
#endif
}

bool SystemProcessProbe::isRunning(const QString& processName) {
    return isProcessRunning(processName);
}

bool SystemProcessProbe::siblingEditionRunning() {
    return platform::siblingEditionRunning();
}

} // namespace platform
