#include "support/Driver.h"

#include <QProcess>
#include <QTest>

bool xdo(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

QPoint Driver::screenOfClient(QPoint client) const
{
    return x11_.geometry(window_).topLeft() + client;
}

QPoint Driver::screenOfPage(int x, int y) const
{
    return screenOfClient(QPoint(PageLeft + x, PageTop + y));
}

void Driver::moveTo(QPoint screen) const
{
    xdo({"mousemove", QString::number(screen.x()), QString::number(screen.y())});
}

void Driver::clickClient(QPoint client) const
{
    moveTo(screenOfClient(client));
    xdo({"click", "1"});
}

void Driver::selectLevel(int index) const
{
    clickClient(QPoint(549 + 60, 36 + 3 + 10));
    QTest::qWait(300);
    QStringList keys{"key", "--delay", "30", "Home"};
    for (int i = 0; i < index; ++i) {
        keys << "Down";
    }
    keys << "Return";
    xdo(keys);
    QTest::qWait(300);
}

bool Driver::waitForEvents(const QString &type, int count, int timeoutMs) const
{
    return QTest::qWaitFor([&] { return pageEventsOfType(server_, type).size() >= count; },
                           timeoutMs);
}

PageEvent Driver::clickOnPage(int x, int y)
{
    server_.clearRequests();
    moveTo(screenOfPage(x, y));
    QTest::qWait(100);
    xdo({"mousedown", "1"});
    xdo({"mouseup", "1"});
    if (!waitForEvents("mouseup", 1)) {
        return PageEvent{};
    }
    return pageEventsOfType(server_, "mousedown").value(0);
}
