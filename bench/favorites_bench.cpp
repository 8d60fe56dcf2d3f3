// Opening and closing the favorites window from the toolbar with a long favorites list, against
// a short list in the same run.
#include "app/FavoritesList.h"
#include "browser/BrowserWindow.h"
#include "favorites/FavoritesWindow.h"
#include "support/GuiSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
struct Timing {
    double openMs;
    double closeMs;
};

Timing openAndClose(BrowserWindow &w, int entries)
{
    QStringList list;
    for (int i = 0; i < entries; ++i) {
        list << QStringLiteral("お気に入り %1\thttp://example.com/page/%1").arg(i);
    }
    FavoritesList::entries() = list;
    QAction *button = w.form().tbToolBar->actions().at(4);
    Timing t{-1, -1};
    QElapsedTimer clock;
    QElapsedTimer closing;
    auto *poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
        auto *window = qobject_cast<FavoritesWindow *>(QApplication::activeModalWidget());
        if (window && window->isVisible() && window->windowHandle() &&
            window->windowHandle()->isExposed()) {
            t.openMs = double(clock.nsecsElapsed()) / 1e6;
            poll->stop();
            poll->deleteLater();
            closing.start();
            window->close();
        }
    });
    clock.start();
    poll->start();
    button->trigger(); // returns when the window has closed
    t.closeMs = double(closing.nsecsElapsed()) / 1e6;
    return t;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    GuiSession session(argc, argv);
    if (!session.isValid()) {
        return 1;
    }
    FavoritesList::entries() = QStringList{QString()};
    BrowserWindow w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w)) {
        return 1;
    }
    QTest::qWait(500);
    std::vector<double> openSmall, closeSmall, openLarge, closeLarge;
    for (int round = 0; round < 8; ++round) {
        const Timing small = openAndClose(w, 10);
        const Timing large = openAndClose(w, 10000);
        if (round > 0) {
            openSmall.push_back(small.openMs);
            closeSmall.push_back(small.closeMs);
            openLarge.push_back(large.openMs);
            closeLarge.push_back(large.closeMs);
        }
    }
    std::printf("favorites window from the toolbar, median of 7 interleaved rounds\n");
    std::printf("  10 favorites (baseline)    open %7.1f ms   close %7.1f ms\n", median(openSmall),
                median(closeSmall));
    std::printf(
        "  10 000 favorites           open %7.1f ms   close %7.1f ms   (ratios %.1f, %.1f)\n",
        median(openLarge), median(closeLarge), median(openLarge) / median(openSmall),
        median(closeLarge) / median(closeSmall));
    return 0;
}
