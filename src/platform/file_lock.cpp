#include "file_lock.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_WIN

FileLock::Result FileLock::tryLock(const QString& path) {
    release();
    const QString native = QDir::toNativeSeparators(path);
    const auto name = reinterpret_cast<const wchar_t*>(native.utf16());
    // No sharing at all: a second open fails while this handle lives, and
    // the system closes it, deleting the file, when the process ends.
    HANDLE handle =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        const DWORD attributes = GetFileAttributesW(name);
        // A folder in the lock file's place refuses the open with "access
        // denied" too, but no run holds it: waiting would never end.
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            error_ = QStringLiteral("keine gewöhnliche Datei");
            return Result::Failed;
        }
        // A file whose last holder is closing it is "pending delete" for a
        // moment and refuses every open with "access denied".
        if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
            (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES))
            return Result::Busy;
        error_ = qt_error_string(int(code));
        return Result::Failed;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        error_ = QStringLiteral("keine gewöhnliche Datei");
        return Result::Failed;
    }
    handle_ = handle;
    path_ = path;
    return Result::Acquired;
}

bool FileLock::held() const {
    return handle_ != nullptr;
}

void FileLock::release() {
    if (!handle_)
        return;
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    path_.clear();
}

#else

FileLock::Result FileLock::tryLock(const QString& path) {
    release();
    const QByteArray native = QFile::encodeName(path);
    // A holder removes the file before it lets go; whoever locked the old
    // file meanwhile tries again with the file that has the name now.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const int fd = ::open(native.constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) {
            error_ = qt_error_string(errno);
            return Result::Failed;
        }
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            error_ = QStringLiteral("keine gewöhnliche Datei");
            return Result::Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            ::close(fd);
            if (code == EWOULDBLOCK || code == EINTR)
                return Result::Busy;
            error_ = qt_error_string(code);
            return Result::Failed;
        }
        struct stat named {};
        if (::stat(native.constData(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino) {
            fd_ = fd;
            path_ = path;
            return Result::Acquired;
        }
        ::close(fd);
    }
    return Result::Busy;
}

bool FileLock::held() const {
    return fd_ >= 0;
}

void FileLock::release() {
    if (fd_ < 0)
        return;
    // Removed while still locked, so nobody can lock this file afterwards
    // and think it holds the name.
    ::unlink(QFile::encodeName(path_).constData());
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

#endif

} // namespace platform
