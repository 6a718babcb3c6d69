#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A loopback HTTP peer for what a real server will not do on demand: answer with a canned
// response (a 503 with a long body, a body that is not JSON), or accept and never answer.
class LocalHttpPeer : public QObject {
public:
    // An empty response means: read the request and stay silent.
    explicit LocalHttpPeer(QByteArray response)
        : m_response(std::move(response))
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { take(socket); });
            }
        });
    }

    static QByteArray answer(int status, const QByteArray& reason, const QByteArray& body,
                             const QByteArray& contentType = "application/json")
    {
        return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\nContent-Type: " + contentType
            + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    quint16 port() const { return m_server.serverPort(); }
    // Each request's head (request line and headers) as received.
    const QList<QByteArray>& requests() const { return m_requests; }

private:
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
        m_buffers.remove(socket);
        if (!m_response.isEmpty()) {
            socket->write(m_response);
            socket->disconnectFromHost();
        }
    }

    QTcpServer m_server;
    QByteArray m_response;
    QList<QByteArray> m_requests;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
