#include "TessaronCore/model/BrokerSecurity.h"

#include <array>

namespace tessaron {

namespace {

// One row a mode, in the order of BrokerSecurity::Value: the name on file, librdkafka's
// security.protocol and the badge the broker card shows.
struct Names {
    const char* raw;
    const char* protocol;
    const char* badge;
};
constexpr std::array<Names, 4> kNames{{
    {"plaintext", "plaintext", "PLAINTEXT"},
    {"ssl", "ssl", "TLS"},
    {"saslPlaintext", "sasl_plaintext", "SASL"},
    {"saslSSL", "sasl_ssl", "SASL+TLS"},
}};

const Names& namesOf(BrokerSecurity::Value value) { return kNames.at(size_t(value)); }

} // namespace

std::optional<BrokerSecurity> BrokerSecurity::fromRawValue(const QString& raw)
{
    for (BrokerSecurity security : allCases()) {
        if (security.rawValue() == raw)
            return security;
    }
    return std::nullopt;
}

QList<BrokerSecurity> BrokerSecurity::allCases() { return {plaintext, ssl, saslPlaintext, saslSSL}; }

QString BrokerSecurity::rawValue() const { return QString::fromLatin1(namesOf(m_value).raw); }

QString BrokerSecurity::securityProtocol() const { return QString::fromLatin1(namesOf(m_value).protocol); }

QString BrokerSecurity::badge() const { return QString::fromLatin1(namesOf(m_value).badge); }

} // namespace tessaron
