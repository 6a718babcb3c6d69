#pragma once

#include "TessaronCore/model/Partition.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// A Kafka topic or a RabbitMQ queue. Identity is `name`; equality covers every field, the
// partitions included, so two listings of one topic with different watermarks differ.
struct Topic {
    QString name;
    QList<Partition> partitions;
    bool isInternal = false;
    std::optional<QString> error;
    // The depth a RabbitMQ queue declares itself; absent for Kafka topics.
    std::optional<int64_t> declaredDepth;
    // Of that depth, what a RabbitMQ queue has delivered to its consumers and not yet had
    // acknowledged: a read cannot see those. Absent where not counted.
    std::optional<int64_t> unacknowledged;

    const QString& id() const { return name; }

    // The declared depth when present (even 0); otherwise the sum of each partition's clamped span.
    int64_t retained() const;
    bool hasUnderReplicated() const;
    // The lower-cased name contains "dlq", "dead-letter", "dead_letter", "deadletter", ".dlt" or "-dlt".
    bool looksLikeDeadLetter() const;

    // Starts with "__" or is exactly "_schemas".
    static bool isKafkaInternal(const QString& name);

    friend bool operator==(const Topic&, const Topic&) = default;
};

size_t qHash(const Topic& topic, size_t seed = 0);

} // namespace tessaron
