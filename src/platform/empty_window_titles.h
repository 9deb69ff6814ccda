#pragma once

class QApplication;

namespace platform {

// Keeps an empty window title empty on the X server. Qt's X11 plugin writes
// the application name for a title that is empty, so a caption the program
// clears would read "Trovex-ODT"; this writes the empty title after Qt has
// written its own, whenever a window is shown or its title changes. Nothing
// on other platforms. Installed once, on the application object.
void keepEmptyWindowTitlesEmpty(QApplication& application);

} // namespace platform
