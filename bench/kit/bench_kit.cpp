// Run: QT_QPA_PLATFORM=offscreen build-*/bench/kit/bench_kit
#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinUI/AuroraBackground.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace tessaron;

namespace {

// About 1 MB of realistic payload: an array of orders with nested items, escapes and numbers.
QString payload()
{
    static const QString text = [] {
        QString s = "[";
        int i = 0;
        while (s.size() < 1'000'000) {
            if (i)
                s += ",\n";
            s += QString(
                     "{\"id\": %1, \"customer\": \"c-%2\", \"note\": \"line \\\"%3\\\" \\u00e9\", \"total\": -%4.75e2, "
                     "\"paid\": %5, \"coupon\": null, \"items\": [{\"sku\": \"A-%6\", \"qty\": %7}, {\"sku\": \"B\", "
                     "\"qty\": 1}]}")
                     .arg(9007199254740993LL + i)
                     .arg(i % 977)
                     .arg(i)
                     .arg(i % 5000)
                     .arg(i % 2 ? "true" : "false")
                     .arg(i % 31)
                     .arg(i % 9);
            ++i;
        }
        return s + "]";
    }();
    return text;
}

void BM_HighlightOneMegabyte(benchmark::State& state)
{
    const QString text = payload();
    for (auto _ : state) {
        AttributedText out = JSONHighlighter::highlight(text);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_HighlightOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_TokensOneMegabyte(benchmark::State& state)
{
    const QString text = payload();
    for (auto _ : state) {
        auto out = JSONHighlighter::tokens(text);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_TokensOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_PrettyPrintOneMegabyte(benchmark::State& state)
{
    const QString text = payload();
    for (auto _ : state) {
        QString out = JSONHighlighter::prettyPrint(text);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_PrettyPrintOneMegabyte)->Unit(benchmark::kMillisecond);

void BM_AuroraFrame(benchmark::State& state)
{
    QImage target(1020, 660, QImage::Format_ARGB32_Premultiplied);
    double t = 1000.0;
    for (auto _ : state) {
        QPainter p(&target);
        AuroraBackground::paintFrame(p, target.size(), t, 1.0);
        t += 1.0 / 60.0;
    }
}
BENCHMARK(BM_AuroraFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
