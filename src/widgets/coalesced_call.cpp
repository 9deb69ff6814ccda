#include "coalesced_call.h"

#include <QTimer>

namespace widgets {

void CoalescedCall::request() {
    if (queued_)
        return;
    queued_ = true;
    QTimer::singleShot(0, context_, [this] {
        queued_ = false;
        call_();
    });
}

} // namespace widgets
