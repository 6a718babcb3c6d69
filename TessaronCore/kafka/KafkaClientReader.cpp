// Partition reads through the simple partition consumer: no group, no commit.
#include "TessaronCore/kafka/KafkaClient.h"

#include "TessaronCore/kafka/KafkaClientPageRead.h"
#include "TessaronCore/kafka/KafkaSupport.h"
#include "TessaronCore/kafka/KafkaWatermarks.h"

#include <algorithm>

namespace tessaron {

using namespace kafka;

namespace {

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

// What a failed watermark lookup for the start was doing.
QString locating(const KafkaStartPosition& from)
{
    switch (from.which()) {
    case KafkaStartPosition::offset:
        return QStringLiteral("locating ");
    case KafkaStartPosition::tail:
        return QStringLiteral("locating the tail of ");
    case KafkaStartPosition::time:
    case KafkaStartPosition::beginning:
        return QStringLiteral("locating the beginning of ");
    case KafkaStartPosition::end:
        return QStringLiteral("locating the end of ");
    }
    return QStringLiteral("locating ");
}

// Keeps the partition consumer started for as long as the read lasts.
struct ConsumeSession {
    rd_kafka_topic_t* topic;
    int32_t partition;
    ~ConsumeSession() { rd_kafka_consume_stop(topic, partition); }
};

} // namespace

namespace kafka {

QString where(const QString& topic, int32_t partition) { return topic + QLatin1Char('/') + QString::number(partition); }

bool throughWatermarks(const KafkaStartPosition& from)
{
    return from.which() != KafkaStartPosition::time || momentMs(from.moment()) < 0;
}

QString lookingUp(const QString& topic, int32_t partition, const KafkaStartPosition& from)
{
    if (throughWatermarks(from))
        return locating(from) + where(topic, partition);
    return QStringLiteral("looking up ") + where(topic, partition) + QStringLiteral(" at ") + momentText(from.moment());
}

Start startWithin(const KafkaStartPosition& from, int64_t low, int64_t high)
{
    switch (from.which()) {
    case KafkaStartPosition::offset:
        return {std::clamp(from.value(), low, std::max(low, high)), high};
    case KafkaStartPosition::tail: {
        const int64_t start = high - from.value();
        return {start > low ? start : low, high};
    }
    case KafkaStartPosition::time:
    case KafkaStartPosition::beginning:
        return {low, high};
    case KafkaStartPosition::end:
        return {high, high};
    }
    return {};
}

Start resolveStart(rd_kafka_t* rk, const QString& topic, int32_t partition, const KafkaStartPosition& from,
                   int32_t timeoutMs)
{
    if (throughWatermarks(from)) {
        const Watermarks marks = marksOf(rk, topic, partition, locating(from), timeoutMs);
        return startWithin(from, marks.low, marks.high);
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
        throw failure(result, lookingUp(topic, partition, from));
    return {list->elems[0].offset, std::nullopt};
}

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

PageRead::PageRead(const QString& topic, int32_t partition, const Start& start, qsizetype limit)
    : m_topic(topic)
    , m_partition(partition)
    , m_high(start.high)
    , m_limit(limit)
    , m_next(start.offset)
{
    m_page.next.insert(partition, m_next);
    // The high watermark just looked up is the partition's end: a read that gets there has
    // reached it, without waiting for the library's end event (one more fetch, which the broker
    // holds back for its wait time).
    if (m_high && m_next >= *m_high && limit > 0) {
        m_page.reachedEnd = true;
        m_consumes = false;
        return;
    }
    if (m_high)
        m_page.messages.reserve(std::min<qsizetype>(std::max<qsizetype>(limit, 0), qsizetype(*m_high - m_next)));
}

void PageRead::take(const rd_kafka_message_t& event)
{
    if (event.err == RD_KAFKA_RESP_ERR__PARTITION_EOF) {
        m_page.reachedEnd = true;
        m_done = true;
        return;
    }
    if (event.err == RD_KAFKA_RESP_ERR__TIMED_OUT) {
        m_done = true;
        return;
    }
    if (event.err != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw failure(event.err, QStringLiteral("reading ") + where(m_topic, m_partition));
    m_page.messages.append(toMessage(&event, m_topic));
    m_next = event.offset + 1;
    if (m_high && m_next >= *m_high) {
        m_page.reachedEnd = true;
        m_done = true;
    }
}

KafkaPage PageRead::finish()
{
    m_page.next.insert(m_partition, m_next);
    return std::move(m_page);
}

KafkaPage readPage(rd_kafka_t* rk, const QString& topic, int32_t partition, const KafkaStartPosition& from,
                   qsizetype limit, int32_t timeoutMs)
{
    OwnedTopic handle(openTopic(rk, topic));
    if (!handle)
        throw KafkaError(-1, QStringLiteral("could not open topic ") + topic);
    const Start start = resolveStart(rk, topic, partition, from, timeoutMs);
    PageRead read(topic, partition, start, limit);
    if (!read.consumes())
        return read.finish();
    if (rd_kafka_consume_start(handle.get(), partition, start.offset) == -1)
        throw failure(rd_kafka_last_error(), QStringLiteral("starting a read of ") + where(topic, partition));
    {
        ConsumeSession session{handle.get(), partition};
        while (read.wanting()) {
            OwnedMessage event(rd_kafka_consume(handle.get(), partition, timeoutMs));
            if (!event) {
                read.timedOut();
                break;
            }
            read.take(*event);
        }
    }
    return read.finish();
}

} // namespace kafka

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
