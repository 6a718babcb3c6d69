#pragma once

#include "TessaronCore/kafka/KafkaError.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/QueueBinding.h"
#include "TessaronCore/model/Topic.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>

#include <QCoroTask>

#include <cstdint>
#include <memory>
#include <optional>

namespace tessaron {

// Speaks to a RabbitMQ server through its management HTTP API (never AMQP). One client per open
// broker, used from the main thread; every operation is a coroutine that fails with KafkaError:
// the HTTP status of an answer outside 200-299, -1 for 401, 404 and the client's own refusals,
// -195 when the server cannot be reached or stays silent past the time-out.
//
// The operations are virtual so that a session can be tested against a stand-in. A stand-in may
// use any bootstrap text that names a host ("localhost"): constructing opens no connection.
//
// A client destroyed while a request is under way does not cut it short: the request keeps what
// it needs alive until the server answers or the time-out ends it.
class RabbitClient {
public:
    // What a queue listing returns: the queues in name order and each queue's consumer count.
    struct QueueListing {
        QList<Topic> queues;
        QHash<QString, int64_t> consumers;
    };

    // Throws KafkaError -1 when no management address can be read from the broker's bootstrap
    // text. Without a user name or password the server's built-in guest account is used.
    RabbitClient(Broker broker, std::optional<QString> password, int32_t timeoutMs);
    virtual ~RabbitClient();
    RabbitClient(const RabbitClient&) = delete;
    RabbitClient& operator=(const RabbitClient&) = delete;

    const Broker& broker() const { return m_broker; }

    // The virtual host's queues: a Topic without partitions per queue, internal when named
    // "amq.…", with the queue's declared depth (0 while the server has not counted it yet).
    virtual QCoro::Task<QueueListing> queuesWithConsumers();
    virtual QCoro::Task<QList<Topic>> queues();
    // The queue's bindings, the default exchange's included; an unreadable answer gives none.
    virtual QCoro::Task<QList<QueueBinding>> bindings(QString queue);
    // Up to `limit` messages, taken off the queue and put back at once (so they come back marked
    // redelivered next time). Offsets count from 0 within this one read.
    virtual QCoro::Task<QList<Message>> read(QString queue, int64_t limit);
    // Publishes through the default exchange to the queue of that name, with the reason as the
    // "tessaron-reason" header (it replaces a caller header of that name). Fails when the
    // server routed the message nowhere.
    virtual QCoro::Task<> publish(QString queue, QByteArray payload, QMap<QString, QString> headers, QString mandate);

    // The management API's base address from a bootstrap text: "http(s)://…" as given, otherwise
    // host[:port] with the scheme by TLS and port 15672 when none is given.
    static std::optional<QUrl> managementURL(const QString& bootstrap, bool usesTLS);
    // One path segment: letters, marks and digits of any script and "-._~" stay, everything
    // else becomes %XX escapes of its UTF-8 bytes ("/" → "%2F").
    static QString percentEncoded(const QString& segment);

    // The upper bound of an answer body; a larger answer fails rather than filling memory.
    static constexpr qint64 maxAnswerBytes = 16 * 1024 * 1024;

protected:
    // One call of the API: `path` starts with "/" and is already encoded; `body` is JSON.
    // Returns the answer's body bytes.
    QCoro::Task<QByteArray> request(QString method, QString path, std::optional<QByteArray> body = std::nullopt);

    // "/api/queues/<vhost>/<queue>" with both segments encoded.
    QString queuePath(const QString& queue) const;

private:
    struct Connection;
    static QCoro::Task<QByteArray> send(std::shared_ptr<Connection> connection, QString method, QString path,
                                        std::optional<QByteArray> body);

    Broker m_broker;
    std::shared_ptr<Connection> m_connection;
};

} // namespace tessaron
