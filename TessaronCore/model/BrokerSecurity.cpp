#include "TessaronCore/model/BrokerSecurity.h"

namespace tessaron {

std::optional<BrokerSecurity> BrokerSecurity::fromRawValue(const QString& raw)
{
    for (BrokerSecurity security : allCases()) {
        if (security.rawValue() == raw)
            return security;
    }
    return std::nullopt;
}

QList<BrokerSecurity> BrokerSecurity::allCases() { return {plaintext, ssl, saslPlaintext, saslSSL}; }

QString BrokerSecurity::rawValue() const
{
    switch (m_value) {
    case plaintext:
        return QStringLiteral("plaintext");
    case ssl:
        return QStringLiteral("ssl");
    case saslPlaintext:
        return QStringLiteral("saslPlaintext");
    case saslSSL:
        return QStringLiteral("saslSSL");
    }
    return {};
}

QString BrokerSecurity::securityProtocol() const
{
    switch (m_value) {
    case plaintext:
        return QStringLiteral("plaintext");
    case ssl:
        return QStringLiteral("ssl");
    case saslPlaintext:
        return QStringLiteral("sasl_plaintext");
    case saslSSL:
        return QStringLiteral("sasl_ssl");
    }
    return {};
}

QString BrokerSecurity::badge() const
{
    switch (m_value) {
    case plaintext:
        return QStringLiteral("PLAINTEXT");
    case ssl:
        return QStringLiteral("TLS");
    case saslPlaintext:
        return QStringLiteral("SASL");
    case saslSSL:
        return QStringLiteral("SASL+TLS");
    }
    return {};
}

} // namespace tessaron
