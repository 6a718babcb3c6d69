// The workspace and its sidebar in their states, over sessions of fake brokers.
#include "ScreenShooter.h"

#include "DemoKafka.h"
#include "Tessaron/app/TessaronApplication.h"
#include "Tessaron/app/RootView.h"
#include "Tessaron/browser/MessageListView.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarControls.h"
#include "Tessaron/workspace/SidebarLogic.h"
#include "Tessaron/workspace/SidebarRows.h"
#include "Tessaron/workspace/TopicListView.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/workspace/WorkspaceView.h"
#include "support/SessionFakes.h"
#include "TessaronCore/prefs/Prefs.h"
#include "TessaronCore/storage/AppSupport.h"
#include "TessaronCore/storage/JSONFile.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>
#include <QToolTip>
#include <QEnterEvent>
#include <QHoverEvent>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>

namespace tessaron {

namespace {

using namespace fakes;

Topic sized(const QString& name, QList<int64_t> depths, bool underReplicated = false)
{
    QList<std::pair<int64_t, int64_t>> marks;
    for (int64_t d : depths)
        marks.append({0, d});
    Topic t = topic(name, marks);
    if (underReplicated && !t.partitions.isEmpty()) {
        t.partitions[0].replicaCount = 3;
        t.partitions[0].inSyncCount = 2;
    }
    return t;
}

// A window-coloured host, the way the main window holds the workspace.
QWidget* host(QSize size)
{
    auto* w = new QWidget;
    QPalette p = w->palette();
    p.setColor(QPalette::Window, TessaronPalette::canvas());
    w->setPalette(p);
    w->setAutoFillBackground(true);
    w->resize(size);
    return w;
}

QWidget* sidebarAlone(AppState* app, BrokerSession* session, QSize size = {320, 660})
{
    QWidget* frame = host(size);
    auto* sidebar = new TopicListView(app, session, frame);
    sidebar->setObjectName(QStringLiteral("sidebar"));
    sidebar->setGeometry(0, 0, 320, size.height());
    return frame;
}

// The popover as it opens on screen: a popup window of its own below its control.
void shootPopover(ScreenShooter& shooter, AppState* app, BrokerSession* session, TopicListView::Popover which,
                  const QString& state)
{
    std::unique_ptr<QWidget> frame(sidebarAlone(app, session, {620, 660}));
    frame->show();
    QCoreApplication::processEvents();
    auto* sidebar = frame->findChild<TopicListView*>();
    QPointer<SidebarPopover> pop = sidebar->togglePopover(which);
    if (!pop)
        return;
    flushEvents();
    shooter.shoot(QStringLiteral("sidebar"), state, pop);
    if (pop)
        pop->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A row's context menu and a control's tooltip, each a window of its own as on screen.
void shootMenuAndTooltip(ScreenShooter& shooter, TopicListView* sidebar)
{
    SidebarListView* list = sidebar->list();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        std::unique_ptr<QMenu> menu(new QMenu(list));
        const QList<QAction*> actions = list->contextActions(row, menu.get());
        if (actions.isEmpty())
            continue;
        menu->addActions(actions);
        menu->popup(list->viewport()->mapToGlobal(list->visualRect(list->model()->index(row, 0)).center()));
        flushEvents();
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("row-menu"), menu.get());
        break;
    }
    // Shown for no widget, so the audit takes the tooltip for the window it is, not the button's child.
    QWidget* button = sidebar->refreshButton();
    QToolTip::showText(button->mapToGlobal(button->rect().bottomLeft()), button->toolTip());
    flushEvents();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits("QTipLabel") && window->isVisible()) {
            shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("refresh-tooltip"), window);
            break;
        }
    }
    QToolTip::hideText();
}

// The demo's drifting `orders` topic in the whole main window's content, at the smallest and the
// default size; then the demo's briefing at three widths.
void shootDemo(ScreenShooter& shooter)
{
    UserDefaults& prefs = UserDefaults::standard();
    // No introduction over the window: these screens are of the workspace.
    const std::optional<bool> onboarded = prefs.boolean(Prefs::onboarded);
    prefs.setBool(Prefs::onboarded, true);
    demo::DemoKafka kafka;
    AppState app;
    app.open(kafka.broker());
    BrokerSession* session = app.activeSession();
    waitUntil([&] { return session->topicsListed() && !session->isConnecting(); }, 30000);
    {
        RootView root(&app, TessaronApplication::standardViews());
        // The chart card grows in once, when first shown.
        root.resize(1600, 960);
        root.show();
        restFor(1500);
        for (const auto& [size, state] : {std::pair{QSize(1600, 960), QStringLiteral("demo-briefing-1600")},
                                          {QSize(1020, 660), QStringLiteral("demo-briefing-1020")},
                                          {QSize(820, 520), QStringLiteral("demo-briefing-820")}}) {
            root.resize(size);
            restFor(700);
            shooter.shoot(QStringLiteral("briefing"), state, &root);
        }
        session->setSelectedTopic(demo::DemoKafka::driftingTopic);
        waitUntil([&] { return !session->isLoadingMessages() && !session->messages().isEmpty(); }, 30000);
        for (const auto& [size, state] : {std::pair{QSize(820, 520), QStringLiteral("demo-orders-820x520")},
                                          {QSize(1020, 660), QStringLiteral("demo-orders-1020x660")},
                                          {QSize(1500, 960), QStringLiteral("demo-orders-1500x960")}}) {
            root.resize(size);
            restFor(300);
            shooter.shoot(QStringLiteral("workspace"), state, &root);
        }
        // The smallest window scrolled down to the rows and the case notes.
        root.resize(820, 520);
        restFor(300);
        if (auto* pane = root.findChild<MessageListView*>()) {
            QScrollBar* bar = pane->pane()->verticalScrollBar();
            bar->setValue(bar->maximum());
        }
        shooter.shoot(QStringLiteral("workspace"), QStringLiteral("demo-orders-820x520-scrolled"), &root);
    }
    if (onboarded)
        prefs.setBool(Prefs::onboarded, *onboarded);
    else
        prefs.remove(Prefs::onboarded);
}

} // namespace

void shootWorkspace(ScreenShooter& shooter)
{
    shootDemo(shooter);

    UserDefaults& prefs = UserDefaults::standard();
    const std::optional<double> storedWidth = prefs.number(Sidebar::widthKey);
    prefs.remove(Sidebar::widthKey);

    auto clients = std::make_shared<FakeFactory>();
    FakeKafka& kafka = *clients->kafka;
    kafka.listed = QList<Topic>{sized("orders.events", {48210, 51877, 47302}),
                                sized("orders.events.dlq", {37}),
                                withError(sized("orders.returns", {1290}), "topic authorization failed"),
                                sized("payments.settled", {880412, 902211}),
                                sized("payments.ledger", {120455}, true),
                                sized("payments.refunds", {3402}),
                                sized("inventory.snapshots", {2}),
                                sized("user.signups", {0}),
                                sized("audit-log", {2450311, 2398004, 2501877, 2478120}),
                                sized("__consumer_offsets", {5012})};
    kafka.listedGroups = QList<ConsumerGroup>{{"billing-service", "Stable", false},
                                              {"fraud-scorer", "Empty", false},
                                              {"search-indexer", "PreparingRebalance", false},
                                              {"analytics-nightly-export-consumer-group-v2", "Stable", false}};
    Broker kafkaDef = kafkaBroker(QStringLiteral("orders-prod"));
    kafkaDef.bootstrap = QStringLiteral("kafka-1.internal:9092");
    Broker rabbitDef = rabbitBroker(QStringLiteral("rabbit-local"));
    rabbitDef.bootstrap = QStringLiteral("localhost:15672");
    Broker stagingDef = kafkaBroker(QStringLiteral("staging"));
    stagingDef.bootstrap = QStringLiteral("staging-kafka:9092");

    // The brokers on file for these screens; whatever file was there is put back at the end.
    QFile brokersFile(AppSupport::url(AppState::brokersFileName));
    std::optional<QByteArray> original;
    if (brokersFile.open(QIODevice::ReadOnly)) {
        original = brokersFile.readAll();
        brokersFile.close();
    }
    JSONFile<QList<Broker>>(AppState::brokersFileName).saveNow({kafkaDef, rabbitDef, stagingDef});
    AppState app(clients);
    prefs.setStringList(Prefs::pinnedTopics(kafkaDef.id),
                        {QStringLiteral("orders.events"), QStringLiteral("checkout.v1")});
    app.open(kafkaDef);
    BrokerSession* kafkaSession = app.activeSession();
    waitUntil([&] { return kafkaSession->topicsListed() && !kafkaSession->isLoadingTopics(); });
    kafkaSession->noteUnobservable(QStringLiteral("Consumer group ops-audit"),
                                   QStringLiteral("group authorization failed: not allowed to describe it"));
    kafkaSession->setSelectedTopic(QStringLiteral("orders.events"));
    waitUntil([&] { return !kafkaSession->isLoadingMessages(); });

    {
        std::unique_ptr<QWidget> frame(host({1020, 660}));
        auto* workspace = new WorkspaceView(&app, kafkaSession, TessaronApplication::standardViews(), frame.get());
        workspace->setGeometry(frame->rect());
        shooter.shoot(QStringLiteral("workspace"), QStringLiteral("kafka"), frame.get());

        kafkaSession->setLostConnection(
            QStringLiteral("kafka-1.internal:9092/1: Connect to ipv4#10.0.4.17:9092 failed: Connection refused "
                           "(after 2ms in state CONNECT, 4 identical error(s) suppressed)"));
        QCoreApplication::processEvents();
        shooter.shoot(QStringLiteral("banner"), QStringLiteral("lost-connection"), frame.get());
        kafkaSession->setLostConnection(std::nullopt);
    }

    {
        // Tall enough for every section down to what it cannot see.
        std::unique_ptr<QWidget> frame(sidebarAlone(&app, kafkaSession, {320, 940}));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("kafka"), frame.get());
        frame->resize(320, 660);
        frame->findChild<TopicListView*>()->setGeometry(0, 0, 320, 660);
        kafkaSession->setSearch(QStringLiteral("pay"));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("search-matches"), frame.get());
        kafkaSession->setSearch(QStringLiteral("zebra"));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("search-none"), frame.get());
        kafkaSession->setSearch(QString());
        kafkaSession->setNameSpace(QStringLiteral("payments"));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("folder"), frame.get());
        kafkaSession->setNameSpace(std::nullopt);

        // Hover at its end: a topic row with its pin button, and the refresh button lit.
        auto* sidebar = frame->findChild<TopicListView*>();
        SidebarListView* list = sidebar->list();
        QCoreApplication::processEvents();
        const QPoint overRow = list->visualRect(list->model()->index(6, 0)).center(); // audit-log
        QHoverEvent move(QEvent::HoverMove, overRow, list->viewport()->mapToGlobal(overRow), overRow);
        QCoreApplication::sendEvent(list->viewport(), &move);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), sidebar->refreshButton()->mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(sidebar->refreshButton(), &enter);
        restFor(300);
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("hover"), frame.get());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(sidebar->refreshButton(), &leave);
        shootMenuAndTooltip(shooter, sidebar);
    }

    using Popover = TopicListView::Popover;
    shootPopover(shooter, &app, kafkaSession, Popover::brokerMenu, QStringLiteral("popover-broker-menu"));
    shootPopover(shooter, &app, kafkaSession, Popover::brokerPicker, QStringLiteral("popover-brokers-on-file"));
    shootPopover(shooter, &app, kafkaSession, Popover::namespacePicker, QStringLiteral("popover-folders"));
    shootPopover(shooter, &app, kafkaSession, Popover::scopeHelp, QStringLiteral("popover-scope-help"));
    shootPopover(shooter, &app, kafkaSession, Popover::listMenu, QStringLiteral("popover-list-options"));

    for (const auto& [width, state] :
         {std::pair{250.0, QStringLiteral("narrowest")}, {440.0, QStringLiteral("widest")}}) {
        prefs.setDouble(Sidebar::widthKey, width);
        std::unique_ptr<QWidget> frame(host({1020, 660}));
        auto* workspace = new WorkspaceView(&app, kafkaSession, TessaronApplication::standardViews(), frame.get());
        workspace->setGeometry(frame->rect());
        shooter.shoot(QStringLiteral("sidebar"), state, frame.get());
    }
    prefs.remove(Sidebar::widthKey);

    // RabbitMQ: queues with their depths, a dead-letter queue, no groups.
    clients->rabbit = std::make_shared<FakeRabbit>(rabbitDef);
    clients->rabbit->listing.queues = {queue("orders.created", 1240), queue("emails.outbound", 12),
                                       queue("orders.created.dlq", 37), queue("reports.nightly", 0)};
    clients->rabbit->listing.consumers = {{QStringLiteral("orders.created"), 3}};
    app.open(rabbitDef);
    BrokerSession* rabbitSession = app.activeSession();
    waitUntil([&] { return rabbitSession->topicsListed() && !rabbitSession->isLoadingTopics(); });
    shootPopover(shooter, &app, kafkaSession, Popover::brokerPicker, QStringLiteral("popover-brokers-open"));
    {
        std::unique_ptr<QWidget> frame(host({1020, 660}));
        auto* workspace = new WorkspaceView(&app, rabbitSession, TessaronApplication::standardViews(), frame.get());
        workspace->setGeometry(frame->rect());
        showBriefingChart(frame.get());
        shooter.shoot(QStringLiteral("workspace"), QStringLiteral("rabbitmq"), frame.get());
    }

    // A broker still listing, and one with nothing on it but what it cannot see.
    auto empty = std::make_shared<FakeFactory>();
    empty->kafka->listed = QList<Topic>();
    auto gate = empty->kafka->gates.hold(QStringLiteral("topics"));
    AppState quiet(empty);
    quiet.open(stagingDef);
    BrokerSession* listing = quiet.activeSession();
    waitUntil([&] { return listing->isLoadingTopics(); });
    {
        std::unique_ptr<QWidget> frame(sidebarAlone(&quiet, listing));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("loading"), frame.get());
    }
    gate->release();
    waitUntil([&] { return !listing->isLoadingTopics(); });
    listing->noteUnobservable(QStringLiteral("Topics"), QStringLiteral("cluster authorization failed"));
    {
        std::unique_ptr<QWidget> frame(sidebarAlone(&quiet, listing));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("empty"), frame.get());
    }
    {
        // A user whose ACLs let it describe nothing: none listed, and the sidebar says why.
        auto restricted = std::make_shared<FakeFactory>();
        restricted->kafka->listed = QList<Topic>();
        restricted->kafka->operations = QStringList();
        AppState guarded(restricted);
        guarded.open(stagingDef);
        BrokerSession* session = guarded.activeSession();
        waitUntil([&] { return session->topicsListed() && !session->isLoadingTopics(); });
        std::unique_ptr<QWidget> frame(sidebarAlone(&guarded, session));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("restricted"), frame.get());
    }

    {
        // Topic and group names that look like markup or turn text around, and a search for one.
        const QStringList hostile = testing::FaceAudit::hostileTexts();
        auto odd = std::make_shared<FakeFactory>();
        odd->kafka->listed =
            QList<Topic>{sized(hostile.at(0), {12}), sized(hostile.at(1), {3}), sized(hostile.at(2), {0})};
        odd->kafka->listedGroups =
            QList<ConsumerGroup>{{hostile.at(1), "Stable", false}, {hostile.at(0), "Empty", false}};
        AppState strange(odd);
        strange.open(kafkaDef);
        BrokerSession* session = strange.activeSession();
        waitUntil([&] { return session->topicsListed() && !session->isLoadingTopics(); });
        std::unique_ptr<QWidget> frame(sidebarAlone(&strange, session));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("hostile"), frame.get());
        session->setSearch(hostile.at(0) + QStringLiteral(" none"));
        shooter.shoot(QStringLiteral("sidebar"), QStringLiteral("hostile-search"), frame.get());
    }

    prefs.remove(Prefs::pinnedTopics(kafkaDef.id));
    if (original && brokersFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        brokersFile.write(*original);
        brokersFile.close();
    } else if (!original) {
        brokersFile.remove();
    }
    if (storedWidth)
        prefs.setDouble(Sidebar::widthKey, *storedWidth);
}

} // namespace tessaron
