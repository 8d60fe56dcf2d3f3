// The smoothed cursor end to end: the real sorvel under Xvfb, real pointer input from xdotool,
// and a page that reports every mouse and pointer event it receives.
#include "support/Driver.h"
#include "support/HttpServer.h"
#include "support/PageEvents.h"
#include "support/SorvelProcess.h"
#include "support/TestMain.h"

#include <QProcess>

namespace
{
// The level box's centre in client coordinates, for a click that focuses it.
const QPoint LevelBoxCentre(549 + 60, 36 + 3 + 10);
} // namespace

class TestSmoothing : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void offPassesRealPositions();
    void levelThreeDeliversAtDrawnCursor();
    void offByChoosingNameEntry();
    void offByFocusingLevelBox();
    void offByMovingWindow();

private:
    QPoint screenOfPage(int x, int y) const { return driver_->screenOfPage(x, y); }
    void moveTo(QPoint screen) { driver_->moveTo(screen); }
    void selectLevel(int index) { driver_->selectLevel(index); }
    PageEvent clickOnPage(int x, int y) { return driver_->clickOnPage(x, y); }
    bool waitForEvents(const QString &type, int count)
    {
        return driver_->waitForEvents(type, count);
    }

    X11 x11_;
    HttpServer server_;
    SorvelProgram program_;
    std::unique_ptr<QProcess> sorvel_;
    unsigned long window_ = 0;
    std::unique_ptr<Driver> driver_;
};

void TestSmoothing::initTestCase()
{
    QVERIFY(server_.start());
    QVERIFY(server_.setTestPage("recorder"));
    program_.writeFavorites("Recorder\t" + server_.url("/recorder").toUtf8() + "\r\n");
    sorvel_ = program_.start();
    window_ = waitForWindow(x11_, *sorvel_);
    QVERIFY(window_);
    QVERIFY(waitForCaption(x11_, window_, QStringLiteral("Sorvel v0.13 - Recorder")));
    QCOMPARE(x11_.geometry(window_).size(), QSize(698, 508));
    driver_ = std::make_unique<Driver>(x11_, window_, server_);
}

void TestSmoothing::cleanupTestCase()
{
    if (sorvel_) {
        QVERIFY(closeLikeWindowManager(x11_, window_, *sorvel_));
    }
}

void TestSmoothing::init()
{
    selectLevel(0);
    moveTo(screenOfPage(50, 50));
    QTest::qWait(100);
    server_.clearRequests();
}

void TestSmoothing::offPassesRealPositions()
{
    moveTo(screenOfPage(100, 100));
    QVERIFY(xdo({"mousedown", "1"}));
    moveTo(screenOfPage(130, 110));
    moveTo(screenOfPage(150, 120));
    QVERIFY(xdo({"mouseup", "1"}));
    QVERIFY(waitForEvents("mouseup", 1));
    const PageEvent down = pageEventsOfType(server_, "mousedown").value(0);
    QCOMPARE(QPoint(down.x, down.y), QPoint(100, 100));
    QCOMPARE(down.buttons, 1);
    const QList<PageEvent> moves = pageEventsOfType(server_, "mousemove");
    QVERIFY(!moves.isEmpty());
    QCOMPARE(QPoint(moves.last().x, moves.last().y), QPoint(150, 120));
    QCOMPARE(moves.last().buttons, 1);
    const PageEvent up = pageEventsOfType(server_, "mouseup").value(0);
    QCOMPARE(QPoint(up.x, up.y), QPoint(150, 120));
}

void TestSmoothing::levelThreeDeliversAtDrawnCursor()
{
    selectLevel(3);
    // Moves with the button up reach the page unchanged.
    moveTo(screenOfPage(200, 150));
    QVERIFY(waitForEvents("mousemove", 1));
    QTRY_COMPARE(pageEventsOfType(server_, "mousemove").last().x, 200);
    QCOMPARE(pageEventsOfType(server_, "mousemove").last().y, 150);
    QCOMPARE(pageEventsOfType(server_, "mousemove").last().buttons, 0);
    QTest::qWait(100);
    server_.clearRequests();

    // The press lands one pixel left of and above the pointer.
    QVERIFY(xdo({"mousedown", "1"}));
    QVERIFY(waitForEvents("mousedown", 1));
    const PageEvent down = pageEventsOfType(server_, "mousedown").value(0);
    QCOMPARE(QPoint(down.x, down.y), QPoint(199, 149));
    QCOMPARE(down.buttons, 1);
    QCOMPARE(pageEventsOfType(server_, "pointerdown").value(0).buttons, 1);

    // A quick drag to the right: the page sees the glide, trailing the pointer.
    QStringList drag;
    for (int x = 205; x <= 300; x += 5) {
        const QPoint p = screenOfPage(x, 150);
        drag << "mousemove" << QString::number(p.x()) << QString::number(p.y()) << "sleep"
             << "0.01";
    }
    QVERIFY(xdo(drag));
    QVERIFY(xdo({"mouseup", "1"}));
    QVERIFY(waitForEvents("mouseup", 1));
    const QList<PageEvent> moves = pageEventsOfType(server_, "mousemove");
    QVERIFY(moves.size() >= 2);
    // The first real move arrives before any tick has moved the drawn cursor.
    QCOMPARE(moves.first().x, 199);
    int behind = 0;
    for (const PageEvent &m : moves) {
        QCOMPARE(m.buttons, 1);
        QCOMPARE(m.y, 149);
        QVERIFY(m.x >= 199 && m.x <= 299);
        behind += m.x < 299 ? 1 : 0;
    }
    QVERIFY(behind > 0);
    const QList<PageEvent> pointerMoves = pageEventsOfType(server_, "pointermove");
    QVERIFY(!pointerMoves.isEmpty());
    QCOMPARE(pointerMoves.first().buttons, 1);
    QVERIFY(pointerMoves.first().pressure > 0);
    // The release comes at the drawn cursor, which is still on its way.
    const PageEvent up = pageEventsOfType(server_, "mouseup").value(0);
    QCOMPARE(up.y, 149);
    QVERIFY2(up.x >= moves.last().x && up.x < 299, qPrintable(QString::number(up.x)));
    QCOMPARE(up.buttons, 0);

    // After the release the cursor is back on the pointer and moves pass through again.
    server_.clearRequests();
    moveTo(screenOfPage(320, 170));
    QVERIFY(waitForEvents("mousemove", 1));
    QTRY_COMPARE(pageEventsOfType(server_, "mousemove").last().x, 320);
    QCOMPARE(pageEventsOfType(server_, "mousemove").last().y, 170);
    QCOMPARE(clickOnPage(250, 200).x, 249);
}

void TestSmoothing::offByChoosingNameEntry()
{
    selectLevel(5);
    QCOMPARE(clickOnPage(120, 80).x, 119);
    selectLevel(0);
    const PageEvent down = clickOnPage(120, 80);
    QCOMPARE(QPoint(down.x, down.y), QPoint(120, 80));
}

void TestSmoothing::offByFocusingLevelBox()
{
    selectLevel(2);
    QCOMPARE(clickOnPage(140, 90).y, 89);
    // Focusing the level box switches smoothing off before its list opens.
    moveTo(x11_.geometry(window_).topLeft() + LevelBoxCentre);
    QVERIFY(xdo({"click", "1"}));
    QTest::qWait(300);
    QVERIFY(xdo({"key", "Escape"}));
    QTest::qWait(200);
    const PageEvent down = clickOnPage(140, 90);
    QCOMPARE(QPoint(down.x, down.y), QPoint(140, 90));
}

void TestSmoothing::offByMovingWindow()
{
    selectLevel(4);
    QCOMPARE(clickOnPage(160, 100).x, 159);
    // Where the window manager owns the title bar, a press there starts a move of the window.
    const QPoint before = x11_.geometry(window_).topLeft();
    QVERIFY(xdo({"windowmove", QString::number(window_), QString::number(before.x() + 20),
                 QString::number(before.y() + 10)}));
    QTRY_COMPARE(x11_.geometry(window_).topLeft(), before + QPoint(20, 10));
    QTest::qWait(200);
    const PageEvent down = clickOnPage(160, 100);
    QCOMPARE(QPoint(down.x, down.y), QPoint(160, 100));
    QVERIFY(xdo({"windowmove", QString::number(window_), QString::number(before.x()),
                 QString::number(before.y())}));
    QTRY_COMPARE(x11_.geometry(window_).topLeft(), before);
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestSmoothing)
#include "tst_smoothing.moc"
