// Consumer-group administration and offsets for a time, against a real broker: the in-process
// mock cluster does not implement them. Skipped unless TESSARON_TEST_KAFKA_BOOTSTRAP names one.
#include "support/SyncWait.h"

#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/model/TextRules.h"
#include "TessaronCore/kafka/KafkaWriter.h"

#include <QTest>
#include <QTimeZone>
#include <QUuid>

#include <librdkafka/rdkafka.h>

#include <memory>
#include <stdexcept>

using namespace tessaron;
using testing::syncWait;
using Position = KafkaClient::StartPosition;

namespace {

const KafkaWriter::Mandate reason{QStringLiteral("replaying a bad deploy")};
constexpr int64_t baseMs = 1700000000000;

template <typename T> KafkaError failureOf(QCoro::Task<T> task)
{
    return testing::failureOf<KafkaError>(std::move(task));
}

rd_kafka_t* rawHandle(rd_kafka_type_t type, const QByteArray& bootstrap,
                      const QList<std::pair<QByteArray, QByteArray>>& extra = {})
{
    char error[512] = {};
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    rd_kafka_conf_set(conf, "bootstrap.servers", bootstrap.constData(), error, sizeof error);
    for (const auto& [key, value] : extra)
        rd_kafka_conf_set(conf, key.constData(), value.constData(), error, sizeof error);
    rd_kafka_t* rk = rd_kafka_new(type, conf, error, sizeof error);
    if (!rk)
        throw std::runtime_error(error);
    return rk;
}

} // namespace

class TestKafkaGroupsLive : public QObject {
    Q_OBJECT

    QByteArray bootstrap;
    QString topicName;
    QString group;
    rd_kafka_t* member = nullptr; // a subscribed consumer that keeps the group "Stable"
    std::unique_ptr<KafkaClient> client;

    Broker broker() const
    {
        Broker b;
        b.id = QUuid::createUuid();
        b.name = QStringLiteral("live");
        b.bootstrap = QString::fromUtf8(bootstrap);
        return b;
    }

    Topic topic()
    {
        for (const Topic& t : syncWait(client->topics(10000)))
            if (t.name == topicName)
                return syncWait(client->watermarks(t, 10000));
        throw std::runtime_error("the test topic is not listed");
    }

    void createTopic()
    {
        rd_kafka_t* admin = rawHandle(RD_KAFKA_PRODUCER, bootstrap);
        char error[512] = {};
        rd_kafka_NewTopic_t* newTopic =
            rd_kafka_NewTopic_new(topicName.toUtf8().constData(), 2, 1, error, sizeof error);
        rd_kafka_queue_t* queue = rd_kafka_queue_new(admin);
        rd_kafka_CreateTopics(admin, &newTopic, 1, nullptr, queue);
        rd_kafka_event_t* event = rd_kafka_queue_poll(queue, 15000);
        QVERIFY(event);
        QCOMPARE(rd_kafka_event_error(event), RD_KAFKA_RESP_ERR_NO_ERROR);
        rd_kafka_event_destroy(event);
        rd_kafka_queue_destroy(queue);
        rd_kafka_NewTopic_destroy(newTopic);
        // Five messages a second apart on partition 0, none on partition 1.
        for (int i = 0; i < 5; ++i) {
            const QByteArray payload = "m" + QByteArray::number(i);
            QCOMPARE(rd_kafka_producev(admin, RD_KAFKA_V_TOPIC(topicName.toUtf8().constData()), RD_KAFKA_V_PARTITION(0),
                                       RD_KAFKA_V_VALUE(const_cast<char*>(payload.constData()), size_t(payload.size())),
                                       RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY),
                                       RD_KAFKA_V_TIMESTAMP(baseMs + i * 1000), RD_KAFKA_V_END),
                     RD_KAFKA_RESP_ERR_NO_ERROR);
        }
        QCOMPARE(rd_kafka_flush(admin, 15000), RD_KAFKA_RESP_ERR_NO_ERROR);
        rd_kafka_destroy(admin);
    }

    void joinAndCommit()
    {
        member = rawHandle(RD_KAFKA_CONSUMER, bootstrap,
                           {{"group.id", group.toUtf8()},
                            {"enable.auto.commit", "false"},
                            {"auto.offset.reset", "earliest"},
                            {"client.id", "live-member"}});
        rd_kafka_poll_set_consumer(member);
        rd_kafka_topic_partition_list_t* topics = rd_kafka_topic_partition_list_new(1);
        rd_kafka_topic_partition_list_add(topics, topicName.toUtf8().constData(), RD_KAFKA_PARTITION_UA);
        QCOMPARE(rd_kafka_subscribe(member, topics), RD_KAFKA_RESP_ERR_NO_ERROR);
        rd_kafka_topic_partition_list_destroy(topics);
        int read = 0;
        for (int i = 0; i < 60 && read < 5; ++i) {
            if (rd_kafka_message_t* m = rd_kafka_consumer_poll(member, 500)) {
                read += m->err == RD_KAFKA_RESP_ERR_NO_ERROR;
                rd_kafka_message_destroy(m);
            }
        }
        QCOMPARE(read, 5);
        QCOMPARE(rd_kafka_commit(member, nullptr, 0), RD_KAFKA_RESP_ERR_NO_ERROR);
    }

    void leave()
    {
        if (!member)
            return;
        rd_kafka_consumer_close(member);
        rd_kafka_destroy(member);
        member = nullptr;
    }

private slots:
    void initTestCase()
    {
        bootstrap = qgetenv("TESSARON_TEST_KAFKA_BOOTSTRAP");
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: listing and describing groups, a group's offsets and "
                  "offsets for a "
                  "time need a real Kafka broker, which the mock cluster does not replace");
        const QString run = QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
        topicName = QStringLiteral("tessaron-live-") + run;
        group = QStringLiteral("tessaron-live-group-") + run;
        createTopic();
        joinAndCommit();
        client = std::make_unique<KafkaClient>(broker(), std::nullopt, std::nullopt, 10000);
    }

    void cleanupTestCase()
    {
        client.reset();
        leave();
    }

    void groupsAreListedSortedWithTheirState()
    {
        const QList<ConsumerGroup> groups = syncWait(client->groups(10000));
        QStringList ids;
        for (const ConsumerGroup& g : groups)
            ids << g.id;
        QStringList sorted = ids;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const QString& a, const QString& b) { return TextRules::precedes(a, b); });
        QCOMPARE(ids, sorted);
        const auto ours =
            std::find_if(groups.begin(), groups.end(), [&](const ConsumerGroup& g) { return g.id == group; });
        QVERIFY(ours != groups.end());
        QCOMPARE(ours->state, QString("Stable"));
        QVERIFY(!ours->isSimple);
    }

    void aGroupIsDescribedWithItsMembersAndAssignments()
    {
        const GroupDescription description = syncWait(client->describe(group, 10000));
        QCOMPARE(description.id, group);
        QCOMPARE(description.state, QString("Stable"));
        QVERIFY(!description.assignor.isEmpty());
        QVERIFY(description.coordinator && description.coordinator->contains(':'));
        QCOMPARE(description.members.size(), 1);
        const GroupMember& m = description.members[0];
        QCOMPARE(m.clientID, QString("live-member"));
        QVERIFY(!m.instanceID);
        QCOMPARE(m.assigned, (QList<TopicPartitionRef>{{topicName, 0}, {topicName, 1}}));
    }

    void everyCommittedOffsetOfTheGroupIsRead()
    {
        const QHash<TopicPartitionRef, int64_t> committed = syncWait(client->committed(group, 10000));
        QCOMPARE(committed.value(TopicPartitionRef{topicName, 0}, -7), 5);
        // Nothing was read on partition 1, so nothing committed there.
        QVERIFY(!committed.contains(TopicPartitionRef{topicName, 1}));

        const QList<GroupOffset> offsets = syncWait(client->offsets(group, topic(), 10000));
        QCOMPARE(offsets.size(), 2);
        QCOMPARE(offsets[0], (GroupOffset{topicName, 0, 5, 5}));
        QVERIFY(!offsets[1].committed);
    }

    void offsetsForAMomentAndReadsFromIt()
    {
        const Topic t = topic();
        const QDateTime between = QDateTime::fromMSecsSinceEpoch(baseMs + 2500, QTimeZone::utc());
        const QMap<int32_t, int64_t> offsets = syncWait(client->offsets(between, t, 10000));
        QCOMPARE(offsets.value(0), 3);
        QCOMPARE(offsets.value(1), -1);
        const QDateTime before = QDateTime::fromMSecsSinceEpoch(baseMs - 60000, QTimeZone::utc());
        QCOMPARE(syncWait(client->offsets(before, t, 10000)).value(0), 0);
        const QDateTime after = QDateTime::fromMSecsSinceEpoch(baseMs + 60000, QTimeZone::utc());
        QCOMPARE(syncWait(client->offsets(after, t, 10000)).value(0), -1);

        const KafkaClient::Page page = syncWait(client->page(topicName, 0, Position::atTime(between), 10, 5000));
        QCOMPARE(page.messages.size(), 2);
        QCOMPARE(page.messages[0].offset(), 3);
        QCOMPARE(page.messages[0].timestamp()->toMSecsSinceEpoch(), baseMs + 3000);
    }

    void aRunningGroupIsRefusedAndAnIdleOneIsMoved()
    {
        KafkaWriter writer(broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(syncWait(writer.groupState(group, 10000)), QString("Stable"));
        const KafkaError refused = failureOf(writer.resetOffsets(group, topicName, {{0, 1}}, reason, false, 15000));
        QCOMPARE(refused.code(), -1);
        QCOMPARE(refused.message(),
                 QStringLiteral("offsets can only be reset while ") + group
                     + QStringLiteral(" is inactive, but it is Stable. Stop its consumers first — moving the position "
                                      "of a running group makes it reprocess, and it will commit over this within "
                                      "seconds anyway."));

        leave();
        QTRY_COMPARE_WITH_TIMEOUT(syncWait(writer.groupState(group, 10000)), QString("Empty"), 30000);
        syncWait(writer.resetOffsets(group, topicName, {{0, 1}}, reason, false, 15000));
        QCOMPARE(syncWait(client->committed(group, 10000)).value(TopicPartitionRef{topicName, 0}), 1);

        // A group the complete listing does not hold has nobody to disturb.
        QCOMPARE(syncWait(writer.groupState(QStringLiteral("tessaron-never-") + group, 10000)), QString("Empty"));
    }
};

QTEST_GUILESS_MAIN(TestKafkaGroupsLive)
#include "tst_KafkaGroupsLive.moc"
