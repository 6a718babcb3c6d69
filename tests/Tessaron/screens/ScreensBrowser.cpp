// The message browser's screens: a drifting Kafka topic with its outliers, exhibits of every
// payload kind, the position menu, popover and calendar, a search with no match, the lag strip, a RabbitMQ queue
// before and after the consent, a refused queue, an empty topic and the working state.
#include "ScreenShooter.h"

#include "Tessaron/browser/BrowserFixtures.h"
#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/PayloadDocument.h"
#include "Tessaron/browser/MessageListView.h"
#include "Tessaron/browser/PositionPicker.h"
#include "Tessaron/browser/TopicHeader.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/KitFont.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QCalendarWidget>
#include <QMenu>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

namespace tessaron {

namespace {

using namespace browserfixtures;

// The pane on the window's dark ground, at the size the workspace gives it.
QWidget* framed(QWidget* content, QSize size = QSize(900, 640))
{
    auto* frame = new QWidget;
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, TessaronPalette::canvas());
    p.setColor(QPalette::WindowText, TessaronPalette::ink());
    p.setColor(QPalette::Base, TessaronPalette::canvas());
    p.setColor(QPalette::Text, TessaronPalette::ink());
    p.setColor(QPalette::ButtonText, TessaronPalette::ink());
    p.setColor(QPalette::Button, QColor(0x1c, 0x1b, 0x1e));
    p.setColor(QPalette::Light, QColor(0x2a, 0x29, 0x2d));
    p.setColor(QPalette::Midlight, QColor(0x24, 0x23, 0x27));
    p.setColor(QPalette::Mid, QColor(0x18, 0x17, 0x1a));
    p.setColor(QPalette::Dark, QColor(0x10, 0x10, 0x12));
    frame->setPalette(p);
    auto* box = new QVBoxLayout(frame);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(content);
    frame->resize(size);
    return frame;
}

void shootPane(ScreenShooter& shooter, const QString& screen, const QString& state, Stage& stage)
{
    std::unique_ptr<QWidget> frame(framed(new MessageListView(stage.app.get(), stage.session.get())));
    shooter.shoot(screen, state, frame.get());
}

Stage driftingStage()
{
    Stage stage =
        kafkaStage({fakes::topic("orders", {{0, 5}, {0, 5}}), fakes::topic("orders.dlq", {{0, 0}})},
                   {{"billing", "Stable", false}, {"audit", "Empty", false}, {"search-indexer", "Stable", false}});
    stage.kafka().held["orders"] = driftingOrders();
    stage.kafka().commits["billing"] = {{{"orders", 0}, 3}, {{"orders", 1}, 0}};
    stage.kafka().commits["audit"] = {{{"orders", 0}, 5}, {{"orders", 1}, 5}};
    stage.open("orders");
    return stage;
}

} // namespace

void shootBrowser(ScreenShooter& shooter)
{
    KitFont::registerFonts();
    useFixedClock();

    {
        // A drifting topic with its outliers marked and the groups' lags measured.
        Stage stage = driftingStage();
        std::unique_ptr<QWidget> frame(framed(new MessageListView(stage.app.get(), stage.session.get())));
        frame->show();
        flushEvents();
        shooter.shoot("browser", "kafka-drift", frame.get());
        shooter.shoot("browser", "lag", frame.get());

        // The first outlier as an exhibit, its suspect lines marked.
        const QStringList outliers = stage.session->shapeVerdict().driftDetail()->outlierIDs;
        stage.session->setSelectedMessage(outliers.first());
        flushEvents();
        shooter.shoot("exhibit", "json-suspects", frame.get());

        // A search that matches nothing.
        stage.session->setSelectedMessage(std::nullopt);
        stage.session->setMessageSearch("refund");
        flushEvents();
        shooter.shoot("browser", "search-nomatch", frame.get());
        stage.session->setMessageSearch(QString());

        // The position picker's menu, its moment popover, and the calendar that pops up from it, each
        // a window of its own as on screen.
        auto* header = frame->findChild<TopicHeader*>();
        PositionPicker* picker = header->positionPicker();
        picker->openMenu();
        flushEvents();
        shooter.shoot("picker", "menu", picker->menu());
        picker->menu()->hide();
        picker->openPopover();
        flushEvents();
        shooter.shoot("picker", "popover", picker->popover());
        QDateTimeEdit* moment = picker->popover()->picker();
        QTest::mouseClick(moment, Qt::LeftButton, {}, QPoint(moment->width() - 6, moment->height() / 2));
        waitUntil([moment] { return moment->calendarWidget()->isVisible(); });
        if (moment->calendarWidget()->isVisible()) {
            shooter.shoot("picker", "calendar", moment->calendarWidget()->window());
            moment->calendarWidget()->window()->hide();
        }
        picker->popover()->hide();
    }
    {
        // Avro decoded through the registry, a tombstone, a binary payload.
        Stage stage;
        Broker broker = fakes::kafkaBroker("payments");
        broker.schemaRegistryURL = "http://localhost:8081";
        stage.clients->kafka->listed = {fakes::topic("payments", {{0, 3}})};
        stage.clients->registry = std::make_shared<fakes::FakeRegistry>();
        stage.clients->registry->answers[7] =
            QByteArray(R"({"amount":{"cents":1250,"currency":"EUR"},"id":"pay-77","settled":true})");
        stage.app = std::make_unique<AppState>(stage.clients);
        stage.session = fakes::connectedSession(stage.clients, broker);
        QByteArray framedAvro(5, '\0');
        framedAvro[4] = 7;
        framedAvro += "\x02\x04body";
        QByteArray binary;
        for (int i = 0; i < 300; ++i)
            binary.append(char(0x80 + (i % 100)));
        stage.kafka().held["payments"][0] = {
            keyed("payments", 0, 0, "pay-77", framedAvro, 30, {{"schema", "payments-value"}}),
            Message("payments", 0, 1, QByteArray("pay-12"), std::nullopt, fixedNow().addSecs(-600), {}),
            keyed("payments", 0, 2, "blob", binary, 2),
        };
        stage.open("payments");
        std::unique_ptr<QWidget> frame(framed(new MessageListView(stage.app.get(), stage.session.get())));
        frame->show();
        for (const auto& [id, state] : {std::pair{"payments/0/0", "avro"}, std::pair{"payments/0/1", "tombstone"},
                                        std::pair{"payments/0/2", "binary"}}) {
            stage.session->setSelectedMessage(QString(id));
            flushEvents();
            shooter.shoot("exhibit", state, frame.get());
        }
    }
    {
        // A payload of 160,000 lines scrolled deep into its own rows: whole line numbers, and
        // emoji and accented letters laid out without gaps.
        Stage stage = kafkaStage({fakes::topic("ledger", {{0, 1}})});
        QByteArray payload = "{\"entries\":[";
        for (int i = 0; i < 40'000; ++i)
            payload += (i ? "," : "") + QByteArray("{\"id\":") + QByteArray::number(i)
                + ",\"note\":\"caf\xC3\xA9 \xE2\x98\x95 \xF0\x9F\x98\x80 e\xCC\x81\"}";
        stage.kafka().held["ledger"][0] = {keyed("ledger", 0, 0, "day-1", payload + "]}", 5)};
        stage.open("ledger");
        std::unique_ptr<QWidget> frame(framed(new MessageListView(stage.app.get(), stage.session.get())));
        frame->show();
        stage.session->setSelectedMessage(QString("ledger/0/0"));
        flushEvents();
        auto* exhibit = frame->findChild<ExhibitView*>();
        exhibit->document()->scrollToLine(123'456);
        flushEvents();
        shooter.shoot("exhibit", "long", frame.get());
    }
    {
        // A RabbitMQ queue before the consent, after it, and a queue the client refuses.
        // Two of the five jobs are with a consumer, unacknowledged: a read lists the other three.
        Topic jobs = queue("jobs", 5);
        jobs.unacknowledged = 2;
        Stage stage = rabbitStage({jobs, queue("jobs.quorum", 2), queue("retries", 40)},
                                  {{"jobs", 1}, {"jobs.quorum", 1}, {"retries", 2}});
        stage.rabbit().queueBindings = QList<QueueBinding>{QueueBinding{"", "jobs"}};
        // Queue messages carry no key.
        auto job = [](int64_t offset, const QByteArray& body, int minutesAgo) {
            return Message("jobs", 0, offset, std::nullopt, body, fixedNow().addSecs(-60 * minutesAgo), {});
        };
        stage.rabbit().queued = {job(0, R"({"job":"resize","size":[640,480]})", 5),
                                 job(1, R"({"job":"thumbnail","size":[64,64]})", 4), job(2, "plain text job", 1)};
        stage.rabbit().costs["jobs.quorum"] = {QStringLiteral("quorum"), std::nullopt};
        stage.rabbit().costs["retries"] = {QStringLiteral("quorum"), 2};
        stage.open("jobs");
        std::unique_ptr<QWidget> frame(framed(new MessageListView(stage.app.get(), stage.session.get())));
        frame->show();
        flushEvents();
        shooter.shoot("consent", "before", frame.get());
        stage.session->setSelectedTopic(QString("jobs.quorum"));
        syncWait(stage.session->read(BrokerSession::Position::atTail(), 100, false));
        flushEvents();
        shooter.shoot("consent", "quorum", frame.get());
        stage.session->setSelectedTopic(QString("retries"));
        syncWait(stage.session->read(BrokerSession::Position::atTail(), 100, false));
        flushEvents();
        shooter.shoot("consent", "refused", frame.get());
        stage.session->setSelectedTopic(QString("jobs"));
        stage.session->setAcceptedRabbitReadCost(true);
        syncWait(stage.session->readLatest());
        stage.session->setSelectedMessage(QString("jobs/0/0"));
        flushEvents();
        shooter.shoot("consent", "after", frame.get());
    }
    {
        // A topic, group, keys, headers and payloads that look like markup or turn text around:
        // shown as they stand, in the list, the exhibit and a search for one of them.
        const QStringList hostile = testing::FaceAudit::hostileTexts();
        const QString topic = hostile.at(0);
        Stage stage = kafkaStage({fakes::topic(topic, {{0, 3}})}, {{hostile.at(1), "Stable", false}});
        stage.kafka().held[topic][0] = {
            keyed(topic, 0, 0, hostile.at(0).toUtf8(), hostile.at(1).toUtf8(), 9,
                  {{hostile.at(0), hostile.at(2).toUtf8()}}),
            keyed(topic, 0, 1, hostile.at(1).toUtf8(), hostile.at(0).toUtf8(), 6, {{hostile.at(1), "x"}}),
            keyed(topic, 0, 2, hostile.at(2).toUtf8(), hostile.at(2).toUtf8(), 3),
        };
        stage.open(topic);
        std::unique_ptr<QWidget> frame(framed(new MessageListView(stage.app.get(), stage.session.get())));
        frame->show();
        flushEvents();
        shooter.shoot("browser", "hostile", frame.get());
        stage.session->setSelectedMessage(topic + QStringLiteral("/0/0"));
        flushEvents();
        shooter.shoot("exhibit", "hostile", frame.get());
        stage.session->setSelectedMessage(std::nullopt);
        stage.session->setMessageSearch(hostile.at(0));
        flushEvents();
        shooter.shoot("browser", "hostile-search", frame.get());
    }
    {
        // An empty topic, and a read under way.
        Stage stage = kafkaStage({fakes::topic("audit-log", {{0, 0}}), fakes::topic("orders", {{0, 5}, {0, 5}})});
        stage.open("audit-log");
        shootPane(shooter, "browser", "empty", stage);

        stage.kafka().held["orders"] = driftingOrders();
        auto gate = stage.kafka().gates.hold("page orders 0");
        stage.session->setSelectedTopic(QString("orders"));
        auto reading = stage.session->read(BrokerSession::Position::atTail(), 100, false);
        shootPane(shooter, "browser", "working", stage);
        gate->release();
        syncWait(std::move(reading));
    }
    {
        // A partition that would not read, then a read the broker never answered.
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}, {0, 5}})});
        stage.kafka().held["orders"] = driftingOrders();
        stage.kafka().pageErrors.insert(1, KafkaError(6, "reading orders/1: Broker: Not leader for partition"));
        stage.open("orders");
        shootPane(shooter, "browser", "partition-unread", stage);
        stage.kafka().pageErrors.insert(
            0, KafkaError(-185, "reading orders/0: the broker at broker-1:9092 did not answer within 5 s"));
        syncWait(stage.session->read(BrokerSession::Position::atBeginning(), 100, false));
        shootPane(shooter, "browser", "read-cut", stage);
    }
    RelativeTime::setClock({});
}

} // namespace tessaron
