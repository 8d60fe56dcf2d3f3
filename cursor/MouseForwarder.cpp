#include "cursor/MouseForwarder.h"

#include "cursor/Smoother.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabletEvent>
#include <QWebEngineView>
#include <QWidget>

#include <utility>

MouseForwarder::MouseForwarder(Smoother &smoother, QWidget *browserWindow)
    : smoother_(smoother), browserWindow_(browserWindow)
{
}

MouseForwarder::~MouseForwarder()
{
    StopForwarding();
}

QWidget *MouseForwarder::FindPageWindow(QWidget *h)
{
    for (QWidget *w = h; w; w = w->parentWidget()) {
        if (auto *view = qobject_cast<QWebEngineView *>(w)) {
            return view->focusProxy();
        }
    }
    return nullptr;
}

void MouseForwarder::StartForwarding(QWidget *hPage)
{
    hPage_ = hPage;
    hookActive_ = true;
    buttonDown_ = false;
    qApp->installEventFilter(this);
}

void MouseForwarder::StopForwarding()
{
    if (!hookActive_) {
        return;
    }
    hookActive_ = false;
    qApp->removeEventFilter(this);
}

bool MouseForwarder::isFrameExit(QObject *watched, QEvent *event) const
{
    if (watched != browserWindow_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::NonClientAreaMouseButtonPress:
        // Where the toolkit sees the title bar (Windows), the press itself.
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    case QEvent::Move:
    case QEvent::Resize:
        // Where the window manager owns the frame (X11, Wayland), the press never reaches us:
        // the move or resize it starts does.
        return event->spontaneous();
    default:
        return false;
    }
}

bool MouseForwarder::eventFilter(QObject *watched, QEvent *event)
{
    if (isFrameExit(watched, event)) {
        if (frameExit_) {
            frameExit_();
        }
        StopForwarding();
        return false;
    }
    // Real input reaches the top-level QWindow first; re-issued events are not spontaneous.
    if (!event->spontaneous() || !watched->isWindowType()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return MouseHookProc(event, static_cast<QMouseEvent *>(event)->globalPosition());
    case QEvent::TabletMove:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return MouseHookProc(event, static_cast<QTabletEvent *>(event)->globalPosition());
    case QEvent::Wheel:
        return MouseHookProc(event, static_cast<QSinglePointEvent *>(event)->globalPosition());
    default:
        return false;
    }
}

bool MouseForwarder::MouseHookProc(QEvent *event, QPointF globalPos)
{
    QWidget *page = hPage_.data();
    if (!page) {
        return false;
    }
    // 1-2. The pointer in page coordinates.
    const QPoint pageOrigin = page->mapToGlobal(QPoint(0, 0));
    PageRect = QRect(pageOrigin, page->size());
    const QPoint pointer(qRound(globalPos.x()), qRound(globalPos.y()));
    smoother_.CurX = pointer.x() - PageRect.left();
    smoother_.CurY = pointer.y() - PageRect.top();

    // 3. The drawn cursor's hot spot, read before the update so a press lands where it was drawn.
    const int hotX = Smoother::RoundHalfEven(double(smoother_.PicLeft) - 3);
    const int hotY = Smoother::RoundHalfEven(double(smoother_.PicTop) - smoother_.PageTop);

    // 5. Smoothing update.
    smoother_.FollowPointer(buttonDown_);

    // 7. Which events are taken over.
    enum class Action { Pass, Press, Move, Release, Swallow } action = Action::Pass;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            action = Action::Press;
        }
        break;
    case QEvent::MouseButtonDblClick:
        // Qt adds this to the second press, which has already been forwarded.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            action = Action::Swallow;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            action = Action::Release;
        }
        break;
    case QEvent::MouseMove:
        if (buttonDown_) {
            action = Action::Move;
        }
        break;
    case QEvent::TabletPress:
        if (static_cast<QTabletEvent *>(event)->button() == Qt::LeftButton) {
            action = Action::Press;
        }
        break;
    case QEvent::TabletRelease: {
        // Some tablet drivers name no button on release: the tip leaving the surface is one.
        const auto *tablet = static_cast<QTabletEvent *>(event);
        if (tablet->button() == Qt::LeftButton ||
            (tablet->button() == Qt::NoButton && !(tablet->buttons() & Qt::LeftButton))) {
            action = Action::Release;
        }
        break;
    }
    case QEvent::TabletMove:
        if (buttonDown_) {
            action = Action::Move;
        }
        break;
    default:
        break;
    }
    if (action == Action::Pass) {
        return false;
    }
    // A taken-over pen event counts as handled, or the toolkit would add a mouse event for it.
    event->accept();
    if (action == Action::Swallow) {
        return true;
    }

    // 4, 6. The widget under the hot spot, and the hot spot in its coordinates. Input goes only to
    // this program's widgets: off them, the page keeps receiving its drag.
    const QPoint probe = page->mapToGlobal(QPoint(hotX, hotY));
    QWidget *target = QApplication::widgetAt(probe);
    if (!target) {
        target = page;
    }
    const QPoint local = target->mapFromGlobal(probe);

    switch (action) {
    case Action::Press:
        buttonDown_ = true;
        giveClickFocus(target);
        post(target, makeForwarded(event, target, local, probe));
        break;
    case Action::Move:
        post(target, makeForwarded(event, target, local, probe));
        break;
    case Action::Release: {
        smoother_.BuildStepTable();
        buttonDown_ = false;
        // Re-issued presses and moves still queued go first: a press and release that arrive
        // together must not reach their widget as release, then press.
        for (const QPointer<QWidget> &receiver : std::exchange(postedTo_, {})) {
            if (receiver) {
                QCoreApplication::sendPostedEvents(receiver, 0);
            }
        }
        QEvent *release = makeForwarded(event, target, local, probe);
        QCoreApplication::sendEvent(target, release);
        delete release;
        smoother_.SnapCursor();
        break;
    }
    default:
        break;
    }
    return true;
}

void MouseForwarder::post(QWidget *target, QEvent *event)
{
    if (!postedTo_.contains(target)) {
        postedTo_.append(target);
    }
    QCoreApplication::postEvent(target, event);
}

void MouseForwarder::giveClickFocus(QWidget *target)
{
    // The toolkit focuses a clicked widget only for real input; a forwarded click must do the
    // same, or clicking the level box would not switch smoothing off.
    for (QWidget *w = target; w; w = w->parentWidget()) {
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
            if (!w->hasFocus()) {
                w->setFocus(Qt::MouseFocusReason);
            }
            return;
        }
        if (w->isWindow()) {
            return;
        }
    }
}

QEvent *MouseForwarder::makeForwarded(QEvent *original, QWidget *target, QPoint local,
                                      QPoint global) const
{
    // A pen stroke reaches the page as a mouse drag from the core pointer: the page engine turns
    // a re-issued pen press into no pointerdown at all, and a stroke that never starts draws
    // nothing. The pen's pressure is lost on the way.
    QEvent::Type type = original->type();
    const QPointingDevice *device = QPointingDevice::primaryPointingDevice();
    if (type == QEvent::TabletPress) {
        type = QEvent::MouseButtonPress;
    } else if (type == QEvent::TabletMove) {
        type = QEvent::MouseMove;
    } else if (type == QEvent::TabletRelease) {
        type = QEvent::MouseButtonRelease;
    }
    // A real drag holds the left button in the press and the moves; drawing pages test it.
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const auto *input = static_cast<QInputEvent *>(original);
    const QPointF scene = target->mapTo(target->window(), QPointF(local));
    auto *forwarded = new QMouseEvent(type, QPointF(local), scene, QPointF(global), button, buttons,
                                      input->modifiers(), device);
    forwarded->setTimestamp(input->timestamp());
    return forwarded;
}
