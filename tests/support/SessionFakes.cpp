#include "support/SessionFakes.h"

namespace tessaron::fakes {

Topic topic(const QString& name, QList<std::pair<int64_t, int64_t>> watermarks)
{
    Topic t;
    t.name = name;
    t.isInternal = Topic::isKafkaInternal(name);
    int32_t id = 0;
    for (auto [low, high] : watermarks) {
        Partition p;
        p.id = id++;
        p.low = low;
        p.high = high;
        p.replicaCount = 1;
        p.inSyncCount = 1;
        t.partitions.append(p);
    }
    return t;
}

Topic queue(const QString& name, int64_t depth)
{
    Topic t;
    t.name = name;
    t.declaredDepth = depth;
    return t;
}

Topic withError(Topic topic, const QString& error)
{
    topic.error = error;
    return topic;
}

Message message(const QString& topic, int32_t partition, int64_t offset, std::optional<qint64> timeMs,
                QByteArray payload)
{
    std::optional<QDateTime> ts;
    if (timeMs)
        ts = QDateTime::fromMSecsSinceEpoch(*timeMs, Qt::UTC);
    return Message(topic, partition, offset, std::nullopt, payload, ts, {});
}

QCoro::Task<FakeKafka::Page> FakeKafka::page(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                             int32_t)
{
    QString start;
    switch (from.which()) {
    case StartPosition::offset:
        start = QString("offset %1").arg(from.value());
        break;
    case StartPosition::tail:
        start = QString("tail %1").arg(from.value());
        break;
    case StartPosition::beginning:
        start = "beginning";
        break;
    case StartPosition::time:
        start = "time";
        break;
    case StartPosition::end:
        start = "end";
        break;
    }
    calls << QString("page %1 %2 %3 limit %4").arg(topic).arg(partition).arg(start).arg(limit);
    co_await gates.pass(QString("page %1 %2").arg(topic).arg(partition));
    if (pageErrors.contains(partition))
        throw *pageErrors.constFind(partition);
    const QList<Message> all = held.value(topic).value(partition);
    int64_t first = from.which() == StartPosition::offset ? from.value() : 0;
    if (from.which() == StartPosition::tail)
        first = std::max<int64_t>(0, all.size() - from.value());
    Page page;
    for (const Message& m : all) {
        if (m.offset() >= first && page.messages.size() < limit)
            page.messages.append(m);
    }
    const int64_t next = page.messages.isEmpty() ? first : page.messages.last().offset() + 1;
    page.next.insert(partition, next);
    page.reachedEnd = next >= (all.isEmpty() ? 0 : all.last().offset() + 1);
    co_return page;
}

QCoro::Task<int64_t> HeldWriter::produce(QString topic, std::optional<int32_t> partition, std::optional<QByteArray> key,
                                         QByteArray payload, QList<std::pair<QString, QString>> headers,
                                         Mandate mandate, int32_t timeoutMs)
{
    std::shared_ptr<Gate> held = gate;
    co_await held->wait();
    auto task = FakeWriter::produce(topic, partition, key, payload, headers, mandate, timeoutMs);
    co_return co_await std::move(task);
}

QCoro::Task<void> HeldWriter::resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions,
                                           Mandate mandate, bool force, int32_t timeoutMs)
{
    std::shared_ptr<Gate> held = gate;
    co_await held->wait();
    auto task = FakeWriter::resetOffsets(group, topic, partitions, mandate, force, timeoutMs);
    co_await std::move(task);
}

QCoro::Task<FakeRegistry::Result> FakeRegistry::decode(QByteArray payload)
{
    ++decodes;
    const int32_t id = int32_t(quint32(quint8(payload[1])) << 24 | quint32(quint8(payload[2])) << 16
                               | quint32(quint8(payload[3])) << 8 | quint32(quint8(payload[4])));
    const auto answer = answers.value(id, QString("the registry has no schema %1").arg(id));
    if (const auto* json = std::get_if<QByteArray>(&answer)) {
        Message::Decoded decoded{id, *json, std::nullopt};
        co_return Result(std::move(decoded));
    }
    co_return Result(std::get<QString>(answer));
}

Broker kafkaBroker(const QString& name)
{
    Broker b;
    b.id = QUuid::createUuid();
    b.name = name;
    b.kind = BrokerKind::kafka;
    b.bootstrap = "localhost:9092";
    b.saslMechanism = "PLAIN";
    return b;
}

Broker rabbitBroker(const QString& name)
{
    Broker b = kafkaBroker(name);
    b.kind = BrokerKind::rabbitmq;
    b.bootstrap = "localhost";
    return b;
}

std::unique_ptr<BrokerSession> connectedSession(const std::shared_ptr<FakeFactory>& clients, const Broker& broker)
{
    auto session = std::make_unique<BrokerSession>(broker, std::nullopt, std::nullopt, std::nullopt, clients);
    syncWait(session->connectBroker());
    return session;
}

Broker securedBroker(const QString& name, BrokerSecurity security)
{
    Broker b = kafkaBroker(name);
    b.security = security;
    b.username = "svc";
    return b;
}

} // namespace tessaron::fakes
