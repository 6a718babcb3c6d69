#include "VelkinInfra/async/SerialQueue.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace tessaron {

namespace {
std::atomic<int> g_liveWorkers{0};
}

struct SerialQueue::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    std::thread::id worker;
};

SerialQueue::SerialQueue(std::string label)
    : m_label(std::move(label))
    , m_state(std::make_shared<State>())
{
    ++g_liveWorkers;
    std::thread thread([state = m_state, name = m_label]() {
        pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(state->mutex);
                state->wake.wait(lock, [&] { return state->stopping || !state->jobs.empty(); });
                if (state->jobs.empty())
                    break;
                job = std::move(state->jobs.front());
                state->jobs.pop_front();
            }
            job();
        }
        --g_liveWorkers;
    });
    {
        std::lock_guard lock(m_state->mutex);
        m_state->worker = thread.get_id();
    }
    thread.detach();
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
    }
    m_state->wake.notify_all();
}

void SerialQueue::post(std::function<void()> job)
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->jobs.push_back(std::move(job));
    }
    m_state->wake.notify_one();
}

bool SerialQueue::isCurrent() const
{
    std::lock_guard lock(m_state->mutex);
    return std::this_thread::get_id() == m_state->worker;
}

int SerialQueue::liveWorkers() { return g_liveWorkers.load(); }

namespace detail {

QObject* resumeContext()
{
    // One per thread, destroyed with the thread; a QPointer to it tells a late job that the
    // awaiting thread has gone.
    thread_local std::unique_ptr<QObject> context = std::make_unique<QObject>();
    return context.get();
}

} // namespace detail
} // namespace tessaron
