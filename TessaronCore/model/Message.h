#pragma once

#include "TessaronCore/model/MessageShape.h"
#include "TessaronCore/model/OptionalHash.h"
#include "TessaronCore/model/PayloadKind.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSharedData>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// One message read from a Kafka partition or a RabbitMQ queue. Equality and hashing go by `id`
// alone, so a re-read message replaces its earlier copy in sets and selections. Every derived
// fact is computed on each call.
class Message {
public:
    struct Header {
        QString name;
        QByteArray value;
        friend bool operator==(const Header&, const Header&) = default;
    };

    // The Avro decoding of a Confluent-framed payload, added after the read.
    struct Decoded {
        int32_t schemaID = 0;
        QByteArray json;
        std::optional<MessageShape> shape;
        friend bool operator==(const Decoded&, const Decoded&) = default;
    };

    Message(QString topic, int32_t partition, int64_t offset, std::optional<QByteArray> key,
            std::optional<QByteArray> payload, std::optional<QDateTime> timestamp, QList<Header> headers);

    const QString& topic() const { return m_topic; }
    int32_t partition() const { return m_partition; }
    int64_t offset() const { return m_offset; }
    const std::optional<QByteArray>& key() const { return m_key; }
    const std::optional<QByteArray>& payload() const { return m_payload; }
    // A moment given in the UTC zone is kept with Qt::UTC (the same instant, held inline).
    const std::optional<QDateTime>& timestamp() const { return m_timestamp; }
    const QList<Header>& headers() const { return m_headers; }
    // The payload's whole size in bytes when what is held is only its first bytes (a RabbitMQ read
    // has the server cut long payloads so that its answer fits); absent when the payload is whole.
    const std::optional<int64_t>& wholePayloadSize() const { return m_wholePayloadSize; }
    void setWholePayloadSize(std::optional<int64_t> size) { m_wholePayloadSize = size; }
    bool isPayloadCut() const { return m_wholePayloadSize.has_value(); }

    const std::optional<Decoded>& decoded() const;
    void setDecoded(std::optional<Decoded> decoded);
    const std::optional<QString>& decodeFailure() const;
    void setDecodeFailure(std::optional<QString> failure);

    // "topic/partition/offset", e.g. "orders/3/1042".
    QString id() const;
    // The key as UTF-8 text; absent when missing or not valid UTF-8.
    std::optional<QString> keyString() const;
    // The decoded JSON when decoded, otherwise the raw payload, as UTF-8 text.
    std::optional<QString> payloadString() const;
    // The raw payload as UTF-8 text, ignoring any decoding.
    std::optional<QString> rawPayloadString() const;
    std::optional<QByteArray> readablePayload() const;
    bool isTombstone() const { return !m_payload.has_value(); }
    PayloadKind payloadKind() const;

    friend bool operator==(const Message& a, const Message& b) { return a.id() == b.id(); }

private:
    QString m_topic;
    int32_t m_partition;
    int64_t m_offset;
    std::optional<QByteArray> m_key;
    std::optional<QByteArray> m_payload;
    std::optional<QDateTime> m_timestamp;
    QList<Header> m_headers;
    std::optional<int64_t> m_wholePayloadSize;
    // The Avro decoding or its failure, held apart behind one pointer: most messages are not Avro
    // and carry none (null). Shared between copies until one of them is changed.
    struct Avro : QSharedData {
        std::optional<Decoded> decoded;
        std::optional<QString> decodeFailure;
    };
    QSharedDataPointer<Avro> m_avro;
};

inline size_t qHash(const Message& message, size_t seed = 0) { return qHash(message.id(), seed); }

size_t qHash(const Message::Decoded& decoded, size_t seed = 0);

// Strict UTF-8 decoding: absent for bytes that are not valid UTF-8.
std::optional<QString> decodeUtf8(const QByteArray& bytes);

} // namespace tessaron

// Nothing in a message points into the message itself: lists move its bytes, not each member.
Q_DECLARE_TYPEINFO(tessaron::Message, Q_RELOCATABLE_TYPE);
