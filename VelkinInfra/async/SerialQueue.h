#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace tessaron {

// A private serial queue: one worker thread draining a first-in-first-out list of jobs.
// Every blocking library call of one client runs here, so calls on one handle never overlap
// and never block the thread that asked for them.
//
// Destroying the queue never joins: the worker finishes the jobs already queued (a release job
// that destroys a library handle included) and then ends by itself.
class SerialQueue {
public:
    explicit SerialQueue(std::string label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return m_label; }

    // Fire and forget, in submission order.
    void post(std::function<void()> job);

    // Awaitable: runs `work` on the queue; the awaiting coroutine resumes on the thread it awaited
    // from (through that thread's event loop), with the value or the exception of `work`.
    template <typename F> auto run(F work);

    // True while called from this queue's worker thread.
    bool isCurrent() const;

    // Number of live worker threads of all queues (tests check that released queues end).
    static int liveWorkers();

private:
    struct State;
    std::string m_label;
    std::shared_ptr<State> m_state;
};

namespace detail {

// A QObject that lives in the calling thread, used to post resumptions back to it.
QObject* resumeContext();

template <typename T> struct QueueOutcome {
    std::optional<T> value;
    std::exception_ptr error;
};
template <> struct QueueOutcome<void> {
    bool done = false;
    std::exception_ptr error;
};

template <typename T> class QueueAwaiter {
public:
    QueueAwaiter(SerialQueue* queue, std::function<T()> work)
        : m_queue(queue)
        , m_work(std::move(work))
        , m_outcome(std::make_shared<QueueOutcome<T>>())
    { }

    bool await_ready() const noexcept { return false; }

    void await_suspend(std::coroutine_handle<> handle)
    {
        QPointer<QObject> context(resumeContext());
        m_queue->post([work = std::move(m_work), outcome = m_outcome, handle, context]() mutable {
            try {
                if constexpr (std::is_void_v<T>) {
                    work();
                    outcome->done = true;
                } else {
                    outcome->value.emplace(work());
                }
            } catch (...) {
                outcome->error = std::current_exception();
            }
            // The awaiting thread's context is gone only when that thread has ended; then there is
            // nobody left to resume.
            if (context)
                QMetaObject::invokeMethod(
                    context.data(), [handle]() { handle.resume(); }, Qt::QueuedConnection);
        });
    }

    T await_resume()
    {
        if (m_outcome->error)
            std::rethrow_exception(m_outcome->error);
        if constexpr (!std::is_void_v<T>)
            return std::move(*m_outcome->value);
    }

private:
    SerialQueue* m_queue;
    std::function<T()> m_work;
    std::shared_ptr<QueueOutcome<T>> m_outcome;
};

} // namespace detail

template <typename F> auto SerialQueue::run(F work)
{
    using T = std::invoke_result_t<F>;
    return detail::QueueAwaiter<T>(this, std::function<T()>(std::move(work)));
}

} // namespace tessaron
