#include "support/SessionFakes.h"
#include "support/FakeTools.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/analysis/GroupVerdict.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

struct Fixture : Rig {
    explicit Fixture(Broker broker = kafkaBroker())
    {
        clients->kafka->listed = QList<Topic>{topic("orders", {{0, 8}, {0, 7}, {0, 3}})};
        clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}, {"audit", "Empty", false}};
        if (broker.kind == BrokerKind::rabbitmq) {
            clients->rabbit = std::make_shared<FakeRabbit>(broker);
            Topic queue = topic("orders");
            queue.declaredDepth = 0;
            clients->rabbit->listing = {{queue}, {}};
        }
        session = connectedSession(clients, broker);
    }
};

// A writer whose state check waits at a gate: a move held just after its first suspension.
class CheckHeldWriter : public FakeWriter {
public:
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    QCoro::Task<QString> groupState(QString group, int32_t timeoutMs) override
    {
        std::shared_ptr<Gate> held = gate;
        co_await held->wait();
        co_return co_await FakeWriter::groupState(group, timeoutMs);
    }
};

GroupDescription description(const QString& id)
{
    GroupMember member;
    member.id = "member-1";
    member.host = "/10.0.0.1";
    member.assigned = {{"orders", 0}};
    return GroupDescription{id, "Stable", "range", QString("broker:9092"), {member}};
}

} // namespace

class TestBrokerSessionActions : public QObject {
    Q_OBJECT
private slots:
    void groupDetailWithItsBlindSpots()
    {
        Fixture f;
        f.clients->kafka->descriptions.insert("billing", description("billing"));
        f.clients->kafka->commits.insert("billing", {{{"orders", 0}, 5}, {{"orders", 1}, 10}});
        f.session->setSelectedGroup(QString("billing"));
        QSignalSpy loading(f.session.get(), &BrokerSession::isLoadingGroupChanged);
        syncWait(f.session->loadGroupDetail());
        QCOMPARE(loading.count(), 2);
        QVERIFY(f.session->groupDetail());
        QCOMPARE(f.session->groupDetail()->assignor, QString("range"));
        QCOMPARE(f.session->groupDetail()->positions.size(), 2);
        QCOMPARE(f.session->groupDetail()->positions[0].heldBy, std::optional<QString>("member-1"));
        QCOMPARE(f.session->groupDetail()->positions[1].end, std::optional<int64_t>(7));
        QVERIFY(f.session->groupBlindSpots().isEmpty());
        // The offsets follow the description.
        QCOMPARE(f.clients->kafka->calls.mid(f.clients->kafka->calls.indexOf("describe billing"), 2),
                 (QStringList{"describe billing", "committed billing"}));

        // A listed group whose description fails keeps its listed state, without members.
        f.clients->kafka->describeErrors.insert("billing", KafkaError(-1, "describing billing: empty result"));
        f.clients->kafka->committedErrors.insert("billing", KafkaError(-1, "reading billing's offsets: empty result"));
        syncWait(f.session->loadGroupDetail());
        QCOMPARE(f.session->groupDetail()->state, QString("Stable"));
        QVERIFY(f.session->groupDetail()->members.isEmpty());
        QVERIFY(f.session->groupDetail()->positions.isEmpty());
        QCOMPARE(f.session->groupBlindSpots(),
                 (QList<Unobservable>{{"Members", "describing billing: empty result"},
                                      {"Committed offsets", "reading billing's offsets: empty result"}}));

        // A group that is not listed fails as a whole and clears the previous group's blind spots.
        f.clients->kafka->describeErrors.insert("ghost",
                                                KafkaError(-1, "describing ghost: the broker returned no description"));
        f.session->setSelectedGroup(QString("ghost"));
        syncWait(f.session->loadGroupDetail());
        QCOMPARE(f.session->groupFailure(),
                 std::optional<QString>("describing ghost: the broker returned no description"));
        QVERIFY(!f.session->groupDetail());
        QVERIFY(f.session->groupBlindSpots().isEmpty());
        QVERIFY(!f.session->lostConnection());
        QVERIFY(!f.session->isLoadingGroup());
    }

    // A broker that stopped answering: a lost connection after one time-out, and positions that
    // are unknown, never a group that never committed.
    void groupRequestsThatTimeOutAreALostConnection()
    {
        Fixture f;
        const KafkaError silent(-185, "describing billing: the broker at b:9092 did not answer within 10 s");
        f.clients->kafka->describeErrors.insert("billing", silent);
        f.clients->kafka->commits.insert("billing", {{{"orders", 0}, 5}});
        f.session->setSelectedGroup(QString("billing"));
        const qsizetype before = f.clients->kafka->calls.size();
        syncWait(f.session->loadGroupDetail());
        // The offsets would only wait out the same time-out.
        QVERIFY(!f.clients->kafka->calls.mid(before).contains("committed billing"));
        QCOMPARE(f.session->lostConnection(), std::optional<QString>(silent.message()));
        QVERIFY(!f.session->isConnected());
        QVERIFY(f.session->groupDetail()->positionsUnknown);
        QCOMPARE(GroupVerdict::verdict(*f.session->groupDetail()), GroupVerdict::cannotSee(0));
        QCOMPARE(f.session->groupBlindSpots().size(), 2);

        // Offsets refused (not a lost connection) are unknown too, and the connection stands.
        f.session->setLostConnection(std::nullopt);
        f.clients->kafka->describeErrors.clear();
        f.clients->kafka->descriptions.insert("billing", description("billing"));
        f.clients->kafka->committedErrors.insert(
            "billing", KafkaError(30, "reading billing's offsets: Broker: Group authorization failed"));
        syncWait(f.session->loadGroupDetail());
        QVERIFY(!f.session->lostConnection());
        QCOMPARE(GroupVerdict::verdict(*f.session->groupDetail()), GroupVerdict::cannotSee(0));
        QCOMPARE(f.session->groupBlindSpots(),
                 (QList<Unobservable>{
                     {"Committed offsets", "reading billing's offsets: Broker: Group authorization failed"}}));
        // Offsets that time out after the description answered.
        f.clients->kafka->committedErrors.insert("billing", KafkaError(-185, "reading billing's offsets: timed out"));
        syncWait(f.session->loadGroupDetail());
        QCOMPARE(f.session->lostConnection(), std::optional<QString>("reading billing's offsets: timed out"));

        // The lag strip's measurement: a time-out is a lost connection, a refusal only no number.
        f.session->setLostConnection(std::nullopt);
        f.session->setSelectedTopic(QString("orders"));
        f.clients->kafka->offsetsError = KafkaError(30, "reading committed offsets for billing: refused");
        QCOMPARE(syncWait(f.session->groupOffsets("billing")), std::optional<int64_t>());
        QVERIFY(!f.session->lostConnection());
        f.clients->kafka->offsetsError = KafkaError(-185, "reading committed offsets for billing: timed out");
        QCOMPARE(syncWait(f.session->groupOffsets("billing")), std::optional<int64_t>());
        QCOMPARE(f.session->lostConnection(),
                 std::optional<QString>("reading committed offsets for billing: timed out"));
    }

    void aGroupNeverShowsAnotherGroupsLateDetail()
    {
        Fixture f;
        f.clients->kafka->describeErrors.insert("billing", KafkaError(-1, "slow and failing"));
        f.clients->kafka->descriptions.insert("audit", description("audit"));
        auto gate = f.clients->kafka->gates.hold("committed billing");
        f.session->setSelectedGroup(QString("billing"));
        auto slow = f.session->loadGroupDetail();
        f.session->setSelectedGroup(QString("audit"));
        syncWait(f.session->loadGroupDetail());
        QCOMPARE(f.session->groupDetail()->id, QString("audit"));
        gate->release();
        syncWait(std::move(slow));
        QCOMPARE(f.session->groupDetail()->id, QString("audit"));
        QVERIFY(f.session->groupBlindSpots().isEmpty());
        QVERIFY(!f.session->isLoadingGroup());
    }

    void groupDetailOnRabbitClearsAndStops()
    {
        Fixture f(rabbitBroker());
        f.session->setSelectedGroup(QString("g"));
        syncWait(f.session->loadGroupDetail());
        QVERIFY(!f.session->groupDetail());
        QVERIFY(!f.session->isLoadingGroup());
        QCOMPARE(syncWait(f.session->groupOffsets("g")), std::optional<int64_t>());
    }

    void aGroupIsMeasuredAgainstEndsReadWithItsPositions()
    {
        Fixture f;
        f.session->setSelectedTopic(QString("orders"));
        // The topic kept growing after the listing (ends 8, 7, 3); the group read past those ends.
        f.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 40}, {0, 7}, {0, 3}})};
        f.clients->kafka->descriptions.insert("billing", description("billing"));
        f.clients->kafka->commits.insert("billing", {{{"orders", 0}, 30}, {{"orders", 1}, 7}});
        // The lag strip, on the selected topic, measures against ends read after the positions too.
        QCOMPARE(syncWait(f.session->groupOffsets("billing")), std::optional<int64_t>(10));
        f.session->setSelectedGroup(QString("billing"));
        syncWait(f.session->loadGroupDetail());
        const ConsumerGroupDetail& detail = *f.session->groupDetail();
        QCOMPARE(detail.positions[0].end, std::optional<int64_t>(40));
        QVERIFY(!detail.positions[0].isPastEnd());
        QCOMPARE(detail.lag().known, 10);
        QCOMPARE(GroupVerdict::verdict(detail).tag(), GroupVerdict::Case::behind);

        // A partition whose ends would not read has an unknown lag, and the verdict claims nothing.
        Topic failing = topic("orders", {{0, 40}, {0, 7}, {0, 3}});
        failing.partitions[0].error = "leader not available";
        f.clients->kafka->listed = QList<Topic>{failing};
        f.clients->kafka->commits.insert("billing", {{{"orders", 0}, 500}, {{"orders", 1}, 7}});
        syncWait(f.session->loadGroupDetail());
        const ConsumerGroupDetail& blind = *f.session->groupDetail();
        QVERIFY(!blind.positions[0].end && !blind.positions[0].isPastEnd());
        QCOMPARE(blind.lag(), (ConsumerGroupDetail::Lag{0, 1}));
        QCOMPARE(GroupVerdict::verdict(blind).tag(), GroupVerdict::Case::cannotSee);

        // Ends that cannot be read at all are unknown, never the listing's.
        f.clients->kafka->watermarkErrors.insert("orders", KafkaError(-1, "timed out"));
        syncWait(f.session->loadGroupDetail());
        QVERIFY(!f.session->groupDetail()->positions[1].end);

        // A lag strip whose partition's end would not read shows no number rather than a wrong one.
        f.clients->kafka->watermarkErrors.clear();
        f.session->setSelectedTopic(QString("orders"));
        QCOMPARE(syncWait(f.session->groupOffsets("billing")), std::optional<int64_t>());
    }

    void groupLagOnTheCurrentTopic()
    {
        Fixture f;
        f.session->setSelectedTopic(QString("orders"));
        f.clients->kafka->commits.insert("billing", {{{"orders", 0}, 5}, {{"orders", 1}, 10}});
        QCOMPARE(syncWait(f.session->groupOffsets("billing")), std::optional<int64_t>(3));
        QCOMPARE(syncWait(f.session->groupOffsets("nobody")), std::optional<int64_t>());
        f.clients->kafka->offsetsError = KafkaError(-1, "no");
        QCOMPARE(syncWait(f.session->groupOffsets("billing")), std::optional<int64_t>());

        // Wild watermarks from the broker: the sum sticks at the 64-bit limit, a negative end counts 0.
        const int64_t most = std::numeric_limits<int64_t>::max();
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed =
            QList<Topic>{topic("huge", {{0, most}, {0, most}, {0, std::numeric_limits<int64_t>::min()}})};
        clients->kafka->commits.insert("g", {{{"huge", 0}, 0}, {{"huge", 1}, 0}, {{"huge", 2}, 5}});
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
        syncWait(session.connectBroker());
        session.setSelectedTopic(QString("huge"));
        QCOMPARE(syncWait(session.groupOffsets("g")), std::optional<int64_t>(most));
    }

    void produceGoesByTheBrokersKind()
    {
        Fixture kafka;
        kafka.session->setSelectedTopic(QString("orders"));
        AppOutcome outcome = syncWait(kafka.session->produce("orders", QString(""), "{}", "fix the total"));
        QCOMPARE(outcome, AppOutcome::makeDone("Filed on \u2068orders\u2069. The broker acknowledged it."));
        QCOMPARE(kafka.clients->writer->produced.size(), 1);
        QVERIFY(!kafka.clients->writer->produced[0].key);
        QVERIFY(!kafka.clients->writer->produced[0].partition);
        QCOMPARE(kafka.clients->writer->produced[0].reason, QString("fix the total"));
        // The newest messages were read again.
        QVERIFY(kafka.clients->kafka->calls.last().startsWith("page orders"));

        syncWait(kafka.session->produce("orders", QString("k1"), "", "again"));
        QCOMPARE(kafka.clients->writer->produced[1].key, std::optional<QByteArray>("k1"));
        QCOMPARE(kafka.clients->writer->produced[1].payload, QByteArray(""));

        kafka.clients->writer->produceError = KafkaError(-185, "no acknowledgement within 10000 ms");
        outcome = syncWait(kafka.session->produce("orders", std::nullopt, "{}", "r"));
        QCOMPARE(outcome, AppOutcome::makeRefused("no acknowledgement within 10000 ms"));
        QVERIFY(!kafka.session->lostConnection());
        kafka.clients->writerError = KafkaError(-1, "could not make a producer");
        outcome = syncWait(kafka.session->produce("orders", std::nullopt, "{}", "r"));
        QCOMPARE(outcome, AppOutcome::makeRefused("could not make a producer"));

        Fixture rabbit(rabbitBroker());
        outcome = syncWait(rabbit.session->produce("orders", QString("ignored"), "payload", "replay"));
        QVERIFY(outcome.isDone());
        QCOMPARE(rabbit.clients->writersMade, 0);
        QCOMPARE(rabbit.clients->rabbit->published.size(), 1);
        QCOMPARE(rabbit.clients->rabbit->published[0].mandate, QString("replay"));
        QVERIFY(rabbit.clients->rabbit->published[0].headers.isEmpty());

        // Without a connection nothing is filed anywhere.
        rabbit.session->disconnectBroker();
        outcome = syncWait(rabbit.session->produce("orders", std::nullopt, "payload", "r"));
        QVERIFY(!outcome.isDone());
        QCOMPARE(rabbit.clients->writersMade, 0);
    }

    void aFilingRefreshesTheCountsItChanged()
    {
        Fixture kafka;
        kafka.session->setSelectedTopic(QString("orders"));
        QCOMPARE(kafka.session->topics().first().retained(), 18);
        kafka.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 9}, {0, 7}, {0, 3}})};
        QVERIFY(syncWait(kafka.session->produce("orders", std::nullopt, "{}", "r")).isDone());
        QCOMPARE(kafka.session->topics().first().retained(), 19);

        Fixture rabbit(rabbitBroker());
        rabbit.clients->rabbit->listing.queues[0].declaredDepth = 1;
        QVERIFY(syncWait(rabbit.session->produce("orders", std::nullopt, "{}", "r")).isDone());
        QCOMPARE(rabbit.session->topics().first().retained(), 1);

        // The node counts its queues every few seconds: a listing that still shows the old depth is
        // followed until the count includes the filing.
        QVERIFY(syncWait(rabbit.session->produce("orders", std::nullopt, "{}", "r")).isDone());
        QCOMPARE(rabbit.session->topics().first().retained(), 1);
        rabbit.clients->rabbit->listing.queues[0].declaredDepth = 2;
        QTRY_COMPARE_WITH_TIMEOUT(rabbit.session->topics().first().retained(), 2, 5000);
        const int asked = rabbit.clients->rabbit->depthAsks;
        QTest::qWait(1500);
        QCOMPARE(rabbit.clients->rabbit->depthAsks, asked);

        // A node gone mid-publish: the message may have been filed, and the connection is lost.
        rabbit.clients->rabbit->publishError = KafkaError(-195, "gone mid-publish", true);
        QCOMPARE(syncWait(rabbit.session->produce("orders", std::nullopt, "{}", "r")),
                 AppOutcome::makeUncertain("gone mid-publish"));
        QCOMPARE(rabbit.session->lostConnection(), std::optional<QString>("gone mid-publish"));
    }

    void aWriteWithoutAnAnswerIsUncertain()
    {
        Fixture f;
        f.session->setSelectedTopic(QString("orders"));
        f.clients->writer->produceError = KafkaError(-185, "no answer — delivery is uncertain", true);
        QCOMPARE(syncWait(f.session->produce("orders", std::nullopt, "{}", "r")),
                 AppOutcome::makeUncertain("no answer — delivery is uncertain"));
        f.clients->writer->resetError = KafkaError(-185, "no answer — the change is uncertain", true);
        QCOMPARE(syncWait(f.session->resetOffsets("audit", f.session->topics().first(), 0, "r")),
                 AppOutcome::makeUncertain("no answer — the change is uncertain"));
    }

    // Each write path, with the tab closed while the broker still has the write.
    void aWriteOutlivesItsClosedSession()
    {
        const KafkaError lost(-185, "the answer never came", true);
        {
            Fixture f;
            auto held = std::make_shared<HeldWriter>();
            held->produceError = KafkaError(10, "producing to orders: Broker: Message size too large");
            f.clients->writer = held;
            auto filing = f.session->produce("orders", std::nullopt, "{}", "fix");
            f.session.reset();
            held->gate->release();
            QCOMPARE(syncWait(std::move(filing)),
                     AppOutcome::makeRefused("producing to orders: Broker: Message size too large"));
        }
        {
            Fixture f;
            auto held = std::make_shared<HeldWriter>();
            held->produceError = lost;
            f.clients->writer = held;
            auto filing = f.session->produce("orders", std::nullopt, "{}", "fix");
            f.session.reset();
            held->gate->release();
            QCOMPARE(syncWait(std::move(filing)), AppOutcome::makeUncertain("the answer never came"));
        }
        {
            Fixture f(rabbitBroker());
            auto gate = f.clients->rabbit->gates.hold("publish orders");
            f.clients->rabbit->publishError = KafkaError(RabbitClient::uncertainCode, "the answer was lost");
            auto filing = f.session->produce("orders", std::nullopt, "{}", "fix");
            f.session.reset();
            gate->release();
            QCOMPARE(syncWait(std::move(filing)), AppOutcome::makeUncertain("the answer was lost"));
        }
        {
            Fixture f(rabbitBroker());
            auto gate = f.clients->rabbit->gates.hold("publish orders");
            auto filing = f.session->produce("orders", std::nullopt, "{}", "fix");
            f.session.reset();
            gate->release();
            QVERIFY(syncWait(std::move(filing)).isDone());
        }
        for (const bool fails : {true, false}) {
            Fixture f;
            auto held = std::make_shared<HeldWriter>();
            if (fails)
                held->resetError = lost;
            f.clients->writer = held;
            f.session->setSelectedGroup(QString("audit"));
            auto moving = f.session->resetOffsets("audit", f.session->topics().first(), 0, "r");
            f.session.reset();
            held->gate->release();
            QCOMPARE(syncWait(std::move(moving)).which(), fails ? AppOutcome::uncertain : AppOutcome::done);
        }
    }

    // A move to each partition's start reads the starts after its state check, through the reader
    // it began with, whether the tab closed or connected anew meanwhile.
    void aMoveHeldAtItsCheckNeedsNothingMoreOfItsSession()
    {
        for (const bool closes : {true, false}) {
            Fixture f;
            f.clients->kafka->listed = QList<Topic>{topic("orders", {{4, 8}, {2, 7}, {0, 3}})};
            auto held = std::make_shared<CheckHeldWriter>();
            f.clients->writer = held;
            const std::shared_ptr<FakeKafka> first = f.clients->kafka;
            const qsizetype asked = first->calls.count("watermarks orders");
            auto moving = f.session->resetOffsets("audit", f.session->topics().first(), std::nullopt, "r");
            if (closes) {
                f.session.reset();
            } else {
                f.session->disconnectBroker();
                f.clients->kafka = std::make_shared<FakeKafka>();
                syncWait(f.session->connectBroker());
            }
            held->gate->release();
            QVERIFY(syncWait(std::move(moving)).isDone());
            QCOMPARE(first->calls.count("watermarks orders"), asked + 1);
            QCOMPARE(held->resets.last().partitions, (QMap<int32_t, int64_t>{{0, 4}, {1, 2}, {2, 0}}));
        }
    }

    void resetMovesEveryPartitionAndReloadsOnlyTheSelectedGroup()
    {
        Fixture f;
        f.clients->kafka->descriptions.insert("audit", description("audit"));
        AppOutcome outcome = syncWait(f.session->resetOffsets("audit", std::nullopt, 0, "replay"));
        QCOMPARE(outcome, AppOutcome::makeRefused("no topic selected"));

        f.session->setSelectedGroup(QString("billing"));
        const Topic orders = f.session->topics().first();
        outcome = syncWait(f.session->resetOffsets("audit", orders, 0, "replay"));
        QCOMPARE(outcome, AppOutcome::makeDone("\u2068audit\u2069 will resume from offset 0."));
        const FakeWriter::Reset& reset = f.clients->writer->resets.last();
        QCOMPARE(reset.partitions, (QMap<int32_t, int64_t>{{0, 0}, {1, 0}, {2, 0}}));
        QCOMPARE(reset.force, false);
        QCOMPARE(reset.timeoutMs, 15000);
        QVERIFY(!f.clients->kafka->calls.contains("describe audit"));

        f.session->setSelectedGroup(QString("audit"));
        syncWait(f.session->resetOffsets("audit", orders, 12, "replay"));
        QVERIFY(f.clients->kafka->calls.contains("describe audit"));
        QCOMPARE(f.session->groupDetail()->id, QString("audit"));

        f.clients->writer->resetError = KafkaError(-1, "billing is Stable; stop its consumers first");
        outcome = syncWait(f.session->resetOffsets("billing", orders, 1, "r"));
        QCOMPARE(outcome, AppOutcome::makeRefused("billing is Stable; stop its consumers first"));
        f.clients->writerError = KafkaError(-1, "could not make a producer");
        outcome = syncWait(f.session->resetOffsets("billing", orders, 1, "r"));
        QCOMPARE(outcome, AppOutcome::makeRefused("could not make a producer"));
        f.clients->writerError.reset();

        Fixture rabbit(rabbitBroker());
        outcome = syncWait(rabbit.session->resetOffsets("g", orders, 0, "r"));
        QVERIFY(!outcome.isDone());
        QCOMPARE(rabbit.clients->writersMade, 0);

        // A Kafka broker whose tab has lost its connection moves nothing either.
        const int made = f.clients->writersMade;
        f.session->disconnectBroker();
        outcome = syncWait(f.session->resetOffsets("audit", orders, 0, "r"));
        QCOMPARE(outcome, AppOutcome::makeRefused("not connected to this broker"));
        QCOMPARE(f.clients->writersMade, made);
    }

    // A typed offset is checked against the starts read when the move is made, not the sheet's last look.
    void aTypedOffsetBeforeAPartitionsStartMovesNothing()
    {
        Fixture f;
        const Topic listed = f.session->topics().first();
        // Trimmed since the listing: p0 now starts at 30, p1 at 50.
        f.clients->kafka->listed = QList<Topic>{topic("orders", {{30, 80}, {50, 70}, {0, 3}})};
        AppOutcome outcome = syncWait(f.session->resetOffsets("audit", listed, 10, "replay"));
        QCOMPARE(outcome.which(), AppOutcome::refused);
        QVERIFY2(outcome.sentence().startsWith("Before the start of 2 partitions (p0, p1)"),
                 qPrintable(outcome.sentence()));
        QVERIFY(outcome.sentence().contains("Type 50 or more"));
        f.clients->kafka->listed = QList<Topic>{topic("orders", {{30, 80}, {0, 70}, {0, 3}})};
        outcome = syncWait(f.session->resetOffsets("audit", listed, 10, "replay"));
        QVERIFY2(outcome.sentence().startsWith("Before the start of p0, which now begins at 30"),
                 qPrintable(outcome.sentence()));
        // A start that would not read stops a typed move as it does "The beginning".
        f.clients->kafka->listed->first().partitions[2].error = QStringLiteral("leader not available");
        outcome = syncWait(f.session->resetOffsets("audit", listed, 40, "replay"));
        QCOMPARE(outcome,
                 AppOutcome::makeRefused("The start of p2 would not read (leader not available), so nothing "
                                         "was moved."));
        // A negative offset is refused in the interface's words, before anything is asked.
        const qsizetype asked = f.clients->kafka->calls.size();
        outcome = syncWait(f.session->resetOffsets("audit", listed, -1, "replay"));
        QCOMPARE(outcome,
                 AppOutcome::makeRefused("An offset can't be negative. Type 0 or more, or choose “The beginning”."));
        QCOMPARE(f.clients->kafka->calls.size(), asked);
        QVERIFY(f.clients->writer->resets.isEmpty());

        f.clients->kafka->listed = QList<Topic>{topic("orders", {{30, 80}, {50, 70}, {0, 3}})};
        QVERIFY(syncWait(f.session->resetOffsets("audit", listed, 50, "replay")).isDone());
        QCOMPARE(f.clients->writer->resets.last().partitions, (QMap<int32_t, int64_t>{{0, 50}, {1, 50}, {2, 50}}));
    }

    void aClosedSessionHearsNothingMore()
    {
        // A listing still in flight when the tab closes.
        {
            Fixture f;
            auto gate = f.clients->kafka->gates.hold("watermarks orders");
            auto listing = f.session->loadTopics();
            f.session.reset();
            gate->release();
            syncWait(std::move(listing));
            QCOMPARE(f.clients->kafka->calls.last(), QString("watermarks orders"));
        }
        // A connect still listing.
        {
            auto clients = std::make_shared<FakeFactory>();
            auto gate = clients->kafka->gates.hold("topics");
            auto session =
                std::make_unique<BrokerSession>(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, clients);
            auto connecting = session->connectBroker();
            session.reset();
            gate->release();
            syncWait(std::move(connecting));
            QCOMPARE(clients->kafka->calls, QStringList{"topics"});
        }
        // A group load.
        {
            Fixture f;
            f.clients->kafka->descriptions.insert("billing", description("billing"));
            auto gate = f.clients->kafka->gates.hold("committed billing");
            f.session->setSelectedGroup(QString("billing"));
            auto loading = f.session->loadGroupDetail();
            f.session.reset();
            gate->release();
            syncWait(std::move(loading));
        }
        // A file whose reread is still under way: the outcome still reaches the sheet.
        {
            Fixture f;
            f.session->setSelectedTopic(QString("orders"));
            auto gate = f.clients->kafka->gates.hold("page orders 0");
            auto filing = f.session->produce("orders", std::nullopt, "{}", "fix");
            f.session.reset();
            gate->release();
            QCOMPARE(syncWait(std::move(filing)),
                     AppOutcome::makeDone("Filed on \u2068orders\u2069. The broker acknowledged it."));
            // The reread asks for its three partitions' pages at once; nothing is asked after it.
            QCOMPARE(f.clients->kafka->calls.filter("page orders").size(), 3);
        }
    }

    void refusalsSpeakTheChosenLanguage()
    {
        const auto restore = qScopeGuard([] { UserDefaults::standard().remove(L10n::key); });
        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        Fixture f;
        const Topic orders = f.session->topics().first();
        QCOMPARE(syncWait(f.session->resetOffsets("audit", std::nullopt, 0, "replay")),
                 AppOutcome::makeRefused(QStringLiteral("nenhum tópico selecionado")));
        // The broker's own refusal of a group that gained a member after the check.
        Fixture joined;
        joined.clients->writer->resetError = KafkaError(25, "audit: orders/0: Broker: Unknown member");
        QCOMPARE(syncWait(joined.session->resetOffsets("audit", orders, 0, "r")),
                 AppOutcome::makeRefused(QStringLiteral(
                     "O broker se recusou a mover \u2068audit\u2069: um consumidor entrou nele depois da "
                     "checagem, então nada foi movido. Pare os consumidores dele primeiro e depois mova de novo.")));
        // The writer's own check, when a member joined after the session's.
        joined.clients->writer->resetError = KafkaError(KafkaWriting::groupNotEmptyCode,
                                                        "offsets can only be reset while audit is inactive, but it is "
                                                        "Stable. Stop its consumers first");
        QCOMPARE(syncWait(joined.session->resetOffsets("audit", orders, 0, "r")),
                 AppOutcome::makeRefused(QStringLiteral(
                     "O broker se recusou a mover \u2068audit\u2069: um consumidor entrou nele depois da "
                     "checagem, então nada foi movido. Pare os consumidores dele primeiro e depois mova de novo.")));
        // The members of a group of the new consumer protocol, which the client cannot read.
        f.clients->kafka->describeErrors.insert(
            "billing", KafkaError(KafkaReading::membersUnreadableCode, "describing billing: lists it as Stable"));
        f.session->setSelectedGroup(QStringLiteral("billing"));
        syncWait(f.session->loadGroupDetail());
        QCOMPARE(f.session->groupBlindSpots().value(0),
                 (Unobservable{"Membros",
                               "O broker lista ele como \u2068Stable\u2069 mas descreve como Dead, como faz com um "
                               "grupo do novo protocolo de consumo, cujos membros o Tessaron não consegue ler."}));
        f.session->disconnectBroker();
        QCOMPARE(syncWait(f.session->produce("orders", std::nullopt, "payload", "r")),
                 AppOutcome::makeRefused(QStringLiteral("sem conexão com este broker")));
        Fixture rabbit(rabbitBroker());
        QCOMPARE(syncWait(rabbit.session->resetOffsets("g", orders, 0, "r")),
                 AppOutcome::makeRefused(QStringLiteral("só dá pra mover os offsets de um grupo num broker Kafka")));

        // The next lookup after a change of choice is in the new language.
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QCOMPARE(syncWait(f.session->produce("orders", std::nullopt, "payload", "r")),
                 AppOutcome::makeRefused(QStringLiteral("not connected to this broker")));
        QCOMPARE(f.clients->writersMade, 0);
    }

    void askRunsTheToolWithTheTopicsEvidence()
    {
        faketools::removeAll();
        AIProvider::Limits limits;
        limits.runMs = 1500;
        AIProvider::setDefaultLimits(limits);
        Fixture f;
        // No topic: refused before any tool is looked for.
        QCOMPARE(syncWait(f.session->ask("why?")), AppOutcome::makeRefused("no topic selected"));
        f.session->setSelectedTopic(QString("orders"));
        QCOMPARE(syncWait(f.session->ask("why?")), AppOutcome::makeRefused("No AI provider configured."));

        const QString argumentFile = QDir::homePath() + "/prompt.txt";
        faketools::install("claude",
                           QString("printf '%s' \"$2\" > '%1'\nprintf '```text\\nIt is for orders.\\n```\\n'\n")
                               .arg(argumentFile)
                               .toUtf8());
        QCOMPARE(syncWait(f.session->ask("What is this topic for?")), AppOutcome::makeDone("It is for orders."));
        QFile prompt(argumentFile);
        QVERIFY(prompt.open(QIODevice::ReadOnly));
        const QString sent = QString::fromUtf8(prompt.readAll());
        QVERIFY(sent.contains("TOPIC: orders"));
        QVERIFY(sent.contains("CONSUMER GROUPS: billing (Stable), audit (Empty)"));
        QVERIFY(sent.endsWith("QUESTION: What is this topic for?"));
        prompt.close();

        // An oversized question is cut so that the prompt still fits in one argument.
        QVERIFY(syncWait(f.session->ask(QString(400000, 'q'))).isDone());
        QVERIFY(QFileInfo(argumentFile).size() < 128 * 1024);

        faketools::install("claude", "echo 'not signed in' >&2\nexit 3\n");
        QCOMPARE(syncWait(f.session->ask("why?")), AppOutcome::makeRefused("AI CLI failed: not signed in"));

        faketools::install("claude", "sleep 30\n");
        const AppOutcome stuck = syncWait(f.session->ask("why?"));
        QVERIFY(!stuck.isDone());
        QVERIFY(stuck.sentence().contains("2 seconds"));
        faketools::removeAll();
    }
};

QTEST_GUILESS_MAIN(TestBrokerSessionActions)
#include "tst_BrokerSessionActions.moc"
