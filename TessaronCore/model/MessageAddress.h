#pragma once

#include "TessaronCore/model/Message.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// A message id taken apart, to find a message among many by its numbers instead of building the
// id of every message passed over.
struct MessageAddress {
    QString topic;
    int32_t partition = 0;
    int64_t offset = 0;

    static MessageAddress of(const Message& message)
    {
        return {message.topic(), message.partition(), message.offset()};
    }
    // Absent for text that is no message's id ("topic/partition/offset" as `Message::id` writes it).
    static std::optional<MessageAddress> of(const QString& id);

    bool matches(const Message& message) const
    {
        return message.offset() == offset && message.partition() == partition && message.topic() == topic;
    }
    // The first of `messages` at this address, or -1.
    qsizetype indexIn(const QList<Message>& messages) const;

    friend bool operator==(const MessageAddress&, const MessageAddress&) = default;
};

// The topic is left out: the messages of one list share it, and hashing text costs more than the rest.
inline size_t qHash(const MessageAddress& address, size_t seed = 0)
{
    return qHashMulti(seed, address.partition, address.offset);
}

} // namespace tessaron
