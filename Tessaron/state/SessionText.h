#pragma once

#include "TessaronCore/kafka/KafkaError.h"

#include <QString>

#include <exception>

namespace tessaron {

// How a session turns a thrown error into text: a KafkaError's message, otherwise the error's
// own description.
inline QString errorMessage(const std::exception& error)
{
    if (const auto* kafka = dynamic_cast<const KafkaError*>(&error))
        return kafka->message();
    return QString::fromUtf8(error.what());
}

inline bool isLostConnection(const std::exception& error)
{
    const auto* kafka = dynamic_cast<const KafkaError*>(&error);
    return kafka && kafka->isTimeout();
}

// A failure captured in a catch block, to be acted on after it (a coroutine cannot suspend inside
// a handler).
struct CapturedError {
    QString message;
    bool lostConnection = false;
    int32_t code = -1;

    static CapturedError from(const std::exception& error)
    {
        const auto* kafka = dynamic_cast<const KafkaError*>(&error);
        return {errorMessage(error), isLostConnection(error), kafka ? kafka->code() : -1};
    }
    static CapturedError unknown() { return {QStringLiteral("unknown error"), false}; }
};

} // namespace tessaron
