#pragma once

#include <QString>

// Every control of a window carries the name the program's design gives it as
// its object name: the tests and the screen checks find it by that name. The
// windows themselves reach their controls through typed members only.
namespace widgets {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace widgets
