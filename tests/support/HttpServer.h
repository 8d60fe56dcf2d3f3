#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

// A small HTTP/1.0 server on 127.0.0.1 for tests: fixed pages, optional delays, and a record of
// every request (pages post reports back to it).
class HttpServer : public QObject
{
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QByteArray body;
    };

    explicit HttpServer(QObject *parent = nullptr);
    bool start();
    quint16 port() const { return server_.serverPort(); }
    QString url(const QString &path) const;

    void setPage(const QByteArray &path, const QByteArray &html, int delayMs = 0);
    // Serves tests/pages/NAME.html at /NAME.
    bool setTestPage(const QByteArray &name);
    const QList<Request> &requests() const { return requests_; }
    QList<Request> requestsTo(const QByteArray &path) const;
    void clearRequests() { requests_.clear(); }

Q_SIGNALS:
    void requestReceived(const QByteArray &path);

private:
    struct Page {
        QByteArray html;
        int delayMs = 0;
    };
    void onConnection();

    QTcpServer server_;
    QHash<QByteArray, Page> pages_;
    QList<Request> requests_;
};
