#pragma once

// Stand-ins for the broker clients of a session: each operation answers with a scripted value or
// KafkaError, and can be held at a gate until the test releases it.

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/state/ClientFactory.h"
#include "TessaronCore/model/KafkaError.h"
#include "support/SyncWait.h"

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

using testing::syncWait;

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

// A topic whose partitions 0, 1, ... have these low and high watermarks.
Topic topic(const QString& name, QList<std::pair<int64_t, int64_t>> watermarks = {});
// A RabbitMQ queue as the listing reports it.
Topic queue(const QString& name, int64_t depth);
Topic withError(Topic topic, const QString& error);
Message message(const QString& topic, int32_t partition, int64_t offset, std::optional<qint64> timeMs,
                QByteArray payload = "{\"a\":1}");

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
    // What the broker says this user may do on the cluster; nothing: not told.
    std::optional<QStringList> operations;

    const Broker& broker() const override { return definition; }

    QCoro::Task<std::optional<QStringList>> clusterOperations(int32_t) override { co_return operations; }

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
        co_await gates.pass("offsets " + group);
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
        co_return QMap<int32_t, int64_t>(timeOffsets); // a copy: g++ 12 moves members out of co_return
    }

    QCoro::Task<Page> page(QString topic, int32_t partition, StartPosition from, qsizetype limit, int32_t) override;
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
    // Queue -> its read cost; a queue not listed is a classic one.
    QHash<QString, QueueReadCost> costs;
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
        co_return QueueListing(listing); // a copy: g++ 12 moves members out of co_return
    }
    QCoro::Task<QList<Topic>> queues() override
    {
        calls << "queues";
        if (listingError)
            throw *listingError;
        co_return QList<Topic>(listing.queues);
    }
    QCoro::Task<QList<QueueBinding>> bindings(QString queue) override
    {
        calls << "bindings " + queue;
        co_await gates.pass("bindings " + queue);
        if (bindingsError)
            throw *bindingsError;
        co_return QList<QueueBinding>(queueBindings); // a copy: g++ 12 moves members out of co_return
    }
    QCoro::Task<QueueReadCost> readCost(QString queue) override
    {
        calls << "cost " + queue;
        co_return costs.value(queue);
    }
    // Asked after a filing; counted apart from `calls`, which tests compare at once.
    int depthAsks = 0;
    QCoro::Task<std::optional<int64_t>> depth(QString queue) override
    {
        ++depthAsks;
        for (const Topic& topic : listing.queues) {
            if (topic.name == queue)
                co_return topic.declaredDepth;
        }
        co_return std::nullopt;
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
        co_await gates.pass("publish " + queue);
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
    // What the broker says of the group when asked before a move.
    QString groupStateAnswer = QStringLiteral("Empty");
    // A copy: the compiler may move from what co_return names.
    QCoro::Task<QString> groupState(QString, int32_t) override { co_return QString(groupStateAnswer); }
    QCoro::Task<void> resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions, Mandate mandate,
                                   bool force, int32_t timeoutMs) override
    {
        if (resetError)
            throw *resetError;
        resets.append({group, topic, partitions, mandate.reason, force, timeoutMs});
        co_return;
    }
};

// A writer whose produce and reset wait at a gate until the test releases it.
class HeldWriter : public FakeWriter {
public:
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    QCoro::Task<int64_t> produce(QString topic, std::optional<int32_t> partition, std::optional<QByteArray> key,
                                 QByteArray payload, QList<std::pair<QString, QString>> headers, Mandate mandate,
                                 int32_t timeoutMs) override;
    QCoro::Task<void> resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions, Mandate mandate,
                                   bool force, int32_t timeoutMs) override;
};

class FakeRegistry : public RegistryDecoding {
public:
    // Schema id -> decoded JSON, or the failure's sentence.
    QHash<int32_t, std::variant<QByteArray, QString>> answers;
    int decodes = 0;

    QCoro::Task<Result> decode(QByteArray payload) override;
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
                                             const std::optional<QString>& clientKey, int32_t) override
    {
        if (makeError)
            throw *makeError;
        lastPassword = password;
        lastClientKey = clientKey;
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

Broker kafkaBroker(const QString& name = "cluster");
Broker rabbitBroker(const QString& name = "rabbit");
// The fake clients, and the application and the session a fixture builds over them.
struct Rig {
    std::shared_ptr<FakeFactory> clients = std::make_shared<FakeFactory>();
    std::unique_ptr<AppState> app;
    std::unique_ptr<BrokerSession> session;
};

// A session over the fake clients, connected.
std::unique_ptr<BrokerSession> connectedSession(const std::shared_ptr<FakeFactory>& clients,
                                                const Broker& broker = kafkaBroker());

// A Kafka broker that signs in as "svc".
Broker securedBroker(const QString& name, BrokerSecurity security = BrokerSecurity::saslPlaintext);

// The names of brokers, topics, ... in their order.
template <typename T> QStringList namesOf(const QList<T>& items)
{
    QStringList names;
    for (const T& item : items)
        names << item.name;
    return names;
}

} // namespace tessaron::fakes
