// The level box and forwarding mode in-process: what choosing a level sets up, what turns it off,
// the failed page-window search, the glide clock, and pen input through the forwarding filter.
#include "app/FavoritesList.h"
#include "browser/BrowserWindow.h"
#include "support/HttpServer.h"
#include "support/PageEvents.h"
#include "support/TestMain.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>

class TestLevelSelector : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void warningWhenThereIsNoPageWindow();
    void choosingLevelSwitchesSmoothingOn();
    void focusOnLevelBoxSwitchesItOff();
    void toolbarButtonSwitchesItOff();
    void stopForwardingTwiceIsHarmless();
    void glideClockTicksAt64Hz();
    void penStrokeIsSmoothedLikeTheMouse();
    void pressAndReleaseArrivingTogetherStillClick();

private:
    // A shown browser window on the recorder page, with the page's input widget in place.
    std::unique_ptr<BrowserWindow> openRecorder();

    HttpServer server_;
};

void TestLevelSelector::initTestCase()
{
    QVERIFY(server_.start());
    QVERIFY(server_.setTestPage("recorder"));
}

std::unique_ptr<BrowserWindow> TestLevelSelector::openRecorder()
{
    FavoritesList::entries() = QStringList{"Recorder\t" + server_.url("/recorder")};
    auto w = std::make_unique<BrowserWindow>();
    QSignalSpy loaded(w->form().brwWebBrowser, &QWebEngineView::loadFinished);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()) || !loaded.wait(20000)) {
        return nullptr;
    }
    w->activateWindow();
    (void)QTest::qWaitForWindowActive(w.get());
    (void)QTest::qWaitFor([&] { return w->form().brwWebBrowser->pageWindow() != nullptr; });
    return w;
}

void TestLevelSelector::warningWhenThereIsNoPageWindow()
{
    auto shown = openRecorder();
    QVERIFY(shown);
    BrowserWindow &w = *shown;
    // Too low a window leaves the page no area: nothing of it lies at its top-left point.
    w.resize(400, 50);
    QTRY_COMPARE(w.form().brwWebBrowser->height(), 0);
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    int boxes = 0;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box) {
            ++boxes;
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            box->accept();
        }
    });
    w.setLevelIndex(3);
    QCOMPARE(boxes, 1);
    QCOMPARE(text, QStringLiteral("IEコンポーネントのウィンドウハンドル取得に失敗しました。"));
    QCOMPARE(title, QStringLiteral("sorvel"));
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Smoothing stays off, though the box is visible and the level box shows the choice.
    QVERIFY(!w.forwarder().HookActive());
    QVERIFY(!w.TimerSorvel().isEnabled());
    QVERIFY(!w.form().picCur->isHidden());
    QCOMPARE(w.form().cboName->currentIndex(), 3);
    QCOMPARE(w.smoother().SmoothLevel, 3);
}

void TestLevelSelector::choosingLevelSwitchesSmoothingOn()
{
    auto w = openRecorder();
    QVERIFY(w);
    QWidget *page = w->form().brwWebBrowser->pageWindow();
    const QPoint pointer = page->mapToGlobal(QPoint(120, 70));
    QCursor::setPos(pointer);
    QTRY_COMPARE(QCursor::pos(), pointer);
    w->setLevelIndex(5);
    QCOMPARE(w->smoother().SmoothLevel, 5);
    QCOMPARE(w->smoother().StepCounter, 10);
    QVERIFY(w->forwarder().HookActive());
    QVERIFY(!w->forwarder().ButtonDown());
    QCOMPARE(w->forwarder().page(), page);
    QVERIFY(w->TimerSorvel().isEnabled());
    QCOMPARE(w->TimerSorvel().interval(), 1);
    // The drawn cursor starts exactly on the pointer: step index 0 of a flat table.
    QCOMPARE(w->smoother().CurX, 120);
    QCOMPARE(w->smoother().CurY, 70);
    QVERIFY(w->form().picCur->isVisible());
    QCOMPARE(w->form().picCur->pos(), QPoint(120 + 2, 70 - 1 + 65));
    QCOMPARE(w->form().picCur->size(), QSize(5, 5));
    // Ticks keep it still on the pointer.
    QTest::qWait(100);
    QCOMPARE(w->form().picCur->pos(), QPoint(122, 134));

    // Changing level passes through off and on again.
    w->setLevelIndex(1);
    QCOMPARE(w->smoother().SmoothLevel, 1);
    QCOMPARE(w->smoother().StepCounter, 2);
    QVERIFY(w->forwarder().HookActive());
    w->setLevelIndex(0);
    QVERIFY(!w->forwarder().HookActive());
    QVERIFY(!w->TimerSorvel().isEnabled());
    QVERIFY(w->form().picCur->isHidden());
    QCOMPARE(w->smoother().SmoothLevel, 1); // the last level is kept
}

void TestLevelSelector::focusOnLevelBoxSwitchesItOff()
{
    auto w = openRecorder();
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->setLevelIndex(7);
    QVERIFY(w->forwarder().HookActive());
    w->form().cboName->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(!w->forwarder().HookActive());
    QCOMPARE(w->form().cboName->currentIndex(), 0);
    QVERIFY(w->form().picCur->isHidden());
    QVERIFY(!w->TimerSorvel().isEnabled());
}

void TestLevelSelector::toolbarButtonSwitchesItOff()
{
    auto w = openRecorder();
    QVERIFY(w);
    for (QAction *button : w->form().tbToolBar->actions()) {
        if (button->objectName() == QLatin1String("Favorites")) {
            continue; // modal: has a suite of its own
        }
        w->setLevelIndex(2);
        QVERIFY(w->forwarder().HookActive());
        button->trigger();
        QVERIFY2(!w->forwarder().HookActive(), qPrintable(button->objectName()));
        QCOMPARE(w->form().cboName->currentIndex(), 0);
        QVERIFY(w->form().picCur->isHidden());
        QVERIFY(!w->TimerSorvel().isEnabled());
        QSignalSpy loaded(w->form().brwWebBrowser, &QWebEngineView::loadFinished);
        (void)loaded.wait(3000);
    }
}

void TestLevelSelector::stopForwardingTwiceIsHarmless()
{
    auto w = openRecorder();
    QVERIFY(w);
    w->setLevelIndex(4);
    w->forwarder().StopForwarding();
    w->forwarder().StopForwarding();
    QVERIFY(!w->forwarder().HookActive());
    w->setLevelIndex(4);
    QVERIFY(w->forwarder().HookActive());
}

void TestLevelSelector::glideClockTicksAt64Hz()
{
    GlideClock clock;
    clock.setInterval(1);
    int ticks = 0;
    connect(&clock, &GlideClock::timeout, [&] { ++ticks; });
    clock.setEnabled(true);
    QEventLoop loop; // not QTest::qWait, which sleeps between its passes
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    clock.setEnabled(false);
    // 64 expected: far from both a true 1 ms timer (1000) and from a few ticks.
    QVERIFY2(ticks > 45 && ticks < 80, qPrintable(QString::number(ticks)));
    const int after = ticks;
    QTest::qWait(100);
    QCOMPARE(ticks, after);
}

namespace
{
// Records the mouse events re-issued to a widget.
class ForwardedSpy : public QObject
{
public:
    struct Seen {
        QEvent::Type type;
        QPoint pos;
        Qt::MouseButtons buttons;
    };
    QList<Seen> seen;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        if (!event->spontaneous() && (t == QEvent::MouseButtonPress || t == QEvent::MouseMove ||
                                      t == QEvent::MouseButtonRelease)) {
            auto *m = static_cast<QMouseEvent *>(event);
            seen.append({t, m->position().toPoint(), m->buttons()});
        }
        return false;
    }
};
} // namespace

void TestLevelSelector::penStrokeIsSmoothedLikeTheMouse()
{
    auto w = openRecorder();
    QVERIFY(w);
    auto *pen =
        new QPointingDevice(QStringLiteral("test pen"), 4242, QInputDevice::DeviceType::Stylus,
                            QPointingDevice::PointerType::Pen,
                            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure,
                            1, 3, QString(), QPointingDeviceUniqueId::fromNumericId(4242), this);
    QWindowSystemInterface::registerInputDevice(pen);
    QWindow *window = w->windowHandle();
    QWidget *page = w->form().brwWebBrowser->pageWindow();
    auto send = [&](QPoint pagePoint, Qt::MouseButtons buttons, qreal pressure) {
        const QPoint global = page->mapToGlobal(pagePoint);
        QWindowSystemInterface::handleTabletEvent(
            window, pen, QPointF(window->mapFromGlobal(global)), QPointF(global), buttons, pressure,
            0, 0, 0, 0, 0, Qt::NoModifier);
        QWindowSystemInterface::flushWindowSystemEvents();
    };
    w->setLevelIndex(3);
    send(QPoint(200, 150), Qt::NoButton, 0); // a hovering pen: the drawn cursor follows it
    ForwardedSpy spy;
    page->installEventFilter(&spy);
    send(QPoint(200, 150), Qt::LeftButton, 0.7);
    for (int x = 205; x <= 260; x += 5) {
        send(QPoint(x, 150), Qt::LeftButton, 0.7);
        QTest::qWait(10);
    }
    send(QPoint(260, 150), Qt::NoButton, 0);
    QTRY_VERIFY(!spy.seen.isEmpty() && spy.seen.last().type == QEvent::MouseButtonRelease);
    page->removeEventFilter(&spy);
    QVERIFY(!w->forwarder().ButtonDown());

    // The stroke is re-issued as a drag at the drawn cursor, exactly as the mouse's is.
    QCOMPARE(spy.seen.first().type, QEvent::MouseButtonPress);
    QCOMPARE(spy.seen.first().pos, QPoint(199, 149));
    QCOMPARE(spy.seen.first().buttons, Qt::MouseButtons(Qt::LeftButton));
    const QList<ForwardedSpy::Seen> moves(spy.seen.begin() + 1, spy.seen.end() - 1);
    QVERIFY(moves.size() >= 2);
    QCOMPARE(moves.first().pos, QPoint(199, 149)); // the glide, not the pen
    for (const ForwardedSpy::Seen &m : moves) {
        QCOMPARE(m.type, QEvent::MouseMove);
        QCOMPARE(m.buttons, Qt::MouseButtons(Qt::LeftButton));
        QCOMPARE(m.pos.y(), 149);
    }
    QVERIFY(spy.seen.last().pos.x() < 259);
    QCOMPARE(spy.seen.last().buttons, Qt::MouseButtons(Qt::NoButton));
    w->setLevelIndex(0);
}

void TestLevelSelector::pressAndReleaseArrivingTogetherStillClick()
{
    auto w = openRecorder();
    QVERIFY(w);
    w->setLevelIndex(3);
    QWindow *window = w->windowHandle();
    // Over the Stop button; both events are queued before either is handled, as a quick click
    // on a busy machine delivers them.
    const QPointF stop(4 + 2 * 32 + 15, 19);
    const QPointF global = window->mapToGlobal(stop);
    QWindowSystemInterface::handleMouseEvent(window, stop, global, Qt::NoButton, Qt::NoButton,
                                             QEvent::MouseMove);
    QWindowSystemInterface::flushWindowSystemEvents();
    QWindowSystemInterface::handleMouseEvent(window, stop, global, Qt::LeftButton, Qt::LeftButton,
                                             QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent(window, stop, global, Qt::NoButton, Qt::LeftButton,
                                             QEvent::MouseButtonRelease);
    QWindowSystemInterface::flushWindowSystemEvents();
    QTRY_VERIFY(!w->forwarder().HookActive()); // the button ran: smoothing is off
    QCOMPARE(w->form().cboName->currentIndex(), 0);
}

SORVEL_TEST_MAIN_WITH_DISPLAY(TestLevelSelector)
#include "tst_levelselector.moc"
