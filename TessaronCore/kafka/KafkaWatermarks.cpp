#include "TessaronCore/kafka/KafkaWatermarks.h"

namespace tessaron::kafka {

namespace {

// Fills the low (earliest) or high (latest) watermark of the entries at `indices` that have no
// error yet, with one lookup; an entry the lookup could not answer gets its error.
rd_kafka_resp_err_t lookUp(rd_kafka_t* rk, const QByteArray& topic, const QList<int32_t>& partitions,
                           const QList<qsizetype>& indices, int64_t logical, int32_t timeoutMs,
                           QList<Watermarks>& marks)
{
    QList<qsizetype> asked;
    for (qsizetype i : indices)
        if (marks[i].error == RD_KAFKA_RESP_ERR_NO_ERROR)
            asked.append(i);
    if (asked.isEmpty())
        return RD_KAFKA_RESP_ERR_NO_ERROR;
    OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(asked.size())));
    if (!list)
        throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
    for (qsizetype i : asked)
        rd_kafka_topic_partition_list_add(list.get(), topic.constData(), partitions[i])->offset = logical;
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
rd_kafka_resp_err_t lookUpBoth(rd_kafka_t* rk, const QByteArray& topic, const QList<int32_t>& partitions,
                               const QList<qsizetype>& indices, int32_t timeoutMs, QList<Watermarks>& marks)
{
    const rd_kafka_resp_err_t first =
        lookUp(rk, topic, partitions, indices, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, marks);
    const rd_kafka_resp_err_t second = lookUp(rk, topic, partitions, indices, RD_KAFKA_OFFSET_END, timeoutMs, marks);
    return first != RD_KAFKA_RESP_ERR_NO_ERROR ? first : second;
}

} // namespace

QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QString& topic, const QList<int32_t>& partitions,
                                  int32_t timeoutMs)
{
    QList<Watermarks> marks(partitions.size());
    QList<qsizetype> all;
    for (qsizetype i = 0; i < partitions.size(); ++i)
        all.append(i);
    const QByteArray name = topic.toUtf8();
    const rd_kafka_resp_err_t whole = lookUpBoth(rk, name, partitions, all, timeoutMs, marks);
    std::atomic<bool>* allDown = allBrokersDownFlag(rk);
    if (whole == RD_KAFKA_RESP_ERR_NO_ERROR && allDown)
        allDown->store(false);
    if (partitions.size() < 2)
        return marks;
    if (whole == RD_KAFKA_RESP_ERR__TRANSPORT || whole == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN
        || whole == RD_KAFKA_RESP_ERR__TIMED_OUT) {
        // With every broker down, asking each partition again would only wait out one more
        // time-out per partition: fail with the lost connection at once.
        rd_kafka_poll(rk, 0);
        if (whole == RD_KAFKA_RESP_ERR__ALL_BROKERS_DOWN || (allDown && allDown->load()))
            throw failure(whole, QStringLiteral("reading the watermarks of ") + topic);
    }
    // One unreachable leader fails the whole lookup: ask each failed partition on its own, so that
    // the others still carry their watermarks.
    for (qsizetype i = 0; i < partitions.size(); ++i) {
        if (marks[i].error == RD_KAFKA_RESP_ERR_NO_ERROR)
            continue;
        marks[i] = Watermarks{};
        lookUpBoth(rk, name, partitions, {i}, timeoutMs, marks);
    }
    return marks;
}

} // namespace tessaron::kafka
