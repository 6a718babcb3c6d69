#pragma once

// A real Kafka broker for what librdkafka's mock cluster does not implement (the group
// administration, offsets for a time), named by TESSARON_TEST_KAFKA_BOOTSTRAP. Seeds topics and
// keeps consumers in groups; a step that fails throws std::runtime_error.

#include "TessaronCore/model/Broker.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <librdkafka/rdkafka.h>

#include <cstdint>
#include <utility>

namespace tessaron::testing {

// The tests' own broker stopped (SIGSTOP) for as long as this lives: its connections stay open and
// nothing answers, as with a broker that hangs. Resumed (SIGCONT) on destruction or resume(), so
// a failing test leaves it running for the next.
class PausedBroker {
public:
    // The process of the broker the services wrapper started (TESSARON_TEST_KAFKA_PID); 0 when it
    // names none, and a test that needs to pause it should skip.
    static qint64 pidFromEnvironment();
    explicit PausedBroker(qint64 pid);
    ~PausedBroker() { resume(); }
    PausedBroker(const PausedBroker&) = delete;
    PausedBroker& operator=(const PausedBroker&) = delete;
    void resume();

private:
    qint64 m_pid = 0;
    bool m_paused = false;
};

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
        QByteArray key;
        // A tombstone: no payload at all.
        bool tombstone = false;
    };
    // Creates the topic (with the given topic configuration pairs) and produces the messages,
    // waiting for their acknowledgement.
    void createTopic(const QString& topic, int partitions, const QList<Seed>& messages,
                     const QList<std::pair<QByteArray, QByteArray>>& config = {});
    // Produces more messages to an existing topic, waiting for their acknowledgement.
    void produce(const QString& topic, const QList<Seed>& messages);
    // Produces each batch in a transaction of its own, committed or aborted as `commit[i]` says.
    void produceTransactions(const QString& topic, const QList<QList<Seed>>& batches, const QList<bool>& commit);
    void deleteTopic(const QString& topic);
    // Deletes every record before `before` on each partition named (DeleteRecords).
    void trim(const QString& topic, const QMap<int32_t, int64_t>& before);
    // The partition's low and high watermarks as the broker holds them now.
    std::pair<int64_t, int64_t> watermarks(const QString& topic, int32_t partition);

    // The group's committed offsets on `topic`, read by a handle of its own (-1: none committed).
    QMap<int32_t, int64_t> committed(const QString& group, const QString& topic, int partitions);
    // Commits the offsets for `group` without ever joining it: a group of no members.
    void commitAsSimple(const QString& group, const QString& topic, const QMap<int32_t, int64_t>& offsets);

    // A consumer in `group` subscribed to `topic`, reading from the beginning, committing only when
    // asked. It stays in the group until leave().
    rd_kafka_t* join(const QString& group, const QString& topic, const QByteArray& clientId = {});
    // Polls until the member has read `count` messages, then commits its position.
    void readAndCommit(rd_kafka_t* member, int count);
    // Polls the member (reading, never committing) until the group has given it partitions.
    void awaitAssignment(rd_kafka_t* member);
    void leave(rd_kafka_t*& member);

private:
    QByteArray m_bootstrap;
    QList<rd_kafka_t*> m_members;
};

} // namespace tessaron::testing
