#pragma once

#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Partition.h"
#include "TessaronCore/model/Topic.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace tessaron::fixtures {

inline Message message(int64_t offset, std::optional<QByteArray> payload, std::optional<QByteArray> key = std::nullopt,
                       int32_t partition = 0, QList<Message::Header> headers = {},
                       const QString& topic = QStringLiteral("t"))
{
    return Message(topic, partition, offset, std::move(key), std::move(payload), std::nullopt, std::move(headers));
}

inline Partition partition(int32_t id, int64_t low, int64_t high)
{
    Partition p;
    p.id = id;
    p.low = low;
    p.high = high;
    return p;
}

inline Topic topic(const QString& name, bool internal = false, QList<Partition> partitions = {})
{
    Topic t;
    t.name = name;
    t.isInternal = internal;
    t.partitions = std::move(partitions);
    return t;
}

} // namespace tessaron::fixtures
