#pragma once

#include "TessaronCore/model/GroupMember.h"
#include "TessaronCore/model/GroupPosition.h"
#include "TessaronCore/model/Topic.h"
#include "TessaronCore/model/TopicPartitionRef.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tessaron {

// A group's description joined with its committed offsets and the partitions' ends.
struct ConsumerGroupDetail {
    QString id;
    QString state;
    QString assignor;
    std::optional<QString> coordinator;
    QList<GroupMember> members;
    // Ordered by topic, then partition.
    QList<GroupPosition> positions;
    // The broker would not describe the group's members (a group of the consumer protocol, to a
    // client that describes with the classic request): `members` is empty, not the members.
    bool membersUnknown = false;
    // The broker would not give the committed offsets: `positions` is empty, not the positions.
    bool positionsUnknown = false;

    struct Lag {
        int64_t known = 0;
        qsizetype unknownPartitions = 0;
        friend bool operator==(const Lag&, const Lag&) = default;
    };

    bool isEmpty() const { return state == QLatin1String("Empty"); }
    // Both the preparing and the completing rebalance states count.
    bool isRebalancing() const { return state.endsWith(QLatin1String("Rebalance")); }
    // Distinct topic names of the positions, in plain code-point order.
    QStringList topics() const;
    // The positions on exactly this topic, by partition (stable). Named apart from the field.
    QList<GroupPosition> positionsOn(const QString& topic) const;
    // Sum of the known lags (sticking at the 64-bit limit), and how many positions have no known end.
    Lag lag() const;

    // One position per committed entry; a partition claimed by two members is held by the later one.
    static ConsumerGroupDetail assemble(const QString& id, const QString& state, const QString& assignor,
                                        const std::optional<QString>& coordinator, const QList<GroupMember>& members,
                                        const QHash<TopicPartitionRef, int64_t>& committed, const QList<Topic>& topics);

    friend bool operator==(const ConsumerGroupDetail&, const ConsumerGroupDetail&) = default;
};

size_t qHash(const ConsumerGroupDetail& detail, size_t seed = 0);

} // namespace tessaron
