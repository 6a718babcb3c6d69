#pragma once

// Reading messages back in tests.

#include "TessaronCore/model/Message.h"

#include <optional>

namespace tessaron::testing {

// The value of the message's first header of this name; none when it has no such header.
inline std::optional<QByteArray> headerOf(const Message& message, const QString& name)
{
    for (const Message::Header& h : message.headers()) {
        if (h.name == name)
            return h.value;
    }
    return std::nullopt;
}

} // namespace tessaron::testing
