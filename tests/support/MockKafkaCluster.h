#pragma once

// An in-process Kafka cluster for tests: librdkafka's own mock brokers on loopback ports.
// Seed topics and messages, commit a group's offsets, bring brokers down, inject request errors.
//
//   MockKafkaCluster cluster(3);
//   cluster.createTopic("orders", 3);
//   cluster.produce("orders", 0, {.key = "k", .payload = "v"});
//   KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);

#include "TessaronCore/model/Broker.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <librdkafka/rdkafka.h>
#include <librdkafka/rdkafka_mock.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace tessaron::testing {

class MockKafkaCluster {
public:
    struct Record {
        std::optional<QByteArray> key;
        std::optional<QByteArray> payload;
        // A header with an absent value is sent without one.
        QList<std::pair<QByteArray, std::optional<QByteArray>>> headers;
        // Milliseconds since 1970; 0 lets the producer stamp the message.
        int64_t timestampMs = 0;
    };

    explicit MockKafkaCluster(int brokerCount = 1);
    ~MockKafkaCluster();

    MockKafkaCluster(const MockKafkaCluster&) = delete;
    MockKafkaCluster& operator=(const MockKafkaCluster&) = delete;

    rd_kafka_mock_cluster_t* raw() const { return m_cluster; }
    const QString& bootstrap() const { return m_bootstrap; }
    int brokerCount() const { return m_brokerCount; }

    // A plaintext Kafka broker definition that reaches this cluster.
    Broker broker(const QString& name = QStringLiteral("mock")) const;

    struct NewTopic {
        QString name;
        int partitions = 1;
        int replicationFactor = 1;
    };

    void createTopic(const QString& name, int partitions, int replicationFactor = 1)
    {
        createTopics({{name, partitions, replicationFactor}});
    }

    // Creates the topics side by side on a few threads, while the cluster is kept awake.
    void createTopics(const QList<NewTopic>& topics);

    // Produces one message and waits for its acknowledgement.
    void produce(const QString& topic, int32_t partition, const Record& record);

    // One message of a batch and where it goes.
    struct Placed {
        QString topic;
        int32_t partition = 0;
        Record record;
    };

    // Produces many messages and waits once for every acknowledgement: flushed one at a time, or
    // one topic at a time (each new topic waits for its metadata), hundreds take seconds.
    void produceAll(const QList<Placed>& records);

    // Produces `count` messages "<prefix><i>" with keys "k<i>" on one partition.
    void produceMany(const QString& topic, int32_t partition, int count, const QByteArray& prefix = "m");

    // Commits offsets for a group, as a consumer of that group would.
    void commit(const QString& group, const QString& topic, const QMap<int32_t, int64_t>& offsets);

    void setBrokerDown(int32_t id);
    void setBrokerUp(int32_t id);
    void setAllBrokersDown();
    void setAllBrokersUp();

    // The next requests of one kind (a Kafka protocol API key, e.g. 0 Produce, 8 OffsetCommit)
    // fail with these errors, one each, in order.
    void pushRequestErrors(int16_t apiKey, std::initializer_list<rd_kafka_resp_err_t> errors);

    void setTopicError(const QString& topic, rd_kafka_resp_err_t error);

private:
    void enqueue(const QString& topic, int32_t partition, const Record& record, rd_kafka_resp_err_t* delivered);
    void whileAwake(const std::function<void()>& work);
    rd_kafka_t* makeHandle(rd_kafka_type_t type,
                           std::initializer_list<std::pair<std::string, std::string>> pairs) const;
    rd_kafka_t* producer();

    rd_kafka_t* m_owner = nullptr;
    rd_kafka_t* m_producer = nullptr;
    rd_kafka_mock_cluster_t* m_cluster = nullptr;
    int m_brokerCount = 0;
    QString m_bootstrap;
    QList<uint16_t> m_ports; // of the brokers, for waking the cluster's thread
};

} // namespace tessaron::testing
