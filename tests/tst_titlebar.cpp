// A press on the title bar ends smoothing: the real sorvel under a real window manager (twm),
// whose title bar is pressed and dragged with xdotool as a user moves the window.
#include "support/Driver.h"
#include "support/HttpServer.h"
#include "support/SorvelProcess.h"
#include "support/TestMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class TestTitleBar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void titleBarPressEndsSmoothing();

private:
    X11 x11_;
    HttpServer server_;
    QTemporaryDir dir_;
    QProcess windowManager_;
};

void TestTitleBar::initTestCase()
{
    QVERIFY(server_.start());
    QVERIFY(server_.setTestPage("recorder"));
    // Windows where they ask to be, moved live as the title bar is dragged; the one font every
    // X server has.
    QFile config(dir_.filePath("twmrc"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("UsePPosition \"on\"\nRandomPlacement\nOpaqueMove\nNoGrabServer\n");
    for (const char *font :
         {"TitleFont", "ResizeFont", "MenuFont", "IconFont", "IconManagerFont"}) {
        config.write(QByteArray(font) + " \"fixed\"\n");
    }
    config.close();
    windowManager_.setProgram(QStringLiteral("twm"));
    windowManager_.setArguments({"-f", config.fileName()});
    windowManager_.setStandardErrorFile(QProcess::nullDevice()); // warnings about missing charsets
    windowManager_.start();
    QVERIFY(windowManager_.waitForStarted());
    QTest::qWait(500);
    QCOMPARE(windowManager_.state(), QProcess::Running);
}

void TestTitleBar::cleanupTestCase()
{
    windowManager_.terminate();
    windowManager_.waitForFinished(5000);
}

void TestTitleBar::titleBarPressEndsSmoothing()
{
    SorvelProgram program;
    program.writeFavorites("Recorder\t" + server_.url("/recorder").toUtf8() + "\r\n");
    auto sorvel = program.start();
    const unsigned long window = waitForWindow(x11_, *sorvel);
    QVERIFY(window);
    QVERIFY(waitForCaption(x11_, window, QStringLiteral("Sorvel v0.13 - Recorder")));
    QTest::qWait(500);
    const QRect client = x11_.geometry(window);
    const QRect frame = x11_.frameGeometry(window);
    QVERIFY2(frame.top() < client.top(), "the window manager drew no title bar");
    QVERIFY(xdo({"windowfocus", "--sync", QString::number(window)}));

    Driver driver(x11_, window, server_);
    driver.selectLevel(3);
    QCOMPARE(driver.clickOnPage(100, 100).x, 99); // smoothing is on

    const QPoint title(client.left() + 150, (frame.top() + client.top()) / 2);
    driver.moveTo(title);
    QVERIFY(xdo({"mousedown", "1"}));
    QVERIFY(xdo({"mousemove_relative", "--sync", "40", "30"}));
    QVERIFY(xdo({"mouseup", "1"}));
    QTRY_VERIFY(x11_.geometry(window).topLeft() != client.topLeft());
    QTest::qWait(300);

    const PageEvent down = driver.clickOnPage(100, 100);
    QCOMPARE(QPoint(down.x, down.y), QPoint(100, 100));
    QVERIFY(closeLikeWindowManager(x11_, window, *sorvel));
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestTitleBar)
#include "tst_titlebar.moc"
