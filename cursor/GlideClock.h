#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The glide timer. The levels were tuned on a system whose 1 ms window timer really ticks at its
// 15.625 ms granularity (64 Hz); a true 1 ms here would make every level 15 times weaker and burn
// a core. So the requested interval stays 1 ms and ticks come at 64 Hz, scheduled from the clock
// so that late timer wake-ups never add up to drift.
class GlideClock : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 TickPeriodNs = 15'625'000;

    explicit GlideClock(QObject *parent = nullptr);

    void setInterval(int msec) { interval_ = msec; }
    int interval() const { return interval_; }
    void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }

Q_SIGNALS:
    void timeout();

private:
    void onTimer();
    void armForNextDeadline();

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 nextDeadlineNs_ = 0;
    int interval_ = 1;
    bool enabled_ = false;
};
