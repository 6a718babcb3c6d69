#include "DemoKafkaGroups.h"

#include "DemoKafka.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace tessaron::demo {

namespace {

int partitionsOf(const QString& topic)
{
    for (const DemoKafka::TopicPlan& plan : DemoKafka::plan()) {
        if (plan.name == topic)
            return plan.partitions;
    }
    return 1;
}

bool anyCommitted(const QMap<int32_t, int64_t>& offsets)
{
    return std::any_of(offsets.cbegin(), offsets.cend(), [](int64_t offset) { return offset >= 0; });
}

} // namespace

DemoKafkaGroups::DemoKafkaGroups(const QString& bootstrap)
    : m_kafka(bootstrap.toUtf8())
{
    formIdleGroup();
    formOrphanedGroup();
    // The member reads one partition's backlog before the next; a position on every partition from
    // the start shows lag on each of them at once.
    const int partitions = partitionsOf(DemoKafka::driftingTopic);
    if (!anyCommitted(m_kafka.committed(laggingGroup, DemoKafka::driftingTopic, partitions))) {
        QMap<int32_t, int64_t> halfway;
        for (int32_t p = 0; p < partitions; ++p)
            halfway.insert(p, m_kafka.watermarks(DemoKafka::driftingTopic, p).second / 2);
        m_kafka.commitAsSimple(laggingGroup, DemoKafka::driftingTopic, halfway);
    }
    m_member = m_kafka.join(laggingGroup, DemoKafka::driftingTopic, "fulfilment-worker-1");
    // Each poll hands over at most one message, and polling this often keeps the member well
    // within max.poll.interval.ms.
    m_reader.setInterval(3000);
    QObject::connect(&m_reader, &QTimer::timeout, [this] { readOne(); });
    m_reader.start();
}

DemoKafkaGroups::~DemoKafkaGroups() = default;

void DemoKafkaGroups::formIdleGroup()
{
    // Reading on from where an earlier run stopped would eventually run out of messages.
    if (anyCommitted(m_kafka.committed(idleGroup, DemoKafka::avroTopic, partitionsOf(DemoKafka::avroTopic))))
        return;
    rd_kafka_t* member = m_kafka.join(idleGroup, DemoKafka::avroTopic, "reconciler-1");
    // Messages come a partition at a time: the second round reaches the other partition, so each
    // gets a position.
    m_kafka.readAndCommit(member, 40);
    m_kafka.readAndCommit(member, 40);
    m_kafka.leave(member);
}

void DemoKafkaGroups::formOrphanedGroup()
{
    // The group reads part of it, so it was behind when the topic went.
    QList<testing::LiveKafka::Seed> events;
    for (int i = 0; i < 40; ++i) {
        const QJsonObject event{{"report", QString("daily-%1").arg(i % 10 + 1)}, {"rows", 100 + i * 7}};
        events.append({i % 2, QJsonDocument(event).toJson(QJsonDocument::Compact), 0,
                       "report-" + QByteArray::number(i % 10 + 1), false});
    }
    m_kafka.createTopic(deletedTopic, 2, events);
    rd_kafka_t* member = m_kafka.join(orphanedGroup, deletedTopic, "legacy-reporter-1");
    m_kafka.readAndCommit(member, 15);
    m_kafka.leave(member);
    m_kafka.deleteTopic(deletedTopic);
}

void DemoKafkaGroups::readOne()
{
    rd_kafka_message_t* message = rd_kafka_consumer_poll(m_member, 0);
    if (!message)
        return;
    if (message->err == RD_KAFKA_RESP_ERR_NO_ERROR)
        rd_kafka_commit_message(m_member, message, 1);
    rd_kafka_message_destroy(message);
}

} // namespace tessaron::demo
