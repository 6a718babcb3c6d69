#include "TessaronCore/avro/SchemaRegistryClient.h"

#include "TessaronCore/avro/AvroShape.h"
#include "TessaronCore/avro/AvroDecoder.h"
#include "TessaronCore/l10n/L10n.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

#include <QCoroNetworkReply>

#include <algorithm>

namespace tessaron {

namespace {

bool isSpaceOrBreak(QChar c) { return c.isSpace(); }

QString trimmed(const QString& text, bool (*drop)(QChar))
{
    qsizetype start = 0, end = text.size();
    while (start < end && drop(text[start]))
        ++start;
    while (end > start && drop(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

// The first `limit` characters of a UTF-8 body; empty when the body is not UTF-8.
QString answerStart(const QByteArray& body, qsizetype limit)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(body);
    if (decoder.hasError())
        return {};
    qsizetype units = 0;
    for (qsizetype characters = 0; units < text.size() && characters < limit; ++characters)
        units += text[units].isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return text.left(units);
}

constexpr int kRequestTimeoutMs = 60000;

// Errors of the transport itself, as opposed to Qt's readings of an HTTP status: with one of these
// the answer is missing or incomplete, whatever its status line said. A redirect not followed is
// the registry's own answer.
bool isTransportError(QNetworkReply::NetworkError error)
{
    if (error == QNetworkReply::InsecureRedirectError || error == QNetworkReply::TooManyRedirectsError)
        return false;
    const int code = int(error);
    return (code > 0 && code < 200) || error == QNetworkReply::ProtocolUnknownError
        || error == QNetworkReply::ProtocolFailure;
}

} // namespace

QString SchemaRegistryClient::describe(const QString& url) { return trimmed(url, isSpaceOrBreak); }

std::unique_ptr<SchemaRegistryClient> SchemaRegistryClient::create(const QString& url, const QString& username,
                                                                   const std::optional<QString>& password,
                                                                   int32_t timeoutMs)
{
    QString address = trimmed(trimmed(url, isSpaceOrBreak), [](QChar c) { return c == QLatin1Char('/'); });
    if (address.isEmpty())
        return nullptr;
    if (!address.startsWith(QLatin1String("http://")) && !address.startsWith(QLatin1String("https://")))
        address.prepend(QLatin1String("http://"));
    QUrl base(address, QUrl::StrictMode);
    if (!base.isValid() || base.host().isEmpty())
        return nullptr;
    std::optional<QByteArray> credentials;
    if (!username.isEmpty())
        credentials = (username + QLatin1Char(':') + password.value_or(QString())).toUtf8().toBase64();
    return std::unique_ptr<SchemaRegistryClient>(
        new SchemaRegistryClient(std::move(base), std::move(credentials), timeoutMs));
}

SchemaRegistryClient::SchemaRegistryClient(QUrl base, std::optional<QByteArray> credentials, int32_t timeoutMs)
    : m_base(std::move(base))
    , m_credentials(std::move(credentials))
    , m_timeoutMs(timeoutMs)
    , m_network(new QNetworkAccessManager(this))
{
    // Nothing outlives the client: no disk cache (the manager has none by default), cookies only in
    // memory, and no credentials beyond the header this client sends itself.
    // The credentials travel in every request's header: never follow a redirect to another origin.
    m_network->setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

SchemaRegistryClient::~SchemaRegistryClient()
{
    *m_alive = false;
    const auto pending = m_pending;
    for (QNetworkReply* reply : pending)
        reply->abort();
}

QCoro::Task<AvroSchema::Parsed> SchemaRegistryClient::fetch(int32_t id)
{
    auto alive = m_alive;
    QUrl url = m_base;
    url.setPath(url.path() + QStringLiteral("/schemas/ids/") + QString::number(id));
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "application/vnd.schemaregistry.v1+json");
    if (m_credentials)
        request.setRawHeader("Authorization", "Basic " + *m_credentials);
    // Qt's transfer time-out ends a request that has been silent this long; the deadline ends one
    // that trickles.
    const int limit = std::clamp(m_timeoutMs, 1, kRequestTimeoutMs);
    request.setTransferTimeout(limit);

    QNetworkReply* reply = m_network->get(request);
    m_pending.insert(reply);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [reply] { reply->abort(); });
    deadline.start(limit);
    // A schema is a few kilobytes; an answer past the bound is not one, however long it goes on.
    auto tooLarge = std::make_shared<bool>(false);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, tooLarge](qint64 received, qint64 total) {
        if (!*tooLarge && (received > maxAnswerBytes || total > maxAnswerBytes)) {
            *tooLarge = true;
            reply->abort();
        }
    });
    co_await reply;
    deadline.stop();
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> owned(reply, [](QNetworkReply* r) { r->deleteLater(); });
    if (!*alive)
        throw Failure::unreachable(QStringLiteral("the request was cancelled"));
    m_pending.remove(reply);

    const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (*tooLarge)
        throw Failure::unexpected(
            statusAttribute.toInt(),
            L10n::t("its answer passed 1 MiB, far more than any schema, so I stopped reading it"));
    // An error after the status line (a stall, a cut) leaves the answer incomplete: that says
    // nothing about the schema, whatever the status was.
    const QNetworkReply::NetworkError error = reply->error();
    const int status = statusAttribute.toInt();
    if (error != QNetworkReply::NoError
        && (!statusAttribute.isValid() || (status >= 200 && status <= 299) || isTransportError(error))) {
        if (error == QNetworkReply::OperationCanceledError)
            throw Failure::unreachable(QStringLiteral("The request timed out."));
        throw Failure::unreachable(reply->errorString());
    }
    if (!statusAttribute.isValid())
        throw Failure::unexpected(0, QStringLiteral("no HTTP response"));
    const QByteArray body = reply->readAll();
    if (status >= 200 && status <= 299) {
        QJsonParseError parseError;
        QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
        const QJsonValue schemaText = document.object().value(QLatin1String("schema"));
        if (parseError.error != QJsonParseError::NoError || !document.isObject() || !schemaText.isString()) {
            // Under load Qt can end a reply whose connection closed early without an error; an
            // answer shorter than its own length is an outage, never a schema to remember as bad.
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && body.size() < length.toLongLong())
                throw Failure::unreachable(QStringLiteral("the registry's answer was cut short"));
            throw Failure::badSchema(id, QStringLiteral("the registry's answer had no schema field"));
        }
        const QJsonValue schemaType = document.object().value(QLatin1String("schemaType"));
        if (schemaType.isString() && schemaType.toString().toUpper() != QLatin1String("AVRO"))
            throw Failure::badSchema(id,
                                     schemaType.toString() + QStringLiteral(" is not supported yet \u2014 only Avro"));
        try {
            co_return AvroSchema::parse(schemaText.toString().toUtf8());
        } catch (const AvroSchema::ParseError& error) {
            throw Failure::badSchema(id, error.text());
        }
    }
    if (status == 401 || status == 403)
        throw Failure::unauthorized();
    if (status == 404)
        throw Failure::notFound(id);
    throw Failure::unexpected(status, answerStart(body, 200));
}

QCoro::Task<AvroSchema::Parsed> SchemaRegistryClient::schema(int32_t id)
{
    auto alive = m_alive;
    if (auto cached = m_cache.constFind(id); cached != m_cache.constEnd())
        co_return *cached;
    if (auto missed = m_misses.constFind(id); missed != m_misses.constEnd())
        throw **missed;
    if (m_outage)
        throw *m_outage;
    try {
        auto request = fetch(id);
        AvroSchema::Parsed parsed = co_await std::move(request);
        if (*alive)
            m_cache.insert(id, parsed);
        co_return parsed;
    } catch (const Failure& failure) {
        // Only answers that will not change are remembered; an outage or a refusal is asked again.
        if (*alive && (failure.kind() == Failure::Kind::NotFound || failure.kind() == Failure::Kind::BadSchema))
            m_misses.insert(id, std::make_shared<const Failure>(failure));
        // Until the next read, an unreachable registry is not asked again.
        if (*alive && failure.kind() == Failure::Kind::Unreachable)
            m_outage = std::make_shared<const Failure>(failure);
        throw;
    }
}

QCoro::Task<SchemaRegistryClient::Result> SchemaRegistryClient::decode(QByteArray payload)
{
    const auto frame = AvroDecoder::splitConfluentFrame(payload);
    if (!frame)
        co_return Failure::badSchema(-1, QStringLiteral("not a Confluent-framed payload"));
    const int32_t id = frame->schemaID;

    std::optional<AvroSchema::Parsed> parsed;
    try {
        auto lookup = schema(id);
        parsed = co_await std::move(lookup);
    } catch (const Failure& failure) {
        co_return failure;
    } catch (const std::exception& error) {
        co_return Failure::badSchema(id, QString::fromUtf8(error.what()));
    }

    QByteArray json;
    try {
        json = AvroDecoder::decode(frame->body, *parsed);
    } catch (const AvroDecoder::DecodeError& error) {
        co_return Failure::badSchema(id, error.text());
    }
    // A document is an object or an array; any other root is wrapped as {"value": ...}.
    if (!json.startsWith('{') && !json.startsWith('['))
        json = "{\"value\":" + json + '}';
    co_return Message::Decoded{id, std::move(json), AvroShape::fromSchema(*parsed, 2)};
}

} // namespace tessaron
