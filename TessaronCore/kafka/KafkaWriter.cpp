#include "TessaronCore/kafka/KafkaWriter.h"

#include "VelkinInfra/async/SerialQueue.h"
#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/kafka/KafkaWriterState.h"

namespace tessaron {

using namespace kafka;

void WriterState::report(rd_kafka_t*, const rd_kafka_message_t* message, void* opaque)
{
    auto* state = static_cast<WriterState*>(opaque);
    const auto sequence = static_cast<quint64>(reinterpret_cast<quintptr>(message->_private));
    state->deliveries.insert(sequence, Delivery{message->err, rd_kafka_message_status(message)});
}

KafkaWriter::KafkaWriter(Broker broker, std::optional<QString> password, std::optional<QString> clientKeyPassword,
                         int32_t timeoutMs)
    : m_broker(std::move(broker))
    , m_queue(std::make_unique<SerialQueue>("tessaron.velkin.kafka.write"))
    , m_state(std::make_shared<WriterState>())
{
    m_state->raw = createHandle(RD_KAFKA_PRODUCER, configurationPairs(m_broker, password, clientKeyPassword, timeoutMs),
                                &WriterState::report, m_state.get());
}

KafkaWriter::~KafkaWriter()
{
    // On the worker, behind pending writes. A produce that timed out has purged its message, so
    // this flush cannot deliver a write that was reported as failed.
    m_queue->post([state = m_state]() {
        rd_kafka_flush(state->raw, 2000);
        rd_kafka_destroy(state->raw);
        state->raw = nullptr;
    });
}

KafkaPairs KafkaWriter::configurationPairs(const Broker& broker, const std::optional<QString>& password,
                                           const std::optional<QString>& clientKeyPassword, int32_t timeoutMs)
{
    KafkaPairs pairs{
        {QStringLiteral("bootstrap.servers"), broker.bootstrap},
        {QStringLiteral("security.protocol"), broker.security.securityProtocol()},
        {QStringLiteral("allow.auto.create.topics"), QStringLiteral("false")},
        {QStringLiteral("socket.timeout.ms"), QString::number(timeoutMs)},
        {QStringLiteral("client.id"), QStringLiteral("tessaron")},
        {QStringLiteral("acks"), QStringLiteral("all")},
        {QStringLiteral("enable.idempotence"), QStringLiteral("true")},
        // The producer's own 1,000,000-byte default would refuse a copy of a larger message that
        // the reader could show: the broker's limit is the one that counts.
        {QStringLiteral("message.max.bytes"), QString::number(largestMessageBytes)},
    };
    pairs += KafkaClient::saslPairs(broker, password);
    pairs += KafkaClient::tlsPairs(broker, clientKeyPassword);
    return pairs;
}

namespace {

// Runs `work(state)` on the writer's queue and serves the handle's events afterwards.
template <typename F> auto onWriterQueue(SerialQueue& queue, std::shared_ptr<WriterState> state, F work)
{
    using T = std::invoke_result_t<F, WriterState&>;
    return queue.run([state = std::move(state), work = std::move(work)]() -> T {
        PollAfter poll{state->raw};
        return work(*state);
    });
}

int64_t produceOnQueue(WriterState& state, const QString& topic, std::optional<int32_t> partition,
                       const std::optional<QByteArray>& key, const QByteArray& payload,
                       const QList<std::pair<QByteArray, QByteArray>>& headers, int32_t timeoutMs)
{
    rd_kafka_t* rk = state.raw;
    const QByteArray topicName = topic.toUtf8();
    // Proves only that the topic can be opened; the message names its topic by name.
    OwnedTopic handle(rd_kafka_topic_new(rk, topicName.constData(), nullptr));
    if (!handle)
        throw KafkaError(-1, QStringLiteral("could not open topic ") + topic);
    OwnedHeaders list(rd_kafka_headers_new(static_cast<size_t>(headers.size())));
    if (!list)
        throw KafkaError(-1, QStringLiteral("could not allocate headers"));
    for (const auto& [name, value] : headers)
        rd_kafka_header_add(list.get(), name.constData(), -1, value.constData(), -1);

    const quint64 sequence = ++state.lastSequence;
    // An empty payload still goes with a valid address: a zero-length value, not a tombstone.
    static const char empty = 0;
    rd_kafka_vu_t values[7];
    size_t count = 0;
    values[count].vtype = RD_KAFKA_VTYPE_TOPIC;
    values[count++].u.cstr = topicName.constData();
    values[count].vtype = RD_KAFKA_VTYPE_PARTITION;
    values[count++].u.i32 = partition.value_or(RD_KAFKA_PARTITION_UA);
    values[count].vtype = RD_KAFKA_VTYPE_VALUE;
    values[count].u.mem.ptr = const_cast<char*>(payload.isEmpty() ? &empty : payload.constData());
    values[count++].u.mem.size = static_cast<size_t>(payload.size());
    values[count].vtype = RD_KAFKA_VTYPE_HEADERS;
    values[count++].u.headers = list.get();
    values[count].vtype = RD_KAFKA_VTYPE_MSGFLAGS;
    values[count++].u.i32 = RD_KAFKA_MSG_F_COPY;
    if (key) {
        values[count].vtype = RD_KAFKA_VTYPE_KEY;
        values[count].u.mem.ptr = const_cast<char*>(key->isEmpty() ? &empty : key->constData());
        values[count++].u.mem.size = static_cast<size_t>(key->size());
    }
    // Ties the delivery report to this message.
    values[count].vtype = RD_KAFKA_VTYPE_OPAQUE;
    values[count++].u.ptr = reinterpret_cast<void*>(static_cast<quintptr>(sequence));

    if (OwnedError error{rd_kafka_produceva(rk, values, count)}) {
        if (const rd_kafka_resp_err_t code = rd_kafka_error_code(error.get()))
            throw failure(code, QStringLiteral("producing to ") + topic);
    }
    list.release(); // the library owns the headers once the message is accepted

    const QString waiting = QStringLiteral("waiting for ") + topic + QStringLiteral(" to acknowledge");
    const rd_kafka_resp_err_t flushed = rd_kafka_flush(rk, timeoutMs);
    if (flushed != RD_KAFKA_RESP_ERR_NO_ERROR) {
        // Withdraw what is still queued or in flight, so the release flush cannot deliver a write
        // reported here as failed; the purge's reports say whether the broker may have it.
        rd_kafka_purge(rk, RD_KAFKA_PURGE_F_QUEUE | RD_KAFKA_PURGE_F_INFLIGHT);
        rd_kafka_poll(rk, 0);
        const bool reported = state.deliveries.contains(sequence);
        const Delivery delivery = state.deliveries.take(sequence);
        KafkaError error = failure(flushed, waiting);
        if (!reported || delivery.status != RD_KAFKA_MSG_STATUS_NOT_PERSISTED)
            error = KafkaError(
                flushed,
                error.message() + QStringLiteral(" — delivery is uncertain: the message may have reached the broker"),
                true);
        throw error;
    }
    const bool reported = state.deliveries.contains(sequence);
    const Delivery delivery = state.deliveries.take(sequence);
    // A flush that returns after a refused delivery is not a success.
    if (delivery.error != RD_KAFKA_RESP_ERR_NO_ERROR)
        throw failure(delivery.error, QStringLiteral("producing to ") + topic);
    if (const int queued = rd_kafka_outq_len(rk))
        throw KafkaError(-1,
                         QString::number(queued)
                             + QStringLiteral(" message(s) never left the queue — the broker did not acknowledge"));
    if (!reported)
        throw KafkaError(-1, waiting + QStringLiteral(": the broker never confirmed delivery"));
    return 1;
}

} // namespace

QCoro::Task<int64_t> KafkaWriter::produce(QString topic, std::optional<int32_t> partition,
                                          std::optional<QByteArray> key, QByteArray payload,
                                          QList<std::pair<QString, QString>> headers, Mandate mandate,
                                          int32_t timeoutMs)
{
    QList<std::pair<QByteArray, QByteArray>> pairs;
    pairs.reserve(headers.size() + 1);
    for (const auto& [name, value] : headers)
        pairs.append({name.toUtf8(), value.toUtf8()});
    pairs.append({QByteArray(reasonHeader), mandate.reason.toUtf8()});
    auto job = onWriterQueue(*m_queue, m_state,
                             [topic = std::move(topic), partition, key = std::move(key), payload = std::move(payload),
                              pairs = std::move(pairs), timeoutMs](WriterState& state) {
                                 return produceOnQueue(state, topic, partition, key, payload, pairs, timeoutMs);
                             });
    co_return co_await job;
}

} // namespace tessaron
