// Reading and listing speed of the Kafka client against the in-process mock cluster.
#include "TessaronCore/kafka/KafkaClient.h"

#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

using namespace tessaron;
using testing::MockKafkaCluster;
using testing::syncWait;

// 100 messages over 12 partitions, read partition after partition as the session does: each
// page stops at the partition's end instead of waiting out its 5000 ms time-out.
static void BM_ReadHundredMessagesOverTwelvePartitions(benchmark::State& state)
{
    MockKafkaCluster cluster(1);
    cluster.createTopic("orders", 12);
    for (int i = 0; i < 100; ++i)
        cluster.produce(
            "orders", i % 12,
            {QByteArray("k") + QByteArray::number(i), QByteArray("{\"n\":") + QByteArray::number(i) + "}", {}, 0});
    KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
    syncWait(client.topics(10000));
    qsizetype read = 0;
    for (auto _ : state) {
        read = 0;
        for (int32_t partition = 0; partition < 12; ++partition)
            read += syncWait(client.read("orders", partition, KafkaClient::StartPosition::atTail(9), 9, 5000)).size();
    }
    if (read != 100)
        state.SkipWithError("not every message was read");
    state.counters["messages"] = double(read);
}
BENCHMARK(BM_ReadHundredMessagesOverTwelvePartitions)->Unit(benchmark::kMillisecond)->Iterations(20);

// The connect road: list 1,000 topics of 6 partitions each, then each topic's watermarks in turn.
static void BM_ListThousandTopicsWithWatermarks(benchmark::State& state)
{
    MockKafkaCluster cluster(3);
    QList<MockKafkaCluster::NewTopic> topics;
    for (int i = 0; i < 1000; ++i)
        topics.append({QStringLiteral("topic-%1").arg(i, 4, 10, QLatin1Char('0')), 6});
    QElapsedTimer creating;
    creating.start();
    cluster.createTopics(topics);
    const qint64 createMs = creating.elapsed();
    KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
    qsizetype partitions = 0;
    for (auto _ : state) {
        partitions = 0;
        for (const Topic& topic : syncWait(client.topics(10000)))
            partitions += syncWait(client.watermarks(topic, 10000)).partitions.size();
    }
    if (partitions != 6000)
        state.SkipWithError("not every partition was listed");
    state.counters["partitions"] = double(partitions);
    state.counters["create_ms"] = double(createMs);
}
BENCHMARK(BM_ListThousandTopicsWithWatermarks)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
