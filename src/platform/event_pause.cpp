#include "event_pause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace platform {

void yieldToEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void pauseWithEvents(int milliseconds) {
    if (!QCoreApplication::instance() || milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void ThrottledYield::operator()() {
    if (sinceLast_.isValid() && sinceLast_.elapsed() < interval_)
        return;
    yieldToEvents();
    sinceLast_.start();
}

} // namespace platform
