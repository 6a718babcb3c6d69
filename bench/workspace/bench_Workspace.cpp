// The sidebar of a large cluster: 10,000 topics (a tenth of them in folders, some dead letters, 50
// pins) and 500 consumer groups, over a real session fed by fake clients.
#include "support/SessionFakes.h"

#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarModel.h"
#include "Tessaron/workspace/SidebarRows.h"
#include "Tessaron/workspace/TopicListView.h"

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

struct LargeCluster : Rig {
    LargeCluster()
    {
        QList<Topic> topics;
        for (int i = 0; i < 10000; ++i) {
            QString name = QStringLiteral("service-%1.events.v%2").arg(i / 10).arg(i % 10);
            if (i % 97 == 0)
                name += QStringLiteral(".dlq");
            topics.append(topic(name, {{0, i * 37}, {0, i * 11}}));
        }
        QList<ConsumerGroup> groups;
        for (int i = 0; i < 500; ++i)
            groups.append({QStringLiteral("consumer-group-%1").arg(i), i % 7 ? "Stable" : "Empty", false});
        clients->kafka->listed = topics;
        clients->kafka->listedGroups = groups;
        session = connectedSession(clients);
        for (int i = 0; i < 50; ++i)
            session->togglePin(topics.at(i * 200).name);
    }
};

LargeCluster& cluster()
{
    static LargeCluster c;
    return c;
}

// Maps the session's 10,000 topics and 500 groups into the list's rows.
void BM_SidebarModelBuild(benchmark::State& state)
{
    SidebarModel model(cluster().session.get());
    for (auto _ : state) {
        model.rebuild();
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_SidebarModelBuild)->Unit(benchmark::kMillisecond);

// The rows built and laid out in the list, as when a listing arrives.
void BM_SidebarModelBuildAndLayout(benchmark::State& state)
{
    TopicListView view(nullptr, cluster().session.get());
    view.resize(320, 660);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        view.model()->rebuild();
        view.list()->doItemsLayout();
        benchmark::DoNotOptimize(view.list()->verticalScrollBar()->maximum());
    }
}
BENCHMARK(BM_SidebarModelBuildAndLayout)->Unit(benchmark::kMillisecond);

// One keystroke: the search changes, the rows are rebuilt, laid out and what changed is repainted.
// Alternates between two texts so every iteration is a real change.
void searchKeystroke(benchmark::State& state, const QString& shorter, const QString& longer)
{
    BrokerSession* session = cluster().session.get();
    TopicListView view(nullptr, session);
    view.resize(320, 660);
    view.show();
    QApplication::processEvents();
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        session->setSearch(flip ? longer : shorter);
        // What a frame does: the dirty regions are laid out and painted.
        QApplication::processEvents();
    }
    state.counters["rows"] = view.model()->rowCount();
    session->setSearch(QString());
}

void BM_SearchKeystrokeNarrowing(benchmark::State& state)
{
    searchKeystroke(state, QStringLiteral("service-12"), QStringLiteral("service-123"));
}
BENCHMARK(BM_SearchKeystrokeNarrowing)->Unit(benchmark::kMillisecond);

// Every topic still matches: the whole list is laid out again.
void BM_SearchKeystrokeBroad(benchmark::State& state)
{
    searchKeystroke(state, QStringLiteral("e"), QStringLiteral("ev"));
}
BENCHMARK(BM_SearchKeystrokeBroad)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Preferences go to a throwaway folder, never the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
