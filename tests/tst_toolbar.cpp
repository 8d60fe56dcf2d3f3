// The toolbar and the favorites window on the real sorvel, with real clicks at the places the
// stored layouts give: a user's edit of the favorites reaches favorites.txt, and every toolbar
// button turns the smoothed cursor off.
#include "support/Driver.h"
#include "support/HttpServer.h"
#include "support/SorvelProcess.h"
#include "support/TestMain.h"

namespace
{
// Toolbar buttons are 31 x 30 from client (4, 4), one pixel apart.
QPoint toolbarButton(int position)
{
    return QPoint(4 + 32 * position + 15, 4 + 15);
}
} // namespace

class TestToolbar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void favoritesWindowEditReachesTheFile();
    void everyButtonTurnsSmoothingOff();

private:
    X11 x11_;
    HttpServer server_;
};

void TestToolbar::initTestCase()
{
    QVERIFY(server_.start());
    QVERIFY(server_.setTestPage("recorder"));
    server_.setPage("/b", "<title>B</title>");
    server_.setPage("/c", "<title>C</title>");
}

void TestToolbar::favoritesWindowEditReachesTheFile()
{
    SorvelProgram program;
    const QByteArray a = server_.url("/recorder").toUtf8(), b = server_.url("/b").toUtf8(),
                     c = server_.url("/c").toUtf8();
    program.writeFavorites("A\t" + a + "\r\nB\t" + b + "\r\nC\t" + c + "\r\n");
    auto sorvel = program.start();
    const unsigned long window = waitForWindow(x11_, *sorvel);
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Recorder")));
    Driver browser(x11_, window, server_);

    browser.clickClient(toolbarButton(4)); // お気に入り
    unsigned long favorites = 0;
    QVERIFY(QTest::qWaitFor(
        [&] { return (favorites = x11_.findWindowNamed(sorvel->processId(), "お気に入り")) != 0; },
        10000));
    QCOMPARE(x11_.geometry(favorites).size(), QSize(194, 424));
    QTest::qWait(300);
    Driver dialog(x11_, favorites, server_);
    dialog.clickClient(QPoint(8 + 40, 8 + 9));      // the first entry, A
    dialog.clickClient(QPoint(152 + 16, 336 + 12)); // ↓: B, A, C with A selected
    dialog.clickClient(QPoint(8 + 28, 336 + 12));   // 削除
    unsigned long question = 0;
    QVERIFY(QTest::qWaitFor(
        [&] { return (question = x11_.findWindowNamed(sorvel->processId(), "削除の確認")) != 0; },
        10000));
    QTest::qWait(200);
    QVERIFY(xdo({"key", "--delay", "50", "Tab", "space"})); // from Cancel, the default, to OK
    QTRY_VERIFY(!x11_.findWindowNamed(sorvel->processId(), "削除の確認"));
    x11_.sendDeleteWindow(favorites); // the close box
    QTRY_VERIFY(!x11_.findWindowNamed(sorvel->processId(), "お気に入り"));

    QVERIFY(closeLikeWindowManager(x11_, window, *sorvel));
    QCOMPARE(program.readFavorites(), "B\t" + b + "\r\nC\t" + c + "\r\n");
}

void TestToolbar::everyButtonTurnsSmoothingOff()
{
    SorvelProgram program;
    program.writeFavorites("Recorder\t" + server_.url("/recorder").toUtf8() + "\r\n");
    auto sorvel = program.start();
    const unsigned long window = waitForWindow(x11_, *sorvel);
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Recorder")));
    Driver driver(x11_, window, server_);
    const QStringList keys{"Back", "Forward", "Stop", "Refresh", "Favorites", "Version"};
    for (int i = 0; i < keys.size(); ++i) {
        driver.selectLevel(3);
        const PageEvent on = driver.clickOnPage(100, 100);
        QVERIFY2(on.x == 99 && on.y == 99,
                 qPrintable(
                     QStringLiteral("%1: %2 at %3,%4").arg(keys[i], on.type).arg(on.x).arg(on.y)));
        // Pressed while smoothing is on: the click is forwarded at the drawn cursor, which rests
        // one pixel up and left of the pointer, still on the button.
        // The drawn cursor shows where the pointer rests, also over the empty toolbar: its
        // frame's corner lies at the pointer's client point plus (-2, 0).
        const QPoint empty(400, 20);
        driver.moveTo(driver.screenOfClient(empty));
        QTRY_COMPARE(x11_.pixel(window, empty.x() - 2, empty.y()), QColor(Qt::black));
        server_.clearRequests();
        driver.clickClient(toolbarButton(i));
        if (keys[i] == QLatin1String("Refresh")) {
            QTRY_VERIFY(!server_.requestsTo("/recorder").isEmpty());
            QTest::qWait(1000); // the reloaded page's script is running again
        }
        if (keys[i] == QLatin1String("Favorites")) {
            unsigned long favorites = 0;
            QVERIFY(QTest::qWaitFor(
                [&] {
                    return (favorites = x11_.findWindowNamed(sorvel->processId(), "お気に入り"));
                },
                10000));
            x11_.sendDeleteWindow(favorites);
            QTRY_VERIFY(!x11_.findWindowNamed(sorvel->processId(), "お気に入り"));
        }
        driver.moveTo(driver.screenOfClient(empty));
        QVERIFY2(
            QTest::qWaitFor(
                [&] { return x11_.pixel(window, empty.x() - 2, empty.y()) != QColor(Qt::black); },
                3000),
            qPrintable(keys[i]));
        if (keys[i] == QLatin1String("Version")) {
            QVERIFY(
                waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - sorvel へようこそ")));
            break; // the recorder page is gone: the drawn cursor's absence above tells
        }
        QVERIFY(waitForCaptionPrefix(x11_, window, QStringLiteral("Sorvel v0.13 - Recorder")));
        QTest::qWait(300);
        const PageEvent down = driver.clickOnPage(100, 100);
        QVERIFY2(
            down.x == 100 && down.y == 100,
            qPrintable(
                QStringLiteral("%1: %2 at %3,%4").arg(keys[i], down.type).arg(down.x).arg(down.y)));
    }
    QVERIFY(closeLikeWindowManager(x11_, window, *sorvel));
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestToolbar)
#include "tst_toolbar.moc"
