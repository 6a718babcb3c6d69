#include "support/SessionFakes.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/analysis/ShapeDrift.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <climits>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

QByteArray avro(int32_t schemaId)
{
    QByteArray bytes(5, '\0');
    bytes[4] = char(schemaId);
    return bytes + "body";
}

qint64 tally(const QString& key) { return UserDefaults::standard().integer(key).value_or(0); }

struct Fixture : Rig {
    explicit Fixture(QList<Topic> topics, Broker broker = kafkaBroker())
    {
        clients->kafka->listed = topics;
        session = connectedSession(clients, broker);
        clients->kafka->calls.clear();
    }
    QStringList pageCalls() const { return clients->kafka->calls.filter("page "); }
    QStringList ids() const
    {
        QStringList ids;
        for (const Message& m : session->messages())
            ids << m.id();
        return ids;
    }
};

} // namespace

class TestBrokerSessionReading : public QObject {
    Q_OBJECT
private slots:
    void theLimitIsSharedOverThePartitions()
    {
        Fixture f({topic("orders", {{0, 50}, {0, 50}, {7, 7}})});
        f.session->setSelectedTopic(QString("orders"));
        syncWait(f.session->read(BrokerSession::Position::atTail(), 100, false));
        // The empty third partition is not asked for its newest messages.
        // The limit is shared by the partitions read, not by every partition of the topic.
        QCOMPARE(f.pageCalls(), (QStringList{"page orders 0 tail 50 limit 50", "page orders 1 tail 50 limit 50"}));

        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 2, false));
        QCOMPARE(f.pageCalls(),
                 (QStringList{"page orders 0 beginning limit 1", "page orders 1 beginning limit 1",
                              "page orders 2 beginning limit 1"}));
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atOffset(4), 0, false));
        QCOMPARE(f.pageCalls().first(), QString("page orders 0 offset 4 limit 1"));
    }

    void readsPublishNewestFirstAndCount()
    {
        Fixture f({topic("orders", {{0, 3}, {0, 2}})});
        auto& held = f.clients->kafka->held["orders"];
        held[0] = {message("orders", 0, 0, 1000), message("orders", 0, 1, 3000), message("orders", 0, 2, std::nullopt)};
        held[1] = {message("orders", 1, 0, 3000), message("orders", 1, 1, 2000)};
        f.session->setSelectedTopic(QString("orders"));
        f.session->setSelectedMessage(QString("orders/0/0"));
        const qint64 before = tally(Prefs::messagesRead);
        QSignalSpy loading(f.session.get(), &BrokerSession::isLoadingMessagesChanged);
        QSignalSpy stored(&UserDefaults::standard(), &UserDefaults::changed);
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 100, false));
        // One count for the read, not one a partition: each one rewrites the preferences.
        QCOMPARE(stored.count(), 1);

        // Equal timestamps: the higher offset first; no timestamp comes last.
        QCOMPARE(f.ids(), (QStringList{"orders/0/1", "orders/1/0", "orders/1/1", "orders/0/0", "orders/0/2"}));
        QCOMPARE(tally(Prefs::messagesRead), before + 5);
        QCOMPARE(loading.count(), 2);
        QVERIFY(!f.session->selectedMessage());
        QCOMPARE(f.session->pagesRead(), 1);
        QCOMPARE(f.session->position(), BrokerSession::Position::atBeginning());
        QCOMPARE(f.session->nextOffsets(), (QMap<int32_t, int64_t>{{0, 3}, {1, 2}}));
        QVERIFY(f.session->reachedEnd());
        QCOMPARE(f.session->shapeVerdict().tag(), ShapeVerdict::Case::consistent);
    }

    void readingFurtherGoesOnFromTheKeptOffsets()
    {
        Fixture f({topic("orders", {{0, 4}, {0, 0}})});
        auto& held = f.clients->kafka->held["orders"];
        for (int i = 0; i < 4; ++i)
            held[0].append(message("orders", 0, i, 1000 + i));
        f.session->setSelectedTopic(QString("orders"));
        syncWait(f.session->read(BrokerSession::Position::atTail(), 2, false));
        QCOMPARE(f.ids(), (QStringList{"orders/0/3", "orders/0/2"}));
        QCOMPARE(f.pageCalls(), QStringList{"page orders 0 tail 2 limit 2"});

        // Continuing asks every partition, the one skipped before from offset 0.
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atTail(), 4, true));
        QCOMPARE(f.pageCalls(), (QStringList{"page orders 0 offset 4 limit 2", "page orders 1 offset 0 limit 2"}));
        QCOMPARE(f.session->pagesRead(), 2);
        QCOMPARE(f.session->position(), BrokerSession::Position::atTail());
    }

    void furtherPagesMergeIntoWhatSortingEverythingReadGives()
    {
        // Partitions 0 and 1 tie on time at equal offsets, partition 2 runs back in time, messages
        // without a time tie with ones read a page earlier, and the majority shape changes hands
        // on the sixth page.
        Fixture f({topic("orders", {{0, 14}, {0, 14}, {0, 14}})});
        auto& held = f.clients->kafka->held["orders"];
        for (int i = 0; i < 14; ++i) {
            const QByteArray a = i == 3 ? "plain" : "{\"a\":1}";
            held[0].append(
                message("orders", 0, i, i % 4 == 3 ? std::nullopt : std::optional<qint64>(1000 + 10 * i), a));
            held[1].append(message("orders", 1, i, 1000 + 10 * i, i < 6 ? "{\"a\":1}" : "{\"b\":\"x\"}"));
            held[2].append(message("orders", 2, i + 2, i % 4 == 1 ? std::nullopt : std::optional<qint64>(2000 - 10 * i),
                                   "{\"b\":\"x\"}"));
        }
        // Later time first, then higher offset, no time last; of equals, the one read first.
        auto newerFirst = [](const Message& x, const Message& y) {
            const qint64 tx = x.timestamp() ? x.timestamp()->toMSecsSinceEpoch() : LLONG_MIN;
            const qint64 ty = y.timestamp() ? y.timestamp()->toMSecsSinceEpoch() : LLONG_MIN;
            return tx != ty ? tx > ty : x.offset() > y.offset();
        };
        f.session->setSelectedTopic(QString("orders"));
        QList<Message> arrived;
        QList<ShapeVerdict> verdicts;
        QStringList before;
        for (int page = 0; page < 7; ++page) {
            syncWait(f.session->read(BrokerSession::Position::atBeginning(), 6, page > 0));
            // Where the page went, as the session says: without those rows, what was held before.
            QCOMPARE(f.session->insertedRuns().has_value(), page > 0);
            if (const auto runs = f.session->insertedRuns()) {
                QStringList without = f.ids();
                for (auto run = runs->crbegin(); run != runs->crend(); ++run)
                    without.remove(run->first, run->second);
                QCOMPARE(without, before);
            }
            before = f.ids();
            for (int p = 0; p < 3; ++p)
                arrived << held[p].mid(2 * page, 2);
            QList<Message> sorted = arrived;
            std::stable_sort(sorted.begin(), sorted.end(), newerFirst);
            QStringList expected;
            for (const Message& m : sorted)
                expected << m.id();
            QCOMPARE(f.ids(), expected);
            QCOMPARE(f.session->shapeVerdict(), ShapeDrift::verdict(f.session->messages()));
            verdicts << f.session->shapeVerdict();
        }
        QCOMPARE(verdicts[4].driftDetail()->outlierCount(), 14);
        QCOMPARE(verdicts[5].driftDetail()->outlierCount(), 17);

        // A page past the end changes nothing.
        QSignalSpy changed(f.session.get(), &BrokerSession::messagesChanged);
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 6, true));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(f.session->messages().size(), 42);
        QCOMPARE(f.session->shapeVerdict(), verdicts.last());
    }

    void readingFurtherFromAMomentDoesNotReadTheSameMessagesAgain()
    {
        Fixture f({topic("orders", {{0, 10}, {0, 10}})});
        auto& held = f.clients->kafka->held["orders"];
        for (int i = 0; i < 10; ++i)
            held[0].append(message("orders", 0, i, 1000 + i));
        f.clients->kafka->timeOffsets = {{0, 6}, {1, -1}};
        f.session->setSelectedTopic(QString("orders"));
        const auto moment = BrokerSession::Position::atTime(QDateTime::fromMSecsSinceEpoch(1006, Qt::UTC));
        syncWait(f.session->read(moment, 2, false));
        QCOMPARE(f.clients->kafka->calls, (QStringList{"time orders", "page orders 0 offset 6 limit 2"}));
        QCOMPARE(f.ids(), (QStringList{"orders/0/7", "orders/0/6"}));

        // "Read further" names no position: the session goes on from its own, and partition 1,
        // with nothing after the moment, stays unread.
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atOffset(0), 2, true));
        QCOMPARE(f.clients->kafka->calls, QStringList{"page orders 0 offset 8 limit 2"});
        QCOMPARE(f.ids(), (QStringList{"orders/0/9", "orders/0/8", "orders/0/7", "orders/0/6"}));
        QCOMPARE(f.session->position(), moment);

        // A failing lookup stops a fresh read with an empty list.
        f.clients->kafka->timeError = KafkaError(-1, "looking up offsets: broken");
        syncWait(f.session->read(moment, 4, false));
        QVERIFY(f.session->messages().isEmpty());
        QVERIFY(!f.session->isLoadingMessages());
        QCOMPARE(f.session->unobservable().last(), (Unobservable{"orders", "looking up offsets: broken"}));
    }

    void aFailingPartitionIsLeftOut()
    {
        Fixture f({topic("orders", {{0, 2}, {0, 2}, {0, 2}})});
        auto& held = f.clients->kafka->held["orders"];
        held[0] = {message("orders", 0, 0, 1)};
        held[2] = {message("orders", 2, 0, 2)};
        f.clients->kafka->pageErrors.insert(1, KafkaError(-1, "could not open topic orders"));
        f.session->setSelectedTopic(QString("orders"));
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 30, false));
        QCOMPARE(f.ids(), (QStringList{"orders/2/0", "orders/0/0"}));
        QCOMPARE(f.session->unobservable(),
                 (QList<Unobservable>{{L10n::isolated("orders") + " partition 1", "could not open topic orders"}}));
        QVERIFY(!f.session->nextOffsets().contains(1));
        // Never read, so not read to its end: it is named, and a further page asks it again.
        QVERIFY(!f.session->reachedEnd());
        QCOMPARE(f.session->unreadPartitions(), QList<int32_t>{1});
        f.clients->kafka->pageErrors.clear();
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 30, true));
        QVERIFY(f.pageCalls().contains("page orders 1 offset 0 limit 10"));
        QVERIFY(f.session->unreadPartitions().isEmpty());
        QVERIFY(f.session->reachedEnd());
        f.clients->kafka->pageErrors.insert(1, KafkaError(-1, "could not open topic orders"));

        // Read further from an offset: the partition that failed starts at that offset, not at 0.
        syncWait(f.session->read(BrokerSession::Position::atOffset(1), 30, false));
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atOffset(0), 30, true));
        QVERIFY(f.pageCalls().contains("page orders 1 offset 1 limit 10"));

        // A lost connection stops the read at once: the partitions after it are not asked.
        f.clients->kafka->pageErrors.insert(1, KafkaError(-195, "transport failure"));
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 30, false));
        QCOMPARE(f.session->lostConnection(), std::optional<QString>("transport failure"));
        QCOMPARE(f.pageCalls().size(), 2);
        QCOMPARE(f.ids(), QStringList{"orders/0/0"});
        QVERIFY(!f.session->reachedEnd());
    }

    // The whole read failing at once (not a lost connection) leaves every partition unread.
    void aReadThatFailsAsAWholeHasNotReachedTheEnd()
    {
        struct FailingPages : FakeKafka {
            QCoro::Task<QList<PartitionPage>> pages(QString, QList<PartitionStart>, qsizetype, int32_t) override
            {
                calls << "pages";
                throw KafkaError(-1, "could not make a queue");
                co_return {};
            }
        };
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka = std::make_shared<FailingPages>();
        clients->kafka->listed = QList<Topic>{topic("orders", {{0, 2}, {0, 2}})};
        auto session = connectedSession(clients);
        session->setSelectedTopic(QString("orders"));
        syncWait(session->read(BrokerSession::Position::atBeginning(), 30, false));
        QVERIFY(session->messages().isEmpty());
        QVERIFY(!session->reachedEnd());
        QCOMPARE(session->unreadPartitions(), (QList<int32_t>{0, 1}));
        QVERIFY(!session->lostConnection());
    }

    void aLateReadNeverShowsAnotherTopicsMessages()
    {
        Fixture f({topic("a", {{0, 1}}), topic("b", {{0, 1}})});
        f.clients->kafka->held["a"][0] = {message("a", 0, 0, 1)};
        f.clients->kafka->held["b"][0] = {message("b", 0, 0, 1)};
        auto gate = f.clients->kafka->gates.hold("page a 0");
        f.session->setSelectedTopic(QString("a"));
        auto readingA = f.session->readLatest();
        QVERIFY(f.session->isLoadingMessages());

        f.session->setSelectedTopic(QString("b"));
        syncWait(f.session->readLatest());
        QCOMPARE(f.ids(), QStringList{"b/0/0"});
        gate->release();
        syncWait(std::move(readingA));
        QCOMPARE(f.ids(), QStringList{"b/0/0"});
        QVERIFY(!f.session->isLoadingMessages());

        // The selection moves away with no newer read (to no topic, which reads nothing): the late
        // result is dropped all the same, and the loading flag still comes down.
        auto again = f.clients->kafka->gates.hold("page a 0");
        f.session->setSelectedTopic(QString("a"));
        auto late = f.session->readLatest();
        f.session->setSelectedTopic(std::nullopt);
        again->release();
        syncWait(std::move(late));
        QVERIFY(f.session->messages().isEmpty());
        QVERIFY(!f.session->isLoadingMessages());
    }

    void aReadBeforeTheWatermarksAreKnownAsksForThem()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>{topic("orders", {{0, 2}, {0, 0}})};
        clients->kafka->held["orders"][0] = {message("orders", 0, 0, 1), message("orders", 0, 1, 2)};
        auto marks = clients->kafka->gates.hold("watermarks orders");
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        auto connecting = session.connectBroker();
        QTRY_VERIFY(session.topicsListed());
        // Listed, watermarks still on their way: every partition reads 0..0 for now.
        session.setSelectedTopic(QString("orders"));
        auto reading = session.readLatest();
        marks->release();
        syncWait(std::move(reading));
        syncWait(std::move(connecting));
        QCOMPARE(session.messages().size(), 2);
        QCOMPARE(clients->kafka->calls.filter("page ").size(), 1); // the empty partition is still skipped
    }

    void pagingAndDecodingFactsBelongToTheirRead()
    {
        Broker broker = kafkaBroker();
        broker.schemaRegistryURL = "http://registry";
        Fixture f({topic("a", {{0, 2}}), topic("b", {{0, 5}})}, broker);
        f.clients->registry = std::make_shared<FakeRegistry>();
        syncWait(f.session->connectBroker());
        f.clients->kafka->held["a"][0] = {message("a", 0, 0, 1, avro(9)), message("a", 0, 1, 2)};
        for (int i = 0; i < 5; ++i)
            f.clients->kafka->held["b"][0].append(message("b", 0, i, 10 + i));

        // A superseded read's decoding failures are not facts of the read that is shown.
        auto gate = f.clients->kafka->gates.hold("page a 0");
        f.session->setSelectedTopic(QString("a"));
        auto late = f.session->readLatest();
        f.session->setSelectedTopic(QString("b"));
        syncWait(f.session->read(BrokerSession::Position::atTail(), 2, false));
        gate->release();
        syncWait(std::move(late));
        QVERIFY(f.session->unobservable().isEmpty());
        QCOMPARE(f.ids(), (QStringList{"b/0/4", "b/0/3"}));

        // "Read further" on another topic does not go on from b's offsets: it reads a afresh.
        f.session->setSelectedTopic(QString("a"));
        f.clients->kafka->calls.clear();
        syncWait(f.session->read(BrokerSession::Position::atTail(), 2, true));
        QCOMPARE(f.pageCalls(), QStringList{"page a 0 tail 2 limit 2"});
        QCOMPARE(f.ids(), (QStringList{"a/0/1", "a/0/0"}));
        QCOMPARE(f.session->unobservable().size(), 1); // this read's own failure is a fact
    }

    void aReadFinishingAfterTheSessionIsGoneTouchesNothing()
    {
        Fixture f({topic("a", {{0, 1}})});
        f.clients->kafka->held["a"][0] = {message("a", 0, 0, 1)};
        auto gate = f.clients->kafka->gates.hold("page a 0");
        f.session->setSelectedTopic(QString("a"));
        auto reading = f.session->readLatest();
        f.session.reset();
        gate->release();
        syncWait(std::move(reading));
    }

    void avroPayloadsAreDecodedThroughTheRegistry()
    {
        Broker broker = kafkaBroker();
        auto clients = std::make_shared<FakeFactory>();
        Fixture plain({topic("t", {{0, 2}})});
        plain.clients->kafka->held["t"][0] = {message("t", 0, 0, 1, avro(1)), message("t", 0, 1, 2, "{}")};
        plain.session->setSelectedTopic(QString("t"));
        syncWait(plain.session->readLatest());
        QCOMPARE(plain.session->unobservable().size(), 1);
        QCOMPARE(plain.session->unobservable()[0].subject, QString("Avro payloads"));
        QVERIFY(!plain.session->messages().last().decoded());

        broker.schemaRegistryURL = "http://registry";
        Fixture f({topic("t", {{0, 6}})}, broker);
        // (The fixture connected without a registry; connect again with one.)
        f.clients->registry = std::make_shared<FakeRegistry>();
        f.clients->registry->answers.insert(1, QByteArray("{\"ok\":true}"));
        f.clients->registry->answers.insert(2, QString("A"));
        f.clients->registry->answers.insert(3, QString("B"));
        f.clients->registry->answers.insert(4, QString("C"));
        syncWait(f.session->connectBroker());
        auto& held = f.clients->kafka->held["t"][0];
        held = {message("t", 0, 0, 1, avro(1)), message("t", 0, 1, 2, avro(2)), message("t", 0, 2, 3, avro(2)),
                message("t", 0, 3, 4, avro(2)), message("t", 0, 4, 5, avro(3)), message("t", 0, 5, 6, avro(4))};
        f.session->setSelectedTopic(QString("t"));
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 10, false));
        QCOMPARE(f.clients->registry->decodes, 6);
        const QList<Message>& messages = f.session->messages();
        QCOMPARE(messages.last().decoded()->json, QByteArray("{\"ok\":true}"));
        QCOMPARE(messages.first().decodeFailure(), std::optional<QString>("C"));
        // The two most frequent failures become facts; the third is carried by its message only.
        QCOMPARE(f.session->unobservable().size(), 2);
        QCOMPARE(f.session->unobservable()[0], (Unobservable{"3 Avro messages", "A"}));
        QCOMPARE(f.session->unobservable()[1].subject, QString("1 Avro message"));
    }

    void aRabbitReadLeftBehindNeverHoldsTheLoadingFlagUp()
    {
        auto clients = std::make_shared<FakeFactory>();
        const Broker broker = rabbitBroker();
        clients->rabbit = std::make_shared<FakeRabbit>(broker);
        clients->rabbit->listing = {{topic("q1"), topic("q2")}, {}};
        clients->rabbit->queued = {message("q1", 0, 0, std::nullopt, "one")};
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());
        session.setAcceptedRabbitReadCost(true);

        // q1 is being read when the user moves to q2, and on to a group before q2's bindings arrive.
        auto reading = clients->rabbit->gates.hold("read q1");
        session.setSelectedTopic(QString("q1"));
        auto first = session.readLatest();
        QVERIFY(session.isLoadingMessages());
        auto binding = clients->rabbit->gates.hold("bindings q2");
        session.setSelectedTopic(QString("q2"));
        auto second = session.readLatest();
        session.setSelectedGroup(QString("g"));
        binding->release();
        syncWait(std::move(second));
        reading->release();
        syncWait(std::move(first));
        QVERIFY(!session.isLoadingMessages());
        QVERIFY(session.messages().isEmpty());

        // The same when the newest read stops for want of consent.
        auto again = clients->rabbit->gates.hold("read q1");
        session.setSelectedTopic(QString("q1"));
        auto third = session.readLatest();
        QVERIFY(session.isLoadingMessages());
        session.setAcceptedRabbitReadCost(false);
        syncWait(session.readLatest());
        QVERIFY(!session.isLoadingMessages());
        again->release();
        syncWait(std::move(third));
        QVERIFY(!session.isLoadingMessages());
        QVERIFY(session.messages().isEmpty());
    }

    void aTopicWithoutPartitionsReadsAsEmpty()
    {
        Fixture f({topic("bare")});
        f.session->setSelectedTopic(QString("bare"));
        syncWait(f.session->read(BrokerSession::Position::atBeginning(), 100, false));
        QVERIFY(f.pageCalls().isEmpty());
        QVERIFY(f.session->messages().isEmpty());
        QVERIFY(f.session->reachedEnd());
        QCOMPARE(f.session->pagesRead(), 1);
        QCOMPARE(f.session->position(), BrokerSession::Position::atBeginning());
        QVERIFY(!f.session->isLoadingMessages());
    }

    void rabbitReadsWaitForConsent()
    {
        auto clients = std::make_shared<FakeFactory>();
        const Broker broker = rabbitBroker();
        clients->rabbit = std::make_shared<FakeRabbit>(broker);
        Topic queue = topic("jobs");
        queue.declaredDepth = 2;
        clients->rabbit->listing = {{queue}, {{"jobs", 1}}};
        clients->rabbit->queueBindings = {{"events", "jobs.#"}};
        clients->rabbit->queued = {message("jobs", 0, 0, std::nullopt, "one"),
                                   message("jobs", 0, 1, std::nullopt, "two")};
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());
        session.setSelectedTopic(QString("jobs"));
        QSignalSpy loading(&session, &BrokerSession::isLoadingMessagesChanged);
        syncWait(session.readLatest());
        QCOMPARE(session.bindings(), (QList<QueueBinding>{{"events", "jobs.#"}}));
        QVERIFY(session.messages().isEmpty());
        QCOMPARE(loading.count(), 0);
        QVERIFY(!clients->rabbit->calls.join(',').contains("read"));

        const qint64 disturbed = tally(Prefs::messagesDisturbed);
        session.setAcceptedRabbitReadCost(true);
        syncWait(session.read(BrokerSession::Position::atBeginning(), 100, true));
        // Server order, always a single page from the tail.
        QCOMPARE(session.messages().first().id(), QString("jobs/0/0"));
        QCOMPARE(session.position(), BrokerSession::Position::atTail());
        QCOMPARE(session.pagesRead(), 1);
        QVERIFY(session.reachedEnd());
        QCOMPARE(tally(Prefs::messagesDisturbed), disturbed + 2);

        // The same queue read again publishes nothing new, but the requeued messages count again.
        QSignalSpy messagesChanged(&session, &BrokerSession::messagesChanged);
        QSignalSpy positionChanged(&session, &BrokerSession::positionChanged);
        QSignalSpy pagesChanged(&session, &BrokerSession::pagesReadChanged);
        QSignalSpy bindingsChanged(&session, &BrokerSession::bindingsChanged);
        syncWait(session.readLatest());
        QCOMPARE(messagesChanged.count(), 0);
        QCOMPARE(positionChanged.count(), 0);
        QCOMPARE(pagesChanged.count(), 0);
        QCOMPARE(bindingsChanged.count(), 0);
        QCOMPARE(tally(Prefs::messagesDisturbed), disturbed + 4);

        // A read the server received but whose answer was lost counts what it most likely took:
        // the queue's declared depth, within the limit.
        clients->rabbit->readError = KafkaError(RabbitClient::uncertainCode, "the answer was lost");
        syncWait(session.readLatest());
        QCOMPARE(tally(Prefs::messagesDisturbed), disturbed + 6);
        clients->rabbit->readError = KafkaError(-1, "refused before reading");
        syncWait(session.readLatest());
        QCOMPARE(tally(Prefs::messagesDisturbed), disturbed + 6);
        // The node gone after it received the read: a possible disturbance and a lost connection.
        clients->rabbit->readError = KafkaError(-195, "the node went away mid-read", true);
        syncWait(session.readLatest());
        QCOMPARE(tally(Prefs::messagesDisturbed), disturbed + 8);
        QCOMPARE(session.lostConnection(), std::optional<QString>("the node went away mid-read"));

        clients->rabbit->readError = KafkaError(-195, "the server did not answer");
        clients->rabbit->bindingsError = KafkaError(500, "boom");
        syncWait(session.readLatest());
        QVERIFY(session.bindings().isEmpty());
        QCOMPARE(session.lostConnection(), std::optional<QString>("the server did not answer"));
        QCOMPARE(session.messages().size(), 2);
        QVERIFY(!session.isLoadingMessages());
    }

    void rabbitReadsShowOnlyTheSelectedQueueAndWhatAReadCosts()
    {
        auto clients = std::make_shared<FakeFactory>();
        const Broker broker = rabbitBroker();
        clients->rabbit = std::make_shared<FakeRabbit>(broker);
        clients->rabbit->listing = {{topic("jobs"), topic("limited"), topic("votes")}, {}};
        clients->rabbit->queued = {message("jobs", 0, 0, std::nullopt, "one")};
        RabbitClient::QueueReadCost limited;
        limited.type = "quorum";
        limited.deliveryLimit = 2;
        clients->rabbit->costs.insert("limited", limited);
        RabbitClient::QueueReadCost votes;
        votes.type = "quorum";
        clients->rabbit->costs.insert("votes", votes);
        BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());

        // Before consent the pane learns what a read would cost, and nothing is read.
        session.setSelectedTopic(QString("limited"));
        syncWait(session.readLatest());
        QVERIFY(session.queueReadRefusal("limited"));
        QVERIFY(session.queueReadRefusal("limited")->contains("delivery limit of 2"));
        QVERIFY(!session.queueReadRaisesDeliveryCount("limited"));
        session.setSelectedTopic(QString("votes"));
        syncWait(session.readLatest());
        QVERIFY(!session.queueReadRefusal("votes"));
        QVERIFY(session.queueReadRaisesDeliveryCount("votes"));

        // After consent a refused queue is still never read; the refusal becomes a fact.
        session.setAcceptedRabbitReadCost(true);
        session.setSelectedTopic(QString("jobs"));
        syncWait(session.readLatest());
        QCOMPARE(session.messages().size(), 1);
        session.setSelectedTopic(QString("limited"));
        clients->rabbit->calls.clear();
        syncWait(session.readLatest());
        QVERIFY(clients->rabbit->calls.filter("read ").isEmpty());
        QVERIFY(session.messages().isEmpty());
        QCOMPARE(session.unobservable().last().subject, QString("limited"));

        // A failed read of another queue leaves the list empty, never the previous queue's messages.
        session.setSelectedTopic(QString("jobs"));
        syncWait(session.readLatest());
        QCOMPARE(session.messages().size(), 1);
        clients->rabbit->readError = KafkaError(500, "boom");
        session.setSelectedTopic(QString("votes"));
        syncWait(session.readLatest());
        QVERIFY(session.messages().isEmpty());

        // A publish whose answer was lost is neither done nor refused.
        clients->rabbit->publishError = KafkaError(RabbitClient::uncertainCode, "may have been filed");
        const AppOutcome outcome = syncWait(session.produce("jobs", std::nullopt, "x", "why"));
        QCOMPARE(outcome.which(), AppOutcome::uncertain);
        QCOMPARE(outcome.sentence(), QString("may have been filed"));

        // A queue deleted since the listing says so and leaves the listing.
        clients->rabbit->readError = KafkaError(RabbitClient::goneCode, "the queue is gone");
        clients->rabbit->listing.queues.removeFirst();
        session.setSelectedTopic(QString("jobs"));
        syncWait(session.readLatest());
        QCOMPARE(session.unobservable().last(), (Unobservable{"jobs", "the queue is gone"}));
        QCOMPARE(session.topics().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestBrokerSessionReading)
#include "tst_BrokerSessionReading.moc"
