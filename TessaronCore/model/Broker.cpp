#include "TessaronCore/model/Broker.h"

#include "TessaronCore/model/UuidText.h"

#include <QRegularExpression>

namespace tessaron {

namespace {

// Only the canonical 36-character form counts (either case); QUuid alone would also take braces
// and would not tell the nil UUID from a parse failure.
std::optional<QUuid> parseUuid(const QString& text)
{
    static const QRegularExpression canonical(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    if (!canonical.match(text).hasMatch())
        return std::nullopt;
    return QUuid::fromString(text);
}

// A missing or null key keeps the default; a value of another JSON type fails.
bool readText(const QJsonObject& object, const char* key, QString& out)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isString())
        return false;
    out = value.toString();
    return true;
}

bool isTrimmable(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

} // namespace

bool Broker::usesClientCertificate() const
{
    return security.usesTLS() && !clientCertPath.isEmpty() && !clientKeyPath.isEmpty();
}

bool Broker::hasSchemaRegistry() const
{
    for (QChar c : schemaRegistryURL) {
        if (!isTrimmable(c))
            return true;
    }
    return false;
}

QJsonObject Broker::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("id"), uuidText(id));
    o.insert(QStringLiteral("name"), name);
    o.insert(QStringLiteral("kind"), kind.rawValue());
    o.insert(QStringLiteral("bootstrap"), bootstrap);
    o.insert(QStringLiteral("security"), security.rawValue());
    o.insert(QStringLiteral("saslMechanism"), saslMechanism);
    o.insert(QStringLiteral("username"), username);
    o.insert(QStringLiteral("caPath"), caPath);
    o.insert(QStringLiteral("clientCertPath"), clientCertPath);
    o.insert(QStringLiteral("clientKeyPath"), clientKeyPath);
    o.insert(QStringLiteral("vhost"), vhost);
    o.insert(QStringLiteral("isFavorite"), isFavorite);
    o.insert(QStringLiteral("schemaRegistryURL"), schemaRegistryURL);
    o.insert(QStringLiteral("schemaRegistryUsername"), schemaRegistryUsername);
    return o;
}

std::optional<Broker> Broker::fromJson(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();

    const QJsonValue idValue = o.value(QLatin1String("id"));
    const QJsonValue nameValue = o.value(QLatin1String("name"));
    if (!idValue.isString() || !nameValue.isString())
        return std::nullopt;
    const std::optional<QUuid> id = parseUuid(idValue.toString());
    if (!id)
        return std::nullopt;

    Broker b;
    b.id = *id;
    b.name = nameValue.toString();
    b.saslMechanism = QStringLiteral("PLAIN");

    const QJsonValue kindValue = o.value(QLatin1String("kind"));
    if (!kindValue.isUndefined() && !kindValue.isNull()) {
        const auto kind = kindValue.isString() ? BrokerKind::fromRawValue(kindValue.toString()) : std::nullopt;
        if (!kind)
            return std::nullopt;
        b.kind = *kind;
    }

    const QJsonValue securityValue = o.value(QLatin1String("security"));
    if (!securityValue.isUndefined() && !securityValue.isNull()) {
        const auto security =
            securityValue.isString() ? BrokerSecurity::fromRawValue(securityValue.toString()) : std::nullopt;
        if (!security)
            return std::nullopt;
        b.security = *security;
    }

    const QJsonValue favorite = o.value(QLatin1String("isFavorite"));
    if (favorite.isBool())
        b.isFavorite = favorite.toBool();
    else if (!favorite.isUndefined() && !favorite.isNull())
        return std::nullopt;

    if (!readText(o, "bootstrap", b.bootstrap) || !readText(o, "saslMechanism", b.saslMechanism)
        || !readText(o, "username", b.username) || !readText(o, "caPath", b.caPath)
        || !readText(o, "clientCertPath", b.clientCertPath) || !readText(o, "clientKeyPath", b.clientKeyPath)
        || !readText(o, "vhost", b.vhost) || !readText(o, "schemaRegistryURL", b.schemaRegistryURL)
        || !readText(o, "schemaRegistryUsername", b.schemaRegistryUsername))
        return std::nullopt;
    return b;
}

size_t qHash(const Broker& b, size_t seed)
{
    seed = qHashMulti(seed, b.id, b.name, b.kind, b.bootstrap, b.security, b.saslMechanism, b.username);
    return qHashMulti(seed, b.caPath, b.clientCertPath, b.clientKeyPath, b.vhost, b.isFavorite, b.schemaRegistryURL,
                      b.schemaRegistryUsername);
}

} // namespace tessaron
