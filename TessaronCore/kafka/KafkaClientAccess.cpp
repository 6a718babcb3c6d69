// What the broker lets this user do: the authorised operations it reports with a description of
// the cluster, so that a listing its ACLs filtered is not taken for the whole.
#include "TessaronCore/kafka/KafkaClient.h"

#include "TessaronCore/kafka/KafkaAdminCall.h"
#include "TessaronCore/kafka/KafkaSupport.h"

#include <algorithm>

namespace tessaron {

using namespace kafka;

#if RD_KAFKA_VERSION >= 0x020300ff

namespace {

// The broker's answer, or nothing where it gave none (a null list: it was not asked or not told).
std::optional<QStringList> operationNames(const rd_kafka_AclOperation_t* operations, size_t count)
{
    if (!operations)
        return std::nullopt;
    QStringList names;
    for (size_t i = 0; i < count; ++i)
        names.append(QString::fromUtf8(rd_kafka_AclOperation_name(operations[i])));
    return names;
}

void includeOperations(const KafkaAdminCall& call, const QString& context)
{
    if (OwnedError error{rd_kafka_AdminOptions_set_include_authorized_operations(call.options(), 1)})
        throw KafkaError(rd_kafka_error_code(error.get()),
                         context + QStringLiteral(": ") + QString::fromUtf8(rd_kafka_error_string(error.get())));
}

} // namespace

QCoro::Task<std::optional<QStringList>> KafkaClient::clusterOperations(int32_t timeoutMs)
{
    auto job = onQueue(*m_queue, m_handle, [timeoutMs](rd_kafka_t* rk) -> std::optional<QStringList> {
        const QString context = QStringLiteral("describing the cluster");
        // The request goes to the controller and waits for it to be among the brokers: a cluster
        // that names none of its own (librdkafka's mock cluster names broker 0, which it does not
        // have) would hold the queue until the time-out. The metadata just asked names both.
        const OwnedMetadata metadata = awaitMetadata(rk, false, timeoutMs, context);
        const int32_t controller = rd_kafka_controllerid(rk, 0);
        const auto* begin = metadata->brokers;
        const auto* end = metadata->brokers + metadata->broker_cnt;
        if (std::none_of(begin, end, [&](const rd_kafka_metadata_broker_t& broker) { return broker.id == controller; }))
            return std::nullopt;
        KafkaAdminCall call(rk, RD_KAFKA_ADMIN_OP_DESCRIBECLUSTER, timeoutMs, true);
        includeOperations(call, context);
        rd_kafka_DescribeCluster(rk, call.options(), call.queue());
        const rd_kafka_event_t* event = call.wait(context);
        const rd_kafka_DescribeCluster_result_t* result =
            rd_kafka_event_DescribeCluster_result(const_cast<rd_kafka_event_t*>(event));
        if (!result)
            return std::nullopt;
        size_t count = 0;
        const rd_kafka_AclOperation_t* operations =
            rd_kafka_DescribeCluster_result_authorized_operations(result, &count);
        return operationNames(operations, count);
    });
    co_return co_await job;
}

#else

// Libraries before 2.3 cannot ask: the broker's ACLs stay unspoken.
QCoro::Task<std::optional<QStringList>> KafkaClient::clusterOperations(int32_t) { co_return std::nullopt; }

#endif

} // namespace tessaron
