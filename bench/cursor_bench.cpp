// Cost the forwarding filter adds to each real mouse move, and the glide clock's delivered rate.
// Runs on its own Xvfb with a real browser window; events enter through the window-system
// interface, as real input does.
#include "browser/BrowserWindow.h"
#include "support/GuiSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
// ns per move for `count` real moves over the page.
double nsPerMove(BrowserWindow &w, int count)
{
    QWindow *window = w.windowHandle();
    QWidget *page = w.form().brwWebBrowser->pageWindow();
    const QPoint origin = page->mapTo(&w, QPoint(0, 0));
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        const QPointF local(origin.x() + 50 + (i % 300), origin.y() + 50 + (i / 300) % 200);
        QWindowSystemInterface::handleMouseEvent(window, local, window->mapToGlobal(local),
                                                 Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
        QWindowSystemInterface::flushWindowSystemEvents();
        // What the event loop does next: deliver what the move posted.
        QCoreApplication::sendPostedEvents();
    }
    return double(clock.nsecsElapsed()) / count;
}

void glideClockRate(const char *setting, int seconds)
{
    GlideClock clock;
    std::vector<qint64> stamps;
    QElapsedTimer since;
    QObject::connect(&clock, &GlideClock::timeout, [&] { stamps.push_back(since.nsecsElapsed()); });
    since.start();
    clock.setEnabled(true);
    // A plain event loop: QTest::qWait sleeps between its passes and would delay the ticks.
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    clock.setEnabled(false);
    std::vector<double> intervals;
    for (size_t i = 1; i < stamps.size(); ++i) {
        intervals.push_back(double(stamps[i] - stamps[i - 1]) / 1e6);
    }
    std::sort(intervals.begin(), intervals.end());
    const double rate = double(stamps.size() - 1) * 1e9 / double(stamps.back() - stamps.front());
    const double p50 = intervals[intervals.size() / 2];
    const double p99 = intervals[size_t(double(intervals.size()) * 0.99)];
    std::printf(
        "glide clock, %s, over %d s: %zu ticks, %.2f Hz (%.2f %% off 64 Hz), interval p50 %.2f ms, "
        "p99 %.2f ms, max %.2f ms\n",
        setting, seconds, stamps.size(), rate, (rate - 64.0) / 64.0 * 100.0, p50, p99,
        intervals.back());
}
} // namespace

int main(int argc, char *argv[])
{
    GuiSession session(argc, argv);
    if (!session.isValid()) {
        return 1;
    }
    glideClockRate("alone in the process (baseline)", 10);
    BrowserWindow w;
    QSignalSpy loaded(w.form().brwWebBrowser, &QWebEngineView::loadFinished);
    w.form().brwWebBrowser->setHtml(QStringLiteral("<body style='margin:0'>bench</body>"));
    w.show();
    if (!QTest::qWaitForWindowExposed(&w) || !loaded.wait(20000)) {
        return 1;
    }
    constexpr int Moves = 20000;
    nsPerMove(w, 2000); // warm-up
    double off = 0, on = 0;
    std::vector<double> added;
    for (int round = 0; round < 5; ++round) { // interleaved rounds
        w.setLevelIndex(0);
        const double a = nsPerMove(w, Moves);
        w.setLevelIndex(10);
        const double b = nsPerMove(w, Moves);
        off += a;
        on += b;
        added.push_back(b - a);
    }
    w.setLevelIndex(10); // the clock runs while smoothing is on, the page idle
    std::sort(added.begin(), added.end());
    std::printf("real mouse move over the page, %d moves x 5 interleaved rounds\n", Moves);
    std::printf("  forwarding off (baseline)  %8.0f ns/move\n", off / 5);
    std::printf("  forwarding on, level 10    %8.0f ns/move   ratio %.3f\n", on / 5, on / off);
    std::printf("  added by the filter        %8.0f ns/move (median of rounds)\n", added[2]);
    glideClockRate("browser window open, smoothing on at level 10", 10);
    return 0;
}
