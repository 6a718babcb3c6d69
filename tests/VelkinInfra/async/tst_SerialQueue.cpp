#include "VelkinInfra/async/SerialQueue.h"
#include "support/SyncWait.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace tessaron;
using testing::syncWait;

class TestSerialQueue : public QObject {
    Q_OBJECT
private slots:
    void jobsRunInSubmissionOrderOffTheCallingThread()
    {
        SerialQueue queue("test.order");
        std::vector<int> order;
        std::mutex mutex;
        auto main = std::this_thread::get_id();
        std::atomic<bool> offMain{true};
        auto task = [&]() -> QCoro::Task<int> {
            // Two awaits started back to back: the second job queues behind the first.
            auto first = queue.run([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (std::this_thread::get_id() == main)
                    offMain = false;
                std::lock_guard l(mutex);
                order.push_back(1);
                return 1;
            });
            auto second = queue.run([&] {
                std::lock_guard l(mutex);
                order.push_back(2);
                return 2;
            });
            int a = co_await std::move(first);
            int b = co_await std::move(second);
            co_return a + b;
        };
        QCOMPARE(syncWait(task()), 3);
        QCOMPARE(order, (std::vector<int>{1, 2}));
        QVERIFY(offMain);
    }

    void resumesOnTheAwaitingThreadAndKeepsItResponsive()
    {
        SerialQueue queue("test.resume");
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(5);
        auto task = [&]() -> QCoro::Task<QThread*> {
            co_await queue.run([] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); });
            co_return QThread::currentThread();
        };
        QCOMPARE(syncWait(task()), QThread::currentThread());
        QVERIFY2(ticks >= 5, "the event loop kept running while the queue worked");
    }

    void exceptionsReachTheAwaiter()
    {
        SerialQueue queue("test.error");
        auto task = [&]() -> QCoro::Task<QString> {
            try {
                co_await queue.run([]() -> int { throw std::runtime_error("boom"); });
            } catch (const std::runtime_error& e) {
                co_return QString::fromUtf8(e.what());
            }
            co_return QString();
        };
        QCOMPARE(syncWait(task()), QStringLiteral("boom"));
    }

    void destroyingTheQueueLetsQueuedJobsFinishAndEndsTheWorker()
    {
        // Queues of the earlier cases end on their own time; start from none.
        QTRY_COMPARE_WITH_TIMEOUT(SerialQueue::liveWorkers(), 0, 5000);
        std::atomic<int> ran{0};
        {
            SerialQueue queue("test.release");
            for (int i = 0; i < 3; ++i)
                queue.post([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    ++ran;
                });
        } // no join here: the destructor returns at once
        QTRY_COMPARE_WITH_TIMEOUT(ran.load(), 3, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(SerialQueue::liveWorkers(), 0, 5000);
    }
};

QTEST_GUILESS_MAIN(TestSerialQueue)
#include "tst_SerialQueue.moc"
