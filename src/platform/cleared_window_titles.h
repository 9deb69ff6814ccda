#pragma once

class QApplication;

namespace platform {

// What the window system shows for a caption the program clears (after an
// index run, during a find, after a list build).
//
// Off Windows it shows the program's name "Trovex-ODT": Qt's X11 and Wayland
// plugins put the application name in place of an empty title, so a window
// manager never makes up one of its own ("Unnamed Window") for the program's
// main window. Nothing needs doing there beyond naming the application.
//
// On Windows the caption stays empty, as the program cleared it. Qt's
// Windows plugin would put the application name there, so the empty text is
// written again after Qt has written its own, whenever a window is shown or
// its title changes. Installed once, on the application object.
void showClearedWindowTitles(QApplication& application);

} // namespace platform
