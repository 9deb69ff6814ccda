#include "mapped_store.h"

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace search {

MappedStore::~MappedStore() {
    close();
}

bool MappedStore::open(const QString& fileName) {
    close();
    file_.setFileName(fileName);
    if (!file_.open(QIODevice::ReadOnly))
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
#if defined(Q_OS_UNIX) && defined(MADV_DONTNEED)
    if (!data_)
        return;
    static const qint64 page = ::sysconf(_SC_PAGESIZE);
    from = std::clamp<qint64>(from, 0, size_);
    to = std::clamp<qint64>(to, from, size_);
    const qint64 first = (from + page - 1) / page * page;
    const qint64 last = to / page * page;
    if (last > first)
        ::madvise(data_ + first, static_cast<size_t>(last - first), MADV_DONTNEED);
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
#endif
}

QByteArray MappedStore::readRange(qint64 from, qint64 to) const {
    from = std::clamp<qint64>(from, 0, size_);
    to = std::clamp<qint64>(to, from, size_);
    return bytes().sliced(from, to - from).toByteArray();
}

} // namespace search
