#pragma once

#include "TessaronCore/kafka/KafkaSupport.h"

#include <QHash>

namespace tessaron::kafka {

// What the broker said about one produced message.
struct Delivery {
    rd_kafka_resp_err_t error = RD_KAFKA_RESP_ERR_NO_ERROR;
    rd_kafka_msg_status_t status = RD_KAFKA_MSG_STATUS_NOT_PERSISTED;
};

// The producer handle and the delivery reports of its messages, shared by the jobs of the
// writer's queue. Reports arrive only while a job polls or flushes, so only the worker touches it.
struct WriterState {
    rd_kafka_t* raw = nullptr;
    quint64 lastSequence = 0;
    QHash<quint64, Delivery> deliveries;

    // The handle's delivery-report callback; `opaque` is the WriterState.
    static void report(rd_kafka_t*, const rd_kafka_message_t* message, void* opaque);
};

} // namespace tessaron::kafka
