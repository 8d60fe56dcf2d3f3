#pragma once

#include "support/HttpServer.h"

#include <QList>
#include <QString>

// One DOM event as the recorder page saw it.
struct PageEvent {
    QString type;
    int x = 0;
    int y = 0;
    int buttons = 0;
    double pressure = 0;
};

// Every event the recorder page has reported to the server so far, in order.
QList<PageEvent> pageEvents(const HttpServer &server);
QList<PageEvent> pageEventsOfType(const HttpServer &server, const QString &type);
