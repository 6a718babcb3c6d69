// The demo brokers opened the way the application opens them: a profile naming them, a real
// AppState over the live clients, sessions that connect and list. Also checks that the seeded
// data shows what the demo is for (drift, dead letters, skew, a crowded key, Avro, tombstones,
// binary frames), so a change that quietly flattens the demo fails here.
#include "DemoKafka.h"
#include "DemoProfile.h"
#include "DemoRabbit.h"

#include "Tessaron/state/AppState.h"
#include "TessaronCore/analysis/KeyShareEstimate.h"
#include "TessaronCore/analysis/PartitionSkew.h"
#include "support/SyncWait.h"

#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace tessaron;
using demo::DemoKafka;
using demo::DemoRabbit;
using testing::syncWait;

namespace {

// Points this process's HOME and XDG folders at a new demo profile naming `brokers`.
void useProfile(const QTemporaryDir& dir, const QList<Broker>& brokers)
{
    const std::optional<QString> refused = demo::DemoProfile::write(dir.path(), brokers);
    QVERIFY2(!refused, qPrintable(refused.value_or(QString())));
    for (const QString& pair : demo::DemoProfile::environment(dir.path())) {
        const qsizetype eq = pair.indexOf('=');
        qputenv(pair.left(eq).toUtf8().constData(), pair.mid(eq + 1).toUtf8());
    }
}

std::optional<Topic> topicNamed(const BrokerSession& session, const QString& name)
{
    for (const Topic& t : session.topics()) {
        if (t.name == name)
            return t;
    }
    return std::nullopt;
}

QStringList names(const QList<Topic>& topics)
{
    QStringList out;
    for (const Topic& t : topics)
        out << t.name;
    return out;
}

void readAll(BrokerSession& session, const QString& topic)
{
    session.setSelectedTopic(topic);
    syncWait(session.read(BrokerSession::Position::atBeginning(), 1000, false));
}

} // namespace

class TestDemoBrokers : public QObject {
    Q_OBJECT
private slots:
    void kafkaOpensAndShowsWhatTheDemoIsFor()
    {
        DemoKafka kafka;
        QTemporaryDir profile;
        useProfile(profile, {kafka.broker()});

        AppState state;
        QCOMPARE(state.brokers(), QList<Broker>{kafka.broker()});
        state.open(state.brokers().first());
        BrokerSession* session = state.activeSession();
        QVERIFY(session);
        QTRY_VERIFY_WITH_TIMEOUT(session->topicsListed() && !session->isConnecting(), 30000);
        QVERIFY2(!session->connectionError(), qPrintable(session->connectionError().value_or("")));

        for (const DemoKafka::TopicPlan& plan : DemoKafka::plan()) {
            const std::optional<Topic> topic = topicNamed(*session, plan.name);
            QVERIFY2(topic, qPrintable(plan.name));
            QCOMPARE(topic->partitions.size(), plan.partitions);
            QCOMPARE(topic->retained(), plan.messages);
        }
        QCOMPARE(names(session->topicSections().deadLetters), QStringList{DemoKafka::deadLetterTopic});

        const SkewVerdict skew = PartitionSkew::verdict(*topicNamed(*session, DemoKafka::skewedTopic));
        QCOMPARE(skew.tag(), SkewVerdict::Case::skewed);
        QCOMPARE(skew.worst()->partition, 0);
        QCOMPARE(skew.idle().size(), 1);
        QCOMPARE(PartitionSkew::verdict(*topicNamed(*session, DemoKafka::driftingTopic)).tag(),
                 SkewVerdict::Case::even);

        // The newest hundred orders drift, on each of the three fields the outliers break.
        session->setSelectedTopic(DemoKafka::driftingTopic);
        syncWait(session->read(BrokerSession::Position::atTail(), 100, false));
        QVERIFY(session->messages().size() > 90); // the limit is split evenly over the partitions
        QCOMPARE(session->shapeVerdict().tag(), ShapeVerdict::Case::drift);
        QSet<QString> fields;
        const std::optional<ShapeVerdict::Drift> drift = session->shapeVerdict().driftDetail();
        for (const FieldDifference& d : drift->differences)
            fields.insert(d.field);
        for (const char* field : {"currency", "total", "customer"})
            QVERIFY2(std::any_of(fields.begin(), fields.end(), [&](const QString& f) { return f.contains(field); }),
                     field);

        readAll(*session, DemoKafka::crowdedKeyTopic);
        const KeyShareEstimate::Result keys = KeyShareEstimate::estimate(
            session->messages(), topicNamed(*session, DemoKafka::crowdedKeyTopic)->partitions);
        QCOMPARE(keys.ranked.first().key, DemoKafka::crowdedKey);
        QVERIFY(keys.ranked.first().share > 0.5);

        // Every Avro message decodes through the demo registry.
        readAll(*session, DemoKafka::avroTopic);
        QCOMPARE(session->messages().size(), 120);
        for (const Message& m : session->messages()) {
            QVERIFY2(m.decoded() && !m.decodeFailure(), qPrintable(m.decodeFailure().value_or("not decoded")));
            QVERIFY(m.decoded()->json.contains("\"currency\":"));
        }
        QCOMPARE(session->shapeVerdict().tag(), ShapeVerdict::Case::consistent);

        readAll(*session, DemoKafka::tombstoneTopic);
        QCOMPARE(std::count_if(session->messages().begin(), session->messages().end(),
                               [](const Message& m) { return m.isTombstone(); }),
                 12);

        readAll(*session, DemoKafka::binaryTopic);
        QCOMPARE(session->messages().size(), 80);
        for (const Message& m : session->messages())
            QCOMPARE(m.payloadKind(), PayloadKind(PayloadKind::binary));

        readAll(*session, DemoKafka::deadLetterTopic);
        QCOMPARE(session->messages().size(), 9);
        QVERIFY(std::all_of(session->messages().begin(), session->messages().end(), [](const Message& m) {
            return std::any_of(m.headers().begin(), m.headers().end(),
                               [](const Message::Header& h) { return h.name == "x-error"; });
        }));
        QVERIFY(session->lostConnection() == std::nullopt);
    }

    void bothDemoBrokersOpenAsTabs()
    {
        const QString url = qEnvironmentVariable("TESSARON_TEST_RABBITMQ_URL");
        if (url.isEmpty())
            QSKIP("TESSARON_TEST_RABBITMQ_URL is not set: no RabbitMQ node to seed (scripts/test starts one)");
        const QString vhost = "tessaron-demo-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
        std::unique_ptr<DemoRabbit> rabbit = testing::syncWait(DemoRabbit::seed(url, vhost));
        auto cleanup = qScopeGuard([&] { testing::syncWait(rabbit->remove()); });
        DemoKafka kafka;
        QTemporaryDir profile;
        useProfile(profile, {kafka.broker(), rabbit->broker()});

        AppState state;
        QCOMPARE(state.brokers().size(), 2);
        for (const Broker& broker : state.brokers())
            state.open(broker);
        QCOMPARE(state.sessions().size(), 2);
        QCOMPARE(state.sessions().at(0)->id(), kafka.broker().id);
        BrokerSession* session = state.activeSession();
        QCOMPARE(session->id(), rabbit->broker().id);
        QTRY_VERIFY_WITH_TIMEOUT(session->topicsListed() && !session->isConnecting(), 30000);
        QVERIFY2(!session->connectionError(), qPrintable(session->connectionError().value_or("")));
        QCOMPARE(session->connection()->kind(), BrokerSession::Connection::rabbit);

        // The node counts depths and consumers every half second; the expired messages reach the
        // dead-letter queue on their own.
        const QStringList queues = {DemoRabbit::consumedQueue, DemoRabbit::unboundQueue, DemoRabbit::deadLetterQueue,
                                    DemoRabbit::routedQueue}; // in name order, as listed
        QString seen;
        auto settled = [&] {
            syncWait(session->loadTopics());
            auto depth = [&](const QString& q) { return topicNamed(*session, q).value_or(Topic{}).declaredDepth; };
            seen = names(session->topics()).join(' ');
            for (const QString& q : queues)
                seen += QString(" %1=%2").arg(q).arg(depth(q).value_or(-1));
            seen += QString(" consumers=%1").arg(session->queueConsumers().value(DemoRabbit::consumedQueue));
            return names(session->topics()) == queues
                && session->queueConsumers().value(DemoRabbit::consumedQueue) == DemoRabbit::consumers
                && depth(DemoRabbit::consumedQueue) == DemoRabbit::consumedMessages
                && depth(DemoRabbit::deadLetterQueue) == DemoRabbit::deadLetters
                && depth(DemoRabbit::routedQueue) == DemoRabbit::routedMessages
                && depth(DemoRabbit::unboundQueue) == DemoRabbit::unboundMessages;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(settled(), qPrintable(seen), 20000);
        QCOMPARE(names(session->topicSections().deadLetters), QStringList{DemoRabbit::deadLetterQueue});

        // Bindings show without consent: the unbound queue has only the default exchange's.
        session->setSelectedTopic(DemoRabbit::unboundQueue);
        syncWait(session->readLatest());
        QCOMPARE(session->bindings().size(), 1);
        QVERIFY(session->bindings().first().source.isEmpty());
        session->setSelectedTopic(DemoRabbit::routedQueue);
        syncWait(session->readLatest());
        QVERIFY(std::any_of(session->bindings().begin(), session->bindings().end(),
                            [](const QueueBinding& b) { return b.source == "orders"; }));

        // The dead letters are the server's own, with its x-death record.
        session->setAcceptedRabbitReadCost(true);
        session->setSelectedTopic(DemoRabbit::deadLetterQueue);
        syncWait(session->readLatest());
        QCOMPARE(session->messages().size(), DemoRabbit::deadLetters);
        for (const Message& m : session->messages())
            QVERIFY(std::any_of(m.headers().begin(), m.headers().end(),
                                [](const Message::Header& h) { return h.name == "x-death"; }));

        // The Kafka tab listed its topics meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(state.sessions().at(0)->topicsListed(), 30000);
        QCOMPARE(state.sessions().at(0)->topics().size(), DemoKafka::plan().size());
    }
};

QTEST_GUILESS_MAIN(TestDemoBrokers)
#include "tst_DemoBrokers.moc"
