// Enter-to-loaded time of sorvel's address box against a bare QWebEngineView loading the same
// URL in the same run, and the cost of the address-history update with a long history.
#include "app/FavoritesList.h"
#include "browser/BrowserWindow.h"
#include "support/GuiSession.h"
#include "support/HttpServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double loadMs(QWebEngineView *view, const std::function<void()> &start)
{
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    QElapsedTimer clock;
    clock.start();
    start();
    if (!finished.wait(20000)) {
        return -1;
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

double historyUpdateUs(BrowserWindow &w, int entries, int runs)
{
    QComboBox *box = w.form().cboAddress;
    const QString location = w.form().brwWebBrowser->LocationURL();
    std::vector<double> samples;
    for (int r = 0; r < runs; ++r) {
        box->clear();
        QStringList list;
        for (int i = 0; i < entries - 1; ++i) {
            list << QStringLiteral("http://example.com/page/%1").arg(i);
        }
        list << location; // the worst case: found last, moved to the top
        box->addItems(list);
        QElapsedTimer clock;
        clock.start();
        Q_EMIT w.form().brwWebBrowser->NavigateComplete2();
        samples.push_back(double(clock.nsecsElapsed()) / 1e3);
    }
    return median(samples);
}
} // namespace

int main(int argc, char *argv[])
{
    GuiSession session(argc, argv);
    if (!session.isValid()) {
        return 1;
    }
    HttpServer server;
    if (!server.start()) {
        return 1;
    }
    server.setPage("/page", "<html><head><title>bench</title></head><body><h1>bench</h1>"
                            "<p>A short local page.</p></body></html>");

    FavoritesList::entries() = QStringList{QString()};
    BrowserWindow w;
    w.show();
    QWebEngineView bare;
    bare.resize(690, 443);
    bare.show();
    if (!QTest::qWaitForWindowExposed(&w) || !QTest::qWaitForWindowExposed(&bare)) {
        return 1;
    }
    WebBrowser *brw = w.form().brwWebBrowser;
    QComboBox *box = w.form().cboAddress;
    constexpr int Rounds = 21;
    std::vector<double> sorvelMs, bareMs;
    for (int i = 0; i < Rounds + 1; ++i) { // round 0 warms both up
        const QString url = server.url(QStringLiteral("/page?r=%1").arg(i));
        const double s = loadMs(brw, [&] {
            box->setEditText(url);
            QTest::keyClick(box, Qt::Key_Return);
        });
        const double b = loadMs(&bare, [&] { bare.load(QUrl(url)); });
        if (i > 0) {
            sorvelMs.push_back(s);
            bareMs.push_back(b);
        }
    }
    const double s = median(sorvelMs), b = median(bareMs);
    std::printf("Enter to page loaded, local page, median of %d interleaved rounds\n", Rounds);
    std::printf("  bare QWebEngineView (baseline)  %7.2f ms\n", b);
    std::printf("  sorvel address box              %7.2f ms   ratio %.3f\n", s, s / b);

    const double empty = historyUpdateUs(w, 1, 51);
    const double full = historyUpdateUs(w, 10000, 51);
    std::printf("address-history update (NavigateComplete2 handler), median of 51\n");
    std::printf("  history of 1 entry (baseline)   %9.1f us\n", empty);
    std::printf("  history of 10 000 entries       %9.1f us   (%.3f ms)\n", full, full / 1000);
    return 0;
}
