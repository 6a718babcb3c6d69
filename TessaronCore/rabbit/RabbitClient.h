#pragma once

#include "TessaronCore/model/KafkaError.h"
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

class QJsonObject;

#include <cstdint>
#include <memory>
#include <optional>

namespace tessaron {

// Speaks to a RabbitMQ server through its management HTTP API (never AMQP). One client per open
// broker, used from the main thread; every operation is a coroutine that fails with KafkaError:
// the HTTP status of an answer outside 200-299, -1 for 401, 404, the client's own refusals, a
// certificate that is not trusted and answers that are not the management API's JSON, goneCode
// for a queue deleted since it was listed, -195 when the server cannot be reached, takes longer
// than the time-out in total (silent or trickling) or cuts its answer short (whatever the status).
// A publish or a read that went out and was never confirmed is uncertain (KafkaError::isUncertain):
// -195 when the connection was lost after it was sent, uncertainCode when a gateway answered 502,
// 503 or 504 for it or its answer passed the bound.
//
// Over https the certificate authority, client certificate and key of the broker's form are used;
// the constructor fails with -1 naming a file that cannot be read.
//
// The operations are virtual so that a session can be tested against a stand-in. A stand-in may
// use any bootstrap text that names a host ("localhost"): constructing opens no connection.
//
// A client destroyed while a request is under way does not cut it short: the request keeps what
// it needs alive until the server answers or the time-out ends it.
//
// The management API's web server drops "." and ".." path segments, even escaped, so objects of
// these names are reached another way: a queue's bindings and read cost through the virtual
// host's lists; filing goes through the default exchange anyway. Reading such a queue, and
// anything in such a virtual host, is refused with the reason, never sent to another resource.
class RabbitClient {
public:
    // What a queue listing returns: the queues in name order and each queue's consumer count.
    struct QueueListing {
        QList<Topic> queues;
        QHash<QString, int64_t> consumers;
    };

    // What reading a queue through the management API does beyond marking its messages
    // redelivered, from the queue's type and its effective delivery limit.
    struct QueueReadCost {
        QString type = QStringLiteral("classic"); // "classic", "quorum", "stream", or what the server says
        // Quorum queues only: the smallest of the queue argument and the effective policy, or the
        // server's own default where its version has one; absent means no limit.
        std::optional<int64_t> deliveryLimit;

        // Why a read is refused (a stream, or a quorum queue that would drop or dead-letter its
        // messages after a few reads), in the language in force; nothing when a read only requeues.
        std::optional<QString> refusal() const;
        // A quorum queue without a limit: each read counts one more delivery of what it reads.
        bool raisesDeliveryCount() const;

        friend bool operator==(const QueueReadCost&, const QueueReadCost&) = default;
    };

    // Throws KafkaError -1 when no management address can be read from the broker's bootstrap
    // text. Without a user name or password the server's built-in guest account is used.
    RabbitClient(Broker broker, std::optional<QString> password, int32_t timeoutMs,
                 std::optional<QString> clientKeyPassword = std::nullopt);
    virtual ~RabbitClient();
    RabbitClient(const RabbitClient&) = delete;
    RabbitClient& operator=(const RabbitClient&) = delete;

    const Broker& broker() const { return m_broker; }

    // The virtual host's queues: a Topic without partitions per queue, internal when named
    // "amq.…", with the queue's declared depth (0 while the server has not counted it yet).
    [[nodiscard]] virtual QCoro::Task<QueueListing> queuesWithConsumers();
    [[nodiscard]] virtual QCoro::Task<QList<Topic>> queues();
    // The queue's bindings, the default exchange's included; an unreadable answer gives none.
    [[nodiscard]] virtual QCoro::Task<QList<QueueBinding>> bindings(QString queue);
    // The queue's type and effective delivery limit.
    [[nodiscard]] virtual QCoro::Task<QueueReadCost> readCost(QString queue);
    // The queue's depth as the server's statistics last counted it; absent before the first count.
    [[nodiscard]] virtual QCoro::Task<std::optional<int64_t>> depth(QString queue);
    // Up to `limit` messages, taken off the queue and put back at once (so they come back marked
    // redelivered next time). Offsets count from 0 within this one read. Fails with -1 and the
    // cost's refusal, reading nothing, when the queue's read cost refuses it. Payloads longer than
    // readRequest() of the queue's listed size come back cut, their whole size kept as the
    // message's wholePayloadSize(). Never sent twice; fails as uncertain when the server received
    // it but never confirmed it (the messages were then most likely taken and requeued).
    [[nodiscard]] virtual QCoro::Task<QList<Message>> read(QString queue, int64_t limit);
    // Publishes persistently through the default exchange to the queue of that name, with the
    // reason as the "tessaron-reason" header (it replaces a caller header of that name). Fails
    // when the server routed the message nowhere. Never sent twice.
    [[nodiscard]] virtual QCoro::Task<> publish(QString queue, QByteArray payload, QMap<QString, QString> headers,
                                                QString mandate);

    // The management API's base address from a bootstrap text: "http(s)://…" as given, otherwise
    // host[:port] with the scheme by TLS and port 15672 when none is given.
    static std::optional<QUrl> managementURL(const QString& bootstrap, bool usesTLS);
    // One path segment: letters, marks and digits of any script and "-._~" stay, everything
    // else becomes %XX escapes of its UTF-8 bytes ("/" → "%2F").
    static QString percentEncoded(const QString& segment);

    // The code of a publish whose answer was lost after the request went out: the message may or
    // may not be on the queue.
    static constexpr int32_t uncertainCode = -2;
    // The code of a queue that no longer exists on the server.
    static constexpr int32_t goneCode = 404;

    // The upper bound of an answer body; a larger answer fails rather than filling memory.
    static constexpr qint64 maxAnswerBytes = 16 * 1024 * 1024;
    // What the payloads of one read may hold in all, in bytes: Base64 makes them a third larger,
    // and 2 MiB of the bound stay for properties, headers and the JSON around them.
    static constexpr qint64 readPayloadBudget = (maxAnswerBytes - 2 * 1024 * 1024) / 4 * 3;
    // What a read of `limit` messages asks the server for: how many messages, and the payload
    // length past which it cuts them, from the queue's listed message count and payload bytes
    // (absent when not counted yet).
    struct ReadRequest {
        int64_t count = 0;
        qint64 truncate = 0;
    };
    static ReadRequest readRequest(int64_t limit, std::optional<int64_t> messages, std::optional<int64_t> bytes);
    // Queues listed per request, the management API's largest page.
    static constexpr int listingPageSize = 500;
    // The delivery limit that quorum queues get without one from RabbitMQ 4.0 on.
    static constexpr int64_t defaultQuorumDeliveryLimit = 20;

protected:
    // One call of the API: `path` starts with "/" and is already encoded; `body` is JSON.
    // Returns the answer's body bytes.
    [[nodiscard]] QCoro::Task<QByteArray> request(QString method, QString path,
                                                  std::optional<QByteArray> body = std::nullopt);

    // "/api/queues/<vhost>/<queue>" with both segments encoded.
    QString queuePath(const QString& queue) const;
    // Throws -1 with the reason when the virtual host is "." or "..", which no request can name.
    void refuseUnaddressableVhost() const;
    // The queue's object, with only `columns` when given; fails with goneCode for a missing queue.
    [[nodiscard]] QCoro::Task<QJsonObject> queueObject(QString queue, QString columns);
    static QString queueGone(const QString& queue);

private:
    // What a listing asks of each queue.
    static constexpr const char* listedColumns = "name,messages,messages_unacknowledged,consumers";
    // A bound on the pages of one listing (five million queues), whatever the server says.
    static constexpr int64_t maxListingPages = 10000;
    struct Connection;
    // Unless resendable, the body is never sent a second time, and a failure after it went out is
    // uncertainCode: the server may have done the work.
    enum class Once { resendable, publish, read };
    [[nodiscard]] static QCoro::Task<QByteArray> send(std::shared_ptr<Connection> connection, QString method,
                                                      QString path, std::optional<QByteArray> body, Once once);
    // What a read of the queue described by `object` costs, asking the server's version if needed.
    [[nodiscard]] static QCoro::Task<QueueReadCost> costOf(std::shared_ptr<Connection> connection, QJsonObject object);

    Broker m_broker;
    std::shared_ptr<Connection> m_connection;
};

} // namespace tessaron
