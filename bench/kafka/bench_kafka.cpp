// Reading and listing speed of the Kafka client against the in-process mock cluster, and the
// memory a held message costs.
#include "TessaronCore/kafka/KafkaClient.h"

#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>

using namespace tessaron;
using testing::MockKafkaCluster;
using testing::syncWait;

namespace {

// The session asks for watermarks in batches of about this many partitions (BrokerSession).
constexpr qsizetype batchPartitions = 500;

QList<MockKafkaCluster::NewTopic> thousandTopics()
{
    QList<MockKafkaCluster::NewTopic> topics;
    for (int i = 0; i < 1000; ++i)
        topics.append({QStringLiteral("topic-%1").arg(i, 4, 10, QLatin1Char('0')), 6});
    return topics;
}

// The listing as the session makes it once connected: every topic, then their watermarks batch
// after batch. Returns the partitions that came back with watermarks.
qsizetype listWithWatermarks(KafkaClient& client, bool perTopic)
{
    const QList<Topic> listed = syncWait(client.topics(10000));
    qsizetype partitions = 0;
    if (perTopic) {
        for (const Topic& topic : listed)
            partitions += syncWait(client.watermarks(topic, 10000)).partitions.size();
        return partitions;
    }
    for (qsizetype first = 0; first < listed.size();) {
        qsizetype end = first;
        for (qsizetype n = 0; end < listed.size() && (end == first || n < batchPartitions);)
            n += listed[end++].partitions.size();
        for (const KafkaReading::MarkedTopic& marked :
             syncWait(client.watermarksOf(listed.mid(first, end - first), 10000)))
            partitions += marked.topic ? marked.topic->partitions.size() : 0;
        first = end;
    }
    return partitions;
}

// The reader the newest read is held against: one consumer handle of librdkafka, connected once,
// assigned every partition at once from its tail and consumed until each partition has given its
// share, as a fast client is written. It asks brokers to hold an empty fetch for 1 ms, as ours does.
class AllPartitionsReader {
public:
    explicit AllPartitionsReader(const QString& bootstrap)
    {
        rd_kafka_conf_t* conf = rd_kafka_conf_new();
        char error[512];
        const std::pair<const char*, QByteArray> settings[] = {{"bootstrap.servers", bootstrap.toUtf8()},
                                                               {"group.id", "bench-all-partitions"},
                                                               {"enable.auto.commit", "false"},
                                                               {"enable.auto.offset.store", "false"},
                                                               {"fetch.wait.max.ms", "1"}};
        for (const auto& [name, value] : settings)
            rd_kafka_conf_set(conf, name, value.constData(), error, sizeof error);
        m_handle = rd_kafka_new(RD_KAFKA_CONSUMER, conf, error, sizeof error);
        rd_kafka_poll_set_consumer(m_handle);
        // Connected before anything is timed: the metadata of the cluster, once.
        const rd_kafka_metadata_t* metadata = nullptr;
        if (rd_kafka_metadata(m_handle, 1, nullptr, &metadata, 10000) == RD_KAFKA_RESP_ERR_NO_ERROR)
            rd_kafka_metadata_destroy(metadata);
    }
    ~AllPartitionsReader()
    {
        rd_kafka_consumer_close(m_handle);
        rd_kafka_destroy(m_handle);
    }

    // The newest `share` messages of each of `partitions`; the messages read.
    int readNewest(const char* topic, int partitions, int share, int timeoutMs)
    {
        rd_kafka_topic_partition_list_t* list = rd_kafka_topic_partition_list_new(partitions);
        for (int p = 0; p < partitions; ++p)
            rd_kafka_topic_partition_list_add(list, topic, p)->offset = RD_KAFKA_OFFSET_TAIL(share);
        rd_kafka_assign(m_handle, list);
        rd_kafka_topic_partition_list_destroy(list);
        int read = 0;
        QElapsedTimer clock;
        clock.start();
        while (read < partitions * share && clock.elapsed() < timeoutMs) {
            rd_kafka_message_t* message = rd_kafka_consumer_poll(m_handle, 100);
            if (!message)
                continue;
            read += message->err == RD_KAFKA_RESP_ERR_NO_ERROR ? 1 : 0;
            rd_kafka_message_destroy(message);
        }
        return read;
    }
    void unassign() { rd_kafka_assign(m_handle, nullptr); }

private:
    rd_kafka_t* m_handle = nullptr;
};

// Heap bytes in use.
size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace

// 1,000 topics of 6 partitions over 3 brokers, listed with their watermarks; `rttMs` delays every
// answer of every broker. `perTopic` is the road before the batches: one topic after another.
static void listWatermarks(benchmark::State& state, int rttMs, bool perTopic)
{
    MockKafkaCluster cluster(3);
    QElapsedTimer creating;
    creating.start();
    cluster.createTopics(thousandTopics());
    const qint64 createMs = creating.elapsed();
    KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
    syncWait(client.topics(10000));
    for (int32_t broker = 1; broker <= 3; ++broker)
        rd_kafka_mock_broker_set_rtt(cluster.raw(), broker, rttMs);
    qsizetype partitions = 0;
    for (auto _ : state)
        partitions = listWithWatermarks(client, perTopic);
    if (partitions != 6000)
        state.SkipWithError("not every partition was listed");
    state.counters["partitions"] = double(partitions);
    state.counters["create_ms"] = double(createMs);
}
BENCHMARK_CAPTURE(listWatermarks, 1000topics, 0, false)
    ->Name("listWatermarks/1000topics")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(listWatermarks, 1000topics_rtt20ms, 20, false)
    ->Name("listWatermarks/1000topics/rtt20ms")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(listWatermarks, 1000topics_perTopic, 0, true)
    ->Name("listWatermarks/1000topics/perTopic")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(listWatermarks, 1000topics_rtt20ms_perTopic, 20, true)
    ->Name("listWatermarks/1000topics/rtt20ms/perTopic")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The newest 100 messages of a topic of 12 partitions as the session reads them once connected:
// the limit split over the partitions (8 each), the newest of each partition; `atOnce` reads them
// as the session does (`KafkaClient::pages`: every partition at once), else one page after another
// (`KafkaClient::read`, the road before). `rttMs` delays every answer of the broker.
// With `atOnce`, each iteration is followed by the same read through `AllPartitionsReader`, also
// connected beforehand (`peer_ms`, median; `peer_ratio`, ours over it). With kcat on the PATH each
// iteration is also followed by bench/kafka/kcat-newest.sh on the same topic (`kcat_ms`; a whole
// process, connecting included, so not like for like: see fromNothing in bench_session).
static void readNewest100(benchmark::State& state, int rttMs, bool atOnce)
{
    MockKafkaCluster cluster(1);
    cluster.createTopic("orders", 12);
    QList<MockKafkaCluster::Placed> records;
    for (int i = 0; i < 100; ++i)
        records.append(
            {"orders",
             i % 12,
             {QByteArray("k") + QByteArray::number(i), QByteArray("{\"n\":") + QByteArray::number(i) + "}", {}, 0}});
    cluster.produceAll(records);
    KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
    QList<Topic> listed = syncWait(client.topics(10000));
    const Topic topic = syncWait(client.watermarks(listed.constFirst(), 10000));
    const qsizetype share = std::max<qsizetype>(1, 100 / topic.partitions.size());
    QList<KafkaReading::PartitionStart> starts;
    for (const Partition& partition : topic.partitions) {
        if (partition.high - partition.low >= 1)
            starts.append({partition.id, KafkaClient::StartPosition::atTail(share)});
    }
    std::optional<AllPartitionsReader> peer;
    if (atOnce)
        peer.emplace(cluster.bootstrap());
    rd_kafka_mock_broker_set_rtt(cluster.raw(), 1, rttMs);

    const QString script = QStringLiteral(TESSARON_BENCH_SOURCE_DIR "/kcat-newest.sh");
    const bool withKcat = !QStandardPaths::findExecutable(QStringLiteral("kcat")).isEmpty();
    QList<double> kcatMs;
    QList<double> peerMs;
    QList<double> oursMs;
    qsizetype read = 0;
    int peerRead = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        read = 0;
        if (atOnce) {
            for (const KafkaReading::PartitionPage& answer : syncWait(client.pages("orders", starts, share, 5000)))
                read += answer.page ? answer.page->messages.size() : 0;
        } else {
            for (const KafkaReading::PartitionStart& start : starts)
                read += syncWait(client.read("orders", start.partition, start.from, share, 5000)).size();
        }
        oursMs.append(clock.nsecsElapsed() / 1e6);
        state.PauseTiming();
        if (peer) {
            clock.restart();
            peerRead = peer->readNewest("orders", int(topic.partitions.size()), int(share), 5000);
            peerMs.append(clock.nsecsElapsed() / 1e6);
            peer->unassign();
        }
        if (withKcat) {
            QProcess kcat;
            kcat.start(QStringLiteral("bash"),
                       {script, cluster.bootstrap(), QStringLiteral("orders"), QString::number(share)});
            kcat.waitForFinished(30000);
            bool ok = false;
            const double ms =
                QString::fromUtf8(kcat.readAllStandardOutput()).section(QLatin1Char(' '), 0, 0).toDouble(&ok);
            if (ok && kcat.exitCode() == 0)
                kcatMs.append(ms);
        }
        state.ResumeTiming();
    }
    if (read != 12 * share || (peer && peerRead != 12 * share))
        state.SkipWithError("not every message was read");
    state.counters["messages"] = double(read);
    auto median = [](QList<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    if (!peerMs.isEmpty()) {
        state.counters["peer_ms"] = median(peerMs);
        state.counters["peer_ratio"] = median(oursMs) / median(peerMs);
    }
    if (!kcatMs.isEmpty()) {
        state.counters["kcat_ms"] = median(kcatMs);
        state.counters["ratio"] = median(oursMs) / median(kcatMs);
    }
}
BENCHMARK_CAPTURE(readNewest100, pageAfterPage, 0, false)
    ->Name("readNewest100")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);
BENCHMARK_CAPTURE(readNewest100, pageAfterPage_rtt20ms, 20, false)
    ->Name("readNewest100/rtt20ms")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);
BENCHMARK_CAPTURE(readNewest100, atOnce, 0, true)
    ->Name("readNewest100/atOnce")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);
BENCHMARK_CAPTURE(readNewest100, atOnce_rtt20ms, 20, true)
    ->Name("readNewest100/atOnce/rtt20ms")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);

// Heap held per message beyond its payload: 10,000 messages of 1 KiB with a timestamp, held in a
// list as the session holds them, built directly (bytes_beyond_payload) and read from the mock
// cluster through the client (read_path_bytes).
static void heldMessageOverhead(benchmark::State& state)
{
    constexpr int count = 10000;
    const QByteArray body(1024, 'x');
    const QString topicName = QStringLiteral("orders");
    double direct = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        QList<Message> held;
        held.reserve(count);
        for (int i = 0; i < count; ++i) {
            QByteArray payload(body.constData(), body.size()); // a copy of its own, as a read makes
            held.append(Message(topicName, 0, i, std::nullopt, std::move(payload),
                                QDateTime::fromMSecsSinceEpoch(1'700'000'000'000 + i, Qt::UTC), {}));
        }
        direct = double(heapInUse() - before) / count - body.size();
        benchmark::DoNotOptimize(held);
    }
    state.counters["bytes_beyond_payload"] = direct;

    MockKafkaCluster cluster(1);
    cluster.createTopic("orders", 1);
    QList<MockKafkaCluster::Placed> records;
    for (int i = 0; i < 2000; ++i)
        records.append({"orders", 0, {std::nullopt, body, {}, 0}});
    cluster.produceAll(records);
    KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
    syncWait(client.topics(10000));
    syncWait(client.read("orders", 0, KafkaClient::StartPosition::atBeginning(), 10, 5000)); // warm the handle
    QList<Message> read = syncWait(client.read("orders", 0, KafkaClient::StartPosition::atBeginning(), 2000, 5000));
    const qsizetype readCount = read.size();
    // What the list holds is what its release gives back (the library's own buffers come and go).
    const size_t holding = heapInUse();
    read = QList<Message>();
    const double throughRead = double(holding - heapInUse()) / double(readCount) - body.size();
    state.counters["read_path_bytes"] = readCount == 2000 ? throughRead : -1;
}
BENCHMARK(heldMessageOverhead)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
