#include "TessaronCore/kafka/KafkaWatermarks.h"

#include <QMap>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tessaron::kafka {

namespace {

bool unreachable(rd_kafka_resp_err_t error)
{
    return error == RD_KAFKA_RESP_ERR__TRANSPORT || error == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN
        || error == RD_KAFKA_RESP_ERR__TIMED_OUT;
}

// Fills the low (earliest) or high (latest) watermark of the entries at `indices` that have no
// error yet, with one lookup; an entry the lookup could not answer gets its error. Lookups on
// disjoint indices may run on several threads at once.
rd_kafka_resp_err_t lookUp(rd_kafka_t* rk, const QList<WatermarkAsk>& asks, const QList<qsizetype>& indices,
                           int64_t logical, int32_t timeoutMs, Watermarks* marks)
{
    QList<qsizetype> asked;
    asked.reserve(indices.size());
    for (qsizetype i : indices)
        if (marks[i].error == RD_KAFKA_RESP_ERR_NO_ERROR)
            asked.append(i);
    if (asked.isEmpty())
        return RD_KAFKA_RESP_ERR_NO_ERROR;
    OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(asked.size())));
    if (!list)
        throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
    for (qsizetype i : asked)
        rd_kafka_topic_partition_list_add(list.get(), asks[i].topic.constData(), asks[i].partition)->offset = logical;
    const rd_kafka_resp_err_t result = rd_kafka_offsets_for_times(rk, list.get(), timeoutMs);
    for (qsizetype n = 0; n < asked.size(); ++n) {
        Watermarks& mark = marks[asked[n]];
        const rd_kafka_resp_err_t error = result != RD_KAFKA_RESP_ERR_NO_ERROR ? result : list->elems[n].err;
        if (error != RD_KAFKA_RESP_ERR_NO_ERROR)
            mark = Watermarks{0, 0, error};
        else
            (logical == RD_KAFKA_OFFSET_BEGINNING ? mark.low : mark.high) = list->elems[n].offset;
    }
    return result;
}

// A lookup's cost in the library grows with the square of its partitions (on the mock cluster,
// 1,000 take about 5 ms, 4,000 about 100 ms): lookups are kept to about this many.
constexpr qsizetype chunkPartitions = 1000;
// Lookups waiting for their answers at once, each on a thread of its own.
constexpr qsizetype parallelLookups = 8;

// Fewer partitions than this are looked up one lookup after the other. A page's lookup of its one
// partition, side by side while the reading handle fetches, took about 35 ms more on the mock
// cluster than one after the other (the newest 100 of 12 partitions: 441 ms against 17 ms).
constexpr qsizetype sideBySideFrom = 64;

// Runs work(0) … work(count - 1) on up to `parallelLookups` threads, the caller's included, and
// rethrows the first failure once every thread has ended.
template <typename F> void inParallel(qsizetype count, F work)
{
    std::atomic<qsizetype> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    auto drain = [&] {
        for (qsizetype i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
            }
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (qsizetype t = 1; t < std::min(count, parallelLookups); ++t)
            helpers.emplace_back(drain);
        drain();
    }
    if (failure)
        std::rethrow_exception(failure);
}

// Both lookups of every entry at `indices` at once: split by leader into lookups of at most
// `chunkPartitions`, each chunk's "earliest" and "latest" side by side, so the whole costs about
// one round trip instead of two per batch. Each chunk's outcome is the one of asking "latest" only
// for the entries "earliest" answered: an entry keeps the first lookup's error, and the second
// lookup's own result counts only when some entry was left to ask. Returns the first failed
// chunk's result (the "earliest" one before the "latest" one), else no error.
rd_kafka_resp_err_t lookUpBoth(rd_kafka_t* rk, const QList<WatermarkAsk>& asks, const QList<qsizetype>& indices,
                               int32_t timeoutMs, QList<Watermarks>& marks)
{
    if (indices.size() < sideBySideFrom) {
        // One after the other, "latest" only for what "earliest" answered: an unreachable leader
        // costs one time-out, not two.
        const rd_kafka_resp_err_t first = lookUp(rk, asks, indices, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, marks.data());
        const rd_kafka_resp_err_t second = lookUp(rk, asks, indices, RD_KAFKA_OFFSET_END, timeoutMs, marks.data());
        return first != RD_KAFKA_RESP_ERR_NO_ERROR ? first : second;
    }
    QList<QList<qsizetype>> chunks;
    {
        QMap<int32_t, QList<qsizetype>> byLeader;
        for (qsizetype i : indices)
            byLeader[asks[i].leader].append(i);
        // The library answers a partition without a leader as "leader not available" beside
        // partitions with one, but as "unknown partition" alone: such partitions ride along with
        // the first leader's.
        const QList<qsizetype> leaderless = byLeader.take(-1);
        for (const QList<qsizetype>& group : std::as_const(byLeader)) {
            const qsizetype parts = (group.size() + chunkPartitions - 1) / chunkPartitions;
            for (qsizetype part = 0; part < parts; ++part) {
                const qsizetype first = group.size() * part / parts;
                chunks.append(group.mid(first, group.size() * (part + 1) / parts - first));
            }
        }
        if (chunks.isEmpty())
            chunks.append(leaderless);
        else
            chunks.first() += leaderless;
    }
    Watermarks* earliest = marks.data();
    std::vector<Watermarks> latest(marks.cbegin(), marks.cend());
    std::vector<rd_kafka_resp_err_t> results(size_t(2 * chunks.size()), RD_KAFKA_RESP_ERR_NO_ERROR);
    // The library's lookup blocks its caller until the answers come, and may be called from
    // several threads on one handle; every helper has ended before this job does.
    inParallel(2 * chunks.size(), [&](qsizetype n) {
        const QList<qsizetype>& chunk = chunks[n / 2];
        results[size_t(n)] = n % 2 == 0 ? lookUp(rk, asks, chunk, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, earliest)
                                        : lookUp(rk, asks, chunk, RD_KAFKA_OFFSET_END, timeoutMs, latest.data());
    });
    rd_kafka_resp_err_t outcome = RD_KAFKA_RESP_ERR_NO_ERROR;
    for (qsizetype c = 0; c < chunks.size(); ++c) {
        bool anyLeft = false;
        for (qsizetype i : chunks[c]) {
            Watermarks& mark = earliest[i];
            if (mark.error != RD_KAFKA_RESP_ERR_NO_ERROR)
                continue;
            anyLeft = true;
            if (latest[size_t(i)].error != RD_KAFKA_RESP_ERR_NO_ERROR)
                mark = Watermarks{0, 0, latest[size_t(i)].error};
            else
                mark.high = latest[size_t(i)].high;
        }
        const rd_kafka_resp_err_t first = results[size_t(2 * c)];
        const rd_kafka_resp_err_t second = anyLeft ? results[size_t(2 * c + 1)] : RD_KAFKA_RESP_ERR_NO_ERROR;
        if (outcome == RD_KAFKA_RESP_ERR_NO_ERROR)
            outcome = first != RD_KAFKA_RESP_ERR_NO_ERROR ? first : second;
    }
    return outcome;
}

} // namespace

QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QList<WatermarkAsk>& asks, int32_t timeoutMs,
                                  const QString& doing)
{
    QList<Watermarks> marks(asks.size());
    if (asks.isEmpty())
        return marks;
    QList<qsizetype> all;
    all.reserve(asks.size());
    for (qsizetype i = 0; i < asks.size(); ++i)
        all.append(i);
    const rd_kafka_resp_err_t whole = lookUpBoth(rk, asks, all, timeoutMs, marks);
    ConnectionNotes* notes = connectionNotes(rk);
    if (whole == RD_KAFKA_RESP_ERR_NO_ERROR && notes)
        notes->answered();
    if (asks.size() < 2 || whole == RD_KAFKA_RESP_ERR_NO_ERROR)
        return marks;
    if (unreachable(whole)) {
        // With every broker down, asking again would only wait out one more time-out per leader:
        // fail with the lost connection at once.
        rd_kafka_poll(rk, 0);
        if (whole == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN || (notes && notes->allBrokersDown()))
            throw failure(whole, doing);
    }
    // Ask again leader by leader; a leader that fails again as unreachable fails its partitions
    // together (one more time-out, not one per partition), any other failure is looked up
    // partition by partition, so that it lands on the partition it belongs to.
    QMap<int32_t, QList<qsizetype>> byLeader;
    QList<qsizetype> alone;
    for (qsizetype i = 0; i < asks.size(); ++i) {
        if (marks[i].error == RD_KAFKA_RESP_ERR_NO_ERROR)
            continue;
        marks[i] = Watermarks{};
        if (asks[i].leader < 0)
            alone.append(i);
        else
            byLeader[asks[i].leader].append(i);
    }
    for (const QList<qsizetype>& group : std::as_const(byLeader)) {
        const rd_kafka_resp_err_t again = lookUpBoth(rk, asks, group, timeoutMs, marks);
        if (again == RD_KAFKA_RESP_ERR_NO_ERROR || group.size() < 2 || unreachable(again))
            continue;
        for (qsizetype i : group) {
            marks[i] = Watermarks{};
            alone.append(i);
        }
    }
    for (qsizetype i : alone)
        lookUpBoth(rk, asks, {i}, timeoutMs, marks);
    return marks;
}

QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QString& topic, const QList<int32_t>& partitions,
                                  int32_t timeoutMs)
{
    const QByteArray name = topic.toUtf8();
    QList<WatermarkAsk> asks;
    asks.reserve(partitions.size());
    for (int32_t partition : partitions)
        asks.append({name, partition, -1});
    return queryWatermarks(rk, asks, timeoutMs, QStringLiteral("reading the watermarks of ") + topic);
}

} // namespace tessaron::kafka
