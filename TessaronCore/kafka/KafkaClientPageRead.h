#pragma once

// Internal to the Kafka client: one partition's read from its start to its page, shared by the read
// of one partition (KafkaClientReader.cpp) and the read of several at once (KafkaClientPages.cpp).

#include "TessaronCore/kafka/KafkaPage.h"
#include "TessaronCore/kafka/KafkaStartPosition.h"
#include "TessaronCore/kafka/KafkaSupport.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron::kafka {

// "topic/partition", as failures name a partition.
QString where(const QString& topic, int32_t partition);

// Where a read starts, and the partition's high watermark when the start was found through it.
struct Start {
    int64_t offset = RD_KAFKA_OFFSET_END;
    std::optional<int64_t> high;
};

// Whether a start is found through the partition's watermarks: every start but a moment since 1970
// (before 1970 the library would read the time as its "latest" or "earliest" marker).
bool throughWatermarks(const KafkaStartPosition& from);

// What a failed lookup of the start was doing, as the context of its failure.
QString lookingUp(const QString& topic, int32_t partition, const KafkaStartPosition& from);

// The absolute offset a read starts at within the partition's watermarks. Every start but a
// moment is resolved through them: the library's logical "beginning" is looked up again after a
// leader change (a stall), and an offset the partition no longer holds would be reset to its end.
Start startWithin(const KafkaStartPosition& from, int64_t low, int64_t high);

// The absolute offset a read of one partition starts at, looked up alone; throws the lookup's failure.
Start resolveStart(rd_kafka_t* rk, const QString& topic, int32_t partition, const KafkaStartPosition& from,
                   int32_t timeoutMs);

// A topic handle whose reads never jump silently: an offset out of range is an error, not a
// reset to the partition's end. (The library keeps one handle per topic, so every read of the
// topic shares this configuration.) Null when the library makes none.
rd_kafka_topic_t* openTopic(rd_kafka_t* rk, const QString& topic);

// One partition's page as its events come in: what a read of the partition from its resolved start
// makes of each event, whether it reads alone or beside other partitions.
class PageRead {
public:
    PageRead(const QString& topic, int32_t partition, const Start& start, qsizetype limit);

    // Whether the read consumes at all: not when it starts at the partition's end.
    bool consumes() const { return m_consumes; }
    // Whether the read waits for another event of its partition.
    bool wanting() const { return m_consumes && !m_done && m_page.messages.size() < m_limit; }
    // One event of the partition; an error event fails the read (throws).
    void take(const rd_kafka_message_t& event);
    // No event came within the time-out.
    void timedOut() { m_done = true; }
    // The page, once: its messages, where it goes on, whether it reached the end.
    KafkaPage finish();

private:
    QString m_topic;
    int32_t m_partition;
    std::optional<int64_t> m_high;
    qsizetype m_limit;
    int64_t m_next;
    bool m_consumes = true;
    bool m_done = false;
    KafkaPage m_page;
};

// Up to `limit` messages of one partition from a start position, with where to go on.
KafkaPage readPage(rd_kafka_t* rk, const QString& topic, int32_t partition, const KafkaStartPosition& from,
                   qsizetype limit, int32_t timeoutMs);

} // namespace tessaron::kafka
