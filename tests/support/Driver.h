#pragma once

#include "support/HttpServer.h"
#include "support/PageEvents.h"
#include "support/X11.h"

#include <QPoint>
#include <QStringList>

// Runs xdotool with the given arguments on the test's display; true when it succeeded.
bool xdo(const QStringList &args);

// Drives a running sorvel window with real pointer and key input, in the stored layout's
// client coordinates (698 x 508: the page at (4, 64), the level box at x 549 in the address row).
class Driver
{
public:
    static constexpr int PageLeft = 4;
    static constexpr int PageTop = 64;

    Driver(const X11 &x11, unsigned long window, HttpServer &server)
        : x11_(x11), window_(window), server_(server)
    {
    }

    QPoint screenOfClient(QPoint client) const;
    QPoint screenOfPage(int x, int y) const;
    void moveTo(QPoint screen) const;
    void clickClient(QPoint client) const;
    // Focuses the level box with a click (back to off) and picks an entry with the keys.
    void selectLevel(int index) const;
    // Presses and releases at a page point; returns the mousedown the recorder page saw.
    PageEvent clickOnPage(int x, int y);
    bool waitForEvents(const QString &type, int count, int timeoutMs = 5000) const;

private:
    const X11 &x11_;
    unsigned long window_;
    HttpServer &server_;
};
