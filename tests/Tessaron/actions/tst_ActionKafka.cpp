// The two writes through their sheets against Kafka: a filing on librdkafka's mock cluster, and a
// move of a group's position on a real broker when TESSARON_TEST_KAFKA_BOOTSTRAP names one (the
// mock cluster does not implement the group administration).
#include "support/Messages.h"
#include "support/LiveKafka.h"
#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/actions/PayloadEditor.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/actions/ResetOffsetsSheet.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/kafka/KafkaClient.h"

#include <QLineEdit>
#include <QTest>

#include <librdkafka/rdkafka.h>

using namespace tessaron;
using testing::headerOf;
using testing::LiveKafka;
using testing::syncWait;

class TestActionKafka : public QObject {
    Q_OBJECT
private slots:
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
        const QByteArray bootstrap = LiveKafka::bootstrapFromEnvironment();
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: moving a group's position needs a real Kafka broker");
        LiveKafka live(bootstrap);
        const QString topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-move-"));
        const QString group = QStringLiteral("tessaron-move-group-") + topicName.right(8);

        // A topic of one partition with five messages.
        QList<LiveKafka::Seed> seeds;
        for (int i = 0; i < 5; ++i)
            seeds.append({0, "m" + QByteArray::number(i)});
        live.createTopic(topicName, 1, seeds);

        // A live member keeps the group busy.
        rd_kafka_t* member = live.join(group, topicName);
        live.readAndCommit(member, 5);

        const Broker broker = live.broker();
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        std::optional<Topic> topic;
        for (const Topic& t : session.topics())
            if (t.name == topicName)
                topic = t;
        QVERIFY(topic);

        ResetOffsetsSheet busy({group, QStringLiteral("Stable"), false}, topic, nullptr, &session);
        busy.show();
        busy.targetField()->setText(QStringLiteral("2"));
        busy.reasonField()->setText(QStringLiteral("replay the last three"));
        busy.move();
        QTRY_VERIFY_WITH_TIMEOUT(busy.outcome().has_value(), 30000);
        QCOMPARE(busy.outcomeBlock()->stampText(), QString("REFUSED"));

        live.leave(member);
        ResetOffsetsSheet empty({group, QStringLiteral("Empty"), false}, topic, nullptr, &session);
        empty.show();
        empty.targetField()->setText(QStringLiteral("2"));
        empty.reasonField()->setText(QStringLiteral("replay the last three"));
        // The coordinator may take a moment to see the member gone.
        for (int attempt = 0; attempt < 10; ++attempt) {
            const int before = empty.strikes();
            empty.move();
            QTRY_VERIFY_WITH_TIMEOUT(empty.strikes() == before + 1, 30000);
            if (empty.outcome()->isDone())
                break;
            QTest::qWait(1000);
        }
        QVERIFY2(empty.outcome()->isDone(), qPrintable(empty.outcome()->sentence()));
        KafkaClient client(broker, std::nullopt, std::nullopt, 10000);
        const QHash<TopicPartitionRef, int64_t> committed = syncWait(client.committed(group, 10000));
        QCOMPARE(committed.value(TopicPartitionRef{topicName, 0}, -7), 2);
    }
};

QTEST_MAIN(TestActionKafka)
#include "tst_ActionKafka.moc"
