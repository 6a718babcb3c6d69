#pragma once

#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

// A Schema Registry stand-in for the tests: a loopback HTTP/1.1 server that answers each path
// as it has been told, counts the requests and remembers their headers.
class RegistryPeer : public QObject {
    Q_OBJECT
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        bool silent = false;  // accept the request and never answer
        bool notHTTP = false; // answer bytes that are not HTTP
        int trickleMs = 0;    // send the answer one byte every this many milliseconds
        QByteArray location;  // a Location header (for redirects)
        // After the head, send only this many bytes of the body, then close (cut) or stay silent.
        qsizetype bodyBytes = -1;
        bool cut = true;
        bool endless = false; // after the head, stream body bytes until the client lets go
    };
    struct Request {
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; // lower-case names
    };

    RegistryPeer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    void answer(const QByteArray& path, Answer answer) { m_answers.insert(path, answer); }
    int count(const QByteArray& path) const
    {
        return int(std::count_if(requests.begin(), requests.end(), [&](const Request& r) { return r.path == path; }));
    }

    QList<Request> requests;

private:
    void serve(QTcpSocket* socket)
    {
        QByteArray& pending = m_buffers[socket];
        pending += socket->readAll();
        qsizetype end = pending.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        const QList<QByteArray> lines = pending.left(end).split('\n');
        pending.clear();
        Request request;
        request.path = lines.value(0).split(' ').value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
        }
        requests.append(request);
        Answer answer =
            m_answers.value(request.path, Answer{404, R"({"error_code":40403,"message":"Schema not found"})"});
        if (answer.silent)
            return;
        if (answer.notHTTP) {
            socket->write("SSH-2.0-nothing-to-see\r\n");
            socket->disconnectFromHost();
            return;
        }
        const QByteArray bytes = "HTTP/1.1 " + QByteArray::number(answer.status)
            + " Whatever\r\n"
              "Content-Type: application/vnd.schemaregistry.v1+json\r\n"
            + (answer.location.isEmpty() ? QByteArray() : "Location: " + answer.location + "\r\n")
            + "Content-Length: " + QByteArray::number(answer.body.size())
            + "\r\n"
              "Connection: close\r\n\r\n"
            + answer.body;
        if (answer.endless) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n");
            auto* timer = new QTimer(socket);
            connect(timer, &QTimer::timeout, socket, [socket] {
                if (socket->bytesToWrite() < 4 * 1024 * 1024)
                    socket->write(QByteArray(256 * 1024, ' '));
            });
            timer->start(1);
            return;
        }
        if (answer.bodyBytes >= 0) {
            socket->write(bytes.left(bytes.size() - answer.body.size() + answer.bodyBytes));
            if (answer.cut)
                socket->disconnectFromHost();
            return;
        }
        if (answer.trickleMs > 0) {
            auto* timer = new QTimer(socket);
            auto sent = std::make_shared<qsizetype>(0);
            connect(timer, &QTimer::timeout, socket, [socket, timer, sent, bytes] {
                if (*sent >= bytes.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                    return;
                }
                socket->write(bytes.mid((*sent)++, 1));
            });
            timer->start(answer.trickleMs);
            return;
        }
        socket->write(bytes);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
