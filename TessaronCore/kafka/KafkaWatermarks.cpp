#include "TessaronCore/kafka/KafkaWatermarks.h"

#include <QMap>

namespace tessaron::kafka {

namespace {

bool unreachable(rd_kafka_resp_err_t error)
{
    return error == RD_KAFKA_RESP_ERR__TRANSPORT || error == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN
        || error == RD_KAFKA_RESP_ERR__TIMED_OUT;
}

// Fills the low (earliest) or high (latest) watermark of the entries at `indices` that have no
// error yet, with one lookup; an entry the lookup could not answer gets its error.
rd_kafka_resp_err_t lookUp(rd_kafka_t* rk, const QList<WatermarkAsk>& asks, const QList<qsizetype>& indices,
                           int64_t logical, int32_t timeoutMs, QList<Watermarks>& marks)
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

// The first lookup's own result: an error there failed every entry at once.
rd_kafka_resp_err_t lookUpBoth(rd_kafka_t* rk, const QList<WatermarkAsk>& asks, const QList<qsizetype>& indices,
                               int32_t timeoutMs, QList<Watermarks>& marks)
{
    const rd_kafka_resp_err_t first = lookUp(rk, asks, indices, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, marks);
    const rd_kafka_resp_err_t second = lookUp(rk, asks, indices, RD_KAFKA_OFFSET_END, timeoutMs, marks);
    return first != RD_KAFKA_RESP_ERR_NO_ERROR ? first : second;
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
    std::atomic<bool>* allDown = allBrokersDownFlag(rk);
    if (whole == RD_KAFKA_RESP_ERR_NO_ERROR && allDown)
        allDown->store(false);
    if (asks.size() < 2 || whole == RD_KAFKA_RESP_ERR_NO_ERROR)
        return marks;
    if (unreachable(whole)) {
        // With every broker down, asking again would only wait out one more time-out per leader:
        // fail with the lost connection at once.
        rd_kafka_poll(rk, 0);
        if (whole == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN || (allDown && allDown->load()))
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
