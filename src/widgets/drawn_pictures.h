#pragma once

#include "platform/browser_detection.h"

#include <QIcon>
#include <QPixmap>

// Pictures the program draws itself: a symbol for each browser choice (the
// browser's initial in a coloured circle), the empty picture that stands in
// for a browser that is not installed, and the plus and minus of the font
// size buttons.
namespace widgets {

inline constexpr int kBrowserPictureSize = 40;

QPixmap browserPicture(platform::BrowserKind kind);
// Fully transparent, as large as a browser picture.
QPixmap emptyBrowserPicture();

// "+" (bigger) or "-" (smaller) for the font size buttons.
QIcon fontStepIcon(bool bigger);

} // namespace widgets
