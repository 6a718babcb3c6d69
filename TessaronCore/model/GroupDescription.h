#pragma once

#include "TessaronCore/model/GroupMember.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// A consumer group's description: state, assignor, coordinator and members.
struct GroupDescription {
    QString id;
    QString state;
    QString assignor;
    std::optional<QString> coordinator;
    QList<GroupMember> members;

    friend bool operator==(const GroupDescription&, const GroupDescription&) = default;
};

inline size_t qHash(const GroupDescription& d, size_t seed = 0)
{
    seed = qHashMulti(seed, d.id, d.state, d.assignor, qHashOptional(d.coordinator));
    for (const GroupMember& m : d.members)
        seed = qHash(m, seed);
    return seed;
}

} // namespace tessaron
