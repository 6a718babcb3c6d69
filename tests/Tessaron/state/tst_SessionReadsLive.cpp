// Reads through a session against a real broker, where the mock cluster differs from one: offsets
// for a moment, compaction and transactions (control records and aborted messages take offsets).
// Skipped unless TESSARON_TEST_KAFKA_BOOTSTRAP names a broker.
#include "support/LiveKafka.h"
#include "support/SyncWait.h"

#include "Tessaron/state/BrokerSession.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimeZone>

#include <memory>

using namespace tessaron;
using namespace tessaron::testing;
using Position = BrokerSession::Position;

namespace {

constexpr int64_t baseMs = 1700000000000;

QDateTime at(int64_t ms) { return QDateTime::fromMSecsSinceEpoch(baseMs + ms, QTimeZone::utc()); }

// "p/offset" of every message shown, in the order shown.
QStringList where(const QList<Message>& messages)
{
    QStringList places;
    for (const Message& m : messages)
        places << QString::number(m.partition()) + '/' + QString::number(m.offset());
    return places;
}

QStringList payloads(const QList<Message>& messages)
{
    QStringList texts;
    for (const Message& m : messages)
        texts << QString::fromUtf8(m.payload().value_or("∅"));
    texts.sort();
    return texts;
}

} // namespace

class TestSessionReadsLive : public QObject {
    Q_OBJECT

    std::unique_ptr<LiveKafka> live;
    std::unique_ptr<BrokerSession> session;
    QString timed, compacted, transactional;

    void select(const QString& topic)
    {
        syncWait(session->refreshTopics());
        session->setSelectedTopic(topic);
        QVERIFY(session->currentTopic());
    }

private slots:
    void initTestCase()
    {
        const QByteArray bootstrap = LiveKafka::bootstrapFromEnvironment();
        if (bootstrap.isEmpty())
            QSKIP("TESSARON_TEST_KAFKA_BOOTSTRAP is not set: these reads need a real Kafka broker");
        live = std::make_unique<LiveKafka>(bootstrap);
        timed = LiveKafka::uniqueName(QStringLiteral("tessaron-timed-"));
        compacted = LiveKafka::uniqueName(QStringLiteral("tessaron-compacted-"));
        transactional = LiveKafka::uniqueName(QStringLiteral("tessaron-tx-"));
        // Stamped a second apart, round the three partitions: p0 at 0, 3, 6 s; p1 at 1, 4 s; p2 at 2, 5 s.
        QList<LiveKafka::Seed> seeds;
        for (int i = 0; i < 7; ++i)
            seeds.append({i % 3, "t" + QByteArray::number(i), baseMs + i * 1000});
        // Kept for ever: the broker's time retention would soon delete messages stamped in 2023.
        live->createTopic(timed, 3, seeds, {{"retention.ms", "-1"}});
        live->createTopic(compacted, 1,
                          {{0, "a1", 0, "a"}, {0, "b1", 0, "b"}, {0, {}, 0, "a", true}, {0, "c1", 0, "c"}},
                          {{"cleanup.policy", "compact"}});
        live->createTopic(transactional, 2, {});
        // Committed, aborted, committed: every transaction ends in a control record on each partition it wrote.
        live->produceTransactions(
            transactional,
            {{{0, "kept-1"}, {0, "kept-2"}, {1, "kept-3"}}, {{0, "aborted-1"}, {1, "aborted-2"}}, {{0, "kept-4"}}},
            {true, false, true});
        session = std::make_unique<BrokerSession>(live->broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session->connectBroker());
        QVERIFY2(session->isConnected(), qPrintable(session->connectionError().value_or(QString())));
    }

    void cleanupTestCase()
    {
        session.reset();
        live.reset();
    }

    void aMomentStartsEachPartitionAtItsOwnOffset()
    {
        select(timed);
        // 2.5 s: p0 from its 3 s message (offset 1), p1 from 4 s (1), p2 from 5 s (1).
        syncWait(session->read(Position::atTime(at(2500)), 50, false));
        QCOMPARE(where(session->messages()).join(u' '), QString("0/2 2/1 1/1 0/1"));
        QVERIFY(session->reachedEnd());
        QVERIFY(session->unobservable().isEmpty());

        // 4.5 s: p1 holds nothing after it and is not read at all.
        syncWait(session->read(Position::atTime(at(4500)), 50, false));
        QCOMPARE(where(session->messages()).join(u' '), QString("0/2 2/1"));

        // A year before the first: every partition answers its first offset, and all is read.
        syncWait(session->read(Position::atTime(at(-365LL * 24 * 3600 * 1000)), 50, false));
        QCOMPARE(session->timeAnswer(), (QMap<int32_t, int64_t>{{0, 0}, {1, 0}, {2, 0}}));
        QCOMPARE(session->messages().size(), 7);
        QCOMPARE(session->messages().last().offset(), 0);

        // After the last: "none" everywhere, the one answer that says the messages are older.
        syncWait(session->read(Position::atTime(at(60000)), 50, false));
        QCOMPARE(session->timeAnswer(), (QMap<int32_t, int64_t>{{0, -1}, {1, -1}, {2, -1}}));
        QVERIFY(session->messages().isEmpty());
        QVERIFY(session->reachedEnd());
        QVERIFY(session->unobservable().isEmpty());
        QVERIFY(!session->lostConnection());
    }

    void readingFurtherFromAMomentGoesOnFromItsOwnPositions()
    {
        select(timed);
        // One a partition from 2.5 s: p0 keeps its 6 s message for "Read further", which passes
        // offset 0 and must not bring back what precedes the moment.
        syncWait(session->read(Position::atTime(at(2500)), 3, false));
        QVERIFY(session->messages().size() < 4);
        QVERIFY(!session->reachedEnd());
        syncWait(session->read(Position::atOffset(0), 50, true));
        QStringList shown = where(session->messages());
        shown.sort();
        QCOMPARE(shown, (QStringList{"0/1", "0/2", "1/1", "2/1"}));
        QVERIFY(session->reachedEnd());
        QVERIFY(session->unobservable().isEmpty());
    }

    void aTombstoneOfACompactedTopicReadsAsOne()
    {
        select(compacted);
        syncWait(session->read(Position::atBeginning(), 50, false));
        const QList<Message> shown = session->messages();
        QCOMPARE(shown.size(), 4);
        const auto tombstone =
            std::find_if(shown.begin(), shown.end(), [](const Message& m) { return m.isTombstone(); });
        QVERIFY(tombstone != shown.end());
        QCOMPARE(tombstone->key(), std::optional<QByteArray>("a"));
        QCOMPARE(tombstone->offset(), 2);
        QVERIFY(session->reachedEnd());
    }

    void onlyCommittedTransactionsAreShownAndEveryEndIsReached()
    {
        select(transactional);
        // p0: kept-1, kept-2, commit, aborted-1, abort, kept-4, commit (end 7); p1: kept-3, commit,
        // aborted-2, abort (end 4).
        QElapsedTimer clock;
        clock.start();
        syncWait(session->read(Position::atBeginning(), 50, false));
        QCOMPARE(payloads(session->messages()), (QStringList{"kept-1", "kept-2", "kept-3", "kept-4"}));
        QVERIFY(session->reachedEnd());
        // The end of a partition whose last offsets are control records is reached, not waited out.
        QVERIFY2(clock.elapsed() < BrokerSession::pageTimeoutMs, qPrintable(QString::number(clock.elapsed())));

        // One message a partition per page: "Read further" goes on past the control records and
        // the aborted messages, showing each committed message once, and ends.
        syncWait(session->read(Position::atBeginning(), 2, false));
        for (int page = 0; page < 6 && !session->reachedEnd(); ++page)
            syncWait(session->read(Position::atBeginning(), 2, true));
        QVERIFY(session->reachedEnd());
        QCOMPARE(payloads(session->messages()), (QStringList{"kept-1", "kept-2", "kept-3", "kept-4"}));

        // The newest: whatever the tail holds of committed messages, never an aborted one.
        syncWait(session->read(Position::atTail(), 4, false));
        QVERIFY(!session->messages().isEmpty());
        for (const Message& m : session->messages())
            QVERIFY2(m.payload()->startsWith("kept-"), m.payload()->constData());
        QVERIFY(session->unobservable().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSessionReadsLive)
#include "tst_SessionReadsLive.moc"
