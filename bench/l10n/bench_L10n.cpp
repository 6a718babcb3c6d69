#include "TessaronCore/l10n/L10n.h"

#include "VelkinInfra/prefs/UserDefaults.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tessaron;

namespace {

void usePortuguese() { UserDefaults::standard().setString(L10n::key, QStringLiteral("pt")); }

void lookupLiteral(benchmark::State& state)
{
    usePortuguese();
    for (auto _ : state)
        benchmark::DoNotOptimize(L10n::t("Nothing is encrypted and nobody is asked who they are. Fine for a broker on "
                                         "your own machine, wrong for anything else."));
}
BENCHMARK(lookupLiteral);

void lookupText(benchmark::State& state)
{
    usePortuguese();
    const QString key = QStringLiteral("Open another broker");
    for (auto _ : state)
        benchmark::DoNotOptimize(L10n::t(key));
}
BENCHMARK(lookupText);

void lookupMiss(benchmark::State& state)
{
    usePortuguese();
    const QString name = QStringLiteral("orders.events.dlq");
    for (auto _ : state)
        benchmark::DoNotOptimize(L10n::t(name));
}
BENCHMARK(lookupMiss);

void lookupWithArguments(benchmark::State& state)
{
    usePortuguese();
    const QString group = QStringLiteral("billing-consumers");
    for (auto _ : state)
        benchmark::DoNotOptimize(L10n::t("%@ behind across %d partitions, and %@ carries %d%% of it. Start there — one "
                                         "partition far behind the rest is usually one consumer, not the whole group.",
                                         QStringLiteral("1,204,551"), 12, QStringLiteral("p3"), 72));
}
BENCHMARK(lookupWithArguments);

} // namespace

int main(int argc, char** argv)
{
    // The language is read from the user defaults: keep them in a throwaway folder.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
