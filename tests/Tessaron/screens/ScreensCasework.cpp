// Screens of the case notes, the verdict bar, the skew chart, the consumer group screen and the
// briefing, each over a real session built on the fake clients.
#include "ScreenShooter.h"

#include "Tessaron/casework/BrokerBriefing.h"
#include "Tessaron/casework/ConsumerGroupView.h"
#include "Tessaron/casework/SkewChart.h"
#include "Tessaron/casework/TopicNotes.h"
#include "Tessaron/casework/VerdictBar.h"
#include "Tessaron/app/AppArtwork.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "support/SessionFakes.h"
#include "TessaronCore/analysis/PartitionSkew.h"
#include "VelkinInfra/prefs/PrefsStore.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/Brand.h"

#include <QCoreApplication>
#include <QVBoxLayout>

namespace tessaron {

namespace {

using namespace fakes;

// The window's dark ground behind a view, at a fixed size.
class Ground : public QWidget {
public:
    Ground(QWidget* view, QSize size, int margin)
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, TessaronPalette::canvas());
        p.setColor(QPalette::WindowText, TessaronPalette::ink());
        setPalette(p);
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(margin, margin, margin, margin);
        box->addWidget(view);
        if (size.height() <= 0) {
            resize(size.width(), heightForWidth(size.width()) > 0 ? heightForWidth(size.width()) : sizeHint().height());
            setFixedWidth(size.width());
        } else {
            setFixedSize(size);
        }
    }
};

// Shows the widget and lets entrances that ignore reduced motion (the chart card's fade) land.
void settle(QWidget* widget)
{
    widget->show();
    restFor(400);
}

Message keyed(const QString& topic, int32_t partition, int64_t offset, const QByteArray& key, const QByteArray& payload)
{
    return Message(topic, partition, offset, key.isEmpty() ? std::nullopt : std::optional<QByteArray>(key), payload,
                   QDateTime::fromMSecsSinceEpoch(1765000000000 + offset * 1000, Qt::UTC), {});
}

struct Scene : Rig {
    void open(const Broker& broker)
    {
        app = std::make_unique<AppState>(clients);
        session = connectedSession(clients, broker);
    }
    void read(const QString& topicName)
    {
        session->setSelectedTopic(topicName);
        syncWait(session->read(BrokerSession::Position::atTail(), 40, false));
    }
    void selectGroup(const QString& id)
    {
        session->setSelectedGroup(id);
        syncWait(session->loadGroupDetail());
    }
};

void kafkaBriefing(ScreenShooter& shooter)
{
    Scene scene;
    scene.clients->kafka->listed = QList<Topic>{
        topic("orders", {{0, 48210}, {0, 47102}, {0, 51877}}),
        topic("orders.dlq", {{0, 312}}),
        topic("payments", {{0, 20400}, {0, 1200}}),
        topic("payments-dead-letter", {{0, 0}}),
        topic("audit", {{0, 0}}),
        topic("shipments", {{100, 9120}}),
        topic("__consumer_offsets", {{0, 90000}}),
    };
    scene.clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false},
                                                              {"fraud-check", "Empty", false},
                                                              {"ledger", "Stable", false},
                                                              {"notifier", "PreparingRebalance", false},
                                                              {"archiver", "Empty", false}};
    scene.clients->kafka->watermarkErrors.insert("shipments", KafkaError(29, "topic authorization failed"));
    scene.open(kafkaBroker("Production EU"));
    scene.session->noteUnobservable("shipments", "Watermarks: topic authorization failed");
    Ground ground(new BrokerBriefing(scene.app.get(), scene.session.get()), QSize(820, 720), 0);
    settle(&ground);
    shooter.shoot("briefing", "kafka", &ground);
}

void rabbitBriefing(ScreenShooter& shooter)
{
    Scene scene;
    Broker broker = rabbitBroker("Billing queues");
    scene.clients->rabbit = std::make_shared<FakeRabbit>(broker);
    scene.clients->rabbit->listing.queues = {queue("invoices", 1840), queue("invoices.dlq", 57),
                                             queue("reminders", 230), queue("exports", 12), queue("webhooks", 0)};
    scene.clients->rabbit->listing.consumers = {
        {"invoices", 3}, {"invoices.dlq", 0}, {"reminders", 0}, {"exports", 0}, {"webhooks", 0}};
    scene.open(broker);
    Ground ground(new BrokerBriefing(scene.app.get(), scene.session.get()), QSize(820, 600), 0);
    settle(&ground);
    shooter.shoot("briefing", "rabbit", &ground);
}

// Names and payloads that look like markup, one naming an endless file: each must stay text.
void hostileCasework(ScreenShooter& shooter)
{
    const QStringList hostile = testing::FaceAudit::hostileTexts();
    Scene scene;
    scene.clients->kafka->listed = QList<Topic>{topic(hostile.at(0), {{0, 900}, {0, 20}}),
                                                topic(hostile.at(1), {{0, 0}}), topic(hostile.at(2), {{0, 12}})};
    scene.clients->kafka->listedGroups =
        QList<ConsumerGroup>{{hostile.at(0), "Stable", false}, {hostile.at(1), "Empty", false}};
    GroupDescription group{hostile.at(0), "Stable", hostile.at(1), hostile.at(0), {}};
    group.members = {{hostile.at(1), hostile.at(0), hostile.at(2), hostile.at(0), {{hostile.at(0), 0}}}};
    scene.clients->kafka->descriptions.insert(hostile.at(0), group);
    scene.clients->kafka->commits.insert(hostile.at(0), {{{hostile.at(0), 0}, 400}, {{hostile.at(0), 1}, 3}});
    for (int i = 0; i < 8; ++i)
        scene.clients->kafka->held[hostile.at(0)][i % 2].append(
            keyed(hostile.at(0), i % 2, i, hostile.at(i % 3).toUtf8(),
                  "{\"" + hostile.at(i % 3).toUtf8().replace('"', "\\\"") + "\":" + QByteArray::number(i) + "}"));
    scene.open(kafkaBroker(hostile.at(0)));
    scene.session->noteUnobservable(hostile.at(2), hostile.at(0));
    {
        Ground ground(new BrokerBriefing(scene.app.get(), scene.session.get()), QSize(820, 720), 0);
        settle(&ground);
        shooter.shoot("briefing", "hostile", &ground);
    }
    scene.read(hostile.at(0));
    {
        Ground ground(new TopicNotes(scene.app.get(), scene.session.get()), QSize(400, 640), 0);
        shooter.shoot("notes", "hostile", &ground);
    }
    Ground ground(new ConsumerGroupView(scene.app.get(), scene.session.get()), QSize(780, 700), 0);
    scene.selectGroup(hostile.at(0));
    shooter.shoot("group", "hostile", &ground);
}

// A user whose ACLs let it see one topic and no group: the briefing says the lists are the ACLs'.
void restrictedBriefing(ScreenShooter& shooter)
{
    Scene scene;
    scene.clients->kafka->listed = QList<Topic>{topic("orders", {{0, 48210}, {0, 47102}})};
    scene.clients->kafka->operations = QStringList();
    scene.open(kafkaBroker("Production EU"));
    Ground ground(new BrokerBriefing(scene.app.get(), scene.session.get()), QSize(820, 600), 0);
    settle(&ground);
    shooter.shoot("briefing", "restricted", &ground);
}

void emptyBriefing(ScreenShooter& shooter)
{
    Scene scene;
    scene.clients->kafka->listed = QList<Topic>{};
    scene.open(kafkaBroker("Local"));
    Ground ground(new BrokerBriefing(scene.app.get(), scene.session.get()), QSize(820, 420), 0);
    shooter.shoot("briefing", "empty", &ground);
}

// Twelve orders: ten agree, two carry the amount as text and one of them lacks the currency.
QList<Message> orders()
{
    QList<Message> list;
    const QByteArray keys[] = {"customer-42", "customer-42", "customer-42", "customer-42", "customer-42", "customer-42",
                               "customer-7",  "customer-9",  "customer-42", "customer-3",  "customer-42", "customer-7"};
    for (int i = 0; i < 12; ++i) {
        QByteArray payload = QByteArray("{\"id\":") + QByteArray::number(1000 + i)
            + ",\"amount\":" + (i == 3 || i == 8 ? QByteArray("\"12.50\"") : QByteArray("12.5"))
            + (i == 8 ? QByteArray() : QByteArray(",\"currency\":\"EUR\"")) + "}";
        list.append(keyed("orders", i % 3, 500 + i, keys[i], payload));
    }
    return list;
}

void notes(ScreenShooter& shooter, const QString& state, const QList<Message>& messages, QSize size)
{
    Scene scene;
    Topic t = topic("orders", {{0, 600}, {0, 600}, {0, 600}});
    scene.clients->kafka->listed = QList<Topic>{t};
    for (const Message& m : messages)
        scene.clients->kafka->held["orders"][m.partition()].append(m);
    scene.open(kafkaBroker());
    scene.read("orders");
    Ground ground(new TopicNotes(scene.app.get(), scene.session.get()), size, 0);
    shooter.shoot("notes", state, &ground);
}

void allNotes(ScreenShooter& shooter)
{
    notes(shooter, "drift", orders(), QSize(400, 640));
    QList<Message> same;
    for (int i = 0; i < 12; ++i)
        same.append(keyed("orders", i % 3, 700 + i, "region-" + QByteArray::number(i % 5),
                          "{\"id\":" + QByteArray::number(i) + ",\"amount\":3}"));
    notes(shooter, "consistent", same, QSize(400, 520));
    notes(shooter, "too-few", {keyed("orders", 0, 1, {}, "{\"id\":1}"), keyed("orders", 1, 2, {}, "{\"id\":2}")},
          QSize(400, 420));
}

ShapeVerdict::Drift drift(qsizetype outliers, qsizetype sampled, qsizetype differences)
{
    ShapeVerdict::Drift d;
    d.sampled = sampled;
    d.majorityCount = sampled - outliers;
    for (qsizetype i = 0; i < outliers; ++i)
        d.outlierIDs << QString("orders/0/%1").arg(i);
    const QList<FieldDifference> all = {{"amount", JSONKind::number, JSONKind::string},
                                        {"currency", JSONKind::string, std::nullopt},
                                        {"meta.source", std::nullopt, JSONKind::object},
                                        {"items", JSONKind::array, JSONKind::null}};
    d.differences = all.mid(0, differences);
    return d;
}

void verdicts(ScreenShooter& shooter)
{
    const QList<std::pair<QString, ShapeVerdict>> cases = {
        {"too-few", ShapeVerdict::notEnoughEvidence(3)},      {"consistent", ShapeVerdict::consistent(24)},
        {"no-majority", ShapeVerdict::noMajority(7, 3)},      {"drift", ShapeVerdict::drift(drift(2, 9, 3))},
        {"drift-more", ShapeVerdict::drift(drift(5, 40, 4))},
    };
    for (const auto& [state, verdict] : cases) {
        Ground ground(new VerdictBar(verdict, 0), QSize(560, 0), 16);
        shooter.shoot("verdict", state, &ground);
    }
}

void skews(ScreenShooter& shooter)
{
    const QList<std::pair<QString, Topic>> cases = {
        {"even", topic("orders", {{0, 4100}, {0, 3980}, {0, 4230}, {0, 4012}, {0, 3890}, {0, 4105}})},
        {"skewed", topic("clicks", {{0, 1200}, {0, 9800}, {0, 1100}, {0, 40}, {0, 1300}, {0, 1250}})},
        {"starved", topic("events", {{0, 5000}, {0, 4800}, {0, 12}, {0, 5100}, {0, 3}, {0, 4900}})},
        {"too-few", topic("tiny", {{0, 5}, {0, 4}, {0, 3}})},
        {"all-empty", topic("fresh", {{0, 0}, {0, 0}, {0, 0}})},
    };
    for (const auto& [state, t] : cases) {
        Ground ground(new SkewChart(PartitionSkew::verdict(t)), QSize(560, 0), 16);
        shooter.shoot("skew", state, &ground);
    }
}

void groups(ScreenShooter& shooter)
{
    Scene scene;
    scene.clients->kafka->listed =
        QList<Topic>{topic("orders", {{0, 48210}, {0, 47102}, {0, 51877}}), topic("payments", {{0, 20400}, {0, 1200}})};
    scene.clients->kafka->listedGroups = QList<ConsumerGroup>{
        {"billing", "Stable", false}, {"archiver", "Empty", false},
        {"ghost", "Dead", false},     {"modern", "Stable", false, ConsumerGroup::Protocol::consumer},
        {"locked", "Empty", false},   {"sharers", "Stable", false, ConsumerGroup::Protocol::other}};
    GroupDescription billing{"billing", "Stable", "range", "broker-2:9092", {}};
    billing.members = {
        {"consumer-1-6c1f",
         "billing-worker-1",
         "/10.0.4.17",
         std::nullopt,
         {{"orders", 0}, {"orders", 1}, {"payments", 0}}},
        {"consumer-2-91ab", "billing-worker-2", "/10.0.4.18", QString("billing-2"), {{"orders", 2}, {"payments", 1}}}};
    scene.clients->kafka->descriptions.insert("billing", billing);
    scene.clients->kafka->commits.insert("billing",
                                         {{{"orders", 0}, 48210},
                                          {{"orders", 1}, 45050},
                                          {{"orders", 2}, 39877},
                                          {{"payments", 0}, 20400},
                                          {{"payments", 1}, 1200}});
    scene.clients->kafka->descriptions.insert("archiver", {"archiver", "Empty", "", "broker-1:9092", {}});
    scene.clients->kafka->commits.insert(
        "archiver", {{{"orders", 0}, 40000}, {{"orders", 1}, 47102}, {{"orders", 2}, 51877}, {{"returns", 0}, 88}});
    scene.clients->kafka->describeErrors.insert("ghost",
                                                KafkaError(15, "describing group ghost: coordinator not available"));
    scene.clients->kafka->describeErrors.insert("vanished",
                                                KafkaError(69, "describing group vanished: group id not found"));
    // A group of the new consumer protocol, described as a classic one is.
    GroupDescription modern{"modern", "Stable", "uniform", "broker-1:9092", {}};
    modern.members = {
        {"Zk3v9QxTRfW1aLrBq2mN8A", "ledger-sync", "/10.0.4.31", std::nullopt, {{"orders", 0}, {"orders", 1}}}};
    scene.clients->kafka->descriptions.insert("modern", modern);
    scene.clients->kafka->commits.insert("modern", {{{"orders", 0}, 48210}, {{"orders", 1}, 47102}});
    // Committed offsets that would not read: unknown, not a group that never committed.
    scene.clients->kafka->descriptions.insert("locked", {"locked", "Empty", "", "broker-1:9092", {}});
    scene.clients->kafka->committedErrors.insert(
        "locked", KafkaError(30, "reading locked's offsets: Broker: Group authorization failed"));
    scene.open(kafkaBroker());

    auto* view = new ConsumerGroupView(scene.app.get(), scene.session.get());
    Ground ground(view, QSize(780, 700), 0);
    scene.selectGroup("billing");
    shooter.shoot("group", "stable-lagging", &ground);
    scene.selectGroup("archiver");
    shooter.shoot("group", "empty", &ground);
    scene.selectGroup("ghost");
    shooter.shoot("group", "never-committed", &ground);
    scene.selectGroup("vanished");
    shooter.shoot("group", "describe-failed", &ground);
    scene.selectGroup("modern");
    shooter.shoot("group", "new-protocol", &ground);
    scene.selectGroup("locked");
    shooter.shoot("group", "offsets-unread", &ground);
    scene.selectGroup("sharers");
    shooter.shoot("group", "other-kind", &ground);
}

} // namespace

void shootCasework(ScreenShooter& shooter)
{
    AccessibilitySettings& a11y = AccessibilitySettings::instance();
    a11y.setReduceMotion(true);
    Brand::configure(BrandConfig(PrefsStore("tessaron", UserDefaults::standard()), "accentTheme", AppArtwork::appIcon(),
                                 "tray.full.fill", AccentTheme::sunset));
    kafkaBriefing(shooter);
    rabbitBriefing(shooter);
    emptyBriefing(shooter);
    restrictedBriefing(shooter);
    hostileCasework(shooter);
    allNotes(shooter);
    verdicts(shooter);
    skews(shooter);
    groups(shooter);
}

} // namespace tessaron
