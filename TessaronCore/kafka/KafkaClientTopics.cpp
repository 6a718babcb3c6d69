// Topic listing, watermarks and offsets for a moment.
#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/model/TextRules.h"

#include "TessaronCore/kafka/KafkaSupport.h"
#include "TessaronCore/kafka/KafkaWatermarks.h"

#include <algorithm>

namespace tessaron {

using namespace kafka;

namespace {

std::optional<QString> errorText(rd_kafka_resp_err_t code)
{
    if (code == RD_KAFKA_RESP_ERR_NO_ERROR)
        return std::nullopt;
    return libraryText(code);
}

// Plain code-point order after canonical normalisation, stable; keys computed once per name.
QList<Topic> sortedByName(QList<Topic> topics)
{
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(topics.size());
    for (qsizetype i = 0; i < topics.size(); ++i)
        keys.append({TextRules::orderKey(topics[i].name), i});
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return TextRules::compareCodePoints(a.first, b.first) < 0; });
    QList<Topic> sorted;
    sorted.reserve(topics.size());
    for (const auto& key : keys)
        sorted.append(std::move(topics[key.second]));
    return sorted;
}

// Every partition of the topics, in order, with its leader.
QList<WatermarkAsk> asksOf(const QList<Topic>& topics)
{
    QList<WatermarkAsk> asks;
    qsizetype count = 0;
    for (const Topic& topic : topics)
        count += topic.partitions.size();
    asks.reserve(count);
    for (const Topic& topic : topics) {
        const QByteArray name = topic.name.toUtf8();
        for (const Partition& partition : topic.partitions)
            asks.append({name, partition.id, partition.leader});
    }
    return asks;
}

// The topic with the watermarks found for its partitions, which start at `first` in `marks`.
Topic withMarks(const Topic& topic, const QList<Watermarks>& marks, qsizetype first)
{
    QList<Partition> partitions;
    partitions.reserve(topic.partitions.size());
    for (qsizetype i = 0; i < topic.partitions.size(); ++i) {
        const Watermarks& mark = marks[first + i];
        Partition copy = topic.partitions[i];
        copy.low = mark.low;
        copy.high = mark.high;
        // The lookup's verdict replaces the listing's: a leader that was briefly away when the
        // topics were listed leaves no error on a partition that reads now.
        copy.error = errorText(mark.error);
        partitions.append(std::move(copy));
    }
    return Topic(topic.name, std::move(partitions), topic.isInternal, topic.error, std::nullopt);
}

} // namespace

QCoro::Task<QList<Topic>> KafkaClient::topics(int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [timeoutMs](rd_kafka_t* rk) {
        const OwnedMetadata metadata = awaitMetadata(rk, true, timeoutMs, QStringLiteral("listing topics"));
        QList<Topic> topics;
        topics.reserve(metadata->topic_cnt);
        for (int t = 0; t < metadata->topic_cnt; ++t) {
            const rd_kafka_metadata_topic_t& source = metadata->topics[t];
            QList<Partition> partitions;
            partitions.reserve(source.partition_cnt);
            for (int p = 0; p < source.partition_cnt; ++p) {
                const rd_kafka_metadata_partition_t& part = source.partitions[p];
                partitions.append(
                    Partition(part.id, part.leader, part.replica_cnt, part.isr_cnt, 0, 0, errorText(part.err)));
            }
            std::stable_sort(partitions.begin(), partitions.end(),
                             [](const Partition& a, const Partition& b) { return a.id < b.id; });
            const QString name = QString::fromUtf8(source.topic);
            topics.append(
                Topic(name, std::move(partitions), Topic::isKafkaInternal(name), errorText(source.err), std::nullopt));
        }
        return sortedByName(std::move(topics));
    });
    co_return co_await job;
}

QCoro::Task<Topic> KafkaClient::watermarks(Topic topic, int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [topic = std::move(topic), timeoutMs](rd_kafka_t* rk) {
        const QList<Watermarks> marks =
            queryWatermarks(rk, asksOf({topic}), timeoutMs, QStringLiteral("reading the watermarks of ") + topic.name);
        return withMarks(topic, marks, 0);
    });
    co_return co_await job;
}

QCoro::Task<QList<KafkaReading::MarkedTopic>> KafkaClient::watermarksOf(QList<Topic> topics, int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [topics = std::move(topics), timeoutMs](rd_kafka_t* rk) {
        QList<MarkedTopic> marked;
        if (topics.isEmpty())
            return marked;
        marked.reserve(topics.size());
        QList<Watermarks> marks;
        try {
            marks = queryWatermarks(rk, asksOf(topics), timeoutMs,
                                    QStringLiteral("reading the watermarks of ") + topics.constFirst().name);
        } catch (const KafkaError& lost) {
            // Every broker is down: the batch stops at its first topic.
            marked.append({std::nullopt, lost});
            return marked;
        }
        qsizetype first = 0;
        for (const Topic& topic : topics) {
            marked.append({withMarks(topic, marks, first), std::nullopt});
            first += topic.partitions.size();
        }
        return marked;
    });
    co_return co_await job;
}

QCoro::Task<QMap<int32_t, int64_t>> KafkaClient::offsets(QDateTime moment, Topic topic, int32_t timeoutMs)
{
    const int64_t ms = momentMs(moment);
    const QString when = momentText(moment);
    auto job = onQueue(*m_queue, m_handle, [topic = std::move(topic), ms, when, timeoutMs](rd_kafka_t* rk) {
        if (ms < 0) {
            // Before 1970 the library would read the time as its "latest" or "earliest" marker:
            // such a moment reads from each partition's beginning.
            QList<int32_t> ids;
            for (const Partition& partition : topic.partitions)
                ids.append(partition.id);
            const QList<Watermarks> marks = queryWatermarks(rk, topic.name, ids, timeoutMs);
            QMap<int32_t, int64_t> offsets;
            for (qsizetype i = 0; i < ids.size(); ++i) {
                if (marks[i].error != RD_KAFKA_RESP_ERR_NO_ERROR)
                    throw failure(marks[i].error,
                                  QStringLiteral("looking up offsets for ") + when + QStringLiteral(" on ") + topic.name
                                      + QLatin1Char('/') + QString::number(ids[i]));
                offsets.insert(ids[i], marks[i].low);
            }
            return offsets;
        }
        OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(topic.partitions.size())));
        if (!list)
            throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
        const QByteArray name = topic.name.toUtf8();
        for (const Partition& partition : topic.partitions)
            rd_kafka_topic_partition_list_add(list.get(), name.constData(), partition.id)->offset = ms;
        const rd_kafka_resp_err_t result = rd_kafka_offsets_for_times(rk, list.get(), timeoutMs);
        if (result != RD_KAFKA_RESP_ERR_NO_ERROR)
            throw failure(result, QStringLiteral("looking up offsets for ") + when);
        QMap<int32_t, int64_t> offsets;
        for (int i = 0; i < list->cnt; ++i) {
            const rd_kafka_topic_partition_t& element = list->elems[i];
            // An element the broker could not answer carries no offset: reading it as one
            // would start a read in the wrong place.
            if (element.err != RD_KAFKA_RESP_ERR_NO_ERROR)
                throw failure(element.err,
                              QStringLiteral("looking up offsets for ") + when + QStringLiteral(" on ") + topic.name
                                  + QLatin1Char('/') + QString::number(element.partition));
            offsets.insert(element.partition, element.offset);
        }
        return offsets;
    });
    co_return co_await job;
}

} // namespace tessaron
