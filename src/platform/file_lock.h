#pragma once

#include <QString>

namespace platform {

// A lock that the operating system holds on a file for this object's life,
// and lets go of when the process ends in any way: flock() on Linux and
// other Unix systems, a handle that shares nothing on Windows. A second
// lock on the same file fails at once, in this process as in any other.
//
// The file exists only while it is locked: release() removes it (on
// Windows the handle deletes it when it closes, also when the process
// dies). A lock taken while another program removes the file would hold
// a file without a name; tryLock() sees that and takes the new one.
class FileLock {
public:
    enum class Result {
        Acquired,
        Busy,   // another holder has it
        Failed, // the file cannot be made or locked; error() says why
    };

    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // One try, without waiting; the file is made when missing.
    Result tryLock(const QString& path);
    bool held() const;
    // Removes the file and lets go of the lock; nothing when not held.
    void release();
    // The system's reason of the last Failed.
    const QString& error() const { return error_; }

private:
    QString path_;
    QString error_;
#ifdef Q_OS_WIN
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace platform
