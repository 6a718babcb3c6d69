// Run: QT_QPA_PLATFORM=offscreen build-*/bench/browser/bench_browser
#include "Tessaron/browser/BrowserFixtures.h"
#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/MessageListModel.h"
#include "Tessaron/browser/MessageRowDelegate.h"
#include "Tessaron/browser/PayloadDocument.h"

#include <QApplication>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

using namespace tessaron;

namespace {

// 10,000 JSON messages of a few hundred bytes over 12 partitions, keyed, with headers.
const QList<Message>& tenThousand()
{
    static const QList<Message> messages = [] {
        QList<Message> out;
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < 10'000; ++i) {
            const QByteArray payload = QString("{\"id\":%1,\"customer\":\"c-%2\",\"total\":%3.5,\"items\":[{\"sku\":"
                                               "\"A-%4\",\"qty\":%5}],\"note\":\"fine\"}")
                                           .arg(i)
                                           .arg(i % 977)
                                           .arg(i % 5000)
                                           .arg(i % 31)
                                           .arg(i % 9)
                                           .toUtf8();
            out << Message("orders", i % 12, i / 12, QByteArray("customer-") + QByteArray::number(i % 500), payload,
                           now.addSecs(-i * 7), {{"content-type", "application/json"}});
        }
        return out;
    }();
    return messages;
}

QSet<QString> someOutliers()
{
    QSet<QString> ids;
    for (int i = 0; i < 10'000; i += 20)
        ids.insert(tenThousand()[i].id());
    return ids;
}

void modelBuild(benchmark::State& state)
{
    MessageListModel model;
    QListView view;
    view.setModel(&model);
    view.setItemDelegate(new MessageRowDelegate(&model, &view));
    view.setUniformItemSizes(true);
    view.resize(420, 640);
    const QList<Message>& messages = tenThousand();
    for (auto _ : state) {
        // What a new read costs the pane: the outlier set, the rows, and the list's layout.
        model.setRows(messages, someOutliers(), std::nullopt);
        view.doItemsLayout();
        benchmark::DoNotOptimize(model.rowCount());
    }
}
BENCHMARK(modelBuild)->Unit(benchmark::kMillisecond);

void scrollFrame(benchmark::State& state)
{
    MessageListModel model;
    QListView view;
    view.setModel(&model);
    view.setItemDelegate(new MessageRowDelegate(&model, &view));
    view.setUniformItemSizes(true);
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.resize(420, 640);
    view.show();
    model.setRows(tenThousand(), someOutliers(), tenThousand()[3].id());
    QApplication::processEvents();
    QImage frame(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* bar = view.verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        // Scroll by a third of a page and paint the frame: the rows that come into view are new.
        bar->setValue((bar->value() + 213) % std::max(1, bar->maximum()));
        QPainter painter(&frame);
        view.viewport()->render(&painter);
        ++step;
    }
    benchmark::DoNotOptimize(step);
}
BENCHMARK(scrollFrame)->Unit(benchmark::kMillisecond);

// About 1 MB of JSON in one message.
QByteArray megabyte()
{
    QByteArray s = "{\"orders\":[";
    for (int i = 0; s.size() < 1'000'000; ++i) {
        if (i)
            s += ",";
        s += QString("{\"id\":%1,\"customer\":\"c-%2\",\"note\":\"line \\\"%3\\\"\",\"total\":-%4.75e2,\"paid\":%5,"
                     "\"items\":[{\"sku\":\"A-%6\",\"qty\":%7}]}")
                 .arg(i)
                 .arg(i % 977)
                 .arg(i)
                 .arg(i % 5000)
                 .arg(i % 2 ? "true" : "false")
                 .arg(i % 31)
                 .arg(i % 9)
                 .toUtf8();
    }
    return s + "]}";
}

// One object of 100,000 members (about 1 MB), its keys in no order.
QByteArray hundredThousandKeys()
{
    QByteArray s = "{";
    for (int i = 0; i < 100'000; ++i) {
        if (i)
            s += ",";
        s += "\"key" + QByteArray::number((i * 7919) % 100'000) + "\":" + QByteArray::number(i);
    }
    return s + "}";
}

// An array of 1.2 million numbers (about 8.5 MB): 1,200,002 lines when pretty-printed.
QByteArray millionLines()
{
    QByteArray s = "[";
    s.reserve(8'500'000);
    for (int i = 0; i < 1'200'000; ++i) {
        if (i)
            s += ",";
        s += QByteArray::number(1'000'000 + i);
    }
    return s + "]";
}

// Selecting a message until its exhibit is built, its payload pretty-printed and laid out, and
// the exhibit painted once.
void exhibitSelect(benchmark::State& state, QByteArray (*payload)())
{
    using namespace browserfixtures;
    Stage stage = kafkaStage({fakes::topic("big", {{0, 2}})});
    stage.kafka().held["big"][0] = {keyed("big", 0, 0, "a", payload(), 2), keyed("big", 0, 1, "b", "{}", 1)};
    stage.open("big");
    ExhibitView view(stage.app.get(), stage.session.get());
    view.resize(520, 640);
    view.show();
    QApplication::processEvents();
    QImage frame(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        stage.session->setSelectedMessage(QString("big/0/0"));
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QPainter painter(&frame);
        view.render(&painter);
        painter.end();
        state.PauseTiming();
        if (!view.document() || view.document()->lineCount() < 3)
            state.SkipWithError("the payload was not shown as a document");
        stage.session->setSelectedMessage(std::nullopt);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(exhibitSelect, 1MB, megabyte)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exhibitSelect, 100kKeys, hundredThousandKeys)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exhibitSelect, 1.2MLines, millionLines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
