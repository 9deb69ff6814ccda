#pragma once

namespace app {

// Names the program for the platform: the application name "Trovex-ODT",
// the installed menu entry de.halvorn.TrovexODT.desktop, and no display
// name. The X11 and Wayland plugins append a display name to every window
// title ("Information — Trovex-ODT"); the titles are the program's own texts
// and are shown exactly as the windows set them.
void nameTheApplication();

} // namespace app
