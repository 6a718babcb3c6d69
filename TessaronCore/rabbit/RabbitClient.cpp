#include "TessaronCore/rabbit/RabbitClient.h"

#include "TessaronCore/rabbit/RabbitAnswer.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"

#include <QChar>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <QCoroNetworkReply>

#include <algorithm>
#include <cstring>

namespace tessaron {

namespace {

// The code every transport failure carries: librdkafka's own code for a transport failure, so
// that a session treats a lost RabbitMQ server like a lost Kafka cluster.
constexpr int32_t transportCode = -195;
// The longest a request may take, whatever time-out the caller asks for.
constexpr int requestTimeoutMs = 60000;

// Qt objects that may still be inside one of their own signals when the last owner lets go.
struct LaterDeleter {
    void operator()(QObject* object) const
    {
        if (object)
            object->deleteLater();
    }
};

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString trimmedOfBlanks(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

bool isUnreserved(char32_t c)
{
    if (c == U'-' || c == U'.' || c == U'_' || c == U'~')
        return true;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

// A request body that can be sent once only. Qt sends a request again when the connection closes
// before an answer arrives, which for a publish files the message twice; a body that refuses to
// rewind turns that resend into an error instead.
class OneShotBody final : public QIODevice {
public:
    explicit OneShotBody(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_bytes.size(); }
    bool seek(qint64 position) override
    {
        if (m_sent || position < 0 || position > m_bytes.size() || !QIODevice::seek(position))
            return false;
        m_offset = position;
        return true;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 count = std::min<qint64>(maxSize, m_bytes.size() - m_offset);
        if (count <= 0)
            return m_bytes.isEmpty() ? 0 : -1;
        std::memcpy(data, m_bytes.constData() + m_offset, size_t(count));
        m_offset += count;
        if (m_offset >= m_bytes.size())
            m_sent = true;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_offset = 0;
    bool m_sent = false;
};

// Errors of the transport itself, as opposed to Qt's readings of an HTTP status: with one of these
// the answer is missing or incomplete, whatever its status line said.
bool isTransportError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code > 0 && code < 200) || error == QNetworkReply::ProtocolUnknownError
        || error == QNetworkReply::ProtocolFailure;
}

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

} // namespace

struct RabbitClient::Connection {
    // The server's major version, once asked; 0 when the answer did not say.
    std::optional<int> serverMajor;
    QUrl base;
    QString baseText; // absolute, fully encoded, without a trailing "/"
    QByteArray credentials;
    QString vhost;
    int timeoutMs = requestTimeoutMs;
    std::unique_ptr<QNetworkAccessManager, LaterDeleter> network;
};

RabbitClient::RabbitClient(Broker broker, std::optional<QString> password, int32_t timeoutMs)
    : m_broker(std::move(broker))
    , m_connection(std::make_shared<Connection>())
{
    const std::optional<QUrl> base = managementURL(m_broker.bootstrap, m_broker.security.usesTLS());
    if (!base)
        throw KafkaError(-1, QStringLiteral("could not read a management URL from ") + m_broker.bootstrap);

    Connection& c = *m_connection;
    c.base = *base;
    c.baseText = base->toString(QUrl::FullyEncoded);
    // "http://host:15672/" and "http://host:15672" name the same API; a doubled slash would not.
    if (c.baseText.endsWith(QLatin1Char('/')))
        c.baseText.chop(1);
    c.vhost = m_broker.vhost.isEmpty() ? QStringLiteral("/") : m_broker.vhost;

    // The server's built-in account is guest/guest (accepted from loopback only).
    const QString user = m_broker.username.isEmpty() ? QStringLiteral("guest") : m_broker.username;
    const QString secret = password.value_or(QStringLiteral("guest"));
    c.credentials = (user + QLatin1Char(':') + secret).toUtf8().toBase64();

    c.timeoutMs = timeoutMs > 0 ? std::min<int>(timeoutMs, requestTimeoutMs) : requestTimeoutMs;
    c.network.reset(new QNetworkAccessManager());
    // The credentials travel in every request's header: never follow a redirect to another origin.
    c.network->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

RabbitClient::~RabbitClient() = default;

std::optional<QUrl> RabbitClient::managementURL(const QString& bootstrap, bool usesTLS)
{
    const QString trimmed = trimmedOfBlanks(bootstrap);
    if (trimmed.isEmpty())
        return std::nullopt;
    QString text;
    if (trimmed.startsWith(QLatin1String("http://")) || trimmed.startsWith(QLatin1String("https://"))) {
        text = trimmed;
    } else {
        text = (usesTLS ? QStringLiteral("https://") : QStringLiteral("http://")) + trimmed;
        if (!trimmed.contains(QLatin1Char(':')))
            text += QStringLiteral(":15672");
    }
    const QUrl url(text, QUrl::StrictMode);
    // Without a host there is nothing to connect to; say so now rather than at the first request.
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QString RabbitClient::percentEncoded(const QString& segment)
{
    static const char hex[] = "0123456789ABCDEF";
    QString result;
    result.reserve(segment.size() * 3);
    const QList<uint> codePoints = segment.toUcs4();
    for (uint codePoint : codePoints) {
        const char32_t c = codePoint;
        // An unpaired surrogate cannot be written as UTF-8: keep the text as it was given.
        if (QChar::isSurrogate(c))
            return segment;
        if (isUnreserved(c)) {
            result += QString::fromUcs4(&c, 1);
            continue;
        }
        for (char byte : QString::fromUcs4(&c, 1).toUtf8()) {
            const auto b = static_cast<unsigned char>(byte);
            result += QLatin1Char('%');
            result += QLatin1Char(hex[b >> 4]);
            result += QLatin1Char(hex[b & 0x0F]);
        }
    }
    return result;
}

QString RabbitClient::queuePath(const QString& queue) const
{
    return QStringLiteral("/api/queues/") + percentEncoded(m_connection->vhost) + QLatin1Char('/')
        + percentEncoded(queue);
}

QCoro::Task<QByteArray> RabbitClient::request(QString method, QString path, std::optional<QByteArray> body)
{
    // Not a coroutine itself: the request holds the connection, never this client.
    return send(m_connection, std::move(method), std::move(path), std::move(body), Once::resendable);
}

QCoro::Task<QByteArray> RabbitClient::send(std::shared_ptr<Connection> connection, QString method, QString path,
                                           std::optional<QByteArray> body, Once once)
{
    const QUrl url(connection->baseText + path);
    if (!url.isValid())
        throw KafkaError(-1, QStringLiteral("bad path ") + path);

    QNetworkRequest request(url);
    request.setTransferTimeout(connection->timeoutMs);
    request.setRawHeader("Accept", "application/json");
    request.setRawHeader("Authorization", "Basic " + connection->credentials);
    // Uncompressed, so that the size bound counts the real bytes and Qt's guard against
    // compression bombs never refuses a large but honest answer.
    request.setRawHeader("Accept-Encoding", "identity");
    // Nothing is kept between requests: no cookies, no cache.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (body)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));

    std::unique_ptr<OneShotBody, LaterDeleter> oneShot(
        once != Once::resendable ? new OneShotBody(body.value_or(QByteArray())) : nullptr);
    std::unique_ptr<QNetworkReply, LaterDeleter> reply(
        oneShot ? connection->network->sendCustomRequest(request, method.toLatin1(), oneShot.get())
            : method == QLatin1String("GET") && !body
            ? connection->network->get(request)
            : connection->network->sendCustomRequest(request, method.toLatin1(), body.value_or(QByteArray())));

    auto tooLarge = std::make_shared<bool>(false);
    QNetworkReply* raw = reply.get();
    QObject::connect(raw, &QNetworkReply::downloadProgress, raw, [raw, tooLarge](qint64 received, qint64 total) {
        if (!*tooLarge && (received > maxAnswerBytes || total > maxAnswerBytes)) {
            *tooLarge = true;
            raw->abort();
        }
    });

    auto uploaded = std::make_shared<bool>(false);
    QObject::connect(raw, &QNetworkReply::uploadProgress, raw, [uploaded](qint64 sent, qint64) {
        if (sent > 0)
            *uploaded = true;
    });

    // Qt's transfer time-out only measures silence; a server that trickles its answer is ended
    // by this deadline on the whole request.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, raw, [raw] { raw->abort(); });
    deadline.start(connection->timeoutMs);
    co_await raw;
    deadline.stop();

    const QString host = connection->base.host().isEmpty() ? QStringLiteral("broker") : connection->base.host();
    if (*tooLarge) {
        const QString tooLargeText = QStringLiteral("the broker's answer is larger than ")
            + QString::number(maxAnswerBytes / (1024 * 1024)) + QStringLiteral(" MB");
        // The server has answered, so it has done the read.
        if (once == Once::read)
            throw KafkaError(uncertainCode, tooLargeText);
        throw KafkaError(-1, tooLargeText);
    }

    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.isValid() ? status.toInt() : 0;
    const QNetworkReply::NetworkError error = raw->error();
    // An error after a success status (a cut, a stall, a refused decompression) leaves the answer
    // incomplete: it is a transport failure like no answer at all.
    if (error != QNetworkReply::NoError
        && (!status.isValid() || (code >= 200 && code <= 299) || isTransportError(error))) {
        // The only thing that cancels a request here is its time-out.
        const QString why = error == QNetworkReply::OperationCanceledError
            ? QStringLiteral("the request timed out after ") + QString::number(connection->timeoutMs)
                + QStringLiteral(" ms")
            : raw->errorString();
        // A request that reached the server may have done its work: saying "done" or "refused"
        // would both be guesses.
        if (once == Once::publish && *uploaded)
            throw KafkaError(uncertainCode,
                             L10n::t("%@ did not confirm the publish (%@), so the message may have been filed. Look at "
                                     "the queue before filing it again.",
                                     host, why));
        if (once == Once::read && *uploaded)
            throw KafkaError(uncertainCode,
                             L10n::t("%@ did not answer the read (%@) after receiving it, so it may have taken and "
                                     "requeued the messages: they would now be marked redelivered.",
                                     host, why));
        throw KafkaError(transportCode, host + QStringLiteral(" did not answer: ") + why);
    }
    const QByteArray answer = raw->readAll();
    if (!status.isValid() || (code >= 200 && code <= 299))
        co_return answer;
    KafkaError refusal = RabbitAnswer::statusError(code, answer, connection->base);
    // The management API answers a bare "Not Found" for a missing virtual host as for a missing
    // queue; ask which it is.
    const QString vhostPath = QStringLiteral("/api/vhosts/") + percentEncoded(connection->vhost);
    if (code == 404 && RabbitAnswer::reason(answer) == QLatin1String("Not Found") && path != vhostPath) {
        bool vhostMissing = false;
        try {
            auto probe = send(connection, QStringLiteral("GET"), vhostPath, std::nullopt, Once::resendable);
            co_await std::move(probe);
        } catch (const KafkaError& error) {
            vhostMissing = error.code() == -1 && error.message().startsWith(QLatin1String("the broker answered 404"));
        }
        if (vhostMissing)
            throw KafkaError(-1, L10n::t("the broker has no virtual host \u201c%@\u201d", connection->vhost));
    }
    throw refusal;
}

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
    auto task = request(QStringLiteral("GET"), QStringLiteral("/api/queues/") + percentEncoded(m_connection->vhost));
    const QByteArray answer = co_await std::move(task);
    std::optional<RabbitAnswer::Queues> parsed = RabbitAnswer::queues(answer);
    if (!parsed)
        throw KafkaError(-1, notTheManagementAPI());
    co_return QueueListing{std::move(parsed->queues), std::move(parsed->consumers)};
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

QCoro::Task<RabbitClient::QueueReadCost> RabbitClient::readCost(QString queue)
{
    refuseUnaddressableVhost();
    const std::shared_ptr<Connection> connection = m_connection;
    QJsonObject object;
    if (isDotSegment(queue)) {
        // Asked of the listing, filtered to this one name.
        auto task = request(QStringLiteral("GET"),
                            QStringLiteral("/api/queues/") + percentEncoded(connection->vhost)
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
            throw KafkaError(-1, QStringLiteral("the broker answered 404: Not Found"));
    } else {
        auto task = request(QStringLiteral("GET"), queuePath(queue));
        const QByteArray answer = co_await std::move(task);
        const QJsonDocument document = QJsonDocument::fromJson(answer);
        if (!document.isObject())
            throw KafkaError(-1, notTheManagementAPI());
        object = document.object();
    }
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
        auto overviewTask = request(QStringLiteral("GET"), QStringLiteral("/api/overview"));
        const QByteArray overview = co_await std::move(overviewTask);
        const QString version =
            QJsonDocument::fromJson(overview).object().value(QLatin1String("rabbitmq_version")).toString();
        connection->serverMajor = version.section(QLatin1Char('.'), 0, 0).toInt();
    }
    if (*connection->serverMajor >= 4)
        cost.deliveryLimit = defaultQuorumDeliveryLimit;
    co_return cost;
}

qint64 RabbitClient::readTruncation(int64_t limit)
{
    // Half the bound shared among the messages leaves room for Base64 (a third more), for the
    // properties and for the headers, which the server never cuts.
    return std::max<qint64>(1024, maxAnswerBytes / 2 / std::max<int64_t>(limit, 1));
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
    // A read takes every message once; on some queues that is more than a requeue.
    auto costTask = readCost(queue);
    const QueueReadCost cost = co_await std::move(costTask);
    if (const std::optional<QString> refusal = cost.refusal())
        throw KafkaError(-1, *refusal);

    QJsonObject body;
    // A negative count makes the server hand over every message in the queue.
    body.insert(QLatin1String("count"), qint64(std::max<int64_t>(limit, 0)));
    body.insert(QLatin1String("ackmode"), QStringLiteral("ack_requeue_true"));
    body.insert(QLatin1String("encoding"), QStringLiteral("auto"));
    // Long payloads are cut by the server so that the whole answer fits the bound: an answer
    // refused for its size would come after the server had already taken the messages.
    body.insert(QLatin1String("truncate"), readTruncation(limit));
    // Never sent twice: each time the server receives it, it takes and requeues the messages.
    auto task = send(m_connection, QStringLiteral("POST"), queuePath(queue) + QStringLiteral("/get"),
                     QJsonDocument(body).toJson(QJsonDocument::Compact), Once::read);
    const QByteArray answer = co_await std::move(task);
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
