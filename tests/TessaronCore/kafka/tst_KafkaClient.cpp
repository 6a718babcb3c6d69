#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include "VelkinInfra/async/SerialQueue.h"
#include "TessaronCore/kafka/KafkaClient.h"

#include <QCoroTask>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <QElapsedTimer>

#include <memory>

using namespace tessaron;
using namespace tessaron::testing;
using Position = KafkaClient::StartPosition;

namespace {

QList<int64_t> offsetsOf(const QList<Message>& messages)
{
    QList<int64_t> out;
    for (const Message& m : messages)
        out << m.offset();
    return out;
}

// Every answer of a multi-partition read as a line: the partition, its messages (offset:payload),
// where it goes on and whether it reached the end, or its failure.
QStringList described(const QList<KafkaReading::PartitionPage>& answers)
{
    QStringList lines;
    for (const KafkaReading::PartitionPage& answer : answers) {
        QString line = QString("p%1").arg(answer.partition);
        if (answer.failure)
            line += QString(" failed %1 %2").arg(answer.failure->code()).arg(answer.failure->message());
        if (answer.page) {
            for (const Message& m : answer.page->messages)
                line += QString(" %1:%2").arg(m.offset()).arg(QString::fromUtf8(m.payload().value_or("-")));
            for (auto it = answer.page->next.cbegin(); it != answer.page->next.cend(); ++it)
                line += QString(" next %1=%2").arg(it.key()).arg(it.value());
            line += answer.page->reachedEnd ? " end" : " more";
        }
        lines << line;
    }
    return lines;
}

} // namespace

class TestKafkaClient : public QObject {
    Q_OBJECT

    std::unique_ptr<MockKafkaCluster> cluster;
    std::unique_ptr<KafkaClient> client;

private slots:
    void init()
    {
        cluster = std::make_unique<MockKafkaCluster>(1);
        client = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 10000);
    }

    void cleanup()
    {
        client.reset();
        cluster.reset();
    }

    void topicsAreSortedWithInternalNamesAndEmptyWatermarks()
    {
        cluster->createTopics({{"orders", 3}, {"_schemas", 1}, {"__consumer_offsets", 2}});
        const QList<Topic> topics = syncWait(client->topics(5000));
        QStringList names;
        for (const Topic& t : topics)
            names << t.name;
        QCOMPARE(names, (QStringList{"__consumer_offsets", "_schemas", "orders"}));
        QVERIFY(topics[0].isInternal);
        QVERIFY(topics[1].isInternal);
        QVERIFY(!topics[2].isInternal);
        QCOMPARE(topics[2].partitions.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const Partition& p = topics[2].partitions[i];
            QCOMPARE(p.id, i);
            QCOMPARE(p.low, 0);
            QCOMPARE(p.high, 0);
            QCOMPARE(p.replicaCount, 1);
            QVERIFY(!p.error);
        }
        QVERIFY(!topics[2].declaredDepth);
    }

    void aTopicErrorDoesNotFailTheListing()
    {
        cluster->createTopics({{"fine", 1}, {"broken", 1}});
        cluster->setTopicError("broken", RD_KAFKA_RESP_ERR_LEADER_NOT_AVAILABLE);
        const QList<Topic> topics = syncWait(client->topics(5000));
        QCOMPARE(topics.size(), 2);
        QCOMPARE(topics[0].name, QString("broken"));
        QCOMPARE(topics[0].error,
                 std::optional<QString>(QString::fromUtf8(rd_kafka_err2str(RD_KAFKA_RESP_ERR_LEADER_NOT_AVAILABLE))));
        QVERIFY(!topics[1].error);
    }

    void watermarksFillEachPartition()
    {
        cluster->createTopic("orders", 3);
        cluster->produceMany("orders", 0, 5);
        cluster->produceMany("orders", 2, 2);
        Topic listed = syncWait(client->topics(5000)).constFirst();
        listed.partitions[1].error = QStringLiteral("from the listing");
        const Topic topic = syncWait(client->watermarks(listed, 5000));
        QCOMPARE(topic.name, QString("orders"));
        QCOMPARE(topic.partitions.size(), 3);
        QCOMPARE(topic.partitions[0].high, 5);
        QCOMPARE(topic.partitions[1].high, 0);
        QCOMPARE(topic.partitions[2].high, 2);
        QCOMPARE(topic.partitions[0].low, 0);
        // A successful lookup replaces the listing's error: the partition reads now.
        QVERIFY(!topic.partitions[1].error);
        QCOMPARE(topic.retained(), 7);

        // Several topics at once answer as each would alone, in the order asked.
        cluster->createTopic("audit", 2);
        cluster->produceMany("audit", 1, 3);
        const QList<Topic> both = syncWait(client->topics(5000));
        QCOMPARE(both[0].name, QString("audit"));
        const QList<KafkaReading::MarkedTopic> marked = syncWait(client->watermarksOf({both[1], both[0]}, 5000));
        QCOMPARE(marked.size(), 2);
        QCOMPARE(marked[0].topic, std::optional<Topic>(syncWait(client->watermarks(both[1], 5000))));
        QCOMPARE(marked[1].topic->name, QString("audit"));
        QCOMPARE(marked[1].topic->partitions[1].high, 3);
        QCOMPARE(marked[1].topic->retained(), 3);
        QVERIFY(!marked[1].failure);
        QVERIFY(syncWait(client->watermarksOf({}, 5000)).isEmpty());
    }

    void pagesFromEveryStartPosition()
    {
        cluster->createTopic("orders", 2);
        cluster->produceMany("orders", 0, 10);

        KafkaClient::Page all = syncWait(client->page("orders", 0, Position::atBeginning(), 100, 5000));
        QCOMPARE(offsetsOf(all.messages), (QList<int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        QCOMPARE(all.next, (QMap<int32_t, int64_t>{{0, 10}}));
        QVERIFY(all.reachedEnd);
        QCOMPARE(all.messages[3].topic(), QString("orders"));
        QCOMPARE(all.messages[3].payload(), std::optional<QByteArray>("m3"));

        KafkaClient::Page four = syncWait(client->page("orders", 0, Position::atBeginning(), 4, 5000));
        QCOMPARE(offsetsOf(four.messages), (QList<int64_t>{0, 1, 2, 3}));
        QCOMPARE(four.next, (QMap<int32_t, int64_t>{{0, 4}}));
        QVERIFY(!four.reachedEnd);

        KafkaClient::Page further = syncWait(client->page("orders", 0, Position::atOffset(four.next[0]), 3, 5000));
        QCOMPARE(offsetsOf(further.messages), (QList<int64_t>{4, 5, 6}));
        QVERIFY(!further.reachedEnd);
        // A page whose limit ends on the last message has reached the end all the same.
        KafkaClient::Page last = syncWait(client->page("orders", 0, Position::atOffset(7), 3, 5000));
        QCOMPARE(offsetsOf(last.messages), (QList<int64_t>{7, 8, 9}));
        QVERIFY(last.reachedEnd);

        KafkaClient::Page tail = syncWait(client->page("orders", 0, Position::atTail(3), 100, 5000));
        QCOMPARE(offsetsOf(tail.messages), (QList<int64_t>{7, 8, 9}));
        QVERIFY(tail.reachedEnd);
        // More than the partition holds starts at the low watermark.
        QCOMPARE(syncWait(client->read("orders", 0, Position::atTail(100), 100, 5000)).size(), 10);

        // The beginning and the end are resolved to absolute offsets (the watermarks) before reading.
        KafkaClient::Page end = syncWait(client->page("orders", 0, Position::atEnd(), 100, 5000));
        QVERIFY(end.messages.isEmpty());
        QVERIFY(end.reachedEnd);
        QCOMPARE(end.next, (QMap<int32_t, int64_t>{{0, 10}}));
        // Messages written after a page reached the end are the next page's.
        cluster->produceMany("orders", 0, 2, "late");
        KafkaClient::Page late = syncWait(client->page("orders", 0, Position::atOffset(end.next[0]), 100, 5000));
        QCOMPARE(late.messages.size(), 2);
        QCOMPARE(late.messages[0].payload(), std::optional<QByteArray>("late0"));
        QVERIFY(late.reachedEnd);

        KafkaClient::Page empty = syncWait(client->page("orders", 1, Position::atBeginning(), 100, 5000));
        QVERIFY(empty.messages.isEmpty());
        QVERIFY(empty.reachedEnd);
        QCOMPARE(empty.next, (QMap<int32_t, int64_t>{{1, 0}}));

        KafkaClient::Page tailOfEmpty = syncWait(client->page("orders", 1, Position::atTail(100), 100, 5000));
        QVERIFY(tailOfEmpty.messages.isEmpty());
        QCOMPARE(tailOfEmpty.next, (QMap<int32_t, int64_t>{{1, 0}}));

        KafkaClient::Page none = syncWait(client->page("orders", 0, Position::atOffset(2), 0, 5000));
        QVERIFY(none.messages.isEmpty());
        QVERIFY(!none.reachedEnd);
        QCOMPARE(none.next, (QMap<int32_t, int64_t>{{0, 2}}));
    }

    void aMomentWithNothingAfterItKeepsTheLogicalEnd()
    {
        cluster->createTopic("orders", 1);
        cluster->produceMany("orders", 0, 3);
        // The mock answers every time lookup with -1: no message at or after the moment.
        const QDateTime moment(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
        const KafkaClient::Page page = syncWait(client->page("orders", 0, Position::atTime(moment), 10, 5000));
        QVERIFY(page.messages.isEmpty());
        QCOMPARE(page.next, (QMap<int32_t, int64_t>{{0, -1}}));
    }

    void keysPayloadsHeadersAndTimestampsComeBackAsSent()
    {
        cluster->createTopic("t", 1);
        cluster->produce("t", 0, {std::nullopt, std::nullopt, {}, 1500});
        cluster->produce("t", 0, {QByteArray(""), QByteArray(""), {}, 0});
        cluster->produce(
            "t", 0,
            {QByteArray("k"),
             QByteArray("{\"a\":1}"),
             {{"a", QByteArray("1")}, {"a", QByteArray("")}, {"b", std::nullopt}, {"c", QByteArray("x\0y", 3)}},
             1700000000123});
        const QList<Message> messages = syncWait(client->read("t", 0, Position::atBeginning(), 10, 5000));
        QCOMPARE(messages.size(), 3);

        QVERIFY(!messages[0].key());
        QVERIFY(!messages[0].payload());
        QVERIFY(messages[0].isTombstone());
        QCOMPARE(messages[0].timestamp(),
                 std::optional<QDateTime>(QDateTime::fromMSecsSinceEpoch(1500, QTimeZone::utc())));
        QVERIFY(messages[0].headers().isEmpty());

        QCOMPARE(messages[1].key(), std::optional<QByteArray>(QByteArray("")));
        QCOMPARE(messages[1].payload(), std::optional<QByteArray>(QByteArray("")));
        QVERIFY(messages[1].timestamp()); // stamped by the producer

        const QList<Message::Header> headers = messages[2].headers();
        QCOMPARE(headers.size(), 4);
        QCOMPARE(headers[0], (Message::Header{"a", "1"}));
        QCOMPARE(headers[1], (Message::Header{"a", ""}));
        QCOMPARE(headers[2], (Message::Header{"b", ""}));
        QCOMPARE(headers[3], (Message::Header{"c", QByteArray("x\0y", 3)}));
        QCOMPARE(messages[2].timestamp()->toMSecsSinceEpoch(), 1700000000123);
        QCOMPARE(messages[2].id(), QString("t/0/2"));
    }

    void aFailedFetchFailsThePage()
    {
        cluster->createTopic("t", 1);
        cluster->produceMany("t", 0, 3);
        cluster->pushRequestErrors(1 /* Fetch */, {RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED});
        const KafkaError error = failureOf(client->page("t", 0, Position::atBeginning(), 10, 5000));
        QCOMPARE(error.code(), int(RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED));
        QVERIFY2(error.message().startsWith("reading t/0: "), qPrintable(error.message()));
        // The client stays usable.
        QCOMPARE(syncWait(client->topics(5000)).size(), 1);
    }

    void aPartitionRefusedInATimeLookupFailsIt()
    {
        cluster->createTopic("t", 2);
        cluster->produceMany("t", 0, 3);
        const Topic topic = syncWait(client->topics(5000)).constFirst();
        const QDateTime moment(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
        // The mock answers every time lookup with -1 (nothing at or after the moment).
        QCOMPARE(syncWait(client->offsets(moment, topic, 5000)), (QMap<int32_t, int64_t>{{0, -1}, {1, -1}}));

        // A refusal inside the answer is not an offset.
        cluster->pushRequestErrors(2 /* ListOffsets */, {RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED});
        const KafkaError lookup = failureOf(client->offsets(moment, topic, 5000));
        QCOMPARE(lookup.code(), int(RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED));
        QVERIFY2(lookup.message().startsWith("looking up offsets for 2024-05-01 09:30:00 +0000"),
                 qPrintable(lookup.message()));

        cluster->pushRequestErrors(2 /* ListOffsets */, {RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED});
        const KafkaError read = failureOf(client->page("t", 0, Position::atTime(moment), 10, 5000));
        QCOMPARE(read.code(), int(RD_KAFKA_RESP_ERR_TOPIC_AUTHORIZATION_FAILED));
        QVERIFY2(read.message().startsWith("looking up t/0 at 2024-05-01 09:30:00 +0000: "),
                 qPrintable(read.message()));
    }

    void aGroupListingNoBrokerGaveFails()
    {
        // The mock cluster cannot list groups: every broker's part of the listing fails, which
        // is not a cluster without groups.
        const KafkaError error = failureOf(client->groups(5000));
        QVERIFY(error.code() != 0);
        QVERIFY2(error.message().startsWith("listing consumer groups: "), qPrintable(error.message()));
        QCOMPARE(error.message(),
                 "listing consumer groups: "
                     + QString::fromUtf8(rd_kafka_err2str(static_cast<rd_kafka_resp_err_t>(error.code()))));
    }

    void brokersDownReadAsALostConnection()
    {
        // The library waits for a lost request up to the socket time-out, the client's own.
        client = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 1000);
        cluster->createTopic("t", 2);
        cluster->produceMany("t", 0, 2);
        const Topic topic = syncWait(client->topics(5000)).constFirst();
        cluster->setAllBrokersDown();

        const KafkaError listing = failureOf(client->topics(1000));
        QVERIFY2(listing.isTimeout(), qPrintable(QString::number(listing.code()) + " " + listing.message()));
        QVERIFY(listing.message().startsWith("listing topics: "));

        const KafkaError tail = failureOf(client->page("t", 0, Position::atTail(10), 10, 1000));
        QVERIFY2(tail.isTimeout(), qPrintable(QString::number(tail.code()) + " " + tail.message()));
        QVERIFY(tail.message().startsWith("locating the tail of t/0: "));

        // Group requests without a broker: a lost connection too, never an empty success.
        const KafkaError groups = failureOf(client->groups(1000));
        QVERIFY2(groups.isTimeout(), qPrintable(QString::number(groups.code()) + " " + groups.message()));
        QVERIFY2(groups.message().startsWith("listing consumer groups: "), qPrintable(groups.message()));
        // The coordinator's requests must not go out to a cluster that is down: the library
        // would abort the process once they fail (the rest of this test runs on afterwards).
        const KafkaError described = failureOf(client->describe("billing", 1000));
        QVERIFY2(described.isTimeout(), qPrintable(QString::number(described.code()) + " " + described.message()));
        QVERIFY2(described.message().startsWith("describing billing: "), qPrintable(described.message()));
        const KafkaError committed = failureOf(client->committed("billing", 1000));
        QVERIFY2(committed.isTimeout(), qPrintable(QString::number(committed.code()) + " " + committed.message()));
        QVERIFY2(committed.message().startsWith("reading billing's offsets: "), qPrintable(committed.message()));
        const KafkaError lag = failureOf(client->offsets(QStringLiteral("billing"), topic, 1000));
        QVERIFY2(lag.isTimeout(), qPrintable(QString::number(lag.code()) + " " + lag.message()));
        QVERIFY2(lag.message().startsWith("reading committed offsets for billing: "), qPrintable(lag.message()));

        // A page from an offset is a lost connection too, not an empty page after its time-out.
        const KafkaError page = failureOf(client->page("t", 0, Position::atOffset(0), 10, 500));
        QVERIFY2(page.isTimeout(), qPrintable(QString::number(page.code()) + " " + page.message()));

        cluster->setAllBrokersUp();
        // Reads fail as lost connections until the library has reconnected.
        auto readAll = [&]() -> qsizetype {
            try {
                return syncWait(client->read("t", 0, Position::atBeginning(), 10, 2000)).size();
            } catch (const KafkaError&) {
                return -1;
            }
        };
        QTRY_VERIFY_WITH_TIMEOUT(readAll() == 2, 20000);
    }

    void readsStartWithinWhatThePartitionStillHolds()
    {
        // The mock keeps about 5 MB per partition: older messages fall off and the low
        // watermark moves up, as retention would.
        cluster->createTopic("kept", 1);
        const QByteArray big(900 * 1024, 'x');
        for (int i = 0; i < 10; ++i)
            cluster->produce("kept", 0, MockKafkaCluster::Record{std::nullopt, big + QByteArray::number(i), {}, 0});
        const Topic topic = syncWait(client->watermarks(syncWait(client->topics(5000)).constFirst(), 5000));
        const int64_t low = topic.partitions[0].low;
        QVERIFY2(low > 0, "the mock kept every message: nothing to test");
        QCOMPARE(topic.partitions[0].high, 10);

        // Below the oldest retained offset: start there, never at the end.
        const KafkaClient::Page below = syncWait(client->page("kept", 0, Position::atOffset(0), 100, 5000));
        QCOMPARE(below.messages.size(), 10 - low);
        QCOMPARE(below.messages.first().offset(), low);
        QVERIFY(below.reachedEnd);

        // "The beginning" starts at the low watermark itself.
        const KafkaClient::Page beginning = syncWait(client->page("kept", 0, Position::atBeginning(), 1, 5000));
        QCOMPARE(beginning.messages.first().offset(), low);

        // A moment before 1970 reads from the beginning, in a page and in the lookup.
        const QDateTime before(QDate(1969, 12, 31), QTime(23, 59, 59, 999), QTimeZone::utc());
        const KafkaClient::Page old = syncWait(client->page("kept", 0, Position::atTime(before), 100, 5000));
        QCOMPARE(old.messages.size(), 10 - low);
        QCOMPARE(syncWait(client->offsets(before, topic, 5000)), (QMap<int32_t, int64_t>{{0, low}}));
    }

    void watermarksOfAClusterThatIsDownFailAtOnce()
    {
        client = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 1000);
        cluster->createTopic("wide", 6);
        const Topic topic = syncWait(client->topics(5000)).constFirst();
        cluster->setAllBrokersDown();
        QElapsedTimer clock;
        clock.start();
        const KafkaError error = failureOf(client->watermarks(topic, 1000));
        QVERIFY2(error.isTimeout(), qPrintable(QString::number(error.code()) + " " + error.message()));
        // One time-out for the whole topic, not one more for each partition.
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

        // A batch stops at its first topic with the lost connection.
        clock.restart();
        const QList<KafkaReading::MarkedTopic> marked = syncWait(client->watermarksOf({topic, topic}, 1000));
        QCOMPARE(marked.size(), 1);
        QVERIFY(!marked[0].topic);
        QVERIFY(marked[0].failure && marked[0].failure->isTimeout());
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void anUnreachablePartitionCarriesItsWatermarkFailure()
    {
        cluster = std::make_unique<MockKafkaCluster>(2);
        client = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 1000);
        cluster->createTopics({{"t", 2}, {"u", 2}});
        for (const char* name : {"t", "u"}) {
            rd_kafka_mock_partition_set_leader(cluster->raw(), name, 0, 1);
            rd_kafka_mock_partition_set_leader(cluster->raw(), name, 1, 2);
            cluster->produceMany(name, 0, 4);
        }
        const QList<Topic> topics = syncWait(client->topics(5000));
        cluster->setBrokerDown(2);
        const Topic marks = syncWait(client->watermarks(topics[0], 1000));
        QCOMPARE(marks.partitions[0].high, 4);
        QVERIFY(!marks.partitions[0].error);
        QCOMPARE(marks.partitions[1].low, 0);
        QCOMPARE(marks.partitions[1].high, 0);
        QVERIFY(marks.partitions[1].error);
        QVERIFY(!marks.partitions[1].error->isEmpty());

        // In a batch, the partitions the other leader holds still carry their watermarks.
        const QList<KafkaReading::MarkedTopic> marked = syncWait(client->watermarksOf(topics, 1000));
        QCOMPARE(marked.size(), 2);
        for (const KafkaReading::MarkedTopic& answer : marked) {
            QVERIFY(answer.topic);
            QCOMPARE(answer.topic->partitions[0].high, 4);
            QVERIFY(!answer.topic->partitions[0].error);
            QCOMPARE(answer.topic->partitions[1].high, 0);
            QVERIFY(answer.topic->partitions[1].error);
        }
    }

    void aLargeBatchAnswersAsItsTopicsDoOneByOne()
    {
        // 1,200 partitions on one leader, more than one lookup holds, and a partition without a
        // leader: the batch is asked in several lookups at once and must answer as each topic
        // asked alone does, in the order given.
        client = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 1000);
        QList<MockKafkaCluster::NewTopic> created;
        QList<MockKafkaCluster::Placed> records;
        for (int i = 0; i < 300; ++i) {
            const QString name = QString("t%1").arg(i, 3, 10, QChar('0'));
            created.append({name, 4});
            for (int n = 0; n < i % 5; ++n)
                records.append({name, i % 4, {std::nullopt, "m", {}, 0}});
        }
        cluster->createTopics(created);
        cluster->produceAll(records);
        rd_kafka_mock_partition_set_leader(cluster->raw(), "t007", 2, -1);
        const QList<Topic> topics = syncWait(client->topics(5000));
        QCOMPARE(topics.size(), 300);

        const QList<KafkaReading::MarkedTopic> marked = syncWait(client->watermarksOf(topics, 1000));
        QCOMPARE(marked.size(), topics.size());
        for (qsizetype i = 0; i < topics.size(); ++i) {
            QVERIFY(marked[i].topic && !marked[i].failure);
            QCOMPARE(*marked[i].topic, syncWait(client->watermarks(topics[i], 1000)));
            QCOMPARE(marked[i].topic->retained(), i % 5);
        }
        QVERIFY(marked[7].topic->partitions[2].error);
        QVERIFY(!marked[8].topic->partitions[2].error);
    }

    void partitionsReadAtOnceAnswerAsTheWalkDoes()
    {
        // 12 partitions over three brokers 20 ms away: partition 5 without a leader, 9 to 11 on
        // broker 3. Partition p holds p messages; every kind of start, 4 messages at most each.
        cluster = std::make_unique<MockKafkaCluster>(3);
        client = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 1000);
        cluster->createTopic("wide", 12);
        QList<MockKafkaCluster::Placed> records;
        for (int32_t p = 0; p < 12; ++p) {
            rd_kafka_mock_partition_set_leader(cluster->raw(), "wide", p, p >= 9 ? 3 : 1 + p % 2);
            for (int i = 0; i < p; ++i)
                records.append({"wide", p, {std::nullopt, QString("m%1-%2").arg(p).arg(i).toUtf8(), {}, 0}});
        }
        cluster->produceAll(records);
        rd_kafka_mock_partition_set_leader(cluster->raw(), "wide", 5, -1);
        syncWait(client->topics(5000));
        for (int32_t broker = 1; broker <= 3; ++broker)
            rd_kafka_mock_broker_set_rtt(cluster->raw(), broker, 20);
        const QDateTime moment(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
        const QList<Position> positions{Position::atTail(4),     Position::atBeginning(), Position::atOffset(2),
                                        Position::atEnd(),       Position::atTail(2),     Position::atOffset(99),
                                        Position::atTime(moment)};
        QList<KafkaReading::PartitionStart> starts;
        for (int32_t p = 0; p < 12; ++p)
            starts.append({p, positions[p % positions.size()]});

        // The walk is the interface's own: one page after another through `page`.
        const QStringList walk = described(syncWait(client->KafkaReading::pages("wide", starts, 4, 1000)));
        QCOMPARE(described(syncWait(client->pages("wide", starts, 4, 1000))), walk);
        QCOMPARE(walk.size(), 12);
        QCOMPARE(walk[5], "p5 failed -190 locating wide/5: Local: Unknown partition");
        QCOMPARE(walk[7], "p7 3:m7-3 4:m7-4 5:m7-5 6:m7-6 next 7=7 end");
        QCOMPARE(walk[8], "p8 0:m8-0 1:m8-1 2:m8-2 3:m8-3 next 8=4 more");
        QCOMPARE(walk[9], "p9 2:m9-2 3:m9-3 4:m9-4 5:m9-5 next 9=6 more");

        // A broker that goes down drops out of the cluster's answers, and the library (2.10 on) then
        // forgets it: its partitions fail at once, each on its own, instead of waiting out the
        // time-out as a lost connection. Either way nobody waits for each of them in turn.
        cluster->setBrokerDown(3);
        QElapsedTimer clock;
        clock.start();
        const QStringList cut = described(syncWait(client->KafkaReading::pages("wide", starts, 4, 1000)));
        QCOMPARE(described(syncWait(client->pages("wide", starts, 4, 1000))), cut);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(cut.size(), 12);
        QCOMPARE(cut.mid(0, 9), walk.mid(0, 9));
        for (int p = 9; p < 12; ++p)
            QVERIFY2(cut[p].startsWith(QString("p%1 failed -190 ").arg(p)), qPrintable(cut[p]));
    }

    void operationsFinishInSubmissionOrderWhileTheCallerStaysResponsive()
    {
        cluster->createTopic("t", 4);
        cluster->produceMany("t", 0, 3);
        const Topic topic = syncWait(client->topics(5000)).constFirst();
        rd_kafka_mock_broker_set_rtt(cluster->raw(), 1, 100);

        QList<int> finished;
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(10);
        // Coroutine lambdas are named so that their captures outlive the frames using them.
        auto watermarks = [&]() -> QCoro::Task<void> {
            auto op = client->watermarks(topic, 5000);
            co_await op;
            finished << 1;
        };
        auto listing = [&]() -> QCoro::Task<void> {
            auto op = client->topics(5000);
            co_await op;
            finished << 2;
        };
        auto reading = [&]() -> QCoro::Task<void> {
            auto op = client->page("t", 0, Position::atBeginning(), 10, 5000);
            co_await op;
            finished << 3;
        };
        auto run = [&]() -> QCoro::Task<void> {
            // Started at once (tasks are eager), awaited in reverse.
            auto first = watermarks();
            auto second = listing();
            auto third = reading();
            co_await third;
            co_await second;
            co_await first;
        };
        syncWait(run());
        QCOMPARE(finished, (QList<int>{1, 2, 3}));
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    }

    void committedOffsetsThroughASecondHandle()
    {
        cluster->createTopic("orders", 3);
        cluster->produceMany("orders", 0, 6);
        cluster->produceMany("orders", 2, 9);
        cluster->commit("billing", "orders", {{0, 4}, {2, 9}});
        const Topic topic = syncWait(client->watermarks(syncWait(client->topics(5000)).constFirst(), 5000));
        const QList<GroupOffset> offsets = syncWait(client->offsets(QStringLiteral("billing"), topic, 5000));
        QCOMPARE(offsets,
                 (QList<GroupOffset>{{"orders", 0, 4, 6}, {"orders", 1, std::nullopt, 0}, {"orders", 2, 9, 9}}));
        QCOMPARE(offsets[0].lag(), std::optional<int64_t>(2));

        // Without watermarks every high is 0.
        Topic bare = topic;
        for (Partition& p : bare.partitions)
            p.high = 0;
        for (const GroupOffset& o : syncWait(client->offsets(QStringLiteral("billing"), bare, 5000)))
            QCOMPARE(o.high, 0);

        // A group that never committed has nothing, and reading it committed nothing either.
        for (const GroupOffset& o : syncWait(client->offsets(QStringLiteral("nobody"), topic, 5000)))
            QVERIFY(!o.committed);
    }

    void releasingTheClientLetsRunningWorkFinishAndEndsItsWorker()
    {
        cluster->createTopic("t", 1);
        cluster->produceMany("t", 0, 2);
        const int before = SerialQueue::liveWorkers();
        auto doomed = std::make_unique<KafkaClient>(cluster->broker(), std::nullopt, std::nullopt, 10000);
        QCOMPARE(SerialQueue::liveWorkers(), before + 1);
        auto pending = doomed->read("t", 0, Position::atBeginning(), 10, 5000);
        doomed.reset();
        QCOMPARE(syncWait(std::move(pending)).size(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(SerialQueue::liveWorkers(), before, 10000);
    }
};

QTEST_GUILESS_MAIN(TestKafkaClient)
#include "tst_KafkaClient.moc"
