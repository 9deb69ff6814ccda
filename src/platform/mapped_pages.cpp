#include "mapped_pages.h"

#include <QtGlobal>

#include <cstdint>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace platform {

void releaseMappedPages(const void* begin, std::size_t length) {
#ifdef Q_OS_UNIX
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto from = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (from + page - 1) / page * page;
    const std::uintptr_t end = (from + length) / page * page;
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
#else
    // Windows trims a process's working set of mapped file pages itself.
    (void)begin;
    (void)length;
#endif
}

} // namespace platform
