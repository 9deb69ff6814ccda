#include "application_identity.h"

#include <QGuiApplication>

void nameTheApplication() {
    QGuiApplication::setApplicationName(QStringLiteral("Trovex-ODT"));
}
