#pragma once

// Stand-ins for the broker clients of a session: each operation answers with a scripted value or
// KafkaError, and can be held at a gate until the test releases it.

#include "Tessaron/state/ClientFactory.h"
#include "TessaronCore/kafka/KafkaError.h"

#include <QCoroSignal>
#include <QCoroTask>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace tessaron::fakes {

// A barrier that coroutines await until the test opens it.
class Gate : public QObject {
    Q_OBJECT
public:
    bool isOpen() const { return m_open; }
    void release()
    {
        m_open = true;
        emit opened();
    }
    QCoro::Task<> wait()
    {
        if (!m_open)
            co_await qCoro(this, &Gate::opened);
    }
signals:
    void opened();

private:
    bool m_open = false;
};

// Gates by operation name ("topics", "page orders 1", ...); an operation without a gate answers
// at once.
class Gates {
public:
    std::shared_ptr<Gate> hold(const QString& operation)
    {
        auto gate = std::make_shared<Gate>();
        m_gates[operation] = gate;
        return gate;
    }
    QCoro::Task<> pass(QString operation)
    {
        auto it = m_gates.find(operation);
        if (it != m_gates.end()) {
            std::shared_ptr<Gate> gate = it->second;
            co_await gate->wait();
        }
    }

private:
    std::map<QString, std::shared_ptr<Gate>> m_gates;
};

// QCoro::waitFor needs a default-constructible result; outcomes have none.
template <typename T> T settle(QCoro::Task<T> task)
{
    std::optional<T> result;
    QCoro::waitFor([&]() -> QCoro::Task<> { result.emplace(co_await std::move(task)); }());
    return std::move(*result);
}

inline Topic topic(const QString& name, QList<std::pair<int64_t, int64_t>> watermarks = {})
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

inline Message message(const QString& topic, int32_t partition, int64_t offset, std::optional<qint64> timeMs,
                       QByteArray payload = "{\"a\":1}")
{
    std::optional<QDateTime> ts;
    if (timeMs)
        ts = QDateTime::fromMSecsSinceEpoch(*timeMs, Qt::UTC);
    return Message(topic, partition, offset, std::nullopt, payload, ts, {});
}

class FakeKafka : public KafkaReading {
public:
    Broker definition;
    Gates gates;
    QStringList calls;

    std::optional<QList<Topic>> listed; // with their watermarks; topics() strips them
    std::optional<KafkaError> topicsError;
    QHash<QString, KafkaError> watermarkErrors;
    std::optional<QList<ConsumerGroup>> listedGroups = QList<ConsumerGroup>();
    std::optional<KafkaError> groupsError;
    QHash<QString, GroupDescription> descriptions;
    QHash<QString, KafkaError> describeErrors;
    QHash<QString, QHash<TopicPartitionRef, int64_t>> commits;
    QHash<QString, KafkaError> committedErrors;
    std::optional<KafkaError> offsetsError;
    QMap<int32_t, int64_t> timeOffsets;
    std::optional<KafkaError> timeError;
    // Partition -> messages held, by offset; a page returns from the start up to the limit.
    QHash<QString, QMap<int32_t, QList<Message>>> held;
    QHash<int32_t, KafkaError> pageErrors;

    const Broker& broker() const override { return definition; }

    QCoro::Task<QList<Topic>> topics(int32_t) override
    {
        calls << "topics";
        co_await gates.pass("topics");
        if (topicsError)
            throw *topicsError;
        QList<Topic> bare = listed.value_or(QList<Topic>());
        for (Topic& t : bare) {
            for (Partition& p : t.partitions)
                p.low = p.high = 0;
        }
        co_return bare;
    }

    QCoro::Task<Topic> watermarks(Topic topic, int32_t) override
    {
        calls << "watermarks " + topic.name;
        co_await gates.pass("watermarks " + topic.name);
        if (watermarkErrors.contains(topic.name))
            throw *watermarkErrors.constFind(topic.name);
        for (const Topic& t : listed.value_or(QList<Topic>())) {
            if (t.name == topic.name)
                co_return t;
        }
        co_return topic;
    }

    QCoro::Task<QList<ConsumerGroup>> groups(int32_t) override
    {
        calls << "groups";
        co_await gates.pass("groups");
        if (groupsError)
            throw *groupsError;
        co_return listedGroups.value_or(QList<ConsumerGroup>());
    }

    QCoro::Task<GroupDescription> describe(QString group, int32_t) override
    {
        calls << "describe " + group;
        co_await gates.pass("describe " + group);
        if (describeErrors.contains(group))
            throw *describeErrors.constFind(group);
        co_return descriptions.value(group);
    }

    QCoro::Task<QHash<TopicPartitionRef, int64_t>> committed(QString group, int32_t) override
    {
        calls << "committed " + group;
        co_await gates.pass("committed " + group);
        if (committedErrors.contains(group))
            throw *committedErrors.constFind(group);
        co_return commits.value(group);
    }

    QCoro::Task<QList<GroupOffset>> offsets(QString group, Topic topic, int32_t) override
    {
        calls << "offsets " + group;
        if (offsetsError)
            throw *offsetsError;
        QList<GroupOffset> result;
        const auto committed = commits.value(group);
        for (const Partition& p : topic.partitions) {
            GroupOffset o;
            o.topic = topic.name;
            o.partition = p.id;
            o.high = p.high;
            const TopicPartitionRef ref{topic.name, p.id};
            if (committed.contains(ref))
                o.committed = committed.value(ref);
            result.append(o);
        }
        co_return result;
    }

    QCoro::Task<QMap<int32_t, int64_t>> offsets(QDateTime, Topic topic, int32_t) override
    {
        calls << "time " + topic.name;
        co_await gates.pass("time " + topic.name);
        if (timeError)
            throw *timeError;
        co_return timeOffsets;
    }

    QCoro::Task<Page> page(QString topic, int32_t partition, StartPosition from, qsizetype limit, int32_t) override
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
};

class FakeRabbit : public RabbitClient {
public:
    explicit FakeRabbit(const Broker& broker)
        : RabbitClient(broker, std::nullopt, 1000)
    { }

    Gates gates;
    QStringList calls;
    QueueListing listing;
    std::optional<KafkaError> listingError;
    QList<QueueBinding> queueBindings;
    std::optional<KafkaError> bindingsError;
    QList<Message> queued;
    std::optional<KafkaError> readError;
    std::optional<KafkaError> publishError;
    struct Published {
        QString queue;
        QByteArray payload;
        QMap<QString, QString> headers;
        QString mandate;
    };
    QList<Published> published;

    QCoro::Task<QueueListing> queuesWithConsumers() override
    {
        calls << "queues";
        co_await gates.pass("queues");
        if (listingError)
            throw *listingError;
        co_return listing;
    }
    QCoro::Task<QList<Topic>> queues() override
    {
        calls << "queues";
        if (listingError)
            throw *listingError;
        co_return listing.queues;
    }
    QCoro::Task<QList<QueueBinding>> bindings(QString queue) override
    {
        calls << "bindings " + queue;
        co_await gates.pass("bindings " + queue);
        if (bindingsError)
            throw *bindingsError;
        co_return queueBindings;
    }
    QCoro::Task<QList<Message>> read(QString queue, int64_t limit) override
    {
        calls << QString("read %1 %2").arg(queue).arg(limit);
        co_await gates.pass("read " + queue);
        if (readError)
            throw *readError;
        co_return queued.mid(0, limit);
    }
    QCoro::Task<> publish(QString queue, QByteArray payload, QMap<QString, QString> headers, QString mandate) override
    {
        calls << "publish " + queue;
        if (publishError)
            throw *publishError;
        published.append({queue, payload, headers, mandate});
        co_return;
    }
};

class FakeWriter : public KafkaWriting {
public:
    Broker definition;
    std::optional<KafkaError> produceError;
    std::optional<KafkaError> resetError;
    struct Produced {
        QString topic;
        std::optional<int32_t> partition;
        std::optional<QByteArray> key;
        QByteArray payload;
        QString reason;
    };
    QList<Produced> produced;
    struct Reset {
        QString group;
        QString topic;
        QMap<int32_t, int64_t> partitions;
        QString reason;
        bool force;
        int32_t timeoutMs;
    };
    QList<Reset> resets;

    const Broker& broker() const override { return definition; }
    QCoro::Task<int64_t> produce(QString topic, std::optional<int32_t> partition, std::optional<QByteArray> key,
                                 QByteArray payload, QList<std::pair<QString, QString>>, Mandate mandate,
                                 int32_t) override
    {
        if (produceError)
            throw *produceError;
        produced.append({topic, partition, key, payload, mandate.reason});
        co_return 1;
    }
    QCoro::Task<QString> groupState(QString, int32_t) override { co_return QStringLiteral("Empty"); }
    QCoro::Task<void> resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions, Mandate mandate,
                                   bool force, int32_t timeoutMs) override
    {
        if (resetError)
            throw *resetError;
        resets.append({group, topic, partitions, mandate.reason, force, timeoutMs});
        co_return;
    }
};

class FakeRegistry : public RegistryDecoding {
public:
    // Schema id -> decoded JSON, or the failure's sentence.
    QHash<int32_t, std::variant<QByteArray, QString>> answers;
    int decodes = 0;

    QCoro::Task<Result> decode(QByteArray payload) override
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
};

class FakeFactory : public ClientFactory {
public:
    std::shared_ptr<FakeKafka> kafka = std::make_shared<FakeKafka>();
    std::shared_ptr<FakeRabbit> rabbit;
    std::shared_ptr<FakeWriter> writer = std::make_shared<FakeWriter>();
    std::shared_ptr<FakeRegistry> registry;
    std::optional<KafkaError> makeError;
    std::optional<KafkaError> writerError;
    int writersMade = 0;
    QStringList registryArguments;
    std::optional<QString> lastPassword;
    std::optional<QString> lastClientKey;

    std::shared_ptr<KafkaReading> makeKafka(const Broker& broker, const std::optional<QString>& password,
                                            const std::optional<QString>& clientKey, int32_t) override
    {
        if (makeError)
            throw *makeError;
        lastPassword = password;
        lastClientKey = clientKey;
        kafka->definition = broker;
        return kafka;
    }
    std::shared_ptr<RabbitClient> makeRabbit(const Broker& broker, const std::optional<QString>& password,
                                             int32_t) override
    {
        if (makeError)
            throw *makeError;
        lastPassword = password;
        if (!rabbit)
            rabbit = std::make_shared<FakeRabbit>(broker);
        return rabbit;
    }
    std::shared_ptr<KafkaWriting> makeWriter(const Broker& broker, const std::optional<QString>&,
                                             const std::optional<QString>&, int32_t) override
    {
        if (writerError)
            throw *writerError;
        ++writersMade;
        writer->definition = broker;
        return writer;
    }
    std::shared_ptr<RegistryDecoding> makeRegistry(const QString& url, const QString& username,
                                                   const std::optional<QString>& password, int32_t) override
    {
        registryArguments = {url, username, password.value_or("<none>")};
        return registry;
    }
};

inline Broker kafkaBroker(const QString& name = "cluster")
{
    Broker b;
    b.id = QUuid::createUuid();
    b.name = name;
    b.kind = BrokerKind::kafka;
    b.bootstrap = "localhost:9092";
    b.saslMechanism = "PLAIN";
    return b;
}

inline Broker rabbitBroker(const QString& name = "rabbit")
{
    Broker b = kafkaBroker(name);
    b.kind = BrokerKind::rabbitmq;
    b.bootstrap = "localhost";
    return b;
}

} // namespace tessaron::fakes
