#pragma once

#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/model/OptionalHash.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// One partition of a topic with its watermarks. Identity is `id`; equality covers every field.
struct Partition {
    int32_t id = 0;
    int32_t leader = 0;
    int64_t replicaCount = 0;
    int64_t inSyncCount = 0;
    int64_t low = 0;
    int64_t high = 0;
    std::optional<QString> error;

    // Messages still held: high - low, never negative.
    int64_t retained() const { return Saturating::span(low, high); }
    bool underReplicated() const { return inSyncCount < replicaCount; }

    friend bool operator==(const Partition&, const Partition&) = default;
};

inline size_t qHash(const Partition& p, size_t seed = 0)
{
    return qHashMulti(seed, p.id, p.leader, p.replicaCount, p.inSyncCount, p.low, p.high, qHashOptional(p.error));
}

} // namespace tessaron
