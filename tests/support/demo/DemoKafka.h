#pragma once

#include "TessaronCore/model/Broker.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <cstdint>
#include <memory>
#include <optional>

class RegistryPeer;

namespace tessaron::testing {
class MockKafkaCluster;
}

namespace tessaron::demo {

class DemoKafkaGroups;

// The demo Kafka cluster: topics that show what the program reads and judges, and a Schema Registry
// peer on loopback serving the Avro topic's schema. The topics live in librdkafka's mock brokers on
// loopback, or in a real broker when one is named; there the demo also keeps writing orders and
// holds the consumer groups of DemoKafkaGroups, which the mock brokers cannot list. Everything the
// object started lasts as long as it does and runs on the event loop of the thread that made it.
class DemoKafka {
public:
    // What one seeded topic holds.
    struct TopicPlan {
        QString name;
        int partitions = 1;
        int64_t messages = 0;
    };

    // A shape that drifts: most orders agree, a few lack "currency", carry "total" as text or
    // name the customer "customerId".
    static inline const QString driftingTopic = QStringLiteral("orders");
    // Orders that failed, with the reason in their headers.
    static inline const QString deadLetterTopic = QStringLiteral("orders.DLQ");
    // Most of its messages on partition 0, one partition idle.
    static inline const QString skewedTopic = QStringLiteral("clickstream");
    // Keyed by SKU, one SKU sending more than half of them.
    static inline const QString crowdedKeyTopic = QStringLiteral("inventory-updates");
    static inline const QString crowdedKey = QStringLiteral("sku-1042");
    // Confluent-framed Avro under schema 1 of the registry.
    static inline const QString avroTopic = QStringLiteral("payments.avro");
    static constexpr int32_t avroSchemaId = 1;
    // Keyed profiles, some deleted by a tombstone.
    static inline const QString tombstoneTopic = QStringLiteral("customer-profiles");
    // Binary frames that are neither text nor JSON.
    static inline const QString binaryTopic = QStringLiteral("device-telemetry");

    // Without a bootstrap, starts the mock cluster; with one, uses that broker, creating the topics
    // it lacks and seeding only those (a second run adds no copies), then adds an order to the
    // drifting topic every second and forms the groups. Starts the registry peer either way.
    // Throws std::runtime_error when the cluster cannot start or a broker refuses a step.
    explicit DemoKafka(const std::optional<QString>& bootstrap = std::nullopt);
    ~DemoKafka();

    DemoKafka(const DemoKafka&) = delete;
    DemoKafka& operator=(const DemoKafka&) = delete;

    // "Demo Kafka": plaintext, the cluster's bootstrap, the registry address; the same identifier
    // on every call.
    Broker broker() const;
    QString bootstrap() const;
    QString registryURL() const;

    static const QList<TopicPlan>& plan();
    // The Avro record every message of the Avro topic is written with.
    static QByteArray avroSchema();

private:
    struct Traffic;

    void seed();

    std::unique_ptr<testing::MockKafkaCluster> m_cluster;
    QString m_bootstrap;
    std::unique_ptr<RegistryPeer> m_registry;
    // On a real broker only.
    std::unique_ptr<Traffic> m_traffic;
    std::unique_ptr<DemoKafkaGroups> m_groups;
    QUuid m_id;
};

} // namespace tessaron::demo
