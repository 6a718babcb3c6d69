#pragma once

#include "TessaronCore/model/BrokerKind.h"
#include "TessaronCore/model/BrokerSecurity.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>

namespace tessaron {

// One saved broker definition: everything needed to reach it except its secrets, which live only
// in the keyring under the identifier. Identity is `id`; equality covers every field.
struct Broker {
    QUuid id;
    QString name;
    BrokerKind kind;
    QString bootstrap;
    BrokerSecurity security;
    QString saslMechanism;
    QString username;
    QString caPath;
    QString clientCertPath;
    QString clientKeyPath;
    QString vhost;
    bool isFavorite = false;
    QString schemaRegistryURL;
    QString schemaRegistryUsername;

    // TLS with both a certificate and a key path (untrimmed).
    bool usesClientCertificate() const;
    // The registry address, trimmed of spaces and tabs only, is not empty.
    bool hasSchemaRegistry() const;

    // All fourteen keys, empty texts and false included; the id in upper-case canonical form.
    QJsonObject toJson() const;
    // "id" and "name" are required; other keys may be missing or null and take their defaults;
    // a wrong JSON type or an unknown enumeration text fails the whole record.
    static std::optional<Broker> fromJson(const QJsonValue& value);

    friend bool operator==(const Broker&, const Broker&) = default;
};

size_t qHash(const Broker& broker, size_t seed = 0);

} // namespace tessaron
