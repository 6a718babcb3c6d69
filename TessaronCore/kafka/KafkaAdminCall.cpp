#include "TessaronCore/kafka/KafkaAdminCall.h"

namespace tessaron::kafka {

KafkaAdminCall::KafkaAdminCall(rd_kafka_t* rk, rd_kafka_admin_op_t op, int32_t timeoutMs, bool requestTimeout)
    : m_timeoutMs(timeoutMs)
    , m_queue(rd_kafka_queue_new(rk))
{
    if (!m_queue)
        throw KafkaError(-1, QStringLiteral("could not allocate an admin queue"));
    m_options.reset(rd_kafka_AdminOptions_new(rk, op));
    if (m_options && requestTimeout) {
        char buffer[256] = {};
        rd_kafka_AdminOptions_set_request_timeout(m_options.get(), timeoutMs, buffer, sizeof buffer);
    }
}

const rd_kafka_event_t* KafkaAdminCall::wait(const QString& context)
{
    m_event.reset(rd_kafka_queue_poll(m_queue.get(), m_timeoutMs));
    if (!m_event)
        throw KafkaError(RD_KAFKA_RESP_ERR__TIMED_OUT, context + QStringLiteral(": the broker never answered"));
    if (const rd_kafka_resp_err_t code = rd_kafka_event_error(m_event.get()))
        throw failure(code, context);
    return m_event.get();
}

} // namespace tessaron::kafka
