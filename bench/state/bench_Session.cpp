// A real BrokerSession over librdkafka's mock cluster: what the user waits for when the sidebar
// lists a large cluster at network distance, when "Read further" adds a page to many held
// messages (with and without the message list shown), and from nothing to the newest messages.
#include "support/MockKafkaCluster.h"
#include "support/SyncWait.h"

#include "Tessaron/browser/MessageListModel.h"
#include "Tessaron/browser/MessageListView.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "VelkinUI/KitButton.h"
#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QProcess>
#include <QStandardPaths>
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

double lowest(const QList<double>& values)
{
    return values.isEmpty() ? 0 : *std::min_element(values.begin(), values.end());
}
double highest(const QList<double>& values)
{
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
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
// `session_101_pages_ms` and `client_101_pages_ms`. `withView`: the message list is shown (900 ×
// 700, offscreen) with a message selected, its further pages go through the list's "Read further",
// and a page is timed until the events it posted (the list's layout, a frame) are handled.
static void readFurther(benchmark::State& state, bool withView)
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
    bool keptSelection = true;
    for (auto _ : state) {
        BrokerSession session(cluster.broker(), std::nullopt, std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        session.setSelectedTopic(QStringLiteral("orders"));
        std::unique_ptr<AppState> app;
        std::unique_ptr<MessageListView> view;
        if (withView) {
            // The list's "Read further" reads as many as the preference says.
            UserDefaults::standard().setInteger(Prefs::messagesPerRead, limit);
            app = std::make_unique<AppState>();
            view = std::make_unique<MessageListView>(app.get(), &session);
            view->resize(900, 700);
            view->show();
            QCoreApplication::processEvents();
        }
        KafkaClient client(cluster.broker(), std::nullopt, std::nullopt, 10000);
        syncWait(client.topics(10000));
        QMap<int32_t, int64_t> next;
        // Each session page, then the same page through the client alone, so that both see the
        // same load on a shared machine.
        for (int page = 0; page <= 100; ++page) {
            QElapsedTimer clock;
            clock.start();
            if (view && page > 0) {
                view->readFurther();
                // Until the list's own read has ended (its button is enabled again), asleep between
                // events as the application's loop is. Given a time, processEvents does not wait but
                // spins, and takes a core from the threads doing the read.
                while (session.isLoadingMessages() || !view->readFurtherButton()->isEnabled())
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            } else {
                syncWait(session.read(BrokerSession::Position::atBeginning(), limit, page > 0));
            }
            if (view)
                QCoreApplication::processEvents();
            sessionMs.append(clock.nsecsElapsed() / 1e6);
            if (view && page == 0)
                session.setSelectedMessage(session.messages().at(500).id());
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
        if (view) {
            // The selected message is still the list's current row.
            const QModelIndex current = view->listView()->currentIndex();
            keptSelection = session.selectedMessage() && current.isValid()
                && view->model()->messageAt(current.row()).id() == *session.selectedMessage();
        }
    }
    if (held != total)
        state.SkipWithError("not every message was read");
    else if (!keptSelection)
        state.SkipWithError("the selection was lost");
    // Pages 1 to 20 (1,000 to 20,000 held) beside the last 20: whether a page still grows with what
    // is held.
    state.counters["session_early_page_ms"] = median(sessionMs.mid(1, 20));
    state.counters["client_early_page_ms"] = median(clientMs.mid(1, 20));
    const QList<double> lastSession = sessionMs.mid(sessionMs.size() - 20);
    const QList<double> lastClient = clientMs.mid(clientMs.size() - 20);
    const double sessionPage = median(lastSession);
    const double clientPage = median(lastClient);
    state.counters["session_page_ms"] = sessionPage;
    state.counters["session_page_min_ms"] = lowest(lastSession);
    state.counters["session_page_max_ms"] = highest(lastSession);
    state.counters["client_page_ms"] = clientPage;
    state.counters["ratio"] = clientPage > 0 ? sessionPage / clientPage : 0;
    state.counters["session_101_pages_ms"] = std::accumulate(sessionMs.cbegin(), sessionMs.cend(), 0.0);
    state.counters["client_101_pages_ms"] = std::accumulate(clientMs.cbegin(), clientMs.cend(), 0.0);
}
BENCHMARK_CAPTURE(readFurther, session, false)
    ->Name("readFurther")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);
BENCHMARK_CAPTURE(readFurther, view, true)
    ->Name("readFurther/view")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// From nothing to the newest 100 of 12 partitions, each a whole process (start, connect, read,
// exit), with `rttMs` between the client and the broker: the application's road
// (`bench_newest_from_nothing session`: connect as the application does, then read), the Kafka
// client alone (`… client`: the topics, then the newest 8 of each partition) and kcat tuned
// (`-o -8 -e`, "fetch.wait.max.ms" 10), in turn. Each iteration runs the three once; the counters
// are medians (`…_ms`), extremes (`…_min_ms`, `…_max_ms`) and ratios of medians to kcat's.
static void fromNothing(benchmark::State& state, int rttMs)
{
    if (QStandardPaths::findExecutable(QStringLiteral("kcat")).isEmpty()) {
        state.SkipWithError("kcat is not on the PATH (Debian package kcat)");
        return;
    }
    MockKafkaCluster cluster(1);
    cluster.createTopic("orders", 12);
    QList<MockKafkaCluster::Placed> records;
    for (int i = 0; i < 100; ++i)
        records.append(
            {"orders",
             i % 12,
             {QByteArray("k") + QByteArray::number(i), QByteArray("{\"n\":") + QByteArray::number(i) + "}", {}, 0}});
    cluster.produceAll(records);
    setRtt(cluster, 1, rttMs);
    const QString ours = QStringLiteral(TESSARON_NEWEST_FROM_NOTHING);
    const QString bootstrap = cluster.bootstrap();
    // The time from process start to exit, and the messages it printed (kcat prints one line each).
    auto run = [](const QString& program, const QStringList& arguments, bool countLines) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(program, arguments);
        process.waitForFinished(60000);
        const double ms = clock.nsecsElapsed() / 1e6;
        const QByteArray out = process.readAllStandardOutput();
        const int read = countLines ? int(out.count('\n')) : out.trimmed().toInt();
        return std::pair<double, int>(ms, process.exitCode() == 0 ? read : -1);
    };
    QList<double> sessionMs;
    QList<double> clientMs;
    QList<double> kcatMs;
    bool allRead = true;
    for (auto _ : state) {
        const auto [session, sessionRead] =
            run(ours, {QStringLiteral("session"), bootstrap, QStringLiteral("orders")}, false);
        const auto [client, clientRead] =
            run(ours, {QStringLiteral("client"), bootstrap, QStringLiteral("orders")}, false);
        const auto [kcat, kcatRead] =
            run(QStringLiteral("kcat"),
                {QStringLiteral("-C"), QStringLiteral("-b"), bootstrap, QStringLiteral("-t"), QStringLiteral("orders"),
                 QStringLiteral("-o"), QStringLiteral("-8"), QStringLiteral("-e"), QStringLiteral("-q"),
                 QStringLiteral("-f"), QStringLiteral("%o\n"), QStringLiteral("-X"),
                 QStringLiteral("fetch.wait.max.ms=10")},
                true);
        sessionMs.append(session);
        clientMs.append(client);
        kcatMs.append(kcat);
        allRead = allRead && sessionRead == 96 && clientRead == 96 && kcatRead == 96;
    }
    if (!allRead)
        state.SkipWithError("a run did not read the newest 96");
    const std::pair<const char*, const QList<double>*> rows[] = {
        {"session", &sessionMs}, {"client", &clientMs}, {"kcat", &kcatMs}};
    for (const auto& [name, values] : rows) {
        state.counters[std::string(name) + "_ms"] = median(*values);
        state.counters[std::string(name) + "_min_ms"] = lowest(*values);
        state.counters[std::string(name) + "_max_ms"] = highest(*values);
    }
    state.counters["session_ratio"] = median(sessionMs) / median(kcatMs);
    state.counters["client_ratio"] = median(clientMs) / median(kcatMs);
}
BENCHMARK_CAPTURE(fromNothing, rtt0, 0)
    ->Name("fromNothing")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);
BENCHMARK_CAPTURE(fromNothing, rtt20ms, 20)
    ->Name("fromNothing/rtt20ms")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(9);

int main(int argc, char** argv)
{
    // Preferences go to a throwaway folder, never the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    // The message list is shown offscreen unless a platform is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
