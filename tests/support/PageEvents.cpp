#include "support/PageEvents.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QList<PageEvent> pageEvents(const HttpServer &server)
{
    QList<PageEvent> events;
    for (const HttpServer::Request &r : server.requestsTo("/report")) {
        const QJsonArray batch = QJsonDocument::fromJson(r.body).array();
        for (const QJsonValue &v : batch) {
            const QJsonObject o = v.toObject();
            events.append({o.value("type").toString(), o.value("x").toInt(), o.value("y").toInt(),
                           o.value("buttons").toInt(), o.value("pressure").toDouble()});
        }
    }
    return events;
}

QList<PageEvent> pageEventsOfType(const HttpServer &server, const QString &type)
{
    QList<PageEvent> out;
    for (const PageEvent &e : pageEvents(server)) {
        if (e.type == type) {
            out.append(e);
        }
    }
    return out;
}
