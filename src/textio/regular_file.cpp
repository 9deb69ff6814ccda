#include "regular_file.h"

#include <QFileInfo>

#ifdef _WIN32
#include <QDir>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace textio {
namespace {

void setFailure(OpenFailure* failure, OpenFailure value) {
    if (failure)
        *failure = value;
}

#ifdef _WIN32
OpenFailure failureOfError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return OpenFailure::Missing;
    case ERROR_ACCESS_DENIED:
        return OpenFailure::NotPermitted;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return OpenFailure::InUse;
    default:
        return OpenFailure::Other;
    }
}

// QFile does not tell a locked file from a forbidden one; a second attempt
// with the same sharing does, right after the first failed.
OpenFailure probeWhyNotOpened(const QString& fileName) {
    const QString native = QDir::toNativeSeparators(fileName);
    const HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(native.utf16()), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return failureOfError(GetLastError());
    CloseHandle(handle);
    return OpenFailure::Other;
}
#else
OpenFailure failureOfErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return OpenFailure::Missing;
    case EACCES:
    case EPERM:
        return OpenFailure::NotPermitted;
    case ENXIO: // a socket, or a device without its driver
    case ENODEV:
        return OpenFailure::NotRegular;
    case ETXTBSY:
    case EBUSY:
        return OpenFailure::InUse;
    default:
        return OpenFailure::Other;
    }
}
#endif

} // namespace

#ifdef _WIN32

bool openRegularFile(QFile& file, const QString& fileName, OpenFailure* failure,
                     QIODevice::OpenMode mode) {
    setFailure(failure, OpenFailure::None);
    const QFileInfo info(fileName);
    if (!info.exists()) {
        setFailure(failure, OpenFailure::Missing);
        return false;
    }
    // Device names (CON, NUL, COM1) and pipes are no files of the disk.
    if (!info.isFile()) {
        setFailure(failure, OpenFailure::NotRegular);
        return false;
    }
    file.setFileName(fileName);
    if (!file.open(mode)) {
        setFailure(failure, probeWhyNotOpened(fileName));
        return false;
    }
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_DISK) {
        file.close();
        setFailure(failure, OpenFailure::NotRegular);
        return false;
    }
    return true;
}

bool isRegularFileOrMissing(const QString& fileName) {
    const QFileInfo info(fileName);
    return !info.exists() || info.isFile();
}

#else

int openRegularDescriptor(const QByteArray& nativeName, OpenFailure* failure) {
    setFailure(failure, OpenFailure::None);
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of
    // waiting for one; the type is then known from the open descriptor, so
    // nothing can be swapped in between.
    const int fd = ::open(nativeName.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        setFailure(failure, failureOfErrno(errno));
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        setFailure(failure, OpenFailure::NotRegular);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        setFailure(failure, OpenFailure::Other);
        return -1;
    }
    return fd;
}

bool openRegularFileByBytes(QFile& file, const QByteArray& nativeName, OpenFailure* failure,
                            QIODevice::OpenMode mode) {
    const int fd = openRegularDescriptor(nativeName, failure);
    if (fd < 0)
        return false;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setFailure(failure, OpenFailure::Other);
        return false;
    }
    return true;
}

bool openRegularFile(QFile& file, const QString& fileName, OpenFailure* failure,
                     QIODevice::OpenMode mode) {
    if (fileName.isEmpty()) {
        setFailure(failure, OpenFailure::Missing);
        return false;
    }
    return openRegularFileByBytes(file, QFile::encodeName(fileName), failure, mode);
}

bool isRegularFileOrMissing(const QString& fileName) {
    struct stat info;
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    return S_ISREG(info.st_mode);
}

#endif

} // namespace textio
