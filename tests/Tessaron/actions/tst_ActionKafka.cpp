// The two writes through their sheets against Kafka: a filing on librdkafka's mock cluster, and a
// move of a group's position on a real broker when TESSARON_TEST_KAFKA_BOOTSTRAP names one (the
// mock cluster does not implement the group administration).
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
#include <QUuid>

#include <librdkafka/rdkafka.h>

using namespace tessaron;
using testing::syncWait;

namespace {

std::optional<QByteArray> header(const Message& message, const QString& name)
{
    for (const Message::Header& h : message.headers()) {
        if (h.name == name)
            return h.value;
    }
    return std::nullopt;
}

rd_kafka_t* rawHandle(rd_kafka_type_t type, const QByteArray& bootstrap,
                      const QList<std::pair<QByteArray, QByteArray>>& extra = {})
{
    char error[512] = {};
    rd_kafka_conf_t* conf = rd_kafka_conf_new();
    rd_kafka_conf_set(conf, "bootstrap.servers", bootstrap.constData(), error, sizeof error);
    for (const auto& [key, value] : extra)
        rd_kafka_conf_set(conf, key.constData(), value.constData(), error, sizeof error);
    return rd_kafka_new(type, conf, error, sizeof error);
}

} // namespace

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
        QCOMPARE(header(copy, "tessaron-reason"), std::optional<QByteArray>("decimal comma broke the parser"));
    }

    void aGroupMovesOnlyWhenEmptyOnARealBroker()
    {
        const QByteArray bootstrap = qgetenv("TESSARON_TEST_KAFKA_BOOTSTRAP");
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: moving a group's position needs a real Kafka broker");
        const QString run = QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
        const QString topicName = QStringLiteral("tessaron-move-") + run;
        const QString group = QStringLiteral("tessaron-move-group-") + run;

        // A topic of one partition with five messages.
        rd_kafka_t* admin = rawHandle(RD_KAFKA_PRODUCER, bootstrap);
        QVERIFY(admin);
        char error[512] = {};
        rd_kafka_NewTopic_t* newTopic =
            rd_kafka_NewTopic_new(topicName.toUtf8().constData(), 1, 1, error, sizeof error);
        rd_kafka_queue_t* queue = rd_kafka_queue_new(admin);
        rd_kafka_CreateTopics(admin, &newTopic, 1, nullptr, queue);
        rd_kafka_event_t* event = rd_kafka_queue_poll(queue, 15000);
        QVERIFY(event);
        rd_kafka_event_destroy(event);
        rd_kafka_queue_destroy(queue);
        rd_kafka_NewTopic_destroy(newTopic);
        for (int i = 0; i < 5; ++i) {
            const QByteArray payload = "m" + QByteArray::number(i);
            rd_kafka_producev(admin, RD_KAFKA_V_TOPIC(topicName.toUtf8().constData()), RD_KAFKA_V_PARTITION(0),
                              RD_KAFKA_V_VALUE(const_cast<char*>(payload.constData()), size_t(payload.size())),
                              RD_KAFKA_V_MSGFLAGS(RD_KAFKA_MSG_F_COPY), RD_KAFKA_V_END);
        }
        QCOMPARE(rd_kafka_flush(admin, 15000), RD_KAFKA_RESP_ERR_NO_ERROR);
        rd_kafka_destroy(admin);

        // A live member keeps the group busy.
        rd_kafka_t* member = rawHandle(
            RD_KAFKA_CONSUMER, bootstrap,
            {{"group.id", group.toUtf8()}, {"enable.auto.commit", "false"}, {"auto.offset.reset", "earliest"}});
        QVERIFY(member);
        rd_kafka_poll_set_consumer(member);
        rd_kafka_topic_partition_list_t* topics = rd_kafka_topic_partition_list_new(1);
        rd_kafka_topic_partition_list_add(topics, topicName.toUtf8().constData(), RD_KAFKA_PARTITION_UA);
        rd_kafka_subscribe(member, topics);
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

        Broker broker;
        broker.id = QUuid::createUuid();
        broker.name = QStringLiteral("live");
        broker.bootstrap = QString::fromUtf8(bootstrap);
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

        rd_kafka_consumer_close(member);
        rd_kafka_destroy(member);
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
