#pragma once

#include <QObject>

#include <functional>

namespace widgets {

// A call made once, as soon as the event loop is back, however often it was
// asked for before then. The windows run their repaint rules this way: the
// rules change widgets, which must not happen inside a paint.
class CoalescedCall {
public:
    CoalescedCall(QObject* context, std::function<void()> call)
        : context_(context)
        , call_(std::move(call)) {}

    void request();

private:
    QObject* context_;
    std::function<void()> call_;
    bool queued_ = false;
};

} // namespace widgets
