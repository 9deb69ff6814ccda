#pragma once

#include <QAbstractNativeEventFilter>
#include <QStringList>

#include <functional>

// The program's handshake with another program that titles a window
// "Trovex-Klartext": at start-up that window is sent message 5735
// (WM_USER + 4711), and the same message with first parameter 99 closes this
// program as the user's close does.
namespace platform {

inline constexpr unsigned kCloseRequestMessage = 0x0400 + 4711;
inline constexpr unsigned kCloseRequestParameter = 99;

// 99 when the first argument, every "/" removed, is "restart"; else 0.
unsigned probeMessageParameter(const QStringList& arguments);

// True for the message that asks this program to close.
bool isCloseRequest(unsigned message, quintptr firstParameter);

// Looks for a top-level window whose title contains "Trovex-Klartext" and
// posts it the message. Windows only: other platforms offer no way to list
// and message other programs' windows, so nothing is found there. True when a
// window was found.
bool probeOtherInstance(const QStringList& arguments);

// True when a window of the sibling edition (class TMainform_TX_VARIO) is
// open; it hands search texts over through a file. Windows only, as above.
bool siblingEditionRunning();

// Receives the close request (Windows messages only) and calls `close`.
class CloseRequestFilter final : public QAbstractNativeEventFilter {
public:
    explicit CloseRequestFilter(std::function<void()> close)
        : close_(std::move(close)) {}
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> close_;
};

} // namespace platform
