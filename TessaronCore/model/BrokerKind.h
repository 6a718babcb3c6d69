#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// Which kind of broker a saved definition reaches. `sqs` and `nats` are stored and shown, but no
// client exists for them.
class BrokerKind {
public:
    enum Value { kafka, rabbitmq, sqs, nats };

    constexpr BrokerKind()
        : m_value(kafka)
    { }
    constexpr BrokerKind(Value value)
        : m_value(value)
    { }
    constexpr operator Value() const { return m_value; }

    static std::optional<BrokerKind> fromRawValue(const QString& raw);
    static QList<BrokerKind> allCases();

    QString rawValue() const;
    QString label() const;

private:
    Value m_value;
};

inline size_t qHash(BrokerKind kind, size_t seed = 0) { return ::qHash(int(BrokerKind::Value(kind)), seed); }

} // namespace tessaron
