// The consumer group screen over a real session and a real Kafka broker: a group of two members,
// one partition caught up and one lagging. Skipped unless TESSARON_TEST_KAFKA_BOOTSTRAP names one.
#include "Tessaron/casework/ConsumerGroupView.h"
#include "support/SyncWait.h"
#include "Tessaron/casework/GroupCards.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"

#include <QTest>
#include <QUuid>

#include <librdkafka/rdkafka.h>

#include <memory>
#include <stdexcept>

using namespace tessaron;
using testing::syncWait;

namespace {

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

class TestGroupScreenLive : public QObject {
    Q_OBJECT

    QByteArray bootstrap;
    QString topicName;
    QString group;
    rd_kafka_t* members[2] = {nullptr, nullptr};

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
        // Five messages on each partition.
        for (int32_t partition : {0, 1}) {
            for (int i = 0; i < 5; ++i) {
                const QByteArray payload = "{\"n\":" + QByteArray::number(i) + "}";
                QCOMPARE(rd_kafka_producev(
                             admin, RD_KAFKA_V_TOPIC(topicName.toUtf8().constData()), RD_KAFKA_V_PARTITION(partition),
                             RD_KAFKA_V_VALUE(const_cast<char*>(payload.constData()), size_t(payload.size())),
                             RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_END),
                         RD_KAFKA_RESP_ERR_NO_ERROR);
            }
        }
        QCOMPARE(rd_kafka_flush(admin, 15000), RD_KAFKA_RESP_ERR_NO_ERROR);
        rd_kafka_destroy(admin);
    }

    // Two members join; each commits its own partition: partition 0 to its end, partition 1 two in.
    void joinTwoAndCommit()
    {
        for (int i = 0; i < 2; ++i) {
            members[i] = rawHandle(RD_KAFKA_CONSUMER, bootstrap,
                                   {{"group.id", group.toUtf8()},
                                    {"enable.auto.commit", "false"},
                                    {"client.id", "live-member-" + QByteArray::number(i)}});
            rd_kafka_poll_set_consumer(members[i]);
            rd_kafka_topic_partition_list_t* topics = rd_kafka_topic_partition_list_new(1);
            rd_kafka_topic_partition_list_add(topics, topicName.toUtf8().constData(), RD_KAFKA_PARTITION_UA);
            QCOMPARE(rd_kafka_subscribe(members[i], topics), RD_KAFKA_RESP_ERR_NO_ERROR);
            rd_kafka_topic_partition_list_destroy(topics);
        }
        int assignedTo[2] = {0, 0};
        for (int round = 0; round < 120 && (assignedTo[0] != 1 || assignedTo[1] != 1); ++round) {
            for (int i = 0; i < 2; ++i) {
                if (rd_kafka_message_t* m = rd_kafka_consumer_poll(members[i], 250))
                    rd_kafka_message_destroy(m);
                rd_kafka_topic_partition_list_t* assignment = nullptr;
                if (rd_kafka_assignment(members[i], &assignment) == RD_KAFKA_RESP_ERR_NO_ERROR) {
                    assignedTo[i] = assignment->cnt;
                    rd_kafka_topic_partition_list_destroy(assignment);
                }
            }
        }
        QCOMPARE(assignedTo[0], 1);
        QCOMPARE(assignedTo[1], 1);
        for (rd_kafka_t* member : members) {
            rd_kafka_topic_partition_list_t* assignment = nullptr;
            QCOMPARE(rd_kafka_assignment(member, &assignment), RD_KAFKA_RESP_ERR_NO_ERROR);
            rd_kafka_topic_partition_list_t* offsets = rd_kafka_topic_partition_list_new(1);
            const int32_t partition = assignment->elems[0].partition;
            rd_kafka_topic_partition_list_add(offsets, topicName.toUtf8().constData(), partition)->offset =
                partition == 0 ? 5 : 2;
            QCOMPARE(rd_kafka_commit(member, offsets, 0), RD_KAFKA_RESP_ERR_NO_ERROR);
            rd_kafka_topic_partition_list_destroy(offsets);
            rd_kafka_topic_partition_list_destroy(assignment);
        }
    }

private slots:
    void initTestCase()
    {
        bootstrap = qgetenv("TESSARON_TEST_KAFKA_BOOTSTRAP");
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: describing a live group needs a real Kafka broker, "
                  "which the mock cluster does not replace");
        const QString run = QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
        topicName = QStringLiteral("tessaron-screen-") + run;
        group = QStringLiteral("tessaron-screen-group-") + run;
        createTopic();
        joinTwoAndCommit();
    }

    void cleanupTestCase()
    {
        for (rd_kafka_t*& member : members) {
            if (!member)
                continue;
            rd_kafka_consumer_close(member);
            rd_kafka_destroy(member);
            member = nullptr;
        }
    }

    void theScreenJudgesTheLaggingPartition()
    {
        Broker broker;
        broker.id = QUuid::createUuid();
        broker.name = QStringLiteral("live");
        broker.kind = BrokerKind::kafka;
        broker.bootstrap = QString::fromUtf8(bootstrap);
        AppState app;
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY2(session.connection().has_value(), qPrintable(session.connectionError().value_or(QString())));
        ConsumerGroupView view(&app, &session);
        session.setSelectedGroup(group);
        syncWait(session.loadGroupDetail());
        QVERIFY2(!session.groupFailure(), qPrintable(session.groupFailure().value_or(QString())));
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        QCOMPARE(view.shownGroup(), group);
        QCOMPARE(view.findChildren<MemberRow*>().size(), 2);
        PositionTable* table = view.findChild<PositionTable*>("positionTable");
        QVERIFY(table);
        QCOMPARE(table->cells().size(), 2);
        using Behind = GroupText::PositionCells::Behind;
        QCOMPARE(table->cells()[0].behind, Behind::caughtUp);
        QCOMPARE(table->cells()[1].behind, Behind::lagging);
        QCOMPARE(table->cells()[1].behindText, QLocale().toString(3));
        QVERIFY(table->cells()[1].worst);
        QVERIFY(!table->cells()[1].heldByNobody);
    }
};

QTEST_MAIN(TestGroupScreenLive)
#include "tst_GroupScreenLive.moc"
