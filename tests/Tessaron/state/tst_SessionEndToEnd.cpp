// A real BrokerSession against real peers: librdkafka's mock cluster for Kafka, and the RabbitMQ
// node that scripts/test starts (TESSARON_TEST_RABBITMQ_URL) for RabbitMQ.
#include "support/Messages.h"
#include "support/MockKafkaCluster.h"
#include "support/RegistryPeer.h"
#include "support/RabbitTestSupport.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QUuid>

#include <algorithm>

using namespace tessaron;
using testing::headerOf;
using testing::ScratchVhost;
using testing::syncWait;

namespace {

// A session over the cluster, decoding through the registry, with "payments" read from the start.
std::unique_ptr<BrokerSession> readPayments(const testing::MockKafkaCluster& cluster, const RegistryPeer& registry)
{
    Broker broker = cluster.broker();
    broker.schemaRegistryURL = "http://" + registry.address();
    auto session = std::make_unique<BrokerSession>(broker, std::nullopt, std::nullopt, std::nullopt);
    syncWait(session->connectBroker());
    session->setSelectedTopic(QString("payments"));
    syncWait(session->read(BrokerSession::Position::atBeginning(), 10, false));
    return session;
}

} // namespace

class TestSessionEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void kafkaThroughTheMockCluster()
    {
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("orders", 2);
        for (int i = 0; i < 6; ++i)
            cluster.produce("orders", i % 2,
                            {.key = QByteArray("k") + QByteArray::number(i),
                             .payload = QString("{\"n\":%1}").arg(i).toUtf8(),
                             .headers = {},
                             .timestampMs = 1700000000000 + i * 1000});
        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY2(!session.connectionError(), qPrintable(session.connectionError().value_or("")));
        QVERIFY(!session.lostConnection());
        std::optional<Topic> orders;
        for (const Topic& t : session.topics()) {
            if (t.name == "orders")
                orders = t;
        }
        QVERIFY(orders);
        QCOMPARE(orders->retained(), 6);

        session.setSelectedTopic(QString("orders"));
        const qint64 before = UserDefaults::standard().integer(Prefs::messagesRead).value_or(0);
        syncWait(session.read(BrokerSession::Position::atTail(), 4, false));
        QCOMPARE(session.messages().size(), 4);
        QCOMPARE(session.messages().first().offset(), 2); // newest: the sixth message, p1@2
        QCOMPARE(session.messages().first().partition(), 1);
        QCOMPARE(UserDefaults::standard().integer(Prefs::messagesRead).value_or(0), before + 4);

        syncWait(session.read(BrokerSession::Position::atBeginning(), 100, false));
        QCOMPARE(session.messages().size(), 6);
        QVERIFY(session.reachedEnd());
        QCOMPARE(session.nextOffsets(), (QMap<int32_t, int64_t>{{0, 3}, {1, 3}}));

        // A corrected copy, filed with its reason, comes back with the reason header.
        const AppOutcome filed =
            syncWait(session.produce("orders", QString("k5"), "{\"n\":5,\"fixed\":true}", "total was wrong"));
        QCOMPARE(filed, AppOutcome::makeDone("Filed on \u2068orders\u2069. The broker acknowledged it."));
        QVERIFY(!session.isLoadingMessages());
        bool found = false;
        for (const Message& m : session.messages()) {
            if (m.payloadString() == QString("{\"n\":5,\"fixed\":true}")) {
                found = true;
                QCOMPARE(headerOf(m, "tessaron-reason"), std::optional<QByteArray>("total was wrong"));
                QCOMPARE(m.keyString(), std::optional<QString>("k5"));
            }
        }
        QVERIFY(found);
    }

    void avroThroughALocalRegistry()
    {
        RegistryPeer registry;
        const QByteArray schema = R"({"type":"record","name":"Payment","fields":[{"name":"amount","type":"long"}]})";
        registry.answer(
            "/schemas/ids/1",
            {200, QJsonDocument(QJsonObject{{"schema", QString::fromUtf8(schema)}}).toJson(QJsonDocument::Compact)});
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("payments", 1);
        const QByteArray frame1 = QByteArray::fromHex("00000000012a"); // schema 1, amount 21
        const QByteArray frame9 = QByteArray::fromHex("00000000092a"); // schema 9, unknown
        cluster.produce("payments", 0,
                        {.key = std::nullopt, .payload = frame1, .headers = {}, .timestampMs = 1700000000000});
        cluster.produce("payments", 0,
                        {.key = std::nullopt, .payload = frame9, .headers = {}, .timestampMs = 1700000001000});

        auto reading = readPayments(cluster, registry);
        BrokerSession& session = *reading;
        QCOMPARE(session.messages().size(), 2);
        const Message& unknown = session.messages().at(0);
        const Message& known = session.messages().at(1);
        QVERIFY(known.decoded());
        QCOMPARE(known.decoded()->json, QByteArray(R"({"amount":21})"));
        QCOMPARE(unknown.decodeFailure(), std::optional<QString>("the registry has no schema 9"));
        QVERIFY(session.unobservable().contains(Unobservable{"1 Avro message", "the registry has no schema 9"}));
    }

    void anUnreachableRegistryIsAskedOncePerRead()
    {
        RegistryPeer registry;
        for (const QByteArray id : {"1", "2", "3"})
            registry.answer("/schemas/ids/" + id, {200, {}, false, true}); // not HTTP: a transport failure
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("payments", 1);
        for (const char* hex : {"00000000012a", "00000000022a", "00000000032a"})
            cluster.produce(
                "payments", 0,
                {.key = std::nullopt, .payload = QByteArray::fromHex(hex), .headers = {}, .timestampMs = 0});
        auto reading = readPayments(cluster, registry);
        BrokerSession& session = *reading;
        QCOMPARE(session.messages().size(), 3);
        // Only the first schema was asked for (Qt itself may try a dropped request again).
        const int asked = registry.count("/schemas/ids/1");
        QVERIFY(asked >= 1);
        QCOMPARE(registry.requests.size(), asked);
        for (const Message& m : session.messages())
            QCOMPARE(m.decodeFailure(), session.messages().first().decodeFailure());
        QCOMPARE(session.unobservable().last().subject, QString("3 Avro messages"));
        // The next read asks again.
        syncWait(session.read(BrokerSession::Position::atBeginning(), 10, false));
        QVERIFY(registry.count("/schemas/ids/1") > asked);
        QCOMPARE(registry.requests.size(), registry.count("/schemas/ids/1"));
    }

    void kafkaLostConnection()
    {
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("orders", 1);
        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY(session.topicsListed());
        cluster.setAllBrokersDown();
        syncWait(session.loadTopics());
        QVERIFY2(session.lostConnection(),
                 qPrintable(session.unobservable().isEmpty() ? QString() : session.unobservable().last().reason));
        // The topics listed before are kept.
        QCOMPARE(session.topics().size(), 1);
    }

    void kafkaListingFillsTheSidebarAsWatermarksArriveOverASlowLink()
    {
        testing::MockKafkaCluster cluster(3);
        QList<testing::MockKafkaCluster::NewTopic> topics;
        QList<testing::MockKafkaCluster::Placed> records;
        for (int i = 0; i < 300; ++i) {
            const QString name = QString("topic-%1").arg(i, 3, 10, QChar('0'));
            topics.append({name, 6});
            records.append({name, 0, {std::nullopt, "m", {}, 0}});
        }
        cluster.createTopics(topics);
        cluster.produceAll(records);
        for (int32_t broker = 1; broker <= 3; ++broker)
            rd_kafka_mock_broker_set_rtt(cluster.raw(), broker, 20);

        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        // Topics that carry their watermarks, each time the session publishes the list.
        QList<int> withMarks;
        connect(&session, &BrokerSession::topicsChanged, [&] {
            int marked = 0;
            for (const Topic& topic : session.topics())
                marked += topic.retained() > 0 ? 1 : 0;
            withMarks << marked;
        });
        syncWait(session.connectBroker());
        QVERIFY(!session.lostConnection());
        // The bare listing, then the first watermarks while later topics are still to be asked
        // for, then more, up to every topic.
        QVERIFY2(withMarks.size() >= 3, qPrintable(QString::number(withMarks.size())));
        QCOMPARE(withMarks.first(), 0);
        QVERIFY(withMarks[1] > 0 && withMarks[1] < 300);
        QVERIFY(std::is_sorted(withMarks.cbegin(), withMarks.cend()));
        QCOMPARE(withMarks.last(), 300);
    }

    void kafkaReadStopsAtTheFirstLostConnection()
    {
        testing::MockKafkaCluster cluster(1);
        cluster.createTopic("wide", 8);
        for (int p = 0; p < 8; ++p)
            cluster.produceMany("wide", p, 2);
        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        session.setSelectedTopic(QString("wide"));
        cluster.setAllBrokersDown();
        // One page time-out at most, not one per partition, and the banner goes up.
        QElapsedTimer clock;
        clock.start();
        syncWait(session.read(BrokerSession::Position::atBeginning(), 100, false));
        QVERIFY2(clock.elapsed() < 2 * BrokerSession::pageTimeoutMs, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(session.lostConnection());
        QVERIFY(session.messages().isEmpty());
        QVERIFY(!session.reachedEnd());
    }

    void rabbitAgainstTheRealNode()
    {
        const QString url = ScratchVhost::nodeUrl();
        if (url.isEmpty())
            QSKIP("TESSARON_TEST_RABBITMQ_URL is not set: no RabbitMQ node to test against (scripts/test starts one)");
        ScratchVhost vhost(url, "tessaron-session-");
        vhost.declareQueue("jobs", "{\"durable\":false}");

        BrokerSession session(vhost.broker(), QString("guest"), std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY2(!session.connectionError(), qPrintable(session.connectionError().value_or("")));
        QCOMPARE(session.connection()->kind(), BrokerSession::Connection::rabbit);
        QVERIFY(session.queueConsumers().contains("jobs"));
        QCOMPARE(session.queueConsumers().value("jobs"), 0);

        QVERIFY(syncWait(session.produce("jobs", std::nullopt, "first", "seeding")).isDone());
        QVERIFY(syncWait(session.produce("jobs", std::nullopt, "second", "seeding")).isDone());
        // A queue nobody declared routes nowhere: refused, not reported as filed.
        QVERIFY(!syncWait(session.produce("nowhere", std::nullopt, "lost", "seeding")).isDone());

        session.setSelectedTopic(QString("jobs"));
        syncWait(session.readLatest());
        QVERIFY(session.messages().isEmpty());  // no consent yet
        QVERIFY(!session.bindings().isEmpty()); // the default exchange's binding shows already

        session.setAcceptedRabbitReadCost(true);
        const qint64 disturbed = UserDefaults::standard().integer(Prefs::messagesDisturbed).value_or(0);
        syncWait(session.readLatest());
        QCOMPARE(session.messages().size(), 2);
        QCOMPARE(session.messages().first().payloadString(), std::optional<QString>("first"));
        QCOMPARE(headerOf(session.messages().first(), "tessaron-reason"), std::optional<QByteArray>("seeding"));
        QCOMPARE(UserDefaults::standard().integer(Prefs::messagesDisturbed).value_or(0), disturbed + 2);

        // The messages were put back: the queue still holds both.
        QTRY_VERIFY_WITH_TIMEOUT(([&] {
                                     syncWait(session.loadTopics());
                                     return !session.topics().isEmpty() && session.topics().first().declaredDepth == 2;
                                 }()),
                                 15000);
    }
};

QTEST_GUILESS_MAIN(TestSessionEndToEnd)
#include "tst_SessionEndToEnd.moc"
