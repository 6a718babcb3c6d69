#include "TessaronCore/kafka/KafkaWatermarks.h"

namespace tessaron::kafka {

namespace {

// Fills the low (earliest) or high (latest) watermark of the entries at `indices` that have no
// error yet, with one lookup; an entry the lookup could not answer gets its error.
void lookUp(rd_kafka_t* rk, const QByteArray& topic, const QList<int32_t>& partitions, const QList<qsizetype>& indices,
            int64_t logical, int32_t timeoutMs, QList<Watermarks>& marks)
{
    QList<qsizetype> asked;
    for (qsizetype i : indices)
        if (marks[i].error == RD_KAFKA_RESP_ERR_NO_ERROR)
            asked.append(i);
    if (asked.isEmpty())
        return;
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
}

void lookUpBoth(rd_kafka_t* rk, const QByteArray& topic, const QList<int32_t>& partitions,
                const QList<qsizetype>& indices, int32_t timeoutMs, QList<Watermarks>& marks)
{
    lookUp(rk, topic, partitions, indices, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, marks);
    lookUp(rk, topic, partitions, indices, RD_KAFKA_OFFSET_END, timeoutMs, marks);
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
    lookUpBoth(rk, name, partitions, all, timeoutMs, marks);
    if (partitions.size() < 2)
        return marks;
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
