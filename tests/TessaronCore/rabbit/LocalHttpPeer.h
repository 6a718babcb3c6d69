#pragma once

#include <QByteArray>
#include <QList>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

// A loopback HTTP peer for what a real server will not do on demand: answer with a canned
// response (a 503 with a long body, a body that is not JSON), or accept and never answer.
class LocalHttpPeer : public QObject {
public:
    // An empty response means: read the request and stay silent.
    explicit LocalHttpPeer(QByteArray response)
        : LocalHttpPeer(std::move(response), std::make_unique<QTcpServer>())
    { }
    // Over TLS with this configuration (its certificate, and the client certificates it asks for).
    LocalHttpPeer(QByteArray response, const QSslConfiguration& tls)
        : LocalHttpPeer(std::move(response), secured(tls))
    { }

    static QByteArray answer(int status, const QByteArray& reason, const QByteArray& body,
                             const QByteArray& contentType = "application/json")
    {
        return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + contentType
            + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    // A response that closes the connection without answering.
    static QByteArray hangUp() { return QByteArrayLiteral("\x01hang up"); }
    // A response of which these bytes are sent, after which the peer stays silent and connected.
    static QByteArray stallAfter(const QByteArray& bytes) { return stallMark() + bytes; }
    // A response whose head is sent at once and its body one byte every `intervalMs`, never
    // silent long enough for a silence time-out.
    static QByteArray trickle(const QByteArray& bytes, int intervalMs)
    {
        return trickleMark() + QByteArray::number(intervalMs) + ':' + bytes;
    }

    // The n-th request gets the n-th response (the last one repeats), overriding the constructor's.
    void setScript(QList<QByteArray> responses) { m_script = std::move(responses); }
    // A request for exactly `path` gets `response`; routes win over the script.
    void route(const QByteArray& path, const QByteArray& response) { m_routes.append({path, response}); }

    quint16 port() const { return m_server->serverPort(); }
    // Each request's head (request line and headers) as received.
    const QList<QByteArray>& requests() const { return m_requests; }
    // Each request's body, beside its head in requests().
    const QList<QByteArray>& bodies() const { return m_bodies; }

private:
    LocalHttpPeer(QByteArray response, std::unique_ptr<QTcpServer> server)
        : m_server(std::move(server))
        , m_response(std::move(response))
    {
        m_server->listen(QHostAddress::LocalHost, 0);
        // A TLS server offers a connection once its handshake is done.
        auto accept = [this] {
            while (QTcpSocket* socket = m_server->nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { take(socket); });
            }
        };
        connect(m_server.get(), &QTcpServer::newConnection, this, accept);
        connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, accept);
    }

    static std::unique_ptr<QTcpServer> secured(const QSslConfiguration& tls)
    {
        auto server = std::make_unique<QSslServer>();
        server->setSslConfiguration(tls);
        return server;
    }

    static QByteArray stallMark() { return QByteArrayLiteral("\x01stall:"); }
    static QByteArray trickleMark() { return QByteArrayLiteral("\x01trickle:"); }

    void take(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QByteArray head = buffer.left(end);
        qsizetype length = 0;
        for (const QByteArray& line : head.split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (buffer.size() < end + 4 + length)
            return;
        m_requests.append(head);
        m_bodies.append(buffer.mid(end + 4, length));
        m_buffers.remove(socket);
        QByteArray response = m_response;
        if (!m_script.isEmpty())
            response = m_script.value(m_requests.size() - 1, m_script.last());
        const QByteArray path = head.left(head.indexOf('\r')).split(' ').value(1);
        for (const auto& [routedPath, routed] : m_routes) {
            if (path == routedPath) {
                response = routed;
                break;
            }
        }
        if (response == hangUp()) {
            socket->abort();
            return;
        }
        if (response.startsWith(trickleMark())) {
            const QByteArray rest = response.mid(trickleMark().size());
            const qsizetype colon = rest.indexOf(':');
            const QByteArray whole = rest.mid(colon + 1);
            const qsizetype body = whole.indexOf("\r\n\r\n") + 4;
            socket->write(whole.left(body));
            auto* timer = new QTimer(socket);
            auto sent = std::make_shared<qsizetype>(0);
            connect(timer, &QTimer::timeout, socket, [socket, timer, sent, bytes = whole.mid(body)] {
                if (*sent >= bytes.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                    return;
                }
                socket->write(bytes.mid((*sent)++, 1));
            });
            timer->start(rest.left(colon).toInt());
            return;
        }
        if (response.startsWith(stallMark())) {
            socket->write(response.mid(stallMark().size()));
            return;
        }
        if (!response.isEmpty()) {
            socket->write(response);
            socket->disconnectFromHost();
        }
    }

    std::unique_ptr<QTcpServer> m_server;
    QByteArray m_response;
    QList<QByteArray> m_requests;
    QList<QByteArray> m_bodies;
    QList<QByteArray> m_script;
    QList<std::pair<QByteArray, QByteArray>> m_routes;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
