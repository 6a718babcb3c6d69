#pragma once

#include "support/MockKafkaCluster.h"

#include <QList>
#include <QSet>
#include <QString>

#include <librdkafka/rdkafka.h>

#include <cstdint>

namespace tessaron::demo {

// Writes the demo's records into a real Kafka broker with librdkafka's admin and producer API:
// the same records, keys, headers and timestamps the mock cluster is seeded with. Throws
// std::runtime_error for a step the broker refuses.
class KafkaSeeder {
public:
    using Placed = testing::MockKafkaCluster::Placed;
    struct NewTopic {
        QString name;
        int partitions = 1;
    };

    explicit KafkaSeeder(const QString& bootstrap);
    ~KafkaSeeder();
    KafkaSeeder(const KafkaSeeder&) = delete;
    KafkaSeeder& operator=(const KafkaSeeder&) = delete;

    // Creates those topics the broker does not hold yet and waits until each of their partitions
    // has a leader. A topic already there is left as it is; the names created are returned.
    QSet<QString> createTopics(const QList<NewTopic>& topics);
    // Produces every record and waits for each one's acknowledgement.
    void produceAll(const QList<Placed>& records);
    // What the topic's partitions hold from their beginning: the sum of their high watermarks.
    int64_t written(const QString& topic, int partitions);
    // Hands one record to the producer without waiting for its acknowledgement.
    void send(const Placed& record);

private:
    rd_kafka_t* m_producer = nullptr;
};

} // namespace tessaron::demo
