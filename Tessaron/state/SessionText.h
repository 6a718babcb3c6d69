#pragma once

#include "TessaronCore/model/KafkaError.h"

#include <QCoroTask>
#include <QString>

#include <exception>
#include <optional>

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
    // The request went out and its answer was lost: the broker may have done it.
    bool uncertain = false;

    static CapturedError from(const std::exception& error)
    {
        const auto* kafka = dynamic_cast<const KafkaError*>(&error);
        return {errorMessage(error), isLostConnection(error), kafka ? kafka->code() : -1,
                kafka && kafka->isUncertain()};
    }
    static CapturedError unknown() { return {QStringLiteral("unknown error"), false}; }
};

// What one client call gave: its value, or the failure it threw. Exactly one is set.
template <typename T> struct Attempt {
    std::optional<T> value;
    std::optional<CapturedError> failure;
};

// Awaits a client call and captures what it throws, so the session handles a failure like any other
// result (and may suspend again before acting on it). Name the attempt before awaiting it:
//   auto listing = attempt(client->topics(ms));
//   auto [topics, failure] = co_await std::move(listing);
template <typename T> QCoro::Task<Attempt<T>> attempt(QCoro::Task<T> task)
{
    Attempt<T> result;
    try {
        result.value = co_await std::move(task);
    } catch (const std::exception& error) {
        result.failure = CapturedError::from(error);
    }
    co_return result;
}

// A call that gives nothing back: only its failure, if any.
template <> struct Attempt<void> {
    std::optional<CapturedError> failure;
};

inline QCoro::Task<Attempt<void>> attempt(QCoro::Task<> task)
{
    Attempt<void> result;
    try {
        co_await std::move(task);
    } catch (const std::exception& error) {
        result.failure = CapturedError::from(error);
    }
    co_return result;
}

} // namespace tessaron
