#pragma once

#include "TessaronCore/kafka/KafkaSupport.h"

namespace tessaron::kafka {

// One administration request: its result queue, its options and its answer, all released
// together (answer first) when the call goes out of scope.
class KafkaAdminCall {
public:
    // `requestTimeout` also hands the wait to the library as the request's own time-out.
    KafkaAdminCall(rd_kafka_t* rk, rd_kafka_admin_op_t op, int32_t timeoutMs, bool requestTimeout);

    rd_kafka_AdminOptions_t* options() const { return m_options.get(); }
    rd_kafka_queue_t* queue() const { return m_queue.get(); }

    // Waits once for the answer. No answer: -185 and context + ": the broker never answered";
    // an answer with an error: its code and context + ": " + the library's text.
    const rd_kafka_event_t* wait(const QString& context);

private:
    int32_t m_timeoutMs;
    OwnedQueue m_queue;
    OwnedOptions m_options;
    OwnedEvent m_event;
};

} // namespace tessaron::kafka
