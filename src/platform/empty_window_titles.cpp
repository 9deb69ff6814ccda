#include "empty_window_titles.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#ifdef TROVEX_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace platform {
namespace {

#ifdef TROVEX_HAVE_XCB

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

class EmptyTitleKeeper final : public QObject {
public:
    EmptyTitleKeeper(QApplication& application, xcb_connection_t* connection)
        : QObject(&application)
        , connection_(connection)
        , netWmName_(internAtom(connection, "_NET_WM_NAME"))
        , utf8String_(internAtom(connection, "UTF8_STRING")) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && widget->windowTitle().isEmpty() &&
                widget->windowHandle())
                writeEmptyTitle(static_cast<xcb_window_t>(widget->winId()));
        }
        return false;
    }

private:
    void writeEmptyTitle(xcb_window_t window) {
        if (netWmName_ != XCB_ATOM_NONE && utf8String_ != XCB_ATOM_NONE)
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, netWmName_, utf8String_,
                                8, 0, nullptr);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(connection_);
    }

    xcb_connection_t* connection_;
    xcb_atom_t netWmName_;
    xcb_atom_t utf8String_;
};

#endif

} // namespace

void keepEmptyWindowTitlesEmpty(QApplication& application) {
#ifdef TROVEX_HAVE_XCB
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = application.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    application.installEventFilter(new EmptyTitleKeeper(application, x11->connection()));
#else
    Q_UNUSED(application);
#endif
}

} // namespace platform
