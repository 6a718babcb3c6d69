#pragma once

#include "TessaronCore/model/OptionalHash.h"
#include "TessaronCore/model/TopicPartitionRef.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// One member of a consumer group with the partitions assigned to it, in the order reported.
struct GroupMember {
    QString id;
    QString clientID;
    QString host;
    // The static membership instance id, when the member has one.
    std::optional<QString> instanceID;
    QList<TopicPartitionRef> assigned;

    friend bool operator==(const GroupMember&, const GroupMember&) = default;
};

inline size_t qHash(const GroupMember& m, size_t seed = 0)
{
    seed = qHashMulti(seed, m.id, m.clientID, m.host, qHashOptional(m.instanceID));
    for (const TopicPartitionRef& r : m.assigned)
        seed = qHash(r, seed);
    return seed;
}

} // namespace tessaron
