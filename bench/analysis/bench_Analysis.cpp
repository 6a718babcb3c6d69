// The analyses run on the main thread after every read and on every keystroke of a search, so each
// must take a few milliseconds over samples far larger than a usual read.
#include "TessaronCore/analysis/KeyShareEstimate.h"
#include "TessaronCore/analysis/MessageSearch.h"
#include "TessaronCore/analysis/PartitionSkew.h"
#include "TessaronCore/analysis/ShapeDrift.h"
#include "TessaronCore/analysis/TopicFilter.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

#include <algorithm>
#include <random>

using namespace tessaron;

namespace {

// About 1 KB of JSON with 30 field paths (26 top-level members, one object of four); every 20th
// message drifts (a field turns to text, or goes missing).
QByteArray payload(int i, bool shuffled = false)
{
    QList<QByteArray> members;
    for (int f = 0; f < 25; ++f) {
        QByteArray b = "\"field_" + QByteArray::number(f) + "\":";
        const bool drift = i % 20 == 7 && f == 1 + 4 * ((i / 20) % 6);
        if (drift && i % 40 == 7)
            b += "\"changed to text\"";
        else if (f % 4 == 0)
            b += "\"customer-" + QByteArray::number(i * 31 + f) + " of the northern region\"";
        else if (f % 4 == 1)
            b += QByteArray::number(i * 1.25 + f);
        else if (f % 4 == 2)
            b += (i + f) % 2 ? "true" : "false";
        else
            b += "[" + QByteArray::number(f) + ",\"x\"]";
        members.append(b);
    }
    members.append("\"address\":{\"street\":\"" + QByteArray::number(i)
                   + " Long Road\",\"city\":\"Lisbon\",\"zip\":\"1000-" + QByteArray::number(i % 1000)
                   + "\",\"geo\":{\"lat\":38.7,\"lon\":-9.1}}");
    if (!(i % 20 == 7 && i % 40 != 7))
        members.append("\"note\":\"" + QByteArray(120, 'n') + "\"");
    if (shuffled)
        std::shuffle(members.begin(), members.end(), std::mt19937(uint32_t(i)));
    return "{" + members.join(',') + "}";
}

const QList<Message>& sample()
{
    static const QList<Message> messages = [] {
        QList<Message> list;
        for (int i = 0; i < 10'000; ++i) {
            list.append(Message(QStringLiteral("orders"), i % 12, i, QByteArray("key-") + QByteArray::number(i % 300),
                                payload(i), std::nullopt,
                                {{QStringLiteral("trace-id"), QByteArray::number(i * 7919)},
                                 {QStringLiteral("source"), QByteArray("checkout-service")}}));
        }
        return list;
    }();
    return messages;
}

void shapeVerdict(benchmark::State& state)
{
    const QList<Message>& messages = sample();
    for (auto _ : state) {
        ShapeVerdict v = ShapeDrift::verdict(messages);
        benchmark::DoNotOptimize(v);
    }
    state.counters["outliers"] = double(ShapeDrift::verdict(messages).driftDetail()->outlierCount());
}
BENCHMARK(shapeVerdict)->Unit(benchmark::kMillisecond);

// The same messages with their top-level members in a different order in each message, as a
// producer that writes from a hash map would send them: no raw walk repeats, every shape is sorted.
void shapeVerdictShuffledKeys(benchmark::State& state)
{
    QList<Message> messages;
    for (const Message& m : sample())
        messages.append(Message(m.topic(), m.partition(), m.offset(), m.key(), payload(int(m.offset()), true),
                                std::nullopt, m.headers()));
    for (auto _ : state) {
        ShapeVerdict v = ShapeDrift::verdict(messages);
        benchmark::DoNotOptimize(v);
    }
    state.counters["outliers"] = double(ShapeDrift::verdict(messages).driftDetail()->outlierCount());
}
BENCHMARK(shapeVerdictShuffledKeys)->Unit(benchmark::kMillisecond);

void searchKeystroke(benchmark::State& state, const char* term)
{
    const QList<Message>& messages = sample();
    const QString text = QString::fromUtf8(term);
    qsizetype found = 0;
    for (auto _ : state) {
        QList<Message> hits = MessageSearch::matching(messages, text, MessageSearch::Scope::everything);
        found = hits.size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["matches"] = double(found);
}
BENCHMARK_CAPTURE(searchKeystroke, rareTerm, "customer-4242")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchKeystroke, absentTerm, "zq")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchKeystroke, commonTerm, "lisbon")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchKeystroke, accentedTerm, "lisb\xC3\xB4")->Unit(benchmark::kMillisecond);

const QList<Topic>& topics()
{
    static const QList<Topic> list = [] {
        static const char* const areas[] = {"shop", "billing", "audit", "Search", "ledger", "ops"};
        QList<Topic> out;
        for (int i = 0; i < 10'000; ++i) {
            Topic t;
            t.name =
                QString::fromLatin1(areas[i % 6]) + QLatin1Char('.') + QStringLiteral("events-%1").arg(i * 7 % 10'000);
            if (i % 50 == 0)
                t.name += QStringLiteral(".dlq");
            t.isInternal = i % 400 == 0;
            Partition p;
            p.high = i;
            t.partitions = {p};
            out.append(t);
        }
        return out;
    }();
    return list;
}

QStringList pins()
{
    QStringList out;
    for (int i = 0; i < 50; ++i)
        out.append(topics()[i * 197].name);
    out.append(QStringLiteral("shop.gone"));
    return out;
}

void topicSections(benchmark::State& state, const char* search, bool withNamespace)
{
    const QList<Topic>& list = topics();
    const QStringList pinned = pins();
    const std::optional<QString> ns = withNamespace ? std::optional<QString>(QStringLiteral("shop")) : std::nullopt;
    const QString text = QString::fromLatin1(search);
    for (auto _ : state) {
        TopicFilter::Sections s = TopicFilter::sections(list, pinned, text, ns, false, true);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK_CAPTURE(topicSections, all, "", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(topicSections, searched, "events-1", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(topicSections, namespaced, "", true)->Unit(benchmark::kMillisecond);

void topicNamespaces(benchmark::State& state)
{
    for (auto _ : state) {
        QStringList n = TopicFilter::namespaces(topics());
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(topicNamespaces)->Unit(benchmark::kMillisecond);

void partitionSkew(benchmark::State& state)
{
    Topic t;
    t.name = QStringLiteral("wide");
    QRandomGenerator rng(7);
    for (int i = 0; i < 10'000; ++i) {
        Partition p;
        p.id = 9'999 - i;
        p.low = rng.bounded(1000);
        p.high = p.low + rng.bounded(100'000);
        t.partitions.append(p);
    }
    for (auto _ : state) {
        SkewVerdict v = PartitionSkew::verdict(t);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(partitionSkew)->Unit(benchmark::kMillisecond);

void keyShare(benchmark::State& state)
{
    QList<Message> messages;
    QList<Partition> partitions;
    for (int p = 0; p < 12; ++p) {
        Partition part;
        part.id = p;
        part.high = 1'000'000 + p * 50'000;
        partitions.append(part);
    }
    for (int i = 0; i < 100'000; ++i)
        messages.append(Message(QStringLiteral("orders"), i % 12, i,
                                QByteArray("customer-") + QByteArray::number(i % 5'000), QByteArray("{}"), std::nullopt,
                                {}));
    for (auto _ : state) {
        KeyShareEstimate::Result r = KeyShareEstimate::estimate(messages, partitions);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(keyShare)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
