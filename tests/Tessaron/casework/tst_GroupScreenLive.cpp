// The consumer group screen over a real session and a real Kafka broker: a group of two members,
// one partition caught up and one lagging; a group whose topic was deleted; a group of the
// consumer protocol, which this library cannot describe. Skipped unless
// TESSARON_TEST_KAFKA_BOOTSTRAP names a broker.
#include "support/LiveKafka.h"
#include "support/SyncWait.h"

#include "TessaronCore/analysis/GroupVerdict.h"
#include "Tessaron/casework/ConsumerGroupView.h"
#include "Tessaron/casework/GroupCards.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "VelkinUI/KitButton.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <librdkafka/rdkafka.h>

#include <memory>

using namespace tessaron;
using testing::LiveKafka;
using testing::syncWait;

namespace {

// Starts one of the broker's own tools from its classpath; `quiet` sends what it prints nowhere.
void startKafkaTool(QProcess& tool, const QString& classpath, const QString& mainClass, const QStringList& args,
                    bool quiet = true)
{
    if (quiet) {
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
    }
    tool.start(QStringLiteral("java"),
               QStringList{"-Xmx128m", "-XX:TieredStopAtLevel=1", "-cp", classpath, mainClass} + args);
}

} // namespace

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

    void theScreenJudgesTheLaggingPartitionAndLooksAgain()
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
        QCOMPARE(session.groupDetail()->state, QString("Stable"));
        // One partition each, together the whole topic.
        QList<TopicPartitionRef> assigned;
        for (const GroupMember& member : session.groupDetail()->members) {
            QCOMPARE(member.assigned.size(), 1);
            assigned += member.assigned;
        }
        QVERIFY(assigned.contains(TopicPartitionRef(topicName, 0))
                && assigned.contains(TopicPartitionRef(topicName, 1)));
        PositionTable* table = view.findChild<PositionTable*>("positionTable");
        QVERIFY(table);
        QCOMPARE(table->cells().size(), 2);
        using Behind = GroupLogic::PositionCells::Behind;
        QCOMPARE(table->cells()[0].behind, Behind::caughtUp);
        QCOMPARE(table->cells()[1].behind, Behind::lagging);
        QCOMPARE(table->cells()[1].behindText, QLocale().toString(3));
        QVERIFY(table->cells()[1].worst);
        QVERIFY(!table->cells()[1].heldByNobody);

        // Four more on partition 1 while nobody reads: "Look again" shows the new lag, and so does
        // the topic's lag strip, though the session's listing still holds the old ends.
        live->produce(topicName, {{1, "n5"}, {1, "n6"}, {1, "n7"}, {1, "n8"}});
        KitButton* again = view.findChild<KitButton*>("lookAgain");
        QVERIFY(again && again->isEnabled());
        again->click();
        QTRY_VERIFY_WITH_TIMEOUT(!session.isLoadingGroup(), 15000);
        table = view.findChild<PositionTable*>("positionTable");
        QCOMPARE(table->cells()[1].behindText, QLocale().toString(7));
        QCOMPARE(session.groupDetail()->lag().known, 7);
        session.setSelectedTopic(topicName);
        QCOMPARE(syncWait(session.groupOffsets(group)), std::optional<int64_t>(7));
    }

    void aDeletedTopicOffersNoMove()
    {
        const QString doomed = LiveKafka::uniqueName(QStringLiteral("tessaron-doomed-"));
        const QString later = LiveKafka::uniqueName(QStringLiteral("tessaron-later-"));
        const QString orphan = QStringLiteral("tessaron-orphan-") + doomed.right(8);
        live->createTopic(doomed, 1, {{0, "a"}, {0, "b"}});
        live->commitAsSimple(orphan, doomed, {{0, 1}});
        // The group keeps a position on a live topic too, so it has something left to show.
        live->commitAsSimple(orphan, topicName, {{0, 5}});
        live->deleteTopic(doomed);

        AppState app;
        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        auto lists = [&](const QString& name) {
            for (const Topic& topic : session.topics()) {
                if (topic.name == name)
                    return true;
            }
            return false;
        };
        syncWait(session.connectBroker());
        for (int i = 0; i < 20 && lists(doomed); ++i)
            syncWait(session.refreshTopics());
        QVERIFY(!lists(doomed));
        // Created after the session's listing: unlisted as a deleted topic is, and its commit stays
        // whatever the broker does with the deleted one's.
        live->createTopic(later, 1, {{0, "a"}});
        live->commitAsSimple(orphan, later, {{0, 1}});
        // Kafka 4 drops a deleted topic's commits soon after the deletion; older brokers keep them.
        bool kept = true;
        for (int i = 0; i < 20 && kept; ++i) {
            kept = live->committed(orphan, doomed, 1).value(0) >= 0;
            if (kept)
                QTest::qWait(250);
        }

        ConsumerGroupView view(&app, &session);
        session.setSelectedGroup(orphan);
        syncWait(session.loadGroupDetail());
        QVERIFY2(!session.groupFailure(), qPrintable(session.groupFailure().value_or(QString())));
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        QCOMPARE(session.groupDetail()->topics().contains(doomed), kept);
        QVERIFY(session.groupDetail()->topics().contains(later) && !lists(later));
        // Only the listed topic offers a move; each unlisted one is struck.
        const QList<KitButton*> moves = view.findChildren<KitButton*>("movePosition");
        QCOMPARE(moves.size(), 1);
        QCOMPARE(moves.first()->property("topic").toString(), topicName);
        QCOMPARE(view.findChildren<QWidget*>("unlistedTopic").size(), kept ? 2 : 1);
    }

    void aConsumerProtocolGroupShowsItsMembersAndMovesOnceStopped()
    {
        const QString classpath = qEnvironmentVariable("TESSARON_KAFKA_CLASSPATH");
        if (classpath.isEmpty())
            QSKIP("TESSARON_KAFKA_CLASSPATH is not set: the broker's own console consumer joins with that protocol");
        const QString modern = QStringLiteral("tessaron-modern-") + topicName.right(8);
        QProcess consumer;
        startKafkaTool(consumer, classpath, "org.apache.kafka.tools.consumer.ConsoleConsumer",
                       {"--bootstrap-server", QString::fromUtf8(LiveKafka::bootstrapFromEnvironment()), "--topic",
                        topicName, "--group", modern, "--from-beginning", "--consumer-property",
                        "group.protocol=consumer", "--consumer-property", "auto.commit.interval.ms=200"});
        QVERIFY(consumer.waitForStarted());
        auto stop = qScopeGuard([&] {
            consumer.kill();
            consumer.waitForFinished(5000);
        });
        AppState app;
        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        const auto listed = [&] {
            syncWait(session.refreshTopics());
            return std::any_of(session.groups().begin(), session.groups().end(),
                               [&](const ConsumerGroup& g) { return g.id == modern; });
        };
        QTRY_VERIFY_WITH_TIMEOUT(listed(), 40000);
        const auto listing = std::find_if(session.groups().begin(), session.groups().end(),
                                          [&](const ConsumerGroup& g) { return g.id == modern; });
        QCOMPARE(listing->state, QString("Stable"));
        QCOMPARE(listing->protocol, ConsumerGroup::Protocol::consumer);

        // Described with the new protocol's own request: its member, where it runs and what it was
        // given, as a classic group's are.
        ConsumerGroupView view(&app, &session);
        session.setSelectedGroup(modern);
        const auto caughtUp = [&] {
            syncWait(session.loadGroupDetail());
            return session.groupDetail() && session.groupDetail()->positions.size() == 2
                && session.groupDetail()->lag() == ConsumerGroupDetail::Lag{0, 0}
            && session.groupDetail()->members.size() == 1;
        };
        QTRY_VERIFY_WITH_TIMEOUT(caughtUp(), 30000);
        const ConsumerGroupDetail& detail = *session.groupDetail();
        QCOMPARE(detail.state, QString("Stable"));
        QVERIFY(session.groupBlindSpots().isEmpty());
        QVERIFY(!detail.membersUnknown);
        QVERIFY(!detail.members[0].clientID.isEmpty());
        QVERIFY(!detail.members[0].host.isEmpty());
        QCOMPARE(detail.members[0].assigned,
                 (QList<TopicPartitionRef>{TopicPartitionRef(topicName, 0), TopicPartitionRef(topicName, 1)}));
        QCOMPARE(GroupVerdict::verdict(detail), GroupVerdict::caughtUp(2));
        QCOMPARE(view.showing(), ConsumerGroupView::Showing::detail);
        QVERIFY(!view.findChild<QWidget*>("blindSpotCard"));
        const auto* table = view.findChild<PositionTable*>("positionTable");
        QVERIFY(table && !table->cells()[0].heldByUnknown);

        // "Look again" reads the group afresh, not the listing's state of it: once its consumer
        // stops, the group is empty without the topics being listed again.
        consumer.terminate();
        QVERIFY(consumer.waitForFinished(20000));
        const auto emptied = [&] {
            syncWait(session.loadGroupDetail());
            return session.groupDetail() && session.groupDetail()->state == QLatin1String("Empty")
                && session.groupDetail()->members.isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(emptied(), 20000);

        // Stopped, it left the group, which may then be moved like any other.
        const auto state = [&] {
            syncWait(session.refreshTopics());
            for (const ConsumerGroup& g : session.groups())
                if (g.id == modern)
                    return g.state;
            return QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(state(), QString("Empty"), 20000);
        session.setSelectedTopic(topicName);
        const AppOutcome moved = syncWait(session.resetOffsets(modern, session.currentTopic(), 0, "replay"));
        QVERIFY2(moved.isDone(), qPrintable(moved.sentence()));
        QCOMPARE(live->committed(modern, topicName, 2), (QMap<int32_t, int64_t>{{0, 0}, {1, 0}}));
    }

    // A share group (Kafka 4's queues) is no consumer group. Kafka's own tool lists it with its
    // type; the library's consumer-group listing leaves it out, and nothing listed is taken for
    // one: no group reads as a consumer group it is not.
    void aShareGroupIsNeverTakenForAConsumerGroup()
    {
        if (qEnvironmentVariable("TESSARON_TEST_KAFKA_VERSION").startsWith(QLatin1String("3.")))
            QSKIP("share groups are a kind of group of the 4.x line");
        const QString classpath = qEnvironmentVariable("TESSARON_KAFKA_CLASSPATH");
        if (classpath.isEmpty())
            QSKIP("TESSARON_KAFKA_CLASSPATH is not set: the broker's own share consumer forms the group");
        const QString bootstrap = QString::fromUtf8(LiveKafka::bootstrapFromEnvironment());
        const QString sharers = QStringLiteral("tessaron-share-") + topicName.right(8);
        QProcess consumer;
        startKafkaTool(consumer, classpath, "org.apache.kafka.tools.ShareConsumerPerformance",
                       {"--bootstrap-server", bootstrap, "--topic", topicName, "--group", sharers, "--num-records",
                        "1000000", "--timeout", "120000"});
        QVERIFY(consumer.waitForStarted());
        auto stop = qScopeGuard([&] {
            consumer.kill();
            consumer.waitForFinished(5000);
        });
        // The judge: Kafka's own listing of every kind of group.
        const auto kafkaLists = [&] {
            QProcess tool;
            startKafkaTool(tool, classpath, "org.apache.kafka.tools.GroupsCommand",
                           {"--bootstrap-server", bootstrap, "--list"}, false);
            tool.waitForFinished(30000);
            const QString out = QString::fromUtf8(tool.readAllStandardOutput());
            return out.contains(QRegularExpression("\\b" + QRegularExpression::escape(sharers) + "\\s+Share\\b"));
        };
        QTRY_VERIFY_WITH_TIMEOUT(kafkaLists(), 60000);

        AppState app;
        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        syncWait(session.refreshTopics());
        QVERIFY(!session.groups().isEmpty());
        for (const ConsumerGroup& g : session.groups()) {
            QVERIFY2(g.id != sharers, "the share group is listed as a consumer group");
            QVERIFY(g.isConsumerGroup());
        }
        // Asked for by name all the same (a link, a pin), it is not described as a consumer group
        // that is alive: the broker answers for no such group.
        ConsumerGroupView view(&app, &session);
        session.setSelectedGroup(sharers);
        syncWait(session.loadGroupDetail());
        QVERIFY(!session.isLoadingGroup());
        if (session.groupDetail() && session.groupDetail()->id == sharers)
            QCOMPARE_NE(session.groupDetail()->state, QString("Stable"));
    }
};

QTEST_MAIN(TestGroupScreenLive)
#include "tst_GroupScreenLive.moc"
