// Moving a consumer group's committed offsets, refused while the group is running.
#include "TessaronCore/kafka/KafkaWriter.h"

#include "VelkinInfra/async/SerialQueue.h"
#include "TessaronCore/kafka/KafkaAdminCall.h"
#include "TessaronCore/kafka/KafkaWriterState.h"

namespace tessaron {

using namespace kafka;

namespace {

QString stateOnQueue(rd_kafka_t* rk, const QString& group, int32_t timeoutMs)
{
    const QString context = QStringLiteral("checking whether ") + group + QStringLiteral(" is running");
    KafkaAdminCall call(rk, RD_KAFKA_ADMIN_OP_LISTCONSUMERGROUPS, timeoutMs, false);
    rd_kafka_ListConsumerGroups(rk, call.options(), call.queue());
    const rd_kafka_event_t* event = call.wait(context);
    const rd_kafka_ListConsumerGroups_result_t* result =
        rd_kafka_event_ListConsumerGroups_result(const_cast<rd_kafka_event_t*>(event));
    if (!result)
        return QStringLiteral("Empty");
    std::optional<QString> state;
    size_t count = 0;
    const rd_kafka_ConsumerGroupListing_t** listings = rd_kafka_ListConsumerGroups_result_valid(result, &count);
    for (size_t i = 0; listings && i < count; ++i) {
        if (listings[i] && QString::fromUtf8(rd_kafka_ConsumerGroupListing_group_id(listings[i])) == group)
            state =
                QString::fromUtf8(rd_kafka_consumer_group_state_name(rd_kafka_ConsumerGroupListing_state(listings[i])));
    }
    if (state)
        return *state;
    // A group missing from a listing that some broker failed to give may well be running there:
    // only a complete listing proves that nobody uses it.
    size_t errorCount = 0;
    const rd_kafka_error_t** errors = rd_kafka_ListConsumerGroups_result_errors(result, &errorCount);
    if (errors && errorCount > 0 && errors[0])
        throw KafkaError(rd_kafka_error_code(errors[0]),
                         context + QStringLiteral(": the cluster could not list every group, ")
                             + QString::fromUtf8(rd_kafka_error_string(errors[0])));
    return QStringLiteral("Empty");
}

void changeOnQueue(rd_kafka_t* rk, const QString& group, const QString& topic, const QMap<int32_t, int64_t>& partitions,
                   int32_t timeoutMs)
{
    const QString context = QStringLiteral("changing offsets for ") + group;
    OwnedPartitionList list(rd_kafka_topic_partition_list_new(static_cast<int>(partitions.size())));
    if (!list)
        throw KafkaError(-1, QStringLiteral("could not allocate a partition list"));
    const QByteArray topicName = topic.toUtf8();
    // The map is ordered by partition, so the request lists them ascending.
    for (auto it = partitions.cbegin(); it != partitions.cend(); ++it)
        rd_kafka_topic_partition_list_add(list.get(), topicName.constData(), it.key())->offset = it.value();
    using OwnedRequest =
        std::unique_ptr<rd_kafka_AlterConsumerGroupOffsets_t, Destroyer<rd_kafka_AlterConsumerGroupOffsets_destroy>>;
    OwnedRequest request(rd_kafka_AlterConsumerGroupOffsets_new(group.toUtf8().constData(), list.get()));
    if (!request)
        throw KafkaError(-1, QStringLiteral("could not build the offset change"));
    requireAnswer(rk, context, timeoutMs);
    KafkaAdminCall call(rk, RD_KAFKA_ADMIN_OP_ALTERCONSUMERGROUPOFFSETS, timeoutMs, false);
    rd_kafka_AlterConsumerGroupOffsets_t* requests[] = {request.get()};
    rd_kafka_AlterConsumerGroupOffsets(rk, requests, 1, call.options(), call.queue());
    const rd_kafka_event_t* event = nullptr;
    try {
        event = call.wait(context);
    } catch (const KafkaError& error) {
        // The change went out; without its answer nobody knows whether the group moved.
        if (error.code() != RD_KAFKA_RESP_ERR__TIMED_OUT)
            throw;
        throw KafkaError(error.code(),
                         error.message() + QStringLiteral(" — the change is uncertain: the group may have moved"),
                         true);
    }
    const rd_kafka_AlterConsumerGroupOffsets_result_t* result =
        rd_kafka_event_AlterConsumerGroupOffsets_result(const_cast<rd_kafka_event_t*>(event));
    if (!result)
        return;
    size_t count = 0;
    const rd_kafka_group_result_t** groups = rd_kafka_AlterConsumerGroupOffsets_result_groups(result, &count);
    for (size_t i = 0; groups && i < count; ++i) {
        if (!groups[i])
            continue;
        const rd_kafka_error_t* error = rd_kafka_group_result_error(groups[i]);
        if (error && rd_kafka_error_code(error) != RD_KAFKA_RESP_ERR_NO_ERROR)
            throw KafkaError(rd_kafka_error_code(error),
                             group + QStringLiteral(": ") + QString::fromUtf8(rd_kafka_error_string(error)));
        // The broker may accept the group and still refuse single partitions.
        const rd_kafka_topic_partition_list_t* results = rd_kafka_group_result_partitions(groups[i]);
        for (int p = 0; results && p < results->cnt; ++p) {
            const rd_kafka_topic_partition_t& element = results->elems[p];
            if (element.err != RD_KAFKA_RESP_ERR_NO_ERROR)
                throw KafkaError(element.err,
                                 group + QStringLiteral(": ") + QString::fromUtf8(element.topic) + QLatin1Char('/')
                                     + QString::number(element.partition) + QStringLiteral(": ")
                                     + QString::fromUtf8(rd_kafka_err2str(element.err)));
        }
    }
}

} // namespace

QCoro::Task<QString> KafkaWriter::groupState(QString group, int32_t timeoutMs)
{
    auto job = m_queue->run([state = m_state, group = std::move(group), timeoutMs]() {
        PollAfter poll{state->raw};
        return stateOnQueue(state->raw, group, timeoutMs);
    });
    co_return co_await job;
}

QCoro::Task<void> KafkaWriter::resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions, Mandate,
                                            bool force, int32_t timeoutMs)
{
    // The state check and the change are two requests, one after the other in the same job; a
    // consumer that joins between them is not noticed.
    auto job = m_queue->run([state = m_state, group = std::move(group), topic = std::move(topic),
                             partitions = std::move(partitions), force, timeoutMs]() {
        PollAfter poll{state->raw};
        if (!force) {
            const QString current = stateOnQueue(state->raw, group, timeoutMs);
            if (current != QLatin1String("Empty"))
                throw KafkaError(
                    groupNotEmptyCode,
                    QStringLiteral("offsets can only be reset while ") + group
                        + QStringLiteral(" is inactive, but it is ") + current + QStringLiteral(". ")
                        + QStringLiteral("Stop its consumers first — moving the position of a running group ")
                        + QStringLiteral("makes it reprocess, and it will commit over this within seconds anyway."));
        }
        changeOnQueue(state->raw, group, topic, partitions, timeoutMs);
    });
    co_await job;
}

} // namespace tessaron
