#include "mapped_store.h"

#include "textio/regular_file.h"

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <sys/mman.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace search {
namespace {

qint64 memoryPageSize() {
#if defined(Q_OS_UNIX)
    return ::sysconf(_SC_PAGESIZE);
#elif defined(Q_OS_WIN)
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwPageSize;
#else
    return 4096;
#endif
}

} // namespace

MappedStore::~MappedStore() {
    close();
}

bool MappedStore::open(const QString& fileName) {
    close();
    if (!textio::openRegularFile(file_, fileName))
        return false;
    const qint64 size = file_.size();
    if (size <= 0) {
        file_.close();
        return false;
    }
    data_ = file_.map(0, size);
    if (!data_) {
        file_.close();
        return false;
    }
    size_ = size;
#if defined(Q_OS_UNIX) && defined(MADV_SEQUENTIAL)
    // The scans read the file front to back once; telling the kernel lets it
    // read ahead in large steps instead of faulting in page by page.
    ::madvise(data_, static_cast<size_t>(size_), MADV_SEQUENTIAL);
#endif
    return true;
}

void MappedStore::close() {
    if (data_)
        file_.unmap(data_);
    data_ = nullptr;
    size_ = 0;
    if (file_.isOpen())
        file_.close();
}

void MappedStore::release(qint64 from, qint64 to) const {
    if (!data_)
        return;
    static const qint64 page = memoryPageSize();
    from = std::clamp<qint64>(from, 0, size_);
    to = std::clamp<qint64>(to, from, size_);
    const qint64 first = (from + page - 1) / page * page;
    const qint64 last = to / page * page;
    if (last <= first)
        return;
#if defined(Q_OS_UNIX) && defined(MADV_DONTNEED)
    ::madvise(data_ + first, static_cast<size_t>(last - first), MADV_DONTNEED);
#elif defined(Q_OS_WIN)
    // Unlocking pages that were never locked takes them out of the working
    // set (the call then reports ERROR_NOT_LOCKED, which is expected); the
    // view stays mapped and they come back from the file cache when touched.
    ::VirtualUnlock(data_ + first, static_cast<SIZE_T>(last - first));
#endif
}

QByteArray MappedStore::readRange(qint64 from, qint64 to) const {
    from = std::clamp<qint64>(from, 0, size_);
    to = std::clamp<qint64>(to, from, size_);
    return bytes().sliced(from, to - from).toByteArray();
}

} // namespace search
