#pragma once

#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/model/OptionalHash.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// A group's committed offset on one partition against the partition's high watermark.
struct GroupOffset {
    QString topic;
    int32_t partition = 0;
    // Absent when none is known; a negative value also means none.
    std::optional<int64_t> committed;
    int64_t high = 0;

    QString id() const { return topic + QLatin1Char('/') + QString::number(partition); }

    // high - committed, never negative; absent without a usable committed offset.
    std::optional<int64_t> lag() const
    {
        if (!committed || *committed < 0)
            return std::nullopt;
        return Saturating::span(*committed, high);
    }

    friend bool operator==(const GroupOffset&, const GroupOffset&) = default;
};

inline size_t qHash(const GroupOffset& o, size_t seed = 0)
{
    return qHashMulti(seed, o.topic, o.partition, qHashOptional(o.committed), o.high);
}

} // namespace tessaron
