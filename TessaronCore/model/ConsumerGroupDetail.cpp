#include "TessaronCore/model/ConsumerGroupDetail.h"

#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/model/TextRules.h"

#include <algorithm>

namespace tessaron {

QStringList ConsumerGroupDetail::topics() const
{
    QStringList names;
    for (const GroupPosition& p : positions) {
        if (!names.contains(p.topic))
            names.append(p.topic);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return TextRules::precedes(a, b); });
    return names;
}

QList<GroupPosition> ConsumerGroupDetail::positionsOn(const QString& topic) const
{
    QList<GroupPosition> on;
    for (const GroupPosition& p : positions) {
        if (p.topic == topic)
            on.append(p);
    }
    std::stable_sort(on.begin(), on.end(),
                     [](const GroupPosition& a, const GroupPosition& b) { return a.partition < b.partition; });
    return on;
}

ConsumerGroupDetail::Lag ConsumerGroupDetail::lag() const
{
    Lag total;
    for (const GroupPosition& p : positions) {
        if (const auto lag = p.lag())
            total.known = Saturating::add(total.known, *lag);
        else
            ++total.unknownPartitions;
    }
    return total;
}

ConsumerGroupDetail ConsumerGroupDetail::assemble(const QString& id, const QString& state, const QString& assignor,
                                                  const std::optional<QString>& coordinator,
                                                  const QList<GroupMember>& members,
                                                  const QHash<TopicPartitionRef, int64_t>& committed,
                                                  const QList<Topic>& topics)
{
    QHash<TopicPartitionRef, QString> holders;
    for (const GroupMember& member : members) {
        for (const TopicPartitionRef& ref : member.assigned)
            holders.insert(ref, member.id); // a later claim replaces an earlier one
    }

    // A repeated topic name keeps its first record.
    QHash<QString, const Topic*> byName;
    for (const Topic& topic : topics) {
        if (!byName.contains(topic.name))
            byName.insert(topic.name, &topic);
    }

    QList<GroupPosition> positions;
    positions.reserve(committed.size());
    for (auto it = committed.cbegin(); it != committed.cend(); ++it) {
        GroupPosition position{it.key().topic, it.key().partition, it.value(), std::nullopt, std::nullopt};
        if (const auto holder = holders.constFind(it.key()); holder != holders.cend())
            position.heldBy = *holder;
        if (const Topic* topic = byName.value(it.key().topic); topic && !topic->error) {
            for (const Partition& partition : topic->partitions) {
                if (partition.id == it.key().partition) {
                    // A partition whose ends would not read has an unknown end, not an end at 0.
                    if (!partition.error)
                        position.end = partition.high;
                    break;
                }
            }
        }
        positions.append(std::move(position));
    }
    std::sort(positions.begin(), positions.end(), [](const GroupPosition& a, const GroupPosition& b) {
        return a.topic != b.topic ? a.topic < b.topic : a.partition < b.partition;
    });

    return ConsumerGroupDetail{id, state, assignor, coordinator, members, positions};
}

size_t qHash(const ConsumerGroupDetail& d, size_t seed)
{
    seed =
        qHashMulti(seed, d.id, d.state, d.assignor, qHashOptional(d.coordinator), d.membersUnknown, d.positionsUnknown);
    for (const GroupMember& m : d.members)
        seed = qHash(m, seed);
    for (const GroupPosition& p : d.positions)
        seed = qHash(p, seed);
    return seed;
}

} // namespace tessaron
