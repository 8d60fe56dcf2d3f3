#include "support/X11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

X11::X11() : display_(XOpenDisplay(nullptr)) {}

X11::~X11()
{
    if (display_) {
        XCloseDisplay(display_);
    }
}

unsigned long X11::findWindow(qint64 pid) const
{
    return windows(pid).value(0);
}

unsigned long X11::findWindowNamed(qint64 pid, const QString &name) const
{
    for (unsigned long window : windows(pid)) {
        if (windowName(window) == name) {
            return window;
        }
    }
    return 0;
}

QList<unsigned long> X11::windows(qint64 pid) const
{
    QList<unsigned long> found;
    if (!display_) {
        return found;
    }
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", True);
    if (pidAtom == None) {
        return found;
    }
    auto ownedBy = [&](Window window) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        bool owned = false;
        if (XGetWindowProperty(display_, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data) {
            owned = items == 1 && qint64(*reinterpret_cast<unsigned long *>(data)) == pid;
            XFree(data);
        }
        return owned;
    };
    auto viewable = [&](Window window) {
        XWindowAttributes attributes;
        return XGetWindowAttributes(display_, window, &attributes) &&
               attributes.map_state == IsViewable;
    };
    // Top-level windows are children of the root, or of a window manager's frame.
    Window root = 0, parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
        return found;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (!viewable(children[i])) {
            continue;
        }
        if (ownedBy(children[i])) {
            found.append(children[i]);
            continue;
        }
        Window *inner = nullptr;
        unsigned int innerCount = 0;
        if (XQueryTree(display_, children[i], &root, &parent, &inner, &innerCount)) {
            for (unsigned int j = 0; j < innerCount; ++j) {
                if (viewable(inner[j]) && ownedBy(inner[j])) {
                    found.append(inner[j]);
                }
            }
            if (inner) {
                XFree(inner);
            }
        }
    }
    if (children) {
        XFree(children);
    }
    return found;
}

QString X11::windowName(unsigned long window) const
{
    if (!display_ || !window) {
        return QString();
    }
    const Atom nameAtom = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    QString name;
    if (XGetWindowProperty(display_, window, nameAtom, 0, 4096, False, utf8, &type, &format, &items,
                           &after, &data) == Success &&
        data) {
        name = QString::fromUtf8(reinterpret_cast<const char *>(data), int(items));
        XFree(data);
    }
    return name;
}

QRect X11::geometry(unsigned long window) const
{
    XWindowAttributes attributes;
    if (!display_ || !XGetWindowAttributes(display_, window, &attributes)) {
        return QRect();
    }
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
}

QRect X11::frameGeometry(unsigned long window) const
{
    Window root = 0, parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!display_ || !XQueryTree(display_, window, &root, &parent, &children, &count)) {
        return QRect();
    }
    if (children) {
        XFree(children);
    }
    return geometry(parent == root ? window : parent);
}

void X11::resize(unsigned long window, int width, int height) const
{
    XResizeWindow(display_, window, unsigned(width), unsigned(height));
    XFlush(display_);
}

void X11::sendDeleteWindow(unsigned long window) const
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

QColor X11::pixel(unsigned long window, int x, int y) const
{
    XImage *image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) {
        return QColor();
    }
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return QColor(int((value >> 16) & 0xff), int((value >> 8) & 0xff), int(value & 0xff));
}
