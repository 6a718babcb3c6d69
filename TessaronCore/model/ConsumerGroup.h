#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <algorithm>

namespace tessaron {

// One entry of a consumer-group listing.
struct ConsumerGroup {
    // Which protocol the group speaks, as the broker lists it. `other` is a kind of group that is
    // no consumer group at all (Kafka 4's share and streams groups): listed as the broker lists it,
    // never described as a consumer group.
    enum class Protocol { classic, consumer, other };

    QString id;
    QString state;
    bool isSimple = false;
    Protocol protocol = Protocol::classic;

    // The state is exactly "Empty" (case-sensitive).
    bool hasNoMembers() const { return state == QLatin1String("Empty"); }
    bool isConsumerGroup() const { return protocol != Protocol::other; }

    friend bool operator==(const ConsumerGroup&, const ConsumerGroup&) = default;
};

// Whether `groups` lists `id` as a kind of group that is no consumer group.
inline bool listedAsOtherKind(const QList<ConsumerGroup>& groups, const QString& id)
{
    return std::any_of(groups.cbegin(), groups.cend(),
                       [&](const ConsumerGroup& g) { return g.id == id && !g.isConsumerGroup(); });
}

inline size_t qHash(const ConsumerGroup& g, size_t seed = 0)
{
    return qHashMulti(seed, g.id, g.state, g.isSimple, int(g.protocol));
}

} // namespace tessaron
