#pragma once

// Blocks a test until a task has finished and rethrows its failure. QCoro 0.8's waitFor never
// returns when the awaited task throws, and needs a default-constructible result.

#include <QCoroTask>

#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace tessaron::testing {

namespace detail {

template <typename T> struct Settled {
    std::optional<T> value;
    std::exception_ptr error;
};

template <typename T> QCoro::Task<Settled<T>> settle(QCoro::Task<T> task)
{
    Settled<T> settled;
    try {
        settled.value.emplace(co_await task);
    } catch (...) {
        settled.error = std::current_exception();
    }
    co_return settled;
}

inline QCoro::Task<Settled<bool>> settleVoid(QCoro::Task<void> task)
{
    Settled<bool> settled;
    try {
        co_await task;
        settled.value = true;
    } catch (...) {
        settled.error = std::current_exception();
    }
    co_return settled;
}

} // namespace detail

template <typename T> T syncWait(QCoro::Task<T> task)
{
    if constexpr (std::is_void_v<T>) {
        detail::Settled<bool> settled = QCoro::waitFor(detail::settleVoid(std::move(task)));
        if (settled.error)
            std::rethrow_exception(settled.error);
    } else {
        detail::Settled<T> settled = QCoro::waitFor(detail::settle(std::move(task)));
        if (settled.error)
            std::rethrow_exception(settled.error);
        return std::move(*settled.value);
    }
}

// The error the task failed with; an error of code 0 when it did not fail.
template <typename Error, typename T> Error failureOf(QCoro::Task<T> task)
{
    try {
        syncWait(std::move(task));
    } catch (const Error& e) {
        return e;
    }
    return Error(0, "nothing thrown");
}

} // namespace tessaron::testing
