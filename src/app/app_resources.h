#pragma once

namespace app {

// The pictures are compiled into the static library; the program and the
// tests call this once so that the linker keeps them.
void initAppResources();

} // namespace app
