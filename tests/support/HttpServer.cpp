#include "support/HttpServer.h"

#include <QFile>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

HttpServer::HttpServer(QObject *parent) : QObject(parent)
{
    connect(&server_, &QTcpServer::newConnection, this, &HttpServer::onConnection);
}

bool HttpServer::start()
{
    return server_.listen(QHostAddress::LocalHost, 0);
}

QString HttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void HttpServer::setPage(const QByteArray &path, const QByteArray &html, int delayMs)
{
    pages_.insert(path, Page{html, delayMs});
}

bool HttpServer::setTestPage(const QByteArray &name)
{
    QFile page(QStringLiteral(SORVEL_TEST_PAGES "/%1.html").arg(QString::fromLatin1(name)));
    if (!page.open(QIODevice::ReadOnly)) {
        return false;
    }
    setPage("/" + name, page.readAll());
    return true;
}

QList<HttpServer::Request> HttpServer::requestsTo(const QByteArray &path) const
{
    QList<Request> out;
    for (const Request &r : requests_) {
        if (r.path == path) {
            out.append(r);
        }
    }
    return out;
}

void HttpServer::onConnection()
{
    while (QTcpSocket *socket = server_.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
            if (headerEnd < 0) {
                return;
            }
            const QByteArray header = buffer->left(headerEnd);
            qsizetype length = 0;
            for (const QByteArray &line : header.split('\n')) {
                if (line.toLower().startsWith("content-length:")) {
                    length = line.mid(15).trimmed().toLongLong();
                }
            }
            if (buffer->size() < headerEnd + 4 + length) {
                return;
            }
            const QList<QByteArray> first = header.left(header.indexOf('\r')).split(' ');
            Request request{first.value(0), first.value(1), buffer->mid(headerEnd + 4, length)};
            buffer->clear();
            requests_.append(request);
            Q_EMIT requestReceived(request.path);

            const QByteArray pagePath = request.path.left(
                request.path.indexOf('?') < 0 ? request.path.size() : request.path.indexOf('?'));
            const auto it = pages_.constFind(pagePath);
            QByteArray response;
            if (it == pages_.constEnd()) {
                response = "HTTP/1.0 204 No Content\r\nAccess-Control-Allow-Origin: *\r\n"
                           "Content-Length: 0\r\nConnection: close\r\n\r\n";
            } else {
                response = "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                           "Cache-Control: no-store\r\nContent-Length: " +
                           QByteArray::number(it->html.size()) + "\r\nConnection: close\r\n\r\n" +
                           it->html;
            }
            QPointer<QTcpSocket> guard(socket);
            QTimer::singleShot(it == pages_.constEnd() ? 0 : it->delayMs, this, [guard, response] {
                if (guard) {
                    guard->write(response);
                    guard->disconnectFromHost();
                }
            });
        });
    }
}
