#include "durable_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace textio {
namespace {

#ifndef Q_OS_WIN
QString systemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

bool syncDescriptorOf(const QString& path, int flags, QString* error) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (descriptor < 0) {
        if (error)
            *error = systemReason(errno);
        return false;
    }
    int result = 0;
    do {
        result = ::fsync(descriptor);
    } while (result != 0 && errno == EINTR);
    const int code = errno;
    ::close(descriptor);
    // Some file systems cannot sync a folder; they keep renames in order
    // anyway, so that is not a failure.
    if (result != 0 && code != EINVAL && code != ENOTSUP) {
        if (error)
            *error = systemReason(code);
        return false;
    }
    return true;
}
#endif

} // namespace

bool syncFileToDisk(const QString& path, QString* error) {
#ifdef Q_OS_WIN
    // Flushing needs a handle that may write; nothing is written through it.
    const QString native = QDir::toNativeSeparators(path);
    const HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (error)
            *error = windowsErrorText(GetLastError());
        return false;
    }
    const bool flushed = FlushFileBuffers(handle);
    const DWORD code = GetLastError();
    CloseHandle(handle);
    if (!flushed && error)
        *error = windowsErrorText(code);
    return flushed;
#else
    return syncDescriptorOf(path, O_RDONLY, error);
#endif
}

bool syncFolderToDisk(const QString& folder, QString* error) {
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    Q_UNUSED(error);
    return true;
#else
    return syncDescriptorOf(folder, O_RDONLY | O_DIRECTORY, error);
#endif
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

bool commitDurably(QSaveFile& file) {
    const QString path = file.fileName();
    // What still sits in the write buffer goes out here. QSaveFile's own
    // commit ignores a failure to write it (a full disk): it would put an
    // empty or cut file in the place of the old one and report success.
    // Not committed, the file is discarded with the QSaveFile, and its
    // error string keeps the system's reason.
    if (!file.flush())
        return false;
    if (!file.commit())
        return false;
    // The new file is in place either way; a folder that cannot be synced
    // only makes the rename less certain to outlive a power cut.
    syncFolderToDisk(folderOf(path));
    return true;
}

namespace {

// Below this a volume counts as full: a write that failed wanted more.
constexpr qint64 kNearlyFull = 64 << 10;

bool volumeIsFull(const QString& path) {
    QFileInfo info(path);
    // The file may never have been made; its folder tells about the volume.
    while (!info.exists() && !info.isRoot() && info.absolutePath() != info.absoluteFilePath())
        info = QFileInfo(info.absolutePath());
    const QStorageInfo volume(info.absoluteFilePath());
    return volume.isValid() && !volume.isReadOnly() && volume.bytesAvailable() < kNearlyFull;
}

} // namespace

QString diskFullReason() {
#ifdef Q_OS_WIN
    return qt_error_string(ERROR_DISK_FULL);
#else
    return qt_error_string(ENOSPC);
#endif
}

QString writeFailureReason(const QFileDevice& file) {
    // Qt's own words ("Unknown error", "Writing canceled by application",
    // translated or not) stand where the system's reason was lost; a write
    // that failed on a full volume failed for want of room.
    if (volumeIsFull(file.fileName()))
        return diskFullReason();
    return file.errorString();
}

#ifdef Q_OS_WIN
QString windowsErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const QString reason = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed()
                                      : QStringLiteral("Systemfehler %1").arg(code);
    LocalFree(text);
    return reason;
}
#endif

} // namespace textio
