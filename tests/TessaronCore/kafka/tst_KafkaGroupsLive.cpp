// Consumer-group administration and offsets for a time, against a real broker: the in-process
// mock cluster does not implement them. Skipped unless TESSARON_TEST_KAFKA_BOOTSTRAP names one.
#include "support/LiveKafka.h"
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
using namespace tessaron::testing;
using Position = KafkaClient::StartPosition;

namespace {

const KafkaWriter::Mandate reason{QStringLiteral("replaying a bad deploy")};
constexpr int64_t baseMs = 1700000000000;

} // namespace

class TestKafkaGroupsLive : public QObject {
    Q_OBJECT

    std::unique_ptr<LiveKafka> live;
    QString topicName;
    QString group;
    rd_kafka_t* member = nullptr; // a subscribed consumer that keeps the group "Stable"
    std::unique_ptr<KafkaClient> client;

    Topic topic()
    {
        for (const Topic& t : syncWait(client->topics(10000)))
            if (t.name == topicName)
                return syncWait(client->watermarks(t, 10000));
        throw std::runtime_error("the test topic is not listed");
    }

private slots:
    void initTestCase()
    {
        const QByteArray bootstrap = LiveKafka::bootstrapFromEnvironment();
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: listing and describing groups, a group's offsets and "
                  "offsets for a time need a real Kafka broker, which the mock cluster does not replace");
        live = std::make_unique<LiveKafka>(bootstrap);
        topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-live-"));
        group = QStringLiteral("tessaron-live-group-") + topicName.right(8);
        // Five messages a second apart on partition 0, none on partition 1.
        QList<LiveKafka::Seed> seeds;
        for (int i = 0; i < 5; ++i)
            seeds.append({0, "m" + QByteArray::number(i), baseMs + i * 1000});
        // Kept for ever: the broker's time retention would soon delete messages stamped in 2023.
        live->createTopic(topicName, 2, seeds, {{"retention.ms", "-1"}});
        member = live->join(group, topicName, "live-member");
        live->readAndCommit(member, 5);
        client = std::make_unique<KafkaClient>(live->broker(), std::nullopt, std::nullopt, 10000);
    }

    void cleanupTestCase()
    {
        client.reset();
        live.reset();
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
        QCOMPARE(ours->protocol, ConsumerGroup::Protocol::classic);
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

    void aGroupThatOnlyCommitsIsListedAsSimple()
    {
        const QString simple = QStringLiteral("tessaron-live-simple-") + topicName.right(8);
        live->commitAsSimple(simple, topicName, {{0, 3}});
        const QList<ConsumerGroup> groups = syncWait(client->groups(10000));
        const auto ours =
            std::find_if(groups.begin(), groups.end(), [&](const ConsumerGroup& g) { return g.id == simple; });
        QVERIFY(ours != groups.end());
        QCOMPARE(ours->state, QString("Empty"));
        QVERIFY(ours->isSimple);
        const GroupDescription description = syncWait(client->describe(simple, 10000));
        QCOMPARE(description.state, QString("Empty"));
        QVERIFY(description.members.isEmpty());
        QCOMPARE(syncWait(client->committed(simple, 10000)),
                 (QHash<TopicPartitionRef, int64_t>{{TopicPartitionRef{topicName, 0}, 3}}));
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
        KafkaWriter writer(live->broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(syncWait(writer.groupState(group, 10000)), QString("Stable"));
        const KafkaError refused = failureOf(writer.resetOffsets(group, topicName, {{0, 1}}, reason, false, 15000));
        // A named code, which the session words in the interface's language.
        QCOMPARE(refused.code(), KafkaWriting::groupNotEmptyCode);
        QCOMPARE(refused.message(),
                 QStringLiteral("offsets can only be reset while ") + group
                     + QStringLiteral(" is inactive, but it is Stable. Stop its consumers first — moving the position "
                                      "of a running group makes it reprocess, and it will commit over this within "
                                      "seconds anyway."));

        // Forced past the check, the change reaches the broker, which refuses it for a group with
        // members: a refusal, never a success, and nothing moved.
        const KafkaError forced = failureOf(writer.resetOffsets(group, topicName, {{0, 1}}, reason, true, 15000));
        // The code the session words as a consumer that joined after its own check.
        QVERIFY2((forced.code() == RD_KAFKA_RESP_ERR_UNKNOWN_MEMBER_ID
                  || forced.code() == RD_KAFKA_RESP_ERR_REBALANCE_IN_PROGRESS)
                     && !forced.isUncertain(),
                 qPrintable(QString::number(forced.code()) + " " + forced.message()));
        QCOMPARE(live->committed(group, topicName, 2), (QMap<int32_t, int64_t>{{0, 5}, {1, -1}}));

        live->leave(member);
        QTRY_COMPARE_WITH_TIMEOUT(syncWait(writer.groupState(group, 10000)), QString("Empty"), 30000);
        const GroupDescription idle = syncWait(client->describe(group, 10000));
        QCOMPARE(idle.state, QString("Empty"));
        QVERIFY(idle.members.isEmpty());
        syncWait(writer.resetOffsets(group, topicName, {{0, 1}}, reason, false, 15000));
        QCOMPARE(live->committed(group, topicName, 2), (QMap<int32_t, int64_t>{{0, 1}, {1, -1}}));

        // A group the complete listing does not hold has nobody to disturb.
        QCOMPARE(syncWait(writer.groupState(QStringLiteral("tessaron-never-") + group, 10000)), QString("Empty"));
    }
};

QTEST_GUILESS_MAIN(TestKafkaGroupsLive)
#include "tst_KafkaGroupsLive.moc"
