#include "TessaronCore/model/Message.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringDecoder>
#include <QTimeZone>

namespace tessaron {

std::optional<QString> decodeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

namespace {

// A moment in the UTC zone object keeps a heap-held zone with every message; Qt::UTC
// holds the same instant inline and shows the same UTC text.
std::optional<QDateTime> compactTimestamp(std::optional<QDateTime> moment)
{
    if (moment && moment->timeSpec() == Qt::TimeZone && moment->timeZone().id() == "UTC")
        return QDateTime::fromMSecsSinceEpoch(moment->toMSecsSinceEpoch(), Qt::UTC);
    return moment;
}

} // namespace

Message::Message(QString topic, int32_t partition, int64_t offset, std::optional<QByteArray> key,
                 std::optional<QByteArray> payload, std::optional<QDateTime> timestamp, QList<Header> headers)
    : m_topic(std::move(topic))
    , m_partition(partition)
    , m_offset(offset)
    , m_key(std::move(key))
    , m_payload(std::move(payload))
    , m_timestamp(compactTimestamp(std::move(timestamp)))
    , m_headers(std::move(headers))
{ }

const std::optional<Message::Decoded>& Message::decoded() const
{
    static const std::optional<Decoded> none;
    return m_avro ? m_avro->decoded : none;
}

void Message::setDecoded(std::optional<Decoded> decoded)
{
    if (!m_avro && !decoded)
        return;
    if (!m_avro)
        m_avro.reset(new Avro);
    m_avro->decoded = std::move(decoded);
    if (!m_avro->decoded && !m_avro->decodeFailure)
        m_avro.reset();
}

const std::optional<QString>& Message::decodeFailure() const
{
    static const std::optional<QString> none;
    return m_avro ? m_avro->decodeFailure : none;
}

void Message::setDecodeFailure(std::optional<QString> failure)
{
    if (!m_avro && !failure)
        return;
    if (!m_avro)
        m_avro.reset(new Avro);
    m_avro->decodeFailure = std::move(failure);
    if (!m_avro->decoded && !m_avro->decodeFailure)
        m_avro.reset();
}

QString Message::id() const
{
    return m_topic + QLatin1Char('/') + QString::number(m_partition) + QLatin1Char('/') + QString::number(m_offset);
}

std::optional<QString> Message::keyString() const { return m_key ? decodeUtf8(*m_key) : std::nullopt; }

std::optional<QString> Message::payloadString() const
{
    if (const std::optional<Decoded>& decoding = decoded())
        return decodeUtf8(decoding->json);
    return rawPayloadString();
}

std::optional<QString> Message::rawPayloadString() const { return m_payload ? decodeUtf8(*m_payload) : std::nullopt; }

std::optional<QByteArray> Message::readablePayload() const
{
    if (const std::optional<Decoded>& decoding = decoded())
        return decoding->json;
    return m_payload;
}

PayloadKind Message::payloadKind() const
{
    if (!m_payload)
        return PayloadKind::tombstone;
    if (const std::optional<Decoded>& decoding = decoded())
        return PayloadKind(PayloadKind::avroDecoded, decoding->schemaID);

    const QByteArray& bytes = *m_payload;
    if (bytes.size() >= 5 && bytes.at(0) == 0) {
        const auto* u = reinterpret_cast<const unsigned char*>(bytes.constData());
        const uint32_t id = (uint32_t(u[1]) << 24) | (uint32_t(u[2]) << 16) | (uint32_t(u[3]) << 8) | uint32_t(u[4]);
        return PayloadKind(PayloadKind::avroConfluent, int32_t(id));
    }

    const std::optional<QString> text = decodeUtf8(bytes);
    if (!text)
        return PayloadKind::binary;

    const QString trimmed = text->trimmed();
    const bool bracketed = (trimmed.startsWith(QLatin1Char('{')) && trimmed.endsWith(QLatin1Char('}')))
        || (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')));
    if (bracketed) {
        QJsonParseError error;
        QJsonDocument::fromJson(bytes, &error);
        if (error.error == QJsonParseError::NoError)
            return PayloadKind::json;
    }
    return PayloadKind::text;
}

size_t qHash(const Message::Decoded& d, size_t seed)
{
    return qHashMulti(seed, d.schemaID, d.json, d.shape ? qHash(*d.shape) : size_t(0), d.shape.has_value());
}

} // namespace tessaron
