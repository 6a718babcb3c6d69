#pragma once

#include <QHashFunctions>
#include <QString>

#include <cstdint>

namespace tessaron {

// A topic and partition pair, used as a key of committed-offset tables and in assignments.
struct TopicPartitionRef {
    QString topic;
    int32_t partition = 0;

    friend bool operator==(const TopicPartitionRef&, const TopicPartitionRef&) = default;
    // Topic, then partition: lets the pair key an ordered map as well.
    friend bool operator<(const TopicPartitionRef& a, const TopicPartitionRef& b)
    {
        return a.topic != b.topic ? a.topic < b.topic : a.partition < b.partition;
    }
};

inline size_t qHash(const TopicPartitionRef& r, size_t seed = 0) { return qHashMulti(seed, r.topic, r.partition); }

} // namespace tessaron
