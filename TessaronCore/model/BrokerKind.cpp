#include "TessaronCore/model/BrokerKind.h"

namespace tessaron {

std::optional<BrokerKind> BrokerKind::fromRawValue(const QString& raw)
{
    for (BrokerKind kind : allCases()) {
        if (kind.rawValue() == raw)
            return kind;
    }
    return std::nullopt;
}

QList<BrokerKind> BrokerKind::allCases() { return {kafka, rabbitmq, sqs, nats}; }

QString BrokerKind::rawValue() const
{
    switch (m_value) {
    case kafka:
        return QStringLiteral("kafka");
    case rabbitmq:
        return QStringLiteral("rabbitmq");
    case sqs:
        return QStringLiteral("sqs");
    case nats:
        return QStringLiteral("nats");
    }
    return {};
}

QString BrokerKind::label() const
{
    switch (m_value) {
    case kafka:
        return QStringLiteral("Kafka");
    case rabbitmq:
        return QStringLiteral("RabbitMQ");
    case sqs:
        return QStringLiteral("Amazon SQS");
    case nats:
        return QStringLiteral("NATS");
    }
    return {};
}

} // namespace tessaron
