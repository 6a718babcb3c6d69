#pragma once

#include <QHashFunctions>
#include <QString>

namespace tessaron {

// One binding of a RabbitMQ queue. An empty source is the default exchange.
struct QueueBinding {
    QString source;
    QString routingKey;

    QString id() const { return source + QLatin1Char('/') + routingKey; }
    QString sourceLabel() const { return source.isEmpty() ? QStringLiteral("(default exchange)") : source; }
    bool isDefaultExchange() const { return source.isEmpty(); }

    friend bool operator==(const QueueBinding&, const QueueBinding&) = default;
};

inline size_t qHash(const QueueBinding& b, size_t seed = 0) { return qHashMulti(seed, b.source, b.routingKey); }

} // namespace tessaron
