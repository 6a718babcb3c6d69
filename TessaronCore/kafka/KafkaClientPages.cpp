// Pages of several partitions at once, as a walk from partition to partition would read them.
#include "TessaronCore/kafka/KafkaClient.h"

#include "TessaronCore/kafka/KafkaClientPageRead.h"
#include "TessaronCore/kafka/KafkaSupport.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <limits>
#include <thread>
#include <vector>

namespace tessaron {

using namespace kafka;

namespace {

// A partition's failure as it is answered: one that is not the library's is carried as one (code -1).
KafkaError carried(const std::exception& error)
{
    if (const auto* kafka = dynamic_cast<const KafkaError*>(&error))
        return *kafka;
    return KafkaError(-1, QString::fromUtf8(error.what()));
}

// Starts looked up at once, each on a thread of its own: the library's lookup blocks its caller
// until the answer comes, and may be called from several threads on one handle.
constexpr qsizetype parallelStarts = 32;

// Runs work(0) … work(count - 1) on up to `parallelStarts` threads, the caller's included; every
// helper has ended when it returns. `work` throws nothing.
template <typename F> void sideBySide(qsizetype count, F work)
{
    std::atomic<qsizetype> next{0};
    auto drain = [&] {
        for (qsizetype i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::jthread> helpers;
    for (qsizetype t = 1; t < std::min(count, parallelStarts); ++t)
        helpers.emplace_back(drain);
    drain();
}

// Keeps the partitions started on one queue until each is stopped, and stops the rest at the end.
class QueueSession {
public:
    explicit QueueSession(rd_kafka_topic_t* topic)
        : m_topic(topic)
    { }
    ~QueueSession()
    {
        for (int32_t partition : std::as_const(m_started))
            rd_kafka_consume_stop(m_topic, partition);
    }
    QueueSession(const QueueSession&) = delete;
    QueueSession& operator=(const QueueSession&) = delete;

    bool start(int32_t partition, int64_t offset, rd_kafka_queue_t* queue)
    {
        if (rd_kafka_consume_start_queue(m_topic, partition, offset, queue) == -1)
            return false;
        m_started.insert(partition);
        return true;
    }
    void stop(int32_t partition)
    {
        if (m_started.remove(partition))
            rd_kafka_consume_stop(m_topic, partition);
    }

private:
    rd_kafka_topic_t* m_topic;
    QSet<int32_t> m_started;
};

// One partition of a read of several.
struct PartitionState {
    std::optional<Start> start;
    std::optional<PageRead> read;
    std::optional<KafkaError> failure;
    qint64 deadlineMs = 0; // for the partition's next event, on the read's clock
};

// One lookup of several partitions of the topic, each at its own offset (a logical time or a moment):
// the answer of each, or nothing where the lookup failed for it, and the lookup's own result.
rd_kafka_resp_err_t lookUpTogether(rd_kafka_t* rk, const QByteArray& topic,
                                   const QList<std::pair<int32_t, int64_t>>& asks, int32_t timeoutMs,
                                   QList<std::optional<int64_t>>& answers, QList<rd_kafka_resp_err_t>& errors)
{
    answers = QList<std::optional<int64_t>>(asks.size());
    errors = QList<rd_kafka_resp_err_t>(asks.size(), RD_KAFKA_RESP_ERR_NO_ERROR);
    if (asks.isEmpty())
        return RD_KAFKA_RESP_ERR_NO_ERROR;
    OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(asks.size())));
    if (!list)
        throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
    for (const auto& [partition, offset] : asks)
        rd_kafka_topic_partition_list_add(list.get(), topic.constData(), partition)->offset = offset;
    const rd_kafka_resp_err_t result = rd_kafka_offsets_for_times(rk, list.get(), timeoutMs);
    for (qsizetype i = 0; i < asks.size(); ++i) {
        errors[i] = result != RD_KAFKA_RESP_ERR_NO_ERROR ? result : list->elems[i].err;
        if (errors[i] == RD_KAFKA_RESP_ERR_NO_ERROR)
            answers[i] = list->elems[i].offset;
    }
    return result;
}

bool unreachable(rd_kafka_resp_err_t error)
{
    return error == RD_KAFKA_RESP_ERR__TRANSPORT || error == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN
        || error == RD_KAFKA_RESP_ERR__TIMED_OUT;
}

// Every partition's start as `resolveStart` finds it alone, for all of them at once: the earliest
// and the latest offsets of every partition and the moments, three lookups side by side (the
// library sends each as one request per leader). A partition they left unanswered is looked up
// again alone, all of them side by side, so that its answer is the one a walk gets, not the
// batch's (a partition without a leader fails differently beside others). Only when every broker
// is down does the first one fail at once with the lookups' lost connection, as the walk's first
// lookup would, instead of waiting out a second time-out.
void resolveStarts(rd_kafka_t* rk, const QString& topic, const QList<KafkaReading::PartitionStart>& starts,
                   int32_t timeoutMs, std::vector<PartitionState>& states)
{
    const QByteArray name = topic.toUtf8();
    QList<qsizetype> marked;
    QList<qsizetype> timed;
    for (qsizetype i = 0; i < starts.size(); ++i)
        (throughWatermarks(starts[i].from) ? marked : timed).append(i);
    struct Lookup {
        QList<std::pair<int32_t, int64_t>> asks;
        QList<std::optional<int64_t>> answers;
        QList<rd_kafka_resp_err_t> errors;
        rd_kafka_resp_err_t result = RD_KAFKA_RESP_ERR_NO_ERROR;
        std::exception_ptr broken;
    };
    std::array<Lookup, 3> lookups; // earliest, latest, moments
    for (qsizetype i : std::as_const(marked)) {
        lookups[0].asks.append({starts[i].partition, RD_KAFKA_OFFSET_BEGINNING});
        lookups[1].asks.append({starts[i].partition, RD_KAFKA_OFFSET_END});
    }
    for (qsizetype i : std::as_const(timed))
        lookups[2].asks.append({starts[i].partition, momentMs(starts[i].from.moment())});
    sideBySide(3, [&](qsizetype n) {
        Lookup& lookup = lookups[size_t(n)];
        try {
            lookup.result = lookUpTogether(rk, name, lookup.asks, timeoutMs, lookup.answers, lookup.errors);
        } catch (...) {
            lookup.broken = std::current_exception();
        }
    });
    bool allAnswered = true;
    for (const Lookup& lookup : lookups) {
        if (lookup.broken)
            std::rethrow_exception(lookup.broken);
        allAnswered = allAnswered && lookup.result == RD_KAFKA_RESP_ERR_NO_ERROR;
    }
    ConnectionNotes* notes = connectionNotes(rk);
    if (allAnswered && notes)
        notes->answered();

    // Why the lookups left each partition unanswered: the first lookup's reason before the second's.
    QList<rd_kafka_resp_err_t> left(starts.size(), RD_KAFKA_RESP_ERR_NO_ERROR);
    for (qsizetype k = 0; k < marked.size(); ++k) {
        const std::optional<int64_t>& low = lookups[0].answers[k];
        const std::optional<int64_t>& high = lookups[1].answers[k];
        if (low && high)
            states[size_t(marked[k])].start = startWithin(starts[marked[k]].from, *low, *high);
        else
            left[marked[k]] = low ? lookups[1].errors[k] : lookups[0].errors[k];
    }
    for (qsizetype k = 0; k < timed.size(); ++k) {
        if (lookups[2].answers[k])
            states[size_t(timed[k])].start = Start{*lookups[2].answers[k], std::nullopt};
        else
            left[timed[k]] = lookups[2].errors[k];
    }

    QList<qsizetype> again;
    for (qsizetype i = 0; i < starts.size(); ++i)
        if (!states[size_t(i)].start)
            again.append(i);
    if (again.isEmpty())
        return;
    const qsizetype first = again.constFirst();
    if (unreachable(left[first])) {
        rd_kafka_poll(rk, 0);
        if (left[first] == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN || (notes && notes->allBrokersDown())) {
            states[size_t(first)].failure =
                failure(left[first], lookingUp(topic, starts[first].partition, starts[first].from));
            return;
        }
    }
    sideBySide(again.size(), [&](qsizetype k) {
        const qsizetype i = again[k];
        try {
            states[size_t(i)].start = resolveStart(rk, topic, starts[i].partition, starts[i].from, timeoutMs);
        } catch (const std::exception& error) {
            states[size_t(i)].failure = carried(error);
        }
    });
}

using PartitionPages = QList<KafkaReading::PartitionPage>;

// The answers up to and with the first lost connection, as a walk from partition to partition gives.
PartitionPages answered(const QList<KafkaReading::PartitionStart>& starts, std::vector<PartitionState>& states)
{
    PartitionPages answers;
    answers.reserve(starts.size());
    for (qsizetype i = 0; i < starts.size(); ++i) {
        PartitionState& state = states[size_t(i)];
        KafkaReading::PartitionPage answer{starts[i].partition, std::nullopt, state.failure};
        if (!state.failure && state.read)
            answer.page = state.read->finish();
        answers.append(std::move(answer));
        if (state.failure && state.failure->isTimeout())
            break;
    }
    return answers;
}

// The same pages as `readPage` gives for each partition one after the other, read at once: every
// start looked up side by side, then every partition consumed through one queue, each partition
// keeping its own limit, end and time-out for its next event.
PartitionPages readPages(rd_kafka_t* rk, const QString& topic, const QList<KafkaReading::PartitionStart>& starts,
                         qsizetype limit, int32_t timeoutMs)
{
    const qsizetype count = starts.size();
    std::vector<PartitionState> states(static_cast<size_t>(count));
    QSet<int32_t> partitions;
    for (const KafkaReading::PartitionStart& start : starts)
        partitions.insert(start.partition);
    if (partitions.size() != count) {
        // A partition asked twice cannot be started twice on one queue: one after the other.
        PartitionPages answers;
        for (const KafkaReading::PartitionStart& start : starts) {
            KafkaReading::PartitionPage answer{start.partition, std::nullopt, std::nullopt};
            try {
                answer.page = readPage(rk, topic, start.partition, start.from, limit, timeoutMs);
            } catch (const std::exception& error) {
                answer.failure = carried(error);
            }
            const bool lost = answer.failure && answer.failure->isTimeout();
            answers.append(std::move(answer));
            if (lost)
                break;
        }
        return answers;
    }
    OwnedTopic handle(openTopic(rk, topic));
    if (!handle) {
        for (PartitionState& state : states)
            state.failure = KafkaError(-1, QStringLiteral("could not open topic ") + topic);
        return answered(starts, states);
    }

    resolveStarts(rk, topic, starts, timeoutMs, states);
    // A walk stops at the first lost connection: nothing after it is read.
    qsizetype reading = count;
    for (qsizetype i = 0; i < count; ++i) {
        if (states[size_t(i)].failure && states[size_t(i)].failure->isTimeout()) {
            reading = i;
            break;
        }
    }

    OwnedQueue queue(rd_kafka_queue_new(rk));
    if (!queue)
        throw KafkaError(-1, QStringLiteral("could not allocate a queue"));
    QElapsedTimer clock;
    clock.start();
    QHash<int32_t, qsizetype> waiting; // partitions waiting for events, to their index
    {
        QueueSession session(handle.get());
        for (qsizetype i = 0; i < reading; ++i) {
            PartitionState& state = states[size_t(i)];
            if (!state.start)
                continue;
            const int32_t partition = starts[i].partition;
            state.read.emplace(topic, partition, *state.start, limit);
            if (!state.read->consumes())
                continue;
            if (!session.start(partition, state.start->offset, queue.get())) {
                state.failure =
                    failure(rd_kafka_last_error(), QStringLiteral("starting a read of ") + where(topic, partition));
                state.read.reset();
                continue;
            }
            if (!state.read->wanting()) {
                session.stop(partition);
                continue;
            }
            state.deadlineMs = clock.elapsed() + timeoutMs;
            waiting.insert(partition, i);
        }
        while (!waiting.isEmpty()) {
            // A partition whose next event did not come within the time-out is done, as alone.
            const qint64 now = clock.elapsed();
            qint64 soonest = std::numeric_limits<qint64>::max();
            for (auto it = waiting.begin(); it != waiting.end();) {
                PartitionState& state = states[size_t(it.value())];
                if (state.deadlineMs <= now) {
                    state.read->timedOut();
                    session.stop(it.key());
                    it = waiting.erase(it);
                } else {
                    soonest = std::min(soonest, state.deadlineMs);
                    ++it;
                }
            }
            if (waiting.isEmpty())
                break;
            OwnedMessage event(rd_kafka_consume_queue(queue.get(), int(std::max<qint64>(1, soonest - now))));
            if (!event)
                continue;
            const auto found = waiting.constFind(event->partition);
            if (found == waiting.cend())
                continue; // a partition already done, or none of this read's
            const int32_t partition = found.key();
            PartitionState& state = states[size_t(found.value())];
            state.deadlineMs = clock.elapsed() + timeoutMs;
            try {
                state.read->take(*event);
            } catch (const KafkaError& error) {
                state.failure = error;
                state.read.reset();
            }
            if (!state.read || !state.read->wanting()) {
                session.stop(partition);
                waiting.remove(partition);
            }
        }
    }
    return answered(starts, states);
}

} // namespace

QCoro::Task<QList<KafkaClient::PartitionPage>> KafkaClient::pages(QString topic, QList<PartitionStart> starts,
                                                                  qsizetype limit, int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle,
                       [topic = std::move(topic), starts = std::move(starts), limit, timeoutMs](rd_kafka_t* rk) {
                           return readPages(rk, topic, starts, limit, timeoutMs);
                       });
    co_return co_await job;
}

} // namespace tessaron
