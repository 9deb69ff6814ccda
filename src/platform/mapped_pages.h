#pragma once

#include <cstddef>

namespace platform {

// Lets the system drop the pages of a read-only file mapping in the range
// (whole pages inside it only): they leave the process's resident memory,
// and a later read maps them again from the file. A long pass over a
// mapped file then keeps only what it is at resident. Nothing where the
// system offers no such call.
void releaseMappedPages(const void* begin, std::size_t length);

} // namespace platform
