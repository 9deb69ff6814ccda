#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

namespace testsupport {

// The entry of a pop-up menu with the given text, or null.
inline QAction* popupEntry(const QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace testsupport
