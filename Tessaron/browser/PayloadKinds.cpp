#include "Tessaron/browser/PayloadKinds.h"

#include <QList>

namespace tessaron::PayloadKinds {

namespace {

constexpr qsizetype largePayload = 16 * 1024;
constexpr qsizetype remembered = 16;

struct Entry {
    QString id;
    QByteArray payload; // held, so its bytes cannot be freed and reused by another payload
    bool decoded = false;
    PayloadKind kind = PayloadKind::text;
};

QList<Entry>& entries()
{
    static QList<Entry> list;
    return list;
}

} // namespace

PayloadKind of(const Message& message)
{
    const std::optional<QByteArray>& payload = message.payload();
    if (!payload || payload->size() < largePayload || message.decoded())
        return message.payloadKind();
    QList<Entry>& list = entries();
    const QString id = message.id();
    for (const Entry& entry : list) {
        if (entry.id == id && entry.payload.constData() == payload->constData()
            && entry.payload.size() == payload->size() && entry.decoded == message.decoded().has_value())
            return entry.kind;
    }
    const PayloadKind kind = message.payloadKind();
    if (list.size() >= remembered)
        list.removeFirst();
    list.append({id, *payload, message.decoded().has_value(), kind});
    return kind;
}

} // namespace tessaron::PayloadKinds
