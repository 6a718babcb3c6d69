#pragma once

#include "support/LiveKafka.h"

#include <QString>
#include <QTimer>

#include <librdkafka/rdkafka.h>

namespace tessaron::demo {

// The demo's consumer groups on a real broker, formed by this process:
//   - a running group with one member that reads the drifting topic one message every three
//     seconds and commits each, falling ever further behind the order DemoKafka adds every second;
//   - an idle group that read part of the Avro topic, committed and left, for moving positions;
//   - a group that read and committed a topic that was then deleted.
// The running member is polled by a timer on the thread that made the object, never waiting.
class DemoKafkaGroups {
public:
    static inline const QString laggingGroup = QStringLiteral("order-fulfilment");
    static inline const QString idleGroup = QStringLiteral("billing-reconciler");
    static inline const QString orphanedGroup = QStringLiteral("legacy-reporting");
    static inline const QString deletedTopic = QStringLiteral("legacy-events");

    // Expects the demo's topics on the broker already. A group left by an earlier run keeps what
    // it has. Throws std::runtime_error for a step the broker refuses.
    explicit DemoKafkaGroups(const QString& bootstrap);
    ~DemoKafkaGroups();
    DemoKafkaGroups(const DemoKafkaGroups&) = delete;
    DemoKafkaGroups& operator=(const DemoKafkaGroups&) = delete;

private:
    void formIdleGroup();
    void formOrphanedGroup();
    void readOne();

    testing::LiveKafka m_kafka;
    rd_kafka_t* m_member = nullptr;
    QTimer m_reader;
};

} // namespace tessaron::demo
