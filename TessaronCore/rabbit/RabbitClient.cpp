#include "TessaronCore/rabbit/RabbitClient.h"

#include "TessaronCore/rabbit/RabbitAnswer.h"

#include <QChar>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

#include <QCoroNetworkReply>

#include <algorithm>

namespace tessaron {

namespace {

// The code every transport failure carries: librdkafka's own code for a transport failure, so
// that a session treats a lost RabbitMQ server like a lost Kafka cluster.
constexpr int32_t transportCode = -195;
// The longest a request may stay silent, whatever time-out the caller asks for.
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

// Strict UTF-8 that keeps a leading byte-order mark as a character, so no byte goes missing.
std::optional<QString> exactUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

struct RabbitClient::Connection {
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
    return send(m_connection, std::move(method), std::move(path), std::move(body));
}

QCoro::Task<QByteArray> RabbitClient::send(std::shared_ptr<Connection> connection, QString method, QString path,
                                           std::optional<QByteArray> body)
{
    const QUrl url(connection->baseText + path);
    if (!url.isValid())
        throw KafkaError(-1, QStringLiteral("bad path ") + path);

    QNetworkRequest request(url);
    request.setTransferTimeout(connection->timeoutMs);
    request.setRawHeader("Accept", "application/json");
    request.setRawHeader("Authorization", "Basic " + connection->credentials);
    // Nothing is kept between requests: no cookies, no cache.
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (body)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));

    std::unique_ptr<QNetworkReply, LaterDeleter> reply(
        method == QLatin1String("GET") && !body
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

    co_await raw;

    if (*tooLarge)
        throw KafkaError(-1,
                         QStringLiteral("the broker's answer is larger than ")
                             + QString::number(maxAnswerBytes / (1024 * 1024)) + QStringLiteral(" MB"));

    const QVariant status = raw->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (raw->error() != QNetworkReply::NoError) {
            const QString host = connection->base.host().isEmpty() ? QStringLiteral("broker") : connection->base.host();
            // The only thing that cancels a request here is its time-out.
            const QString why = raw->error() == QNetworkReply::OperationCanceledError
                ? QStringLiteral("the request timed out after ") + QString::number(connection->timeoutMs)
                    + QStringLiteral(" ms")
                : raw->errorString();
            throw KafkaError(transportCode, host + QStringLiteral(" did not answer: ") + why);
        }
        co_return raw->readAll();
    }
    const int code = status.toInt();
    const QByteArray answer = raw->readAll();
    if (code >= 200 && code <= 299)
        co_return answer;
    throw RabbitAnswer::statusError(code, answer, connection->base);
}

QCoro::Task<RabbitClient::QueueListing> RabbitClient::queuesWithConsumers()
{
    // Named first: g++ 12 destroys temporaries inside a co_await expression twice.
    auto task = request(QStringLiteral("GET"), QStringLiteral("/api/queues/") + percentEncoded(m_connection->vhost));
    const QByteArray answer = co_await std::move(task);
    std::optional<RabbitAnswer::Queues> parsed = RabbitAnswer::queues(answer);
    if (!parsed)
        throw KafkaError(-1, QStringLiteral("the management API returned something unexpected"));
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
    auto task = request(QStringLiteral("GET"), queuePath(queue) + QStringLiteral("/bindings"));
    const QByteArray answer = co_await std::move(task);
    co_return RabbitAnswer::bindings(answer);
}

QCoro::Task<QList<Message>> RabbitClient::read(QString queue, int64_t limit)
{
    QJsonObject body;
    // A negative count makes the server hand over every message in the queue.
    body.insert(QLatin1String("count"), qint64(std::max<int64_t>(limit, 0)));
    body.insert(QLatin1String("ackmode"), QStringLiteral("ack_requeue_true"));
    body.insert(QLatin1String("encoding"), QStringLiteral("auto"));
    auto task = request(QStringLiteral("POST"), queuePath(queue) + QStringLiteral("/get"),
                        QJsonDocument(body).toJson(QJsonDocument::Compact));
    const QByteArray answer = co_await std::move(task);
    co_return RabbitAnswer::messages(answer, queue);
}

QCoro::Task<> RabbitClient::publish(QString queue, QByteArray payload, QMap<QString, QString> headers, QString mandate)
{
    headers.insert(QStringLiteral("tessaron-reason"), mandate);
    QJsonObject headerObject;
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        headerObject.insert(it.key(), it.value());

    QJsonObject body;
    body.insert(QLatin1String("properties"), QJsonObject{{QStringLiteral("headers"), headerObject}});
    body.insert(QLatin1String("routing_key"), queue);
    // Text travels as text; anything that is not UTF-8 as Base64, so every byte arrives as given.
    if (const std::optional<QString> text = exactUtf8(payload)) {
        body.insert(QLatin1String("payload"), *text);
        body.insert(QLatin1String("payload_encoding"), QStringLiteral("string"));
    } else {
        body.insert(QLatin1String("payload"), QString::fromLatin1(payload.toBase64()));
        body.insert(QLatin1String("payload_encoding"), QStringLiteral("base64"));
    }

    const QString path = QStringLiteral("/api/exchanges/") + percentEncoded(m_connection->vhost) + QLatin1Char('/')
        + percentEncoded(QStringLiteral("amq.default")) + QStringLiteral("/publish");
    auto task = request(QStringLiteral("POST"), path, QJsonDocument(body).toJson(QJsonDocument::Compact));
    const QByteArray answer = co_await std::move(task);
    if (RabbitAnswer::routedNowhere(answer))
        throw KafkaError(-1,
                         QStringLiteral("the broker accepted the message but routed it nowhere — is ") + queue
                             + QStringLiteral(" still declared?"));
}

} // namespace tessaron
