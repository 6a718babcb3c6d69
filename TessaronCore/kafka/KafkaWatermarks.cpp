#include "TessaronCore/kafka/KafkaWatermarks.h"

namespace tessaron::kafka {

namespace {

// Fills either the low or the high watermark of every entry from one lookup.
void lookUp(rd_kafka_t* rk, const QByteArray& topic, const QList<int32_t>& partitions, int64_t logical, int32_t timeoutMs,
            QList<Watermarks>& marks)
{
    OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(partitions.size())));
    if (!list)
        throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
    for (int32_t partition : partitions)
        rd_kafka_topic_partition_list_add(list.get(), topic.constData(), partition)->offset = logical;
    const rd_kafka_resp_err_t result = rd_kafka_offsets_for_times(rk, list.get(), timeoutMs);
    for (qsizetype i = 0; i < marks.size(); ++i) {
        Watermarks& mark = marks[i];
        if (mark.error != RD_KAFKA_RESP_ERR_NO_ERROR)
            continue;
        const rd_kafka_resp_err_t error = result != RD_KAFKA_RESP_ERR_NO_ERROR ? result : list->elems[i].err;
        if (error != RD_KAFKA_RESP_ERR_NO_ERROR) {
            mark = Watermarks{0, 0, error};
            continue;
        }
        (logical == RD_KAFKA_OFFSET_BEGINNING ? mark.low : mark.high) = list->elems[i].offset;
    }
}

} // namespace

QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QString& topic, const QList<int32_t>& partitions, int32_t timeoutMs)
{
    QList<Watermarks> marks(partitions.size());
    if (partitions.isEmpty())
        return marks;
    const QByteArray name = topic.toUtf8();
    lookUp(rk, name, partitions, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, marks);
    lookUp(rk, name, partitions, RD_KAFKA_OFFSET_END, timeoutMs, marks);
    if (partitions.size() == 1)
        return marks;
    // One unreachable leader fails the whole lookup: ask each partition on its own, so that the
    // others still carry their watermarks.
    for (qsizetype i = 0; i < partitions.size(); ++i) {
        if (marks[i].error == RD_KAFKA_RESP_ERR_NO_ERROR)
            continue;
        QList<Watermarks> one(1);
        lookUp(rk, name, {partitions[i]}, RD_KAFKA_OFFSET_BEGINNING, timeoutMs, one);
        lookUp(rk, name, {partitions[i]}, RD_KAFKA_OFFSET_END, timeoutMs, one);
        marks[i] = one.constFirst();
    }
    return marks;
}

} // namespace tessaron::kafka
