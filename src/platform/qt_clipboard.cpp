#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void QtClipboard::setText(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

} // namespace platform
