#pragma once

#include <QCoroTask>

#include <utility>

namespace tessaron {

// Starts a task from a place that cannot await it: a slot, a constructor, a timer. A QCoro task runs
// at once up to its first suspension and goes on by itself once its handle is dropped; this names
// that intent where a bare call would read as a mistake. The task must settle its own failures (the
// session's operations turn every error into published state), because nobody sees what escapes it.
template <typename T> void startDetached(QCoro::Task<T>&& task)
{
    [[maybe_unused]] QCoro::Task<T> dropped = std::move(task);
}

} // namespace tessaron
