#pragma once

// The one way a test waits for a task: syncWait runs the event loop until the task has finished
// and returns its result or rethrows its failure. QCoro 0.8's waitFor alone never returns when the
// awaited task throws, and needs a default-constructible result. failureOf and outcomeOf are
// syncWait with the failure caught. Waiting for published state is QTRY_*'s job, not this.

#include "TessaronCore/model/KafkaError.h"

#include <QCoroTask>

#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace tessaron::testing {

namespace detail {

template <typename T> struct Settled {
    std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> value;
    std::exception_ptr error;
};

template <typename T> QCoro::Task<Settled<T>> settle(QCoro::Task<T> task)
{
    Settled<T> settled;
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
            settled.value = true;
        } else {
            settled.value.emplace(co_await task);
        }
    } catch (...) {
        settled.error = std::current_exception();
    }
    co_return settled;
}

} // namespace detail

template <typename T> T syncWait(QCoro::Task<T> task)
{
    detail::Settled<T> settled = QCoro::waitFor(detail::settle(std::move(task)));
    if (settled.error)
        std::rethrow_exception(settled.error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*settled.value);
}

// The error the task failed with; an error of code 0 when it did not fail.
template <typename Error = KafkaError, typename T> Error failureOf(QCoro::Task<T> task)
{
    try {
        syncWait(std::move(task));
    } catch (const Error& e) {
        return e;
    }
    return Error(0, "nothing thrown");
}

// What a task ended with: its value (or `done` for a task of no value), or the error it failed with.
template <typename T, typename Error> struct Outcome {
    std::optional<T> value;
    std::optional<Error> error;
};
template <typename Error> struct Outcome<void, Error> {
    bool done = false;
    std::optional<Error> error;
};

template <typename Error = KafkaError, typename T> Outcome<T, Error> outcomeOf(QCoro::Task<T> task)
{
    Outcome<T, Error> outcome;
    try {
        if constexpr (std::is_void_v<T>) {
            syncWait(std::move(task));
            outcome.done = true;
        } else {
            outcome.value.emplace(syncWait(std::move(task)));
        }
    } catch (const Error& error) {
        outcome.error = error;
    }
    return outcome;
}

} // namespace tessaron::testing
