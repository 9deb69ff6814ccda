#include "instance_probe.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace platform {

unsigned probeMessageParameter(const QStringList& arguments) {
    if (arguments.size() < 2)
        return 0;
    QString first = arguments.at(1);
    first.remove(QLatin1Char('/'));
    return first == QStringLiteral("restart") ? kCloseRequestParameter : 0;
}

bool isCloseRequest(unsigned message, quintptr firstParameter) {
    return message == kCloseRequestMessage && firstParameter == kCloseRequestParameter;
}

#ifdef Q_OS_WIN
namespace {

BOOL CALLBACK findProbedWindow(HWND window, LPARAM found) {
    wchar_t title[256] = {};
    const int length = GetWindowTextW(window, title, 256);
    if (QString::fromWCharArray(title, length).contains(QStringLiteral("Trovex-Klartext"))) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool probeOtherInstance(const QStringList& arguments) {
    HWND found = nullptr;
    EnumWindows(findProbedWindow, reinterpret_cast<LPARAM>(&found));
    if (!found)
        return false;
    // Posted, not sent: the other instance closes on its own time, and this
    // one goes on starting without waiting for it.
    PostMessageW(found, kCloseRequestMessage, probeMessageParameter(arguments), 0);
    return true;
}

bool siblingEditionRunning() {
    return FindWindowW(L"TMainform_TX_VARIO", nullptr) != nullptr;
}

bool CloseRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* /*result*/) {
    if (eventType != "windows_generic_MSG")
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (isCloseRequest(msg->message, msg->wParam) && close_)
        close_();
    return false;
}
#else
bool probeOtherInstance(const QStringList& /*arguments*/) {
    return false;
}

bool siblingEditionRunning() {
    return false;
}

bool CloseRequestFilter::nativeEventFilter(const QByteArray& /*eventType*/, void* /*message*/,
                                           qintptr* /*result*/) {
    return false;
}
#endif

} // namespace platform
