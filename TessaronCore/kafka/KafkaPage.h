#pragma once

#include "TessaronCore/model/Message.h"

#include <QList>
#include <QMap>

#include <cstdint>

namespace tessaron {

// What one partition read returns (known to callers as KafkaClient::Page).
struct KafkaPage {
    // In offset order, as the partition delivered them.
    QList<Message> messages;
    // One entry, for the partition read: the offset after the last message read, or the
    // resolved start offset (possibly logical: -2 beginning, -1 end) when none was read.
    QMap<int32_t, int64_t> next;
    // True only when the read stopped at the partition's end.
    bool reachedEnd = false;
};

} // namespace tessaron
