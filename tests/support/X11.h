#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

// Window-system access for end-to-end tests, through its own Xlib connection: find a program's
// window, read its caption and pixels, resize it and close it as a window manager does.
class X11
{
public:
    X11();
    ~X11();
    X11(const X11 &) = delete;
    X11 &operator=(const X11 &) = delete;

    bool isOpen() const { return display_ != nullptr; }
    // The viewable top-level windows of a process, oldest first.
    QList<unsigned long> windows(qint64 pid) const;
    // The first of them, or 0.
    unsigned long findWindow(qint64 pid) const;
    // The one with this caption, or 0.
    unsigned long findWindowNamed(qint64 pid, const QString &name) const;
    QString windowName(unsigned long window) const;
    // In root (screen) coordinates.
    QRect geometry(unsigned long window) const;
    // The window manager's frame around a window (the window itself where there is none).
    QRect frameGeometry(unsigned long window) const;
    void resize(unsigned long window, int width, int height) const;
    // A WM_DELETE_WINDOW client message: the polite close a window manager sends.
    void sendDeleteWindow(unsigned long window) const;
    QColor pixel(unsigned long window, int x, int y) const;

private:
    struct _XDisplay *display_ = nullptr;
};
