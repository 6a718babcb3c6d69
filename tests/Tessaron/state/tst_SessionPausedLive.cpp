// A session whose real broker stops answering under it (its process stopped with SIGSTOP: the
// connections stay open and nothing answers) and then comes back. Skipped unless the services
// wrapper names its broker and the broker's process.
#include "support/LiveKafka.h"
#include "support/SyncWait.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/analysis/GroupVerdict.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>

using namespace tessaron;
using namespace tessaron::testing;

class TestSessionPausedLive : public QObject {
    Q_OBJECT

    std::unique_ptr<LiveKafka> live;
    qint64 pid = 0;
    QString topicName;
    QString group;

    // "Try again", until the resumed broker answers the listing.
    static bool recovered(BrokerSession& session)
    {
        session.setLostConnection(std::nullopt);
        syncWait(session.refreshTopics());
        return session.isConnected();
    }

private slots:
    void initTestCase()
    {
        const QByteArray bootstrap = LiveKafka::bootstrapFromEnvironment();
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: these need a real Kafka broker");
        pid = PausedBroker::pidFromEnvironment();
        if (pid == 0)
            QSKIP("TESSARON_TEST_KAFKA_PID is not set: stopping the broker needs the services wrapper's own");
        live = std::make_unique<LiveKafka>(bootstrap);
        topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-paused-"));
        group = QStringLiteral("tessaron-paused-group-") + topicName.right(8);
        QList<LiveKafka::Seed> seeds;
        for (int32_t partition : {0, 1}) {
            for (int i = 0; i < 50; ++i)
                seeds.append({partition, "{\"n\":" + QByteArray::number(i) + "}"});
        }
        live->createTopic(topicName, 2, seeds);
        // A group of no members that committed 5 on each partition: 90 messages wait.
        live->commitAsSimple(group, topicName, {{0, 5}, {1, 5}});
    }

    void cleanupTestCase() { live.reset(); }

    void aStoppedBrokerIsALostConnectionNeverAGroupThatNeverCommitted()
    {
        BrokerSession session(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY2(session.isConnected(), qPrintable(session.connectionError().value_or(QString())));
        session.setSelectedGroup(group);
        syncWait(session.loadGroupDetail());
        QVERIFY(session.groupDetail());
        QCOMPARE(GroupVerdict::verdict(*session.groupDetail()), GroupVerdict::nobodyHome(90));
        session.setSelectedTopic(topicName);
        syncWait(session.readLatest());
        QCOMPARE(session.messages().size(), 100);

        const QString address = QString::fromUtf8(LiveKafka::bootstrapFromEnvironment());
        {
            PausedBroker paused(pid);

            // The lag strip's measurement: no number, and the connection is lost.
            QElapsedTimer clock;
            clock.start();
            QCOMPARE(syncWait(session.groupOffsets(group)), std::optional<int64_t>());
            QVERIFY2(clock.elapsed() < BrokerSession::clientTimeoutMs + 4000,
                     qPrintable(QString::number(clock.elapsed())));
            QVERIFY(session.lostConnection());
            QVERIFY(!session.isConnected());

            // The group screen: one time-out, not one per request; a lost connection whose reason
            // names the silent broker; positions unknown, never "never committed".
            session.setLostConnection(std::nullopt);
            session.setSelectedGroup(group);
            clock.restart();
            syncWait(session.loadGroupDetail());
            const qint64 took = clock.elapsed();
            QVERIFY2(took < BrokerSession::clientTimeoutMs + 4000, qPrintable(QString::number(took)));
            QVERIFY(!session.isConnected());
            const QString reason = session.lostConnection().value_or(QString());
            QVERIFY2(reason.contains(address), qPrintable(reason));
            QVERIFY2(!reason.contains(QStringLiteral("version")), qPrintable(reason));
            QVERIFY(session.groupDetail());
            QVERIFY(session.groupDetail()->positionsUnknown);
            const GroupVerdict verdict = GroupVerdict::verdict(*session.groupDetail());
            QCOMPARE(verdict.tag(), GroupVerdict::Case::cannotSee);
            QVERIFY(!session.groupBlindSpots().isEmpty());
        }

        // Resumed: "Try again" recovers, and the group is judged on what it committed.
        QTRY_VERIFY_WITH_TIMEOUT(recovered(session), 40000);
        // A resumed node may take a moment to lead its partitions and groups again.
        const auto judged = [&] {
            session.setSelectedGroup(group);
            syncWait(session.loadGroupDetail());
            return session.groupDetail()
                && GroupVerdict::verdict(*session.groupDetail()) == GroupVerdict::nobodyHome(90);
        };
        QTRY_VERIFY_WITH_TIMEOUT(judged(), 30000);
        session.setSelectedTopic(topicName);
        QCOMPARE(syncWait(session.groupOffsets(group)), std::optional<int64_t>(90));
        QVERIFY(!session.lostConnection());
    }
};

QTEST_MAIN(TestSessionPausedLive)
#include "tst_SessionPausedLive.moc"
