// The queue operations of the RabbitMQ client; the requests themselves are in RabbitClient.cpp.
#include "TessaronCore/rabbit/RabbitClient.h"

#include "TessaronCore/rabbit/RabbitAnswer.h"
#include "TessaronCore/rabbit/RabbitConnection.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace tessaron {

namespace {

// The management API's web server drops "." and ".." path segments after decoding them, escaped
// (%2E) or not, so a request cannot name an object called so: it would reach another resource.
bool isDotSegment(const QString& name) { return name == QLatin1String(".") || name == QLatin1String(".."); }

// Only the server's own names reach a regular expression here; "." is the one special character.
QString exactNamePattern(const QString& name)
{
    QString pattern = name;
    pattern.replace(QLatin1String("."), QLatin1String("\\."));
    return QLatin1Char('^') + pattern + QLatin1Char('$');
}

QString notTheManagementAPI()
{
    return L10n::t("This port answers, but not like the RabbitMQ management API. Check the address and the port "
                   "(15672 by default).");
}

// The answer of a request about one queue; a 404 there is the queue gone since it was listed (a
// missing virtual host says so itself), told with `gone`.
QCoro::Task<QByteArray> queueAnswer(QCoro::Task<QByteArray> task, QString gone)
{
    try {
        co_return co_await std::move(task);
    } catch (const KafkaError& error) {
        if (RabbitAnswer::isNotFound(error))
            throw KafkaError(RabbitClient::goneCode, gone);
        throw;
    }
}

} // namespace

void RabbitClient::refuseUnaddressableVhost() const
{
    if (isDotSegment(m_connection->vhost))
        throw KafkaError(-1,
                         L10n::t("The RabbitMQ management API cannot address a virtual host named \u201c%@\u201d: its "
                                 "web server drops that name from every request's address, so I can't browse it "
                                 "here.",
                                 m_connection->vhost));
}

QCoro::Task<RabbitClient::QueueListing> RabbitClient::queuesWithConsumers()
{
    refuseUnaddressableVhost();
    // Only the columns the program uses, a page at a time: every field of every queue would make a
    // virtual host of many queues pass the answer bound, and take the server long to write.
    const QString listPath = QStringLiteral("/api/queues/") + percentEncoded(m_connection->vhost)
        + QStringLiteral("?columns=") + QLatin1String(listedColumns) + QStringLiteral("&page_size=")
        + QString::number(listingPageSize) + QStringLiteral("&page=");
    // The pages go on after this client may be gone: they hold the connection, never the client.
    const std::shared_ptr<Connection> connection = m_connection;
    QueueListing listing;
    for (int64_t page = 1, pages = 1; page <= pages; ++page) {
        auto task =
            send(connection, QStringLiteral("GET"), listPath + QString::number(page), std::nullopt, Once::resendable);
        QByteArray answer;
        try {
            answer = co_await std::move(task);
        } catch (const KafkaError& error) {
            // Queues deleted since the first page leave fewer pages: the server refuses a page past
            // its last one with 400, and what was listed already is the whole listing.
            if (page > 1 && error.code() == 400)
                break;
            throw;
        }
        std::optional<RabbitAnswer::QueuePage> parsed = RabbitAnswer::queuePage(answer);
        if (!parsed)
            throw KafkaError(-1, notTheManagementAPI());
        // A server without paging answers the whole list at once; each page says how many there
        // are now.
        pages = std::min<int64_t>(parsed->pageCount, maxListingPages);
        listing.queues.append(parsed->queues.queues);
        listing.consumers.insert(parsed->queues.consumers);
        if (parsed->queues.queues.isEmpty())
            break;
    }
    std::stable_sort(listing.queues.begin(), listing.queues.end(),
                     [](const Topic& a, const Topic& b) { return TextRules::precedes(a.name, b.name); });
    co_return listing;
}

QCoro::Task<QList<Topic>> RabbitClient::queues()
{
    auto task = queuesWithConsumers();
    QueueListing listing = co_await std::move(task);
    co_return std::move(listing.queues);
}

QCoro::Task<QList<QueueBinding>> RabbitClient::bindings(QString queue)
{
    refuseUnaddressableVhost();
    if (isDotSegment(queue)) {
        // The virtual host's bindings (the default exchange's included), those of this queue kept.
        auto all =
            request(QStringLiteral("GET"), QStringLiteral("/api/bindings/") + percentEncoded(m_connection->vhost));
        const QByteArray answer = co_await std::move(all);
        const QJsonDocument document = QJsonDocument::fromJson(answer);
        if (!RabbitAnswer::isArrayOfObjects(answer))
            throw KafkaError(-1, notTheManagementAPI());
        QJsonArray own;
        for (const QJsonValue& binding : document.array()) {
            const QJsonObject object = binding.toObject();
            if (object.value(QLatin1String("destination")).toString() == queue
                && object.value(QLatin1String("destination_type")).toString() == QLatin1String("queue"))
                own.append(object);
        }
        co_return RabbitAnswer::bindings(QJsonDocument(own).toJson(QJsonDocument::Compact));
    }
    auto task = request(QStringLiteral("GET"), queuePath(queue) + QStringLiteral("/bindings"));
    const QByteArray answer = co_await std::move(task);
    if (!RabbitAnswer::isArrayOfObjects(answer))
        throw KafkaError(-1, notTheManagementAPI());
    co_return RabbitAnswer::bindings(answer);
}

std::optional<QString> RabbitClient::QueueReadCost::refusal() const
{
    if (type == QLatin1String("stream"))
        return L10n::t("This is a stream queue. The management API cannot read a stream without disturbing it, so I "
                       "won't read it here.");
    if (type == QLatin1String("quorum") && deliveryLimit)
        return L10n::t("This quorum queue has a delivery limit of %d. Every read counts as a delivery, so after %d "
                       "reads RabbitMQ would drop or dead-letter its messages. I won't read it.",
                       *deliveryLimit, *deliveryLimit);
    return std::nullopt;
}

bool RabbitClient::QueueReadCost::raisesDeliveryCount() const
{
    return type == QLatin1String("quorum") && !deliveryLimit;
}

QCoro::Task<QJsonObject> RabbitClient::queueObject(QString queue, QString columns)
{
    refuseUnaddressableVhost();
    const QString suffix = columns.isEmpty() ? QString() : QStringLiteral("columns=") + columns;
    QJsonObject object;
    if (isDotSegment(queue)) {
        // Asked of the listing, filtered to this one name.
        auto task = request(QStringLiteral("GET"),
                            QStringLiteral("/api/queues/") + percentEncoded(m_connection->vhost)
                                + QStringLiteral("?page=1&page_size=100&use_regex=true&name=")
                                + percentEncoded(exactNamePattern(queue)));
        const QByteArray answer = co_await std::move(task);
        const QJsonDocument document = QJsonDocument::fromJson(answer);
        if (!document.isObject() || !document.object().value(QLatin1String("items")).isArray())
            throw KafkaError(-1, notTheManagementAPI());
        bool found = false;
        for (const QJsonValue& item : document.object().value(QLatin1String("items")).toArray()) {
            if (item.toObject().value(QLatin1String("name")).toString() == queue) {
                object = item.toObject();
                found = true;
            }
        }
        if (!found)
            throw KafkaError(goneCode, queueGone(queue));
        co_return object;
    }
    auto task =
        request(QStringLiteral("GET"), queuePath(queue) + (suffix.isEmpty() ? QString() : QLatin1Char('?') + suffix));
    const QByteArray answer = co_await queueAnswer(std::move(task), queueGone(queue));
    const QJsonDocument document = QJsonDocument::fromJson(answer);
    if (!document.isObject())
        throw KafkaError(-1, notTheManagementAPI());
    co_return document.object();
}

QString RabbitClient::queueGone(const QString& queue)
{
    return L10n::t("the queue \u201c%@\u201d no longer exists on the broker", queue);
}

QCoro::Task<RabbitClient::QueueReadCost> RabbitClient::readCost(QString queue)
{
    const std::shared_ptr<Connection> connection = m_connection;
    auto task = queueObject(queue, QString());
    const QJsonObject object = co_await std::move(task);
    auto costTask = costOf(connection, object);
    co_return co_await std::move(costTask);
}

QCoro::Task<RabbitClient::QueueReadCost> RabbitClient::costOf(std::shared_ptr<Connection> connection,
                                                              QJsonObject object)
{
    QueueReadCost cost;
    if (const QJsonValue type = object.value(QLatin1String("type")); type.isString() && !type.toString().isEmpty())
        cost.type = type.toString();
    if (cost.type != QLatin1String("quorum"))
        co_return cost;

    // The queue argument and the policy both apply; the smaller one wins. A negative limit
    // (RabbitMQ 4's way of saying "none") lifts it.
    std::optional<int64_t> declared;
    bool unlimited = false;
    const QJsonValue candidates[] = {
        object.value(QLatin1String("arguments")).toObject().value(QLatin1String("x-delivery-limit")),
        object.value(QLatin1String("effective_policy_definition")).toObject().value(QLatin1String("delivery-limit")),
    };
    for (const QJsonValue& candidate : candidates) {
        const std::optional<int64_t> value = RabbitAnswer::integer(candidate);
        if (!value)
            continue;
        if (*value < 0)
            unlimited = true;
        else
            declared = declared ? std::min(*declared, *value) : *value;
    }
    if (declared) {
        cost.deliveryLimit = declared;
        co_return cost;
    }
    if (unlimited)
        co_return cost;

    if (!connection->serverMajor) {
        auto overviewTask =
            send(connection, QStringLiteral("GET"), QStringLiteral("/api/overview"), std::nullopt, Once::resendable);
        const QByteArray overview = co_await std::move(overviewTask);
        const QString version =
            QJsonDocument::fromJson(overview).object().value(QLatin1String("rabbitmq_version")).toString();
        connection->serverMajor = version.section(QLatin1Char('.'), 0, 0).toInt();
    }
    if (*connection->serverMajor >= 4)
        cost.deliveryLimit = defaultQuorumDeliveryLimit;
    co_return cost;
}

QCoro::Task<std::optional<int64_t>> RabbitClient::depth(QString queue)
{
    auto task = queueObject(queue, QStringLiteral("name,messages"));
    const QJsonObject object = co_await std::move(task);
    co_return RabbitAnswer::integer(object.value(QLatin1String("messages")));
}

RabbitClient::ReadRequest RabbitClient::readRequest(int64_t limit, std::optional<int64_t> messages,
                                                    std::optional<int64_t> bytes)
{
    const int64_t count = std::max<int64_t>(limit, 0);
    // When the queue's counted payloads fit together, nothing is cut. The statistics lag the queue
    // by a few seconds: a burst of large messages since they counted can still pass the bound, and
    // the read then fails until they count it, when the share below applies.
    if (messages && *messages > 0 && bytes && *bytes >= 0 && *bytes <= readPayloadBudget)
        return {count, readPayloadBudget};
    // Otherwise every message asked for gets an equal share of the budget, the uncounted ones too:
    // a share of only the counted messages could let the rest pass the bound many times over.
    return {count, std::max<qint64>(1024, readPayloadBudget / std::max<int64_t>(count, 1))};
}

QCoro::Task<QList<Message>> RabbitClient::read(QString queue, int64_t limit)
{
    refuseUnaddressableVhost();
    // Its get has no other address; nothing is taken.
    if (isDotSegment(queue))
        throw KafkaError(-1,
                         L10n::t("The RabbitMQ management API cannot address a queue named \u201c%@\u201d: its web "
                                 "server drops that name from the request's address, so I can't read it here.",
                                 queue));
    const std::shared_ptr<Connection> connection = m_connection;
    const QString getPath = queuePath(queue) + QStringLiteral("/get");
    // A read takes every message once; on some queues that is more than a requeue.
    auto objectTask = queueObject(queue, QString());
    const QJsonObject object = co_await std::move(objectTask);
    auto costTask = costOf(connection, object);
    const QueueReadCost cost = co_await std::move(costTask);
    if (const std::optional<QString> refusal = cost.refusal())
        throw KafkaError(-1, *refusal);

    QJsonObject body;
    // A negative count makes the server hand over every message in the queue.
    // Payloads are cut only where the queue's payloads would not fit whole: an answer refused for
    // its size would come after the server had already taken the messages.
    const ReadRequest request = readRequest(limit, RabbitAnswer::integer(object.value(QLatin1String("messages"))),
                                            RabbitAnswer::integer(object.value(QLatin1String("message_bytes"))));
    body.insert(QLatin1String("count"), qint64(request.count));
    body.insert(QLatin1String("ackmode"), QStringLiteral("ack_requeue_true"));
    // Base64 costs every payload the same third more, whatever its bytes; text would cost a control
    // byte six characters, so no cut could keep the answer within the bound.
    body.insert(QLatin1String("encoding"), QStringLiteral("base64"));
    body.insert(QLatin1String("truncate"), request.truncate);
    // Never sent twice: each time the server receives it, it takes and requeues the messages.
    auto task = send(connection, QStringLiteral("POST"), getPath, QJsonDocument(body).toJson(QJsonDocument::Compact),
                     Once::read);
    const QByteArray answer = co_await queueAnswer(std::move(task), queueGone(queue));
    if (!RabbitAnswer::isArrayOfObjects(answer))
        throw KafkaError(-1, notTheManagementAPI());
    co_return RabbitAnswer::messages(answer, queue);
}

QCoro::Task<> RabbitClient::publish(QString queue, QByteArray payload, QMap<QString, QString> headers, QString mandate)
{
    refuseUnaddressableVhost();
    headers.insert(QStringLiteral("tessaron-reason"), mandate);
    QJsonObject headerObject;
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        headerObject.insert(it.key(), it.value());

    QJsonObject body;
    // Persistent, so that a message filed into a durable queue survives a broker restart.
    body.insert(QLatin1String("properties"),
                QJsonObject{{QStringLiteral("headers"), headerObject}, {QStringLiteral("delivery_mode"), 2}});
    body.insert(QLatin1String("routing_key"), queue);
    // Text travels as text; anything that is not UTF-8 as Base64, so every byte arrives as given.
    if (const std::optional<QString> text = TextRules::strictUtf8(payload)) {
        body.insert(QLatin1String("payload"), *text);
        body.insert(QLatin1String("payload_encoding"), QStringLiteral("string"));
    } else {
        body.insert(QLatin1String("payload"), QString::fromLatin1(payload.toBase64()));
        body.insert(QLatin1String("payload_encoding"), QStringLiteral("base64"));
    }

    const QString path = QStringLiteral("/api/exchanges/") + percentEncoded(m_connection->vhost) + QLatin1Char('/')
        + percentEncoded(QStringLiteral("amq.default")) + QStringLiteral("/publish");
    // Never sent twice: a publish whose answer is lost is reported as uncertain instead.
    auto task = send(m_connection, QStringLiteral("POST"), path, QJsonDocument(body).toJson(QJsonDocument::Compact),
                     Once::publish);
    const QByteArray answer = co_await std::move(task);
    if (!RabbitAnswer::isPublishAnswer(answer))
        throw KafkaError(-1, notTheManagementAPI());
    if (RabbitAnswer::routedNowhere(answer))
        throw KafkaError(-1,
                         QStringLiteral("the broker accepted the message but routed it nowhere — is ") + queue
                             + QStringLiteral(" still declared?"));
}

} // namespace tessaron
