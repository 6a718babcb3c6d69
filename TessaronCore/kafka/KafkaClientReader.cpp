// Partition reads through the simple partition consumer: no group, no commit.
#include "TessaronCore/kafka/KafkaClient.h"

#include "TessaronCore/kafka/KafkaSupport.h"
#include "TessaronCore/kafka/KafkaWatermarks.h"

#include <algorithm>

namespace tessaron {

using namespace kafka;

namespace {

QString where(const QString& topic, int32_t partition) { return topic + QLatin1Char('/') + QString::number(partition); }

Message toMessage(const rd_kafka_message_t* source, const QString& topic)
{
    std::optional<QByteArray> key;
    if (source->key)
        key = QByteArray(static_cast<const char*>(source->key), static_cast<qsizetype>(source->key_len));
    std::optional<QByteArray> payload;
    if (source->payload)
        payload = QByteArray(static_cast<const char*>(source->payload), static_cast<qsizetype>(source->len));

    std::optional<QDateTime> timestamp;
    rd_kafka_timestamp_type_t type = RD_KAFKA_TIMESTAMP_NOT_AVAILABLE;
    const int64_t ms = rd_kafka_message_timestamp(source, &type);
    if (ms > 0 && type != RD_KAFKA_TIMESTAMP_NOT_AVAILABLE)
        timestamp = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);

    QList<Message::Header> headers;
    rd_kafka_headers_t* list = nullptr;
    if (rd_kafka_message_headers(source, &list) == RD_KAFKA_RESP_ERR_NO_ERROR && list) {
        const char* name = nullptr;
        const void* value = nullptr;
        size_t size = 0;
        for (size_t i = 0; rd_kafka_header_get_all(list, i, &name, &value, &size) == RD_KAFKA_RESP_ERR_NO_ERROR && name;
             ++i) {
            headers.append({QString::fromUtf8(name),
                            value && size > 0
                                ? QByteArray(static_cast<const char*>(value), static_cast<qsizetype>(size))
                                : QByteArray()});
        }
    }
    return Message(topic, source->partition, source->offset, std::move(key), std::move(payload), std::move(timestamp),
                   std::move(headers));
}

// The partition's watermarks, or the failure of `doing`.
Watermarks marksOf(rd_kafka_t* rk, const QString& topic, int32_t partition, const QString& doing, int32_t timeoutMs)
{
    const Watermarks marks = queryWatermarks(rk, topic, {partition}, timeoutMs).constFirst();
    if (marks.error != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw failure(marks.error, doing + where(topic, partition));
    return marks;
}

// Where a read starts, and the partition's high watermark when the start was found through it.
struct Start {
    int64_t offset = RD_KAFKA_OFFSET_END;
    std::optional<int64_t> high;
};

// The absolute offset a read starts at. Every start is resolved through the partition's
// watermarks: the library's logical "beginning" is looked up again after a leader change (a
// stall), and an offset the partition no longer holds would be reset to its end.
Start resolveStart(rd_kafka_t* rk, const QString& topic, int32_t partition, const KafkaStartPosition& from,
                   int32_t timeoutMs)
{
    switch (from.which()) {
    case KafkaStartPosition::offset: {
        const Watermarks marks = marksOf(rk, topic, partition, QStringLiteral("locating "), timeoutMs);
        return {std::clamp(from.value(), marks.low, std::max(marks.low, marks.high)), marks.high};
    }
    case KafkaStartPosition::tail: {
        const Watermarks marks = marksOf(rk, topic, partition, QStringLiteral("locating the tail of "), timeoutMs);
        const int64_t start = marks.high - from.value();
        return {start > marks.low ? start : marks.low, marks.high};
    }
    case KafkaStartPosition::time: {
        // Before 1970 the library would read the time as its "latest" or "earliest" marker.
        if (momentMs(from.moment()) < 0) {
            const Watermarks marks =
                marksOf(rk, topic, partition, QStringLiteral("locating the beginning of "), timeoutMs);
            return {marks.low, marks.high};
        }
        OwnedPartitionList list(rd_kafka_topic_partition_list_new(1));
        if (!list)
            throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
        rd_kafka_topic_partition_list_add(list.get(), topic.toUtf8().constData(), partition)->offset =
            momentMs(from.moment());
        rd_kafka_resp_err_t result = rd_kafka_offsets_for_times(rk, list.get(), timeoutMs);
        // A per-partition error leaves no usable offset; starting there would read the wrong messages.
        if (result == RD_KAFKA_RESP_ERR_NO_ERROR && list->cnt > 0)
            result = list->elems[0].err;
        if (result != RD_KAFKA_RESP_ERR_NO_ERROR || list->cnt < 1)
            throw failure(result,
                          QStringLiteral("looking up ") + where(topic, partition) + QStringLiteral(" at ")
                              + momentText(from.moment()));
        return {list->elems[0].offset, std::nullopt};
    }
    case KafkaStartPosition::beginning: {
        const Watermarks marks = marksOf(rk, topic, partition, QStringLiteral("locating the beginning of "), timeoutMs);
        return {marks.low, marks.high};
    }
    case KafkaStartPosition::end: {
        const Watermarks marks = marksOf(rk, topic, partition, QStringLiteral("locating the end of "), timeoutMs);
        return {marks.high, marks.high};
    }
    }
    return {};
}

// A topic handle whose reads never jump silently: an offset out of range is an error, not a
// reset to the partition's end. (The library keeps one handle per topic, so every read of the
// topic shares this configuration.)
rd_kafka_topic_t* openTopic(rd_kafka_t* rk, const QString& topic)
{
    rd_kafka_topic_conf_t* conf = rd_kafka_topic_conf_new();
    char buffer[256] = {};
    if (conf
        && rd_kafka_topic_conf_set(conf, "auto.offset.reset", "error", buffer, sizeof buffer) != RD_KAFKA_CONF_OK) {
        rd_kafka_topic_conf_destroy(conf);
        conf = nullptr;
    }
    rd_kafka_topic_t* handle = rd_kafka_topic_new(rk, topic.toUtf8().constData(), conf);
    if (!handle && conf)
        rd_kafka_topic_conf_destroy(conf);
    return handle;
}

// Keeps the partition consumer started for as long as the read lasts.
struct ConsumeSession {
    rd_kafka_topic_t* topic;
    int32_t partition;
    ~ConsumeSession() { rd_kafka_consume_stop(topic, partition); }
};

KafkaPage readPage(rd_kafka_t* rk, const QString& topic, int32_t partition, const KafkaStartPosition& from,
                   qsizetype limit, int32_t timeoutMs)
{
    OwnedTopic handle(openTopic(rk, topic));
    if (!handle)
        throw KafkaError(-1, QStringLiteral("could not open topic ") + topic);
    const Start start = resolveStart(rk, topic, partition, from, timeoutMs);

    KafkaPage page;
    int64_t next = start.offset;
    page.next.insert(partition, next);
    // The high watermark just looked up is the partition's end: a read that gets there has
    // reached it, without waiting for the library's end event (one more fetch, which the broker
    // holds back for its wait time).
    if (start.high && next >= *start.high && limit > 0) {
        page.reachedEnd = true;
        return page;
    }
    if (start.high)
        page.messages.reserve(std::min<qsizetype>(std::max<qsizetype>(limit, 0), qsizetype(*start.high - next)));
    if (rd_kafka_consume_start(handle.get(), partition, start.offset) == -1)
        throw failure(rd_kafka_last_error(), QStringLiteral("starting a read of ") + where(topic, partition));
    {
        ConsumeSession session{handle.get(), partition};
        while (page.messages.size() < limit) {
            OwnedMessage event(rd_kafka_consume(handle.get(), partition, timeoutMs));
            if (!event)
                break;
            if (event->err == RD_KAFKA_RESP_ERR__PARTITION_EOF) {
                page.reachedEnd = true;
                break;
            }
            if (event->err == RD_KAFKA_RESP_ERR__TIMED_OUT)
                break;
            if (event->err != RD_KAFKA_RESP_ERR_NO_ERROR)
                throw failure(event->err, QStringLiteral("reading ") + where(topic, partition));
            page.messages.append(toMessage(event.get(), topic));
            next = event->offset + 1;
            if (start.high && next >= *start.high) {
                page.reachedEnd = true;
                break;
            }
        }
    }
    page.next.insert(partition, next);
    return page;
}

} // namespace

QCoro::Task<KafkaClient::Page> KafkaClient::page(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                                 int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle,
                       [topic = std::move(topic), partition, from = std::move(from), limit, timeoutMs](rd_kafka_t* rk) {
                           return readPage(rk, topic, partition, from, limit, timeoutMs);
                       });
    co_return co_await job;
}

} // namespace tessaron
