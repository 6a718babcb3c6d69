#pragma once

#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/kafka/KafkaPage.h"
#include "TessaronCore/kafka/KafkaStartPosition.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/GroupDescription.h"
#include "TessaronCore/model/GroupOffset.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Topic.h"
#include "TessaronCore/model/TopicPartitionRef.h"

#include <QCoroTask>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// Everything the application asks a Kafka cluster, read-only. `KafkaClient` is the real one;
// tests of callers may substitute their own. Every operation is a coroutine that fails with
// `KafkaError` and takes its own time-out in milliseconds; results arrive on the awaiting thread.
class KafkaReading {
public:
    using StartPosition = KafkaStartPosition;
    using Page = KafkaPage;

    // One topic of a batch of watermark lookups: the topic with its watermarks, or the failure that
    // left them unread.
    struct MarkedTopic {
        std::optional<Topic> topic;
        std::optional<KafkaError> failure;
    };

    // Where one partition of a multi-partition read starts.
    struct PartitionStart {
        int32_t partition = 0;
        StartPosition from = StartPosition::atBeginning();
    };

    // One partition of a multi-partition read: its page, or the failure that left it unread.
    struct PartitionPage {
        int32_t partition = 0;
        std::optional<Page> page;
        std::optional<KafkaError> failure;
    };

    virtual ~KafkaReading() = default;

    // The definition the client was made from.
    virtual const Broker& broker() const = 0;

    // Every topic with its partitions (watermarks 0), sorted by name. Topic and partition errors
    // are carried as text and never fail the listing.
    [[nodiscard]] virtual QCoro::Task<QList<Topic>> topics(int32_t timeoutMs) = 0;
    // The topic with each partition's low and high watermarks; a partition whose watermarks cannot
    // be read carries the reason in `error` and reads as empty.
    [[nodiscard]] virtual QCoro::Task<Topic> watermarks(Topic topic, int32_t timeoutMs) = 0;
    // The watermarks of several topics, one answer per topic in the order given. The answers end
    // early, with the failure last, where the connection was lost. This one asks topic after topic;
    // the real client asks for all of them at once.
    [[nodiscard]] virtual QCoro::Task<QList<MarkedTopic>> watermarksOf(QList<Topic> topics, int32_t timeoutMs);
    // The cluster's consumer groups, sorted by id.
    [[nodiscard]] virtual QCoro::Task<QList<ConsumerGroup>> groups(int32_t timeoutMs) = 0;
    // One group with its members and their assignments, of either protocol. A group the cluster
    // lists but describes as Dead without members (a group of the consumer protocol, to a library
    // that describes with the classic request only) fails with membersUnreadableCode.
    [[nodiscard]] virtual QCoro::Task<GroupDescription> describe(QString group, int32_t timeoutMs) = 0;
    static constexpr int32_t membersUnreadableCode = -3;
    // The operations the broker lets this user perform on the cluster ("DESCRIBE", "ALTER", …), as
    // the broker says; nothing when it does not say. A user who may not describe the cluster is
    // listed only the topics and groups its ACLs let it see, and the broker does not say so.
    [[nodiscard]] virtual QCoro::Task<std::optional<QStringList>> clusterOperations(int32_t timeoutMs);
    // Every offset the group has committed.
    [[nodiscard]] virtual QCoro::Task<QHash<TopicPartitionRef, int64_t>> committed(QString group,
                                                                                   int32_t timeoutMs) = 0;
    // The group's committed offsets on one topic against the topic's high watermarks, by partition.
    [[nodiscard]] virtual QCoro::Task<QList<GroupOffset>> offsets(QString group, Topic topic, int32_t timeoutMs) = 0;
    // For each partition of the topic, the first offset at or after the moment (-1: none).
    [[nodiscard]] virtual QCoro::Task<QMap<int32_t, int64_t>> offsets(QDateTime moment, Topic topic,
                                                                      int32_t timeoutMs) = 0;
    // Up to `limit` messages of one partition from a start position, with where to go on.
    [[nodiscard]] virtual QCoro::Task<Page> page(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                                 int32_t timeoutMs) = 0;
    // The pages of several partitions of one topic, up to `limit` messages each, one answer per
    // partition in the order given: what `page` gives for each partition one after the other. The
    // answers end early, with the failure last, at the first partition whose connection was lost
    // (`KafkaError::isTimeout`): every later one would wait out its own time-out. A failure that is
    // not a `KafkaError` is carried as one (code -1, its description). This one reads partition
    // after partition; the real client reads them all at once.
    [[nodiscard]] virtual QCoro::Task<QList<PartitionPage>> pages(QString topic, QList<PartitionStart> starts,
                                                                  qsizetype limit, int32_t timeoutMs);
    // The messages of the page the same read would give.
    [[nodiscard]] virtual QCoro::Task<QList<Message>> read(QString topic, int32_t partition, StartPosition from,
                                                           qsizetype limit, int32_t timeoutMs);
};

} // namespace tessaron
