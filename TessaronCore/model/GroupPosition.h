#pragma once

#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/model/OptionalHash.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// A group's committed position on one partition, with the partition's end when known and the
// member holding it.
struct GroupPosition {
    QString topic;
    int32_t partition = 0;
    int64_t committed = 0;
    std::optional<int64_t> end;
    std::optional<QString> heldBy;

    QString id() const { return topic + QLatin1Char('/') + QString::number(partition); }

    // end - committed, never negative; absent when the end is unknown.
    std::optional<int64_t> lag() const
    {
        if (!end)
            return std::nullopt;
        return Saturating::span(committed, *end);
    }

    bool isPastEnd() const { return end && *end < committed; }

    friend bool operator==(const GroupPosition&, const GroupPosition&) = default;
};

inline size_t qHash(const GroupPosition& p, size_t seed = 0)
{
    return qHashMulti(seed, p.topic, p.partition, p.committed, qHashOptional(p.end), qHashOptional(p.heldBy));
}

} // namespace tessaron
