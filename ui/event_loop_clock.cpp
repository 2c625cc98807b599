#include "ui/event_loop_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

PlaybackClock::Time EventLoopClock::now() const
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void EventLoopClock::waitUntil(Time deadline)
{
    using namespace std::chrono;
    const Time left = deadline - now();
    if (left <= Time::zero())
        return;
    // The timer only wakes the wait; any other event ends it as well.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(ceil<milliseconds>(left));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
