#pragma once

#include "TessaronCore/analysis/KeyShare.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Partition.h"

#include <QList>

namespace tessaron {

// Who is sending: each key's estimated share of a topic's retained messages, from a sample.
namespace KeyShareEstimate {

struct Result {
    QList<KeyShare> ranked; // largest share first, equal shares by key
    qsizetype keyed = 0;    // sampled messages with a usable key
    bool allUnique = false; // every key seen exactly once; false when nothing is keyed
    bool weighted = false;  // shares weighted by the partitions' retained counts

    friend bool operator==(const Result&, const Result&) = default;
};

// When two or more partitions are given and they retain something, each sampled message stands
// for its partition's share of the topic divided among that partition's sampled messages;
// otherwise every sampled partition weighs the same. A key that is absent, empty or not UTF-8
// does not count. When a partition id is given twice, its later entry counts.
Result estimate(const QList<Message>& messages, const QList<Partition>& partitions);

} // namespace KeyShareEstimate

} // namespace tessaron
