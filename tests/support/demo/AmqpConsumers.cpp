#include "AmqpConsumers.h"

#include <QDeadlineTimer>
#include <QtEndian>

#include <stdexcept>

namespace tessaron::demo {

namespace {

constexpr quint8 methodFrame = 1;
constexpr quint8 frameEnd = 0xCE;

void putShort(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToBigEndian(value, bytes);
    out.append(bytes, 2);
}

void putLong(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void putShortString(QByteArray& out, const QByteArray& text)
{
    out.append(char(quint8(std::min<qsizetype>(text.size(), 255))));
    out.append(text.left(255));
}

void putLongString(QByteArray& out, const QByteArray& text)
{
    putLong(out, quint32(text.size()));
    out.append(text);
}

// A field table with text values only.
QByteArray table(const QList<std::pair<QByteArray, QByteArray>>& entries)
{
    QByteArray body;
    for (const auto& [name, value] : entries) {
        putShortString(body, name);
        body.append('S');
        putLongString(body, value);
    }
    QByteArray out;
    putLongString(out, body);
    return out;
}

quint16 shortAt(const QByteArray& bytes, qsizetype at)
{
    if (at + 2 > bytes.size())
        throw std::runtime_error("amqp: truncated method");
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

QByteArray shortStringAt(const QByteArray& bytes, qsizetype at)
{
    if (at >= bytes.size())
        return {};
    const int length = quint8(bytes.at(at));
    return bytes.mid(at + 1, length);
}

} // namespace

AmqpConsumers::AmqpConsumers(const QString& host, quint16 port, const QString& user, const QString& password,
                             const QString& vhost, const QStringList& queues, int timeoutMs)
{
    const qint64 deadline = QDeadlineTimer(timeoutMs).deadline();
    m_socket.connectToHost(host, port);
    if (!m_socket.waitForConnected(timeoutMs))
        throw std::runtime_error("amqp: could not connect to " + host.toStdString() + ":" + std::to_string(port) + ": "
                                 + m_socket.errorString().toStdString());
    m_socket.write(QByteArray("AMQP\x00\x00\x09\x01", 8));

    expectMethod(0, 10, 10, deadline); // Connection.Start
    QByteArray startOk = table({{"product", "tessaron-demo"}, {"connection_name", "tessaron demo consumers"}});
    putShortString(startOk, "PLAIN");
    putLongString(startOk, '\0' + user.toUtf8() + '\0' + password.toUtf8());
    putShortString(startOk, "en_US");
    sendMethod(0, 10, 11, startOk);

    const QByteArray tune = expectMethod(0, 10, 30, deadline); // Connection.Tune
    QByteArray tuneOk;
    putShort(tuneOk, shortAt(tune, 0));                                                         // channel-max
    putLong(tuneOk, tune.size() >= 6 ? qFromBigEndian<quint32>(tune.constData() + 2) : 131072); // frame-max
    putShort(tuneOk, 0); // no heartbeats: nothing here would answer them
    sendMethod(0, 10, 31, tuneOk);

    QByteArray open;
    putShortString(open, vhost.toUtf8());
    putShortString(open, {});
    open.append('\0');
    sendMethod(0, 10, 40, open);
    expectMethod(0, 10, 41, deadline); // Connection.Open-Ok

    quint16 channel = 0;
    for (const QString& queue : queues) {
        ++channel;
        sendMethod(channel, 20, 10, QByteArray(1, '\0')); // Channel.Open
        expectMethod(channel, 20, 11, deadline);

        QByteArray qos; // one unacknowledged message per consumer, so the rest stay ready
        putLong(qos, 0);
        putShort(qos, 1);
        qos.append('\0');
        sendMethod(channel, 60, 10, qos);
        expectMethod(channel, 60, 11, deadline);

        QByteArray consume;
        putShort(consume, 0);
        putShortString(consume, queue.toUtf8());
        putShortString(consume, {}); // the server names the consumer
        consume.append('\0');        // acknowledged mode, not exclusive, waits for Consume-Ok
        putLong(consume, 0);         // no arguments
        sendMethod(channel, 60, 20, consume);
        expectMethod(channel, 60, 21, deadline);
    }

    // From here on the server only delivers; nothing is acknowledged, so nothing is lost.
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] { m_socket.readAll(); });
    m_buffer.clear();
}

AmqpConsumers::~AmqpConsumers()
{
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray close;
    putShort(close, 200);
    putShortString(close, "bye");
    putShort(close, 0);
    putShort(close, 0);
    sendMethod(0, 10, 50, close);
    m_socket.waitForBytesWritten(1000);
    m_socket.disconnectFromHost();
}

void AmqpConsumers::send(quint8 type, quint16 channel, const QByteArray& payload)
{
    QByteArray frame;
    frame.append(char(type));
    putShort(frame, channel);
    putLong(frame, quint32(payload.size()));
    frame.append(payload);
    frame.append(char(frameEnd));
    m_socket.write(frame);
}

void AmqpConsumers::sendMethod(quint16 channel, quint16 classId, quint16 methodId, const QByteArray& arguments)
{
    QByteArray payload;
    putShort(payload, classId);
    putShort(payload, methodId);
    payload.append(arguments);
    send(methodFrame, channel, payload);
}

AmqpConsumers::Frame AmqpConsumers::readFrame(qint64 deadline)
{
    for (;;) {
        if (m_buffer.size() >= 7) {
            const quint32 size = qFromBigEndian<quint32>(m_buffer.constData() + 3);
            if (size > 16 * 1024 * 1024)
                throw std::runtime_error("amqp: the server sent a frame too large to be one");
            if (m_buffer.size() >= qsizetype(7 + size + 1)) {
                Frame frame;
                frame.type = quint8(m_buffer.at(0));
                frame.channel = qFromBigEndian<quint16>(m_buffer.constData() + 1);
                frame.payload = m_buffer.mid(7, size);
                if (quint8(m_buffer.at(7 + size)) != frameEnd)
                    throw std::runtime_error("amqp: the server's answer is not AMQP 0-9-1");
                m_buffer.remove(0, 7 + size + 1);
                return frame;
            }
        }
        const qint64 left = QDeadlineTimer(deadline, Qt::PreciseTimer).remainingTime();
        if (left == 0 || !m_socket.waitForReadyRead(int(left))) {
            if (m_socket.state() != QAbstractSocket::ConnectedState)
                throw std::runtime_error("amqp: the server closed the connection (check the user, password and "
                                         "virtual host)");
            throw std::runtime_error("amqp: the server did not answer in time");
        }
        m_buffer += m_socket.readAll();
        // The server may refuse the protocol header by answering with its own.
        if (m_buffer.startsWith("AMQP"))
            throw std::runtime_error("amqp: the server does not speak AMQP 0-9-1");
    }
}

QByteArray AmqpConsumers::expectMethod(quint16 channel, quint16 classId, quint16 methodId, qint64 deadline)
{
    for (;;) {
        const Frame frame = readFrame(deadline);
        if (frame.type != methodFrame)
            continue;
        const quint16 gotClass = shortAt(frame.payload, 0);
        const quint16 gotMethod = shortAt(frame.payload, 2);
        // Connection.Close or Channel.Close: the server refused something and says why.
        if ((gotClass == 10 && gotMethod == 50) || (gotClass == 20 && gotMethod == 40)) {
            const quint16 code = shortAt(frame.payload, 4);
            throw std::runtime_error("amqp: refused with " + std::to_string(code) + " "
                                     + shortStringAt(frame.payload, 6).toStdString());
        }
        if (frame.channel == channel && gotClass == classId && gotMethod == methodId)
            return frame.payload.mid(4);
    }
}

} // namespace tessaron::demo
