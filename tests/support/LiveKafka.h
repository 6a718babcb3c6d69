#pragma once

// A real Kafka broker for what librdkafka's mock cluster does not implement (the group
// administration, offsets for a time), named by TESSARON_TEST_KAFKA_BOOTSTRAP. Seeds topics and
// keeps consumers in groups; a step that fails throws std::runtime_error.

#include "TessaronCore/model/Broker.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <librdkafka/rdkafka.h>

#include <cstdint>

namespace tessaron::testing {

class LiveKafka {
public:
    // The broker the environment names; empty when it names none and the test should skip.
    static QByteArray bootstrapFromEnvironment();
    // `prefix` and eight characters no earlier run used.
    static QString uniqueName(const QString& prefix);

    explicit LiveKafka(QByteArray bootstrap);
    // Closes every member still in its group.
    ~LiveKafka();
    LiveKafka(const LiveKafka&) = delete;
    LiveKafka& operator=(const LiveKafka&) = delete;

    // A plaintext Kafka broker definition that reaches this broker.
    Broker broker() const;

    struct Seed {
        int32_t partition = 0;
        QByteArray payload;
        // Milliseconds since 1970; 0 lets the producer stamp the message.
        int64_t timestampMs = 0;
    };
    // Creates the topic and produces the messages, waiting for their acknowledgement.
    void createTopic(const QString& topic, int partitions, const QList<Seed>& messages);

    // A consumer in `group` subscribed to `topic`, reading from the beginning, committing only when
    // asked. It stays in the group until leave().
    rd_kafka_t* join(const QString& group, const QString& topic, const QByteArray& clientId = {});
    // Polls until the member has read `count` messages, then commits its position.
    void readAndCommit(rd_kafka_t* member, int count);
    void leave(rd_kafka_t*& member);

private:
    QByteArray m_bootstrap;
    QList<rd_kafka_t*> m_members;
};

} // namespace tessaron::testing
