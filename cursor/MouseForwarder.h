#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>

class QWidget;
class QMouseEvent;
class QTabletEvent;
class Smoother;

// Forwarding mode of the smoothed cursor. While on, it sees every real mouse event of the
// application before any widget does, keeps the smoothing engine fed with the pointer, and
// re-issues left-button presses, drags and releases at the drawn cursor instead of the pointer.
class MouseForwarder : public QObject
{
    Q_OBJECT
public:
    MouseForwarder(Smoother &smoother, QWidget *browserWindow);
    ~MouseForwarder() override;

    void StartForwarding(QWidget *hPage);
    // Safe at any time; does nothing when forwarding is off.
    void StopForwarding();
    // The widget of the browser component that receives the page's input, or null.
    static QWidget *FindPageWindow(QWidget *h);

    bool HookActive() const { return hookActive_; }
    bool ButtonDown() const { return buttonDown_; }
    QWidget *page() const { return hPage_; }

    // Runs when the user presses on the browser window's frame or title bar while forwarding.
    void setFrameExitHandler(std::function<void()> handler) { frameExit_ = std::move(handler); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool MouseHookProc(QEvent *event, QPointF globalPos);
    void post(QWidget *target, QEvent *event);
    static void giveClickFocus(QWidget *target);
    bool isFrameExit(QObject *watched, QEvent *event) const;
    QEvent *makeForwarded(QEvent *original, QWidget *target, QPoint local, QPoint global) const;

    Smoother &smoother_;
    QWidget *browserWindow_;
    QPointer<QWidget> hPage_;
    QRect PageRect;
    bool hookActive_ = false;
    bool buttonDown_ = false;
    // Widgets with re-issued events possibly still queued, since the last release.
    QList<QPointer<QWidget>> postedTo_;
    std::function<void()> frameExit_;
};
