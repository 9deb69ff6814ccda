#include "cleared_window_titles.h"

#include <QApplication>

#ifdef Q_OS_WIN
#include <QEvent>
#include <QWidget>

#include <windows.h>
#endif

namespace platform {
namespace {

#ifdef Q_OS_WIN

class EmptyCaptionKeeper final : public QObject {
public:
    explicit EmptyCaptionKeeper(QApplication& application)
        : QObject(&application) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Both events come after Qt has given the native window its title.
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && widget->windowTitle().isEmpty() &&
                widget->windowHandle())
                SetWindowTextW(reinterpret_cast<HWND>(widget->winId()), L"");
        }
        return false;
    }
};

#endif

} // namespace

void showClearedWindowTitles(QApplication& application) {
#ifdef Q_OS_WIN
    application.installEventFilter(new EmptyCaptionKeeper(application));
#else
    Q_UNUSED(application);
#endif
}

} // namespace platform
