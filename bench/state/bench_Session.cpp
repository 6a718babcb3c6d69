// A real BrokerSession over librdkafka's mock cluster: what the user waits for when the sidebar
// lists a large cluster at network distance, and when "Read further" adds a page to many held
// messages.
#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/kafka/KafkaClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>

using namespace tessaron;
using testing::MockKafkaCluster;
using testing::syncWait;

namespace {

void setRtt(MockKafkaCluster& cluster, int brokers, int rttMs)
{
    for (int32_t broker = 1; broker <= brokers; ++broker)
        rd_kafka_mock_broker_set_rtt(cluster.raw(), broker, rttMs);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

} // namespace

// 1,000 topics of 6 partitions over 3 brokers, listed again by a connected session (topics,
// every watermark, groups) with `rttMs` between the client and each broker. The floor is three
// round trips (the listing, the watermarks, the groups) plus the CPU the same listing takes
// without delay.
static void sessionListing(benchmark::State& state, int rttMs)
{
    MockKafkaCluster cluster(3);
    QList<MockKafkaCluster::NewTopic> topics;
    for (int i = 0; i < 1000; ++i)
        topics.append({QStringLiteral("topic-%1").arg(i, 4, 10, QLatin1Char('0')), 6});
    cluster.createTopics(topics);
    // One message a topic, so that the watermarks differ from the bare listing's and each batch
    // publishes.
    QList<MockKafkaCluster::Placed> records;
    for (const MockKafkaCluster::NewTopic& topic : topics)
        records.append({topic.name, 0, {std::nullopt, "m", {}, 0}});
    cluster.produceAll(records);
    BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
    syncWait(session.connectBroker());
    setRtt(cluster, 3, rttMs);
    int publishes = 0;
    QObject::connect(&session, &BrokerSession::topicsChanged, [&] { ++publishes; });
    for (auto _ : state) {
        publishes = 0;
        syncWait(session.refreshTopics());
    }
    qsizetype partitions = 0;
    for (const Topic& topic : session.topics())
        for (const Partition& partition : topic.partitions)
            partitions += partition.error ? 0 : 1;
    if (partitions != 6000 || session.lostConnection())
        state.SkipWithError("not every partition was listed");
    state.counters["publishes"] = publishes;
}
BENCHMARK_CAPTURE(sessionListing, 1000topics, 0)
    ->Name("sessionListing/1000topics")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(sessionListing, 1000topics_rtt20ms, 20)
    ->Name("sessionListing/1000topics/rtt20ms")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// A topic of 100,000 JSON messages over 4 partitions (one in twenty of another shape), read from
// the beginning 1,000 at a time: the first page, then 100 more with "Read further", each followed
// by the same page read through the client alone, partition after partition as the session reads
// them. `session_page_ms` and `client_page_ms` are medians over the last 20 pages (80,000 messages
// and more held), `ratio` the first over the second; the time of the 101 pages is in
// `session_101_pages_ms` and `client_101_pages_ms`.
static void readFurther(benchmark::State& state)
{
    constexpr int partitions = 4;
    constexpr int total = 100000;
    constexpr int limit = 1000;
    MockKafkaCluster cluster(1);
    cluster.createTopic("orders", partitions);
    QList<MockKafkaCluster::Placed> records;
    records.reserve(total);
    for (int i = 0; i < total; ++i) {
        QByteArray payload = i % 20 == 7
            ? "{\"order\":" + QByteArray::number(i) + ",\"amount\":\"12.50\",\"note\":null}"
            : "{\"order\":" + QByteArray::number(i) + ",\"amount\":12.5,\"currency\":\"EUR\",\"lines\":[1,2]}";
        records.append(
            {"orders", i % partitions, {"k" + QByteArray::number(i % 500), payload, {}, 1'700'000'000'000 + i}});
    }
    cluster.produceAll(records);

    QList<double> sessionMs;
    QList<double> clientMs;
    qsizetype held = 0;
    for (auto _ : state) {
        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        session.setSelectedTopic(QStringLiteral("orders"));
        KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
        syncWait(client.topics(10000));
        QMap<int32_t, int64_t> next;
        // Each session page, then the same page through the client alone, so that both see the
        // same load on a shared machine.
        for (int page = 0; page <= 100; ++page) {
            QElapsedTimer clock;
            clock.start();
            syncWait(session.read(BrokerSession::Position::atBeginning(), limit, page > 0));
            sessionMs.append(clock.nsecsElapsed() / 1e6);
            clock.restart();
            for (int32_t p = 0; p < partitions; ++p) {
                const auto from =
                    page == 0 ? KafkaStartPosition::atBeginning() : KafkaStartPosition::atOffset(next.value(p));
                const KafkaPage got = syncWait(client.page("orders", p, from, limit / partitions, 5000));
                for (auto it = got.next.cbegin(); it != got.next.cend(); ++it)
                    next.insert(it.key(), it.value());
            }
            clientMs.append(clock.nsecsElapsed() / 1e6);
        }
        held = session.messages().size();
    }
    if (held != total)
        state.SkipWithError("not every message was read");
    const double sessionPage = median(sessionMs.mid(sessionMs.size() - 20));
    const double clientPage = median(clientMs.mid(clientMs.size() - 20));
    state.counters["session_page_ms"] = sessionPage;
    state.counters["client_page_ms"] = clientPage;
    state.counters["ratio"] = clientPage > 0 ? sessionPage / clientPage : 0;
    state.counters["session_101_pages_ms"] = std::accumulate(sessionMs.cbegin(), sessionMs.cend(), 0.0);
    state.counters["client_101_pages_ms"] = std::accumulate(clientMs.cbegin(), clientMs.cend(), 0.0);
}
BENCHMARK(readFurther)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    // Preferences go to a throwaway folder, never the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
