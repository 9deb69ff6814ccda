#include "application_identity.h"

#include <QGuiApplication>

namespace app {

void nameTheApplication() {
    QGuiApplication::setApplicationName(QStringLiteral("Trovex-ODT"));
    // Lets a Wayland desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.halvorn.TrovexODT"));
}

} // namespace app
