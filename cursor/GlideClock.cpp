#include "cursor/GlideClock.h"

#include <chrono>

GlideClock::GlideClock(QObject *parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &GlideClock::onTimer);
}

void GlideClock::setEnabled(bool enabled)
{
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (!enabled) {
        timer_.stop();
        return;
    }
    clock_.start();
    nextDeadlineNs_ = TickPeriodNs;
    armForNextDeadline();
}

void GlideClock::onTimer()
{
    const qint64 now = clock_.nsecsElapsed();
    if (now < nextDeadlineNs_) { // woke early: wait out the rest
        armForNextDeadline();
        return;
    }
    // After a stall, resume on the grid instead of firing a burst of missed ticks.
    while (nextDeadlineNs_ <= now) {
        nextDeadlineNs_ += TickPeriodNs;
    }
    armForNextDeadline();
    Q_EMIT timeout();
}

void GlideClock::armForNextDeadline()
{
    const qint64 remainingNs = nextDeadlineNs_ - clock_.nsecsElapsed();
    const qint64 ms = remainingNs <= 0 ? 0 : (remainingNs + 999'999) / 1'000'000;
    timer_.start(std::chrono::milliseconds(ms));
}
