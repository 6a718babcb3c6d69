#pragma once

#include "TessaronCore/kafka/KafkaSupport.h"

#include <QByteArray>
#include <QList>

namespace tessaron::kafka {

// The low and high watermark of one partition, or why they could not be read.
struct Watermarks {
    int64_t low = 0;
    int64_t high = 0;
    rd_kafka_resp_err_t error = RD_KAFKA_RESP_ERR_NO_ERROR;
};

// One partition to look up; `leader` (-1 when unknown) groups the retries after a failure.
struct WatermarkAsk {
    QByteArray topic;
    int32_t partition = 0;
    int32_t leader = -1;
};

// The watermarks of any partitions of any topics, in the order given.
//
// Asked as the offsets of the logical times "earliest" and "latest", both at once, in lookups of at
// most about a thousand partitions of one leader each, all waiting side by side: about one round
// trip for the whole list. (The library's watermark query keeps
// retrying past its time-out while the leader is down, which would hold the client's queue until
// the broker returns; this lookup honours it.) One unreachable leader fails a whole lookup: the
// partitions are then asked again leader by leader, so that the others still carry their
// watermarks. When every broker is down, it throws the lost connection at once, as the failure of
// `doing`, instead of asking again.
QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QList<WatermarkAsk>& asks, int32_t timeoutMs,
                                  const QString& doing);

// The same for some partitions of one topic.
QList<Watermarks> queryWatermarks(rd_kafka_t* rk, const QString& topic, const QList<int32_t>& partitions,
                                  int32_t timeoutMs);

} // namespace tessaron::kafka
