#pragma once

// The pictures are compiled into the static library; the program and the
// tests call this once so that the linker keeps them.
void initAppResources();
