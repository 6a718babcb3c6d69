#pragma once

#include <QHashFunctions>
#include <QString>

namespace tessaron {

// One entry of a consumer-group listing.
struct ConsumerGroup {
    QString id;
    QString state;
    bool isSimple = false;

    // The state is exactly "Empty" (case-sensitive).
    bool hasNoMembers() const { return state == QLatin1String("Empty"); }

    friend bool operator==(const ConsumerGroup&, const ConsumerGroup&) = default;
};

inline size_t qHash(const ConsumerGroup& g, size_t seed = 0) { return qHashMulti(seed, g.id, g.state, g.isSimple); }

} // namespace tessaron
