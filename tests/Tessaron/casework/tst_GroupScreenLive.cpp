// The consumer group screen over a real session and a real Kafka broker: a group of two members,
// one partition caught up and one lagging. Skipped unless TESSARON_TEST_KAFKA_BOOTSTRAP names one.
#include "support/LiveKafka.h"
#include "support/SyncWait.h"

#include "Tessaron/casework/ConsumerGroupView.h"
#include "Tessaron/casework/GroupCards.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"

#include <QTest>

#include <librdkafka/rdkafka.h>

#include <memory>

using namespace tessaron;
using testing::LiveKafka;
using testing::syncWait;

class TestGroupScreenLive : public QObject {
    Q_OBJECT

    std::unique_ptr<LiveKafka> live;
    QString topicName;
    QString group;
    rd_kafka_t* members[2] = {nullptr, nullptr};

    // Two members join; each commits its own partition: partition 0 to its end, partition 1 two in.
    void joinTwoAndCommit()
    {
        for (int i = 0; i < 2; ++i)
            members[i] = live->join(group, topicName, "live-member-" + QByteArray::number(i));
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
        const QByteArray bootstrap = LiveKafka::bootstrapFromEnvironment();
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: describing a live group needs a real Kafka broker, "
                  "which the mock cluster does not replace");
        live = std::make_unique<LiveKafka>(bootstrap);
        topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-screen-"));
        group = QStringLiteral("tessaron-screen-group-") + topicName.right(8);
        // Five messages on each partition.
        QList<LiveKafka::Seed> seeds;
        for (int32_t partition : {0, 1}) {
            for (int i = 0; i < 5; ++i)
                seeds.append({partition, "{\"n\":" + QByteArray::number(i) + "}"});
        }
        live->createTopic(topicName, 2, seeds);
        joinTwoAndCommit();
    }

    void cleanupTestCase() { live.reset(); }

    void theScreenJudgesTheLaggingPartition()
    {
        AppState app;
        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
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
        using Behind = GroupLogic::PositionCells::Behind;
        QCOMPARE(table->cells()[0].behind, Behind::caughtUp);
        QCOMPARE(table->cells()[1].behind, Behind::lagging);
        QCOMPARE(table->cells()[1].behindText, QLocale().toString(3));
        QVERIFY(table->cells()[1].worst);
        QVERIFY(!table->cells()[1].heldByNobody);
    }
};

QTEST_MAIN(TestGroupScreenLive)
#include "tst_GroupScreenLive.moc"
