#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// How the connection to a broker is secured. The raw value is what "brokers.json" stores;
// `securityProtocol` is what the Kafka library's "security.protocol" takes.
class BrokerSecurity {
public:
    enum Value { plaintext, ssl, saslPlaintext, saslSSL };

    constexpr BrokerSecurity()
        : m_value(plaintext)
    { }
    constexpr BrokerSecurity(Value value)
        : m_value(value)
    { }
    constexpr operator Value() const { return m_value; }

    static std::optional<BrokerSecurity> fromRawValue(const QString& raw);
    static QList<BrokerSecurity> allCases();

    QString rawValue() const;
    QString securityProtocol() const;
    QString badge() const;
    bool needsCredentials() const { return m_value == saslPlaintext || m_value == saslSSL; }
    bool usesTLS() const { return m_value == ssl || m_value == saslSSL; }

private:
    Value m_value;
};

inline size_t qHash(BrokerSecurity security, size_t seed = 0)
{
    return ::qHash(int(BrokerSecurity::Value(security)), seed);
}

} // namespace tessaron
