// The two writes through their sheets against Kafka: a filing on librdkafka's mock cluster, and
// moves of a group's position on a real broker when TESSARON_TEST_KAFKA_BOOTSTRAP names one, each
// read back from the broker by a handle of its own.
#include "support/Messages.h"
#include "support/LiveKafka.h"
#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/actions/PayloadEditor.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/actions/ResetOffsetsSheet.h"
#include "Tessaron/state/BrokerSession.h"
#include "VelkinUI/KitButton.h"

#include <QLineEdit>
#include <QTest>

#include <librdkafka/rdkafka.h>

#include <memory>

using namespace tessaron;
using testing::headerOf;
using testing::LiveKafka;
using testing::syncWait;

// The cases on a real broker skip without one; the mock cluster does not implement the group
// administration.
#define LIVE_BROKER()                                                                                                  \
    if (!live)                                                                                                         \
    QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: moving a group's position needs a real Kafka broker")

namespace {

std::optional<Topic> listed(const BrokerSession& session, const QString& name)
{
    for (const Topic& t : session.topics())
        if (t.name == name)
            return t;
    return std::nullopt;
}

} // namespace

class TestActionKafka : public QObject {
    Q_OBJECT

    std::unique_ptr<LiveKafka> live;

private slots:
    void initTestCase()
    {
        const QByteArray bootstrap = LiveKafka::bootstrapFromEnvironment();
        if (!bootstrap.isEmpty())
            live = std::make_unique<LiveKafka>(bootstrap);
    }

    void cleanupTestCase() { live.reset(); }

    void aFiledCopyIsReadBackWithItsReason()
    {
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("orders", 1);
        const QByteArray original = "{\"n\":1,\"total\":\"12,50\"}\r\n";
        cluster.produce("orders", 0, {.key = "order-1", .payload = original, .headers = {}, .timestampMs = 0});
        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY2(!session.connectionError(), qPrintable(session.connectionError().value_or("")));
        session.setSelectedTopic(QStringLiteral("orders"));
        syncWait(session.readLatest());
        QCOMPARE(session.messages().size(), 1);

        ProduceSheet sheet(session.messages().first(), nullptr, &session);
        sheet.show();
        QCOMPARE(sheet.payloadEditor()->exactText().toUtf8(), original);
        sheet.payloadEditor()->setFocus();
        sheet.payloadEditor()->moveCursor(QTextCursor::Start);
        for (int i = 0; i < 18; ++i)
            QTest::keyClick(sheet.payloadEditor(), Qt::Key_Right);
        QTest::keyClick(sheet.payloadEditor(), Qt::Key_Delete); // the comma of "12,50"
        QTest::keyClicks(sheet.payloadEditor(), ".");
        QTest::keyClicks(sheet.reasonField(), "decimal comma broke the parser");
        sheet.file();
        QTRY_VERIFY_WITH_TIMEOUT(sheet.outcome().has_value(), 20000);
        QVERIFY2(sheet.outcome()->isDone(), qPrintable(sheet.outcome()->sentence()));
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("FILED"));

        // Read again: the copy is there, byte for byte, with its key and the reason header.
        syncWait(session.readLatest());
        QCOMPARE(session.messages().size(), 2);
        const Message& copy = session.messages().first();
        QCOMPARE(copy.payload(), std::optional<QByteArray>("{\"n\":1,\"total\":\"12.50\"}\r\n"));
        QCOMPARE(copy.key(), std::optional<QByteArray>("order-1"));
        QCOMPARE(headerOf(copy, "tessaron-reason"), std::optional<QByteArray>("decimal comma broke the parser"));
    }

    void aGroupMovesOnlyWhenEmptyOnARealBroker()
    {
        LIVE_BROKER();
        const QString topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-move-"));
        const QString group = QStringLiteral("tessaron-move-group-") + topicName.right(8);

        // A topic of one partition with five messages.
        QList<LiveKafka::Seed> seeds;
        for (int i = 0; i < 5; ++i)
            seeds.append({0, "m" + QByteArray::number(i)});
        live->createTopic(topicName, 1, seeds);

        // A live member keeps the group busy.
        rd_kafka_t* member = live->join(group, topicName);
        live->readAndCommit(member, 5);

        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        const std::optional<Topic> topic = listed(session, topicName);
        QVERIFY(topic);

        ResetOffsetsSheet busy({group, QStringLiteral("Stable"), false}, topic, nullptr, &session);
        busy.show();
        busy.targetField()->setText(QStringLiteral("2"));
        busy.reasonField()->setText(QStringLiteral("replay the last three"));
        busy.move();
        QTRY_VERIFY_WITH_TIMEOUT(busy.outcome().has_value(), 30000);
        QCOMPARE(busy.outcomeBlock()->stampText(), QString("REFUSED"));
        QVERIFY2(busy.outcome()->sentence().contains("is inactive, but it is Stable"),
                 qPrintable(busy.outcome()->sentence()));
        QCOMPARE(live->committed(group, topicName, 1), (QMap<int32_t, int64_t>{{0, 5}}));

        // Once the member has left, the group is Empty and moves to the typed offset.
        live->leave(member);
        ResetOffsetsSheet empty({group, QStringLiteral("Empty"), false}, topic, nullptr, &session);
        empty.show();
        empty.targetField()->setText(QStringLiteral("2"));
        empty.reasonField()->setText(QStringLiteral("replay the last three"));
        empty.move();
        QTRY_VERIFY_WITH_TIMEOUT(empty.outcome().has_value(), 30000);
        QVERIFY2(empty.outcome()->isDone(), qPrintable(empty.outcome()->sentence()));
        QCOMPARE(live->committed(group, topicName, 1), (QMap<int32_t, int64_t>{{0, 2}}));
    }

    void theBeginningOfATrimmedTopicIsEachPartitionsStart()
    {
        LIVE_BROKER();
        const QString topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-trimmed-"));
        const QString group = QStringLiteral("tessaron-trimmed-group-") + topicName.right(8);
        QList<LiveKafka::Seed> seeds;
        for (int32_t partition : {0, 1})
            for (int i = 0; i < 5; ++i)
                seeds.append({partition, "m" + QByteArray::number(i)});
        live->createTopic(topicName, 2, seeds);
        live->commitAsSimple(group, topicName, {{0, 5}, {1, 5}});
        live->trim(topicName, {{0, 3}, {1, 1}});

        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        ResetOffsetsSheet sheet({group, QStringLiteral("Empty"), false}, listed(session, topicName), nullptr, &session);
        sheet.show();
        sheet.reasonField()->setText(QStringLiteral("replay what is left"));
        // Offset 0 lies before partition 0's retained start, which only the broker's ends tell.
        sheet.targetField()->setText(QStringLiteral("0"));
        QTRY_VERIFY_WITH_TIMEOUT(!sheet.beforeStartText().isEmpty(), 10000);
        QVERIFY(!sheet.canMove());
        sheet.beginningButton()->click();
        QVERIFY(sheet.fromBeginning());
        QVERIFY(sheet.canMove());
        sheet.move();
        QTRY_VERIFY_WITH_TIMEOUT(sheet.outcome().has_value(), 30000);
        QVERIFY2(sheet.outcome()->isDone(), qPrintable(sheet.outcome()->sentence()));
        QCOMPARE(live->committed(group, topicName, 2), (QMap<int32_t, int64_t>{{0, 3}, {1, 1}}));
    }

    void aMemberJoiningWhileTheSheetIsOpenStopsTheMove()
    {
        LIVE_BROKER();
        const QString topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-joined-"));
        const QString group = QStringLiteral("tessaron-joined-group-") + topicName.right(8);
        live->createTopic(topicName, 1, {{0, "a"}, {0, "b"}, {0, "c"}});
        live->commitAsSimple(group, topicName, {{0, 3}});

        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        ResetOffsetsSheet sheet({group, QStringLiteral("Empty"), false}, listed(session, topicName), nullptr, &session);
        sheet.show();
        sheet.targetField()->setText(QStringLiteral("0"));
        sheet.reasonField()->setText(QStringLiteral("replay everything"));
        QVERIFY(sheet.canMove());

        rd_kafka_t* member = live->join(group, topicName);
        live->awaitAssignment(member);
        sheet.move();
        QTRY_VERIFY_WITH_TIMEOUT(sheet.outcome().has_value(), 30000);
        QVERIFY2(!sheet.outcome()->isDone(), qPrintable(sheet.outcome()->sentence()));
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("REFUSED"));
        QCOMPARE(live->committed(group, topicName, 1), (QMap<int32_t, int64_t>{{0, 3}}));
        live->leave(member);
    }
};

QTEST_MAIN(TestActionKafka)
#include "tst_ActionKafka.moc"
