#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/kafka/KafkaWriter.h"

#include <QTest>

#include <memory>

using namespace tessaron;
using namespace tessaron::testing;
using Position = KafkaClient::StartPosition;

namespace {

const KafkaWriter::Mandate reason{QStringLiteral("fixing a typo in the invoice")};

} // namespace

class TestKafkaWriter : public QObject {
    Q_OBJECT

    std::unique_ptr<MockKafkaCluster> cluster;
    std::unique_ptr<KafkaClient> reader;

    QList<Message> readAll(const QString& topic, int32_t partition)
    {
        return syncWait(reader->read(topic, partition, Position::atBeginning(), 100, 5000));
    }

    Topic topicWithWatermarks(const QString& name)
    {
        for (const Topic& t : syncWait(reader->topics(5000)))
            if (t.name == name)
                return syncWait(reader->watermarks(t, 5000));
        return {};
    }

private slots:
    void init()
    {
        cluster = std::make_unique<MockKafkaCluster>(1);
        cluster->createTopic("orders", 3);
        reader = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 10000);
    }

    void cleanup()
    {
        reader.reset();
        cluster.reset();
    }

    void producedMessagesCarryTheReasonLast()
    {
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(syncWait(writer.produce("orders", 1, QByteArray("k1"), QByteArray("{\"a\":1}"), {}, reason, 10000)),
                 1);
        QCOMPARE(syncWait(writer.produce("orders", 1, std::nullopt, QByteArray(),
                                         {{"tessaron-reason", "mine"}, {"trace", "t-1"}}, reason, 10000)),
                 1);
        QCOMPARE(syncWait(writer.produce("orders", 1, QByteArray(""), QByteArray("x"), {}, reason, 10000)), 1);

        const QList<Message> messages = readAll("orders", 1);
        QCOMPARE(messages.size(), 3);
        QCOMPARE(messages[0].key(), std::optional<QByteArray>("k1"));
        QCOMPARE(messages[0].payload(), std::optional<QByteArray>("{\"a\":1}"));
        QCOMPARE(messages[0].headers(), (QList<Message::Header>{{"tessaron-reason", reason.reason.toUtf8()}}));

        // No key sends none; an empty payload is a zero-length value, not a tombstone.
        QVERIFY(!messages[1].key());
        QCOMPARE(messages[1].payload(), std::optional<QByteArray>(QByteArray("")));
        QCOMPARE(messages[1].headers(),
                 (QList<Message::Header>{
                     {"tessaron-reason", "mine"}, {"trace", "t-1"}, {"tessaron-reason", reason.reason.toUtf8()}}));
        QCOMPARE(messages[2].key(), std::optional<QByteArray>(QByteArray("")));
    }

    void anAbsentPartitionIsChosenByThePartitioner()
    {
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(
            syncWait(writer.produce("orders", std::nullopt, QByteArray("same"), QByteArray("1"), {}, reason, 10000)),
            1);
        QCOMPARE(
            syncWait(writer.produce("orders", std::nullopt, QByteArray("same"), QByteArray("2"), {}, reason, 10000)),
            1);
        const Topic topic = topicWithWatermarks("orders");
        QCOMPARE(topic.retained(), 2);
        int used = 0;
        for (const Partition& p : topic.partitions)
            used += p.high > 0;
        QCOMPARE(used, 1); // one key, one partition
    }

    void aProduceTheBrokerRefusesFails()
    {
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        cluster->pushRequestErrors(0 /* Produce */, {RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED});
        const KafkaError error =
            failureOf(writer.produce("orders", 0, std::nullopt, QByteArray("refused"), {}, reason, 10000));
        QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED));
        QVERIFY2(error.message().startsWith("producing to orders: "), qPrintable(error.message()));
        QVERIFY(readAll("orders", 0).isEmpty());
    }

    void anUnacknowledgedProduceFailsAndIsNeverDeliveredLater()
    {
        {
            KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 1000);
            // Make the writer know the cluster first, so the message is queued for a known leader.
            QCOMPARE(syncWait(writer.produce("orders", 0, std::nullopt, QByteArray("first"), {}, reason, 10000)), 1);
            cluster->setAllBrokersDown();
            const KafkaError error =
                failureOf(writer.produce("orders", 0, std::nullopt, QByteArray("lost"), {}, reason, 1000));
            QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR__TIMED_OUT));
            QVERIFY2(error.message().startsWith("waiting for orders to acknowledge: "), qPrintable(error.message()));
            QVERIFY(error.isTimeout());
            cluster->setAllBrokersUp();
        } // released here: its flush must not deliver the failed write
        QTest::qWait(3000);
        const QList<Message> messages = readAll("orders", 0);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].payload(), std::optional<QByteArray>("first"));
    }

    void aProduceInFlightAtItsTimeOutSaysDeliveryIsUncertain()
    {
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(syncWait(writer.produce("orders", 0, std::nullopt, QByteArray("first"), {}, reason, 10000)), 1);
        // The broker takes the request but answers too late.
        rd_kafka_mock_broker_set_rtt(cluster->raw(), 1, 3000);
        const KafkaError error =
            failureOf(writer.produce("orders", 0, std::nullopt, QByteArray("slow"), {}, reason, 1000));
        QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR__TIMED_OUT));
        QVERIFY2(error.message().startsWith("waiting for orders to acknowledge: "), qPrintable(error.message()));
        QVERIFY2(error.message().contains("delivery is uncertain"), qPrintable(error.message()));
        QVERIFY(error.isUncertain());
        rd_kafka_mock_broker_set_rtt(cluster->raw(), 1, 0);
    }

    void aMessageOverAMegabyteIsTheBrokersToRefuse()
    {
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        const QByteArray large(1500000, 'x');
        QCOMPARE(syncWait(writer.produce("orders", 0, std::nullopt, large, {}, reason, 10000)), 1);
        const QList<Message> messages = readAll("orders", 0);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].payload()->size(), large.size());

        cluster->pushRequestErrors(0 /* Produce */, {RD_KAFKA_RESP_ERR_MSG_SIZE_TOO_LARGE});
        const KafkaError error = failureOf(writer.produce("orders", 0, std::nullopt, large, {}, reason, 10000));
        QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR_MSG_SIZE_TOO_LARGE));
        QVERIFY2(error.message().startsWith("producing to orders: "), qPrintable(error.message()));
        QVERIFY(!error.isUncertain());
    }

    void resetMovesTheCommittedPositionInPartitionOrder()
    {
        cluster->produceMany("orders", 0, 20);
        cluster->produceMany("orders", 1, 30);
        cluster->produceMany("orders", 2, 50);
        cluster->commit("billing", "orders", {{0, 20}, {1, 30}, {2, 50}});
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        syncWait(writer.resetOffsets("billing", "orders", {{2, 40}, {0, 10}, {1, 25}}, reason, true, 15000));
        const QList<GroupOffset> offsets =
            syncWait(reader->offsets(QStringLiteral("billing"), topicWithWatermarks("orders"), 5000));
        QCOMPARE(offsets, (QList<GroupOffset>{{"orders", 0, 10, 20}, {"orders", 1, 25, 30}, {"orders", 2, 40, 50}}));
    }

    void aPartitionTheBrokerRefusesFailsTheReset()
    {
        cluster->commit("billing", "orders", {{0, 0}});
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        cluster->pushRequestErrors(8 /* OffsetCommit */, {RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED});
        const KafkaError error =
            failureOf(writer.resetOffsets("billing", "orders", {{0, 1}, {1, 1}}, reason, true, 15000));
        QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED));
        QVERIFY2(error.message().startsWith("billing: orders/0: "), qPrintable(error.message()));
    }

    void aResetWhoseAnswerIsLateIsUncertain()
    {
        cluster->commit("billing", "orders", {{0, 0}});
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        // The broker takes the commit but answers after the wait.
        rd_kafka_mock_broker_push_request_error_rtts(cluster->raw(), 1, 8 /* OffsetCommit */, 1,
                                                     RD_KAFKA_RESP_ERR_NO_ERROR, 3000);
        const KafkaError error = failureOf(writer.resetOffsets("billing", "orders", {{0, 1}}, reason, true, 1000));
        QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR__TIMED_OUT));
        QVERIFY(error.isUncertain());
        QVERIFY2(error.message().startsWith("changing offsets for billing: "), qPrintable(error.message()));
    }

    void aGroupMissingFromAnIncompleteListingIsRefused()
    {
        // The mock cluster cannot list groups, so the listing carries errors: a group that is not
        // in it may be running on a broker that did not answer.
        KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 10000);
        const KafkaError state = failureOf(writer.groupState("nobody", 5000));
        QVERIFY(state.code() != 0);
        QVERIFY2(state.message().startsWith("checking whether nobody is running"), qPrintable(state.message()));

        cluster->commit("billing", "orders", {{0, 0}});
        const KafkaError reset = failureOf(writer.resetOffsets("billing", "orders", {{0, 5}}, reason, false, 5000));
        QVERIFY(reset.code() != 0);
        QVERIFY(reset.message().startsWith("checking whether billing is running"));
        // Nothing moved.
        const QList<GroupOffset> offsets =
            syncWait(reader->offsets(QStringLiteral("billing"), topicWithWatermarks("orders"), 5000));
        QCOMPARE(offsets[0].committed, std::optional<int64_t>(0));
    }

    void aResetWithTheClusterDownIsALostConnection()
    {
        cluster->commit("billing", "orders", {{0, 0}});
        {
            KafkaWriter writer(cluster->broker(), std::nullopt, std::nullopt, 1000);
            QCOMPARE(syncWait(writer.produce("orders", 0, std::nullopt, QByteArray("x"), {}, reason, 10000)), 1);
            cluster->setAllBrokersDown();
            const KafkaError error = failureOf(writer.resetOffsets("billing", "orders", {{0, 1}}, reason, true, 1000));
            QVERIFY2(error.isTimeout(), qPrintable(QString::number(error.code()) + " " + error.message()));
            QVERIFY2(error.message().startsWith("changing offsets for billing: "), qPrintable(error.message()));
            // Nothing went out: a refusal, not an unknown.
            QVERIFY(!error.isUncertain());
            cluster->setAllBrokersUp();
        }
        // Nothing was sent that could abort the process or move the group later.
        QTest::qWait(2000);
        const QList<GroupOffset> offsets =
            syncWait(reader->offsets(QStringLiteral("billing"), topicWithWatermarks("orders"), 5000));
        QCOMPARE(offsets[0].committed, std::optional<int64_t>(0));
    }

    void aWriterWithoutCallsReleasesQuietly()
    {
        auto writer = std::make_unique<KafkaWriter>(cluster->broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(writer->broker().bootstrap, cluster->bootstrap());
        writer.reset();
    }
};

QTEST_GUILESS_MAIN(TestKafkaWriter)
#include "tst_KafkaWriter.moc"
