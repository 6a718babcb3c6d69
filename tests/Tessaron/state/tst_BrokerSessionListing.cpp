#include "support/SessionFakes.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QSignalSpy>
#include <QTest>

using namespace tessaron;
using namespace tessaron::fakes;

class TestBrokerSessionListing : public QObject {
    Q_OBJECT
private slots:
    void connectListsTopicsWithWatermarksThenGroups()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed =
            QList<Topic>{topic("orders", {{0, 10}, {5, 9}}), topic("__consumer_offsets", {{0, 1}})};
        clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}};
        BrokerSession session(kafkaBroker(), QString("pw"), std::nullopt, std::nullopt, clients);
        QSignalSpy connecting(&session, &BrokerSession::isConnectingChanged);
        QSignalSpy topicsChanged(&session, &BrokerSession::topicsChanged);
        syncWait(session.connectBroker());

        QCOMPARE(connecting.count(), 2);
        QVERIFY(!session.isConnecting());
        QCOMPARE(session.connection()->kind(), BrokerSession::Connection::kafka);
        QCOMPARE(clients->lastPassword, std::optional<QString>("pw"));
        QCOMPARE(session.topics(), *clients->kafka->listed);
        QCOMPARE(session.groups().size(), 1);
        QVERIFY(session.topicsListed());
        QVERIFY(!session.isLoadingTopics());
        QCOMPARE(topicsChanged.count(), 2); // the bare listing, then the watermarks
        QCOMPARE(clients->kafka->calls,
                 (QStringList{"topics", "watermarks orders", "watermarks __consumer_offsets", "groups"}));

        // Listing the same again changes nothing, so nothing is signalled.
        topicsChanged.clear();
        QSignalSpy groupsChanged(&session, &BrokerSession::groupsChanged);
        clients->kafka->listed =
            QList<Topic>{topic("orders", {{0, 10}, {5, 9}}), topic("__consumer_offsets", {{0, 1}})};
        syncWait(session.refreshTopics());
        QCOMPARE(groupsChanged.count(), 0);
    }

    void failuresAreClassifiedAndListedOnce()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>{topic("a", {{0, 3}}), topic("b", {{0, 4}})};
        clients->kafka->watermarkErrors.insert("a", KafkaError(3, "unknown topic"));
        clients->kafka->groupsError = KafkaError(-1, "listing consumer groups: empty result");
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());
        // A failing watermark read keeps that topic as listed.
        QCOMPARE(session.topics().size(), 2);
        QCOMPARE(session.topics()[0].partitions[0].high, 0);
        QCOMPARE(session.topics()[1].partitions[0].high, 4);
        QCOMPARE(session.unobservable(),
                 (QList<Unobservable>{{"Consumer groups", "listing consumer groups: empty result"}}));

        // The topic listing fails: the groups are still listed; the same fact is not repeated, the
        // same message under another subject is.
        clients->kafka->topicsError = KafkaError(-1, "listing consumer groups: empty result");
        clients->kafka->groupsError.reset();
        clients->kafka->listedGroups = QList<ConsumerGroup>{{"g", "Empty", false}};
        syncWait(session.loadTopics());
        syncWait(session.loadTopics());
        QCOMPARE(session.topics().size(), 2);
        QCOMPARE(session.groups().size(), 1);
        QCOMPARE(session.unobservable().size(), 2);
        QCOMPARE(session.unobservable()[1].subject, QString("Topics"));
        QVERIFY(!session.lostConnection());

        // A lost connection is recorded as such, not as a fact; a Kafka listing that succeeds clears it.
        clients->kafka->topicsError = KafkaError(-185, "listing topics: timed out");
        syncWait(session.loadTopics());
        QCOMPARE(session.lostConnection(), std::optional<QString>("listing topics: timed out"));
        QCOMPARE(session.unobservable().size(), 2);
        clients->kafka->topicsError.reset();
        syncWait(session.loadTopics());
        QVERIFY(!session.lostConnection());
    }

    void anUnreachableBrokerIsLostNeverConnectedAndEmpty()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->topicsError = KafkaError(-185, "listing topics: timed out");
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());
        // The groups would wait out the same time-out: not asked, and not "none".
        QCOMPARE(clients->kafka->calls, QStringList{"topics"});
        QVERIFY(session.connection() && !session.isConnecting());
        QVERIFY(!session.topicsListed());
        QVERIFY(!session.isConnected());
        QVERIFY(session.groupsUnseen());

        // Try again: listed, and connected.
        clients->kafka->topicsError.reset();
        clients->kafka->listed = QList<Topic>{topic("a", {{0, 3}})};
        syncWait(session.loadTopics());
        QVERIFY(session.isConnected());
        QVERIFY(!session.groupsUnseen());

        // Groups whose listing failed are unseen until a listing succeeds.
        clients->kafka->groupsError = KafkaError(-1, "listing consumer groups: empty result");
        syncWait(session.loadTopics());
        QVERIFY(session.groupsUnseen());
        QVERIFY(session.isConnected());
        // A connection lost later is not connected either.
        session.setLostConnection(QString("gone"));
        QVERIFY(!session.isConnected());
    }

    void theWatermarkLoopStopsAtALostConnection()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>{topic("a", {{0, 3}}), topic("b", {{0, 4}}), topic("c", {{0, 5}})};
        clients->kafka->watermarkErrors.insert("b", KafkaError(-187, "all brokers down"));
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());
        QCOMPARE(clients->kafka->calls, (QStringList{"topics", "watermarks a", "watermarks b"}));
        QCOMPARE(session.lostConnection(), std::optional<QString>("all brokers down"));
        QCOMPARE(session.topics().size(), 3);
        QCOMPARE(session.topics()[0].partitions[0].high, 3);
        QCOMPARE(session.topics()[2].name, QString("c"));
        QVERIFY(!session.isLoadingTopics());
    }

    void aLargeListingPublishesBatchByBatchWhateverTheRequestsAskAtOnce()
    {
        // 400 topics of 6 partitions make five batches of about 500 partitions. Topic 100 fails
        // with its own error; in the second run topic 200 loses the connection. The requests
        // may carry several batches at once; what is published must still be batch by batch.
        QList<Topic> listed;
        for (int i = 0; i < 400; ++i)
            listed.append(
                topic(QString("t%1").arg(i, 3, 10, QChar('0')), QList<std::pair<int64_t, int64_t>>(6, {0, i + 1})));
        // For each publish, how many leading topics carry their watermarks (topic 100 never does).
        auto run = [&](bool loseAt200, QList<qsizetype>& prefixes) {
            auto clients = std::make_shared<FakeFactory>();
            clients->kafka->listed = listed;
            clients->kafka->watermarkErrors.insert("t100", KafkaError(3, "unknown topic"));
            if (loseAt200)
                clients->kafka->watermarkErrors.insert("t200", KafkaError(-185, "timed out"));
            auto session =
                std::make_unique<BrokerSession>(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
            connect(session.get(), &BrokerSession::topicsChanged, [&] {
                const QList<Topic>& shown = session->topics();
                QCOMPARE(shown.size(), listed.size());
                qsizetype prefix = 0;
                while (prefix < shown.size() && (prefix == 100 || shown[prefix] == listed[prefix]))
                    ++prefix;
                for (qsizetype i = prefix; i < shown.size(); ++i)
                    QCOMPARE(shown[i].retained(), 0);
                QCOMPARE(shown[100].retained(), 0);
                prefixes.append(prefix);
            });
            syncWait(session->connectBroker());
            return session;
        };

        QList<qsizetype> prefixes;
        auto session = run(false, prefixes);
        QCOMPARE(prefixes, (QList<qsizetype>{0, 84, 168, 252, 336, 400}));
        QVERIFY(!session->lostConnection());
        QCOMPARE(session->groupsUnseen(), false);

        prefixes.clear();
        session = run(true, prefixes);
        // Batch three stops at the lost topic; the rest stays as listed and the groups unasked.
        QCOMPARE(prefixes, (QList<qsizetype>{0, 84, 168, 200}));
        QCOMPARE(session->lostConnection(), std::optional<QString>("timed out"));
        QVERIFY(session->groupsUnseen());
    }

    void connectFailures()
    {
        auto clients = std::make_shared<FakeFactory>();
        Broker nats = kafkaBroker();
        nats.kind = BrokerKind::nats;
        BrokerSession unsupported(nats, std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(unsupported.connectBroker());
        QCOMPARE(unsupported.connectionError(), std::optional<QString>("NATS is not implemented yet"));
        QVERIFY(!unsupported.connection());
        QVERIFY(!unsupported.isConnecting());

        clients->makeError = KafkaError(-1, "sasl.mechanism: invalid value");
        BrokerSession refused(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(refused.connectBroker());
        QCOMPARE(refused.connectionError(), std::optional<QString>("sasl.mechanism: invalid value"));
        QVERIFY(clients->kafka->calls.isEmpty());

        // Loading with no connection changes nothing.
        QSignalSpy loading(&refused, &BrokerSession::isLoadingTopicsChanged);
        syncWait(refused.loadTopics());
        QCOMPARE(loading.count(), 0);
    }

    void aRegistryClientOnlyForARealAddress()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>();
        Broker blank = kafkaBroker();
        blank.schemaRegistryURL = "  ";
        BrokerSession none(blank, std::nullopt, std::nullopt, QString("secret"), clients);
        syncWait(none.connectBroker());
        QVERIFY(clients->registryArguments.isEmpty());

        Broker withRegistry = kafkaBroker();
        withRegistry.schemaRegistryURL = " http://registry:8081";
        withRegistry.schemaRegistryUsername = "svc";
        BrokerSession some(withRegistry, std::nullopt, std::nullopt, QString("secret"), clients);
        syncWait(some.connectBroker());
        QCOMPARE(clients->registryArguments, (QStringList{" http://registry:8081", "svc", "secret"}));
    }

    void aNewerListingWinsOverAnOlderOneStillInFlight()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>{topic("old", {{0, 1}})};
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());

        auto gate = clients->kafka->gates.hold("topics");
        auto first = session.loadTopics();
        QVERIFY(session.isLoadingTopics());
        clients->kafka->gates = Gates();
        clients->kafka->listed = QList<Topic>{topic("new", {{0, 2}})};
        syncWait(session.loadTopics());
        QCOMPARE(session.topics()[0].name, QString("new"));
        QVERIFY(!session.isLoadingTopics());

        clients->kafka->listed = QList<Topic>{topic("stale", {{0, 1}})};
        gate->release();
        syncWait(std::move(first));
        QCOMPARE(session.topics()[0].name, QString("new"));
        QVERIFY(!session.isLoadingTopics());
    }

    void rabbitListing()
    {
        auto clients = std::make_shared<FakeFactory>();
        BrokerSession session(rabbitBroker(), QString("guest"), std::nullopt, std::nullopt, clients);
        clients->rabbit = std::make_shared<FakeRabbit>(session.broker());
        Topic queue = topic("jobs");
        queue.declaredDepth = 4;
        clients->rabbit->listing = {{queue}, {{"jobs", 2}}};
        session.setLostConnection(QString("earlier"));
        syncWait(session.connectBroker());
        QCOMPARE(session.connection()->kind(), BrokerSession::Connection::rabbit);
        QCOMPARE(session.topics(), QList<Topic>{queue});
        QCOMPARE(session.queueConsumers().value("jobs"), 2);
        QVERIFY(session.groups().isEmpty());
        // A queue listing does not clear a lost connection.
        QCOMPARE(session.lostConnection(), std::optional<QString>("earlier"));
        QVERIFY(session.needsReadConsent());

        clients->rabbit->listingError = KafkaError(-1, "the management API refused these credentials");
        syncWait(session.loadTopics());
        QCOMPARE(session.unobservable().first().subject, QString("Queues"));
        QCOMPARE(session.topics().size(), 1);
    }

    void selectionPinsAndDisconnect()
    {
        auto clients = std::make_shared<FakeFactory>();
        const Broker broker = kafkaBroker();
        UserDefaults::standard().setStringList(Prefs::pinnedTopics(broker.id), {"a", "b"});
        clients->kafka->listed = QList<Topic>{topic("a", {{0, 1}})};
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt, clients);
        QCOMPARE(session.pinned(), (QStringList{"a", "b"}));
        session.togglePin("a");
        session.togglePin("a");
        QCOMPARE(session.pinned(), (QStringList{"b", "a"}));
        QCOMPARE(UserDefaults::standard().stringList("tessaron.topic."
                                                     + broker.id.toString(QUuid::WithoutBraces).toUpper() + ".pinned"),
                 std::optional<QStringList>({"b", "a"}));
        BrokerSession fresh(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        QVERIFY(fresh.pinned().isEmpty());

        session.setSelectedGroup(QString("g"));
        session.setSelectedTopic(QString("a"));
        QVERIFY(!session.selectedGroup());
        QVERIFY(!session.currentTopic()); // not listed yet
        session.setSelectedGroup(QString("g"));
        QVERIFY(!session.selectedTopic());
        session.setSelectedGroup(std::nullopt);
        session.setSelectedTopic(QString("a"));
        session.setSelectedTopic(std::nullopt);
        QVERIFY(!session.selectedGroup());

        syncWait(session.connectBroker());
        session.setSelectedTopic(QString("a"));
        QVERIFY(session.currentTopic());
        session.noteUnobservable("Topics", "x");
        session.setLostConnection(QString("gone"));
        session.disconnectBroker();
        QVERIFY(!session.connection());
        QVERIFY(session.topics().isEmpty());
        QCOMPARE(session.selectedTopic(), std::optional<QString>("a"));
        QCOMPARE(session.unobservable().size(), 1);
        QCOMPARE(session.lostConnection(), std::optional<QString>("gone"));
    }

    void positionsAndSearch()
    {
        QCOMPARE(BrokerSession::Position::atOffset(5), BrokerSession::Position::atOffset(5));
        QVERIFY(!(BrokerSession::Position::atOffset(5) == BrokerSession::Position::atTail()));
        QCOMPARE(BrokerSession::Position::atTail().label(), QString("The latest"));
        QCOMPARE(BrokerSession::Position::atOffset(42).label(), QString("From offset 42"));

        auto clients = std::make_shared<FakeFactory>();
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        QVERIFY(session.searchResults().isEmpty());
        session.setMessageSearch("   ");
        QVERIFY(session.searchResults().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBrokerSessionListing)
#include "tst_BrokerSessionListing.moc"
