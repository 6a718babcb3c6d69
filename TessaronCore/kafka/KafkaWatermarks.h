#pragma once

#include "TessaronCore/kafka/KafkaSupport.h"

#include <QList>

namespace tessaron::kafka {

// The low and high watermark of one partition, or why they could not be read.
struct Watermarks {
    int64_t low = 0;
    int64_t high = 0;
    rd_kafka_resp_err_t error = RD_KAFKA_RESP_ERR_NO_ERROR;
};

// The watermarks of some partitions of one topic, in the order given.
//
// Asked as the offsets of the logical times "earliest" and "latest", one request per leader:
// the library's watermark query keeps retrying past its time-out while the leader is down,
// which would hold the client's queue until the broker returns; this lookup honours it.
// When the lookup of several partitions fails because every broker is down, it throws the lost
// connection at once instead of asking each partition again.
QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QString& topic, const QList<int32_t>& partitions,
                                  int32_t timeoutMs);

} // namespace tessaron::kafka
