#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTcpSocket>

namespace tessaron::demo {

// Real consumers on RabbitMQ queues, which the management API cannot create: a minimal AMQP 0-9-1
// connection (PLAIN login, no heartbeats) with one channel and one consumer per queue named,
// each taking at most one message and never acknowledging it. The consumers last as long as this
// object; whatever the server delivers meanwhile is read and dropped.
class AmqpConsumers : public QObject {
public:
    // Opens the connection and starts the consumers, blocking the calling thread for at most
    // `timeoutMs`. Throws std::runtime_error with the reason when the server refuses or is silent.
    AmqpConsumers(const QString& host, quint16 port, const QString& user, const QString& password, const QString& vhost,
                  const QStringList& queues, int timeoutMs = 10000);
    ~AmqpConsumers() override;

    AmqpConsumers(const AmqpConsumers&) = delete;
    AmqpConsumers& operator=(const AmqpConsumers&) = delete;

    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

private:
    struct Frame {
        quint8 type = 0;
        quint16 channel = 0;
        QByteArray payload;
    };

    void send(quint8 type, quint16 channel, const QByteArray& payload);
    void sendMethod(quint16 channel, quint16 classId, quint16 methodId, const QByteArray& arguments);
    Frame readFrame(qint64 deadline);
    // Reads until the method `classId.methodId` arrives on `channel`; returns its arguments.
    QByteArray expectMethod(quint16 channel, quint16 classId, quint16 methodId, qint64 deadline);

    QTcpSocket m_socket;
    QByteArray m_buffer;
};

} // namespace tessaron::demo
