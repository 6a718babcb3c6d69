#include "WorkspaceFixture.h"

#include "Tessaron/kit/ViewMotion.h"
#include "Tessaron/workspace/SidebarChips.h"
#include "Tessaron/workspace/SidebarControls.h"
#include "Tessaron/workspace/SidebarLogic.h"
#include "Tessaron/kit/SecuritySentence.h"
#include "Tessaron/workspace/TabBar.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/workspace/TopicListView.h"
#include "TessaronCore/async/Detached.h"
#include "Tessaron/kit/TessaronWorking.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/ManualAnimationClock.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QHoverEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>

using namespace tessaron;
using namespace tessaron::fakes;
using Popover = TopicListView::Popover;
using Part = SidebarRowDelegate::Part;
namespace palette = tessaron::TessaronPalette;

namespace {

QList<Topic> kafkaTopics()
{
    return {topic("orders", {{0, 1200}}),
            topic("orders.dlq", {{0, 3}}),
            topic("billing.events", {{0, 2500000}}),
            topic("billing.retries", {{0, 5}}),
            topic("__consumer_offsets", {{0, 50}}),
            topic("audit")};
}

QList<ConsumerGroup> kafkaGroups()
{
    return {{"Billing-Service", "Stable", false}, {"billing-replay", "Empty", false}, {"audit-sink", "Stable", false}};
}

PopoverRow* rowTitled(QWidget* popover, const QString& title)
{
    for (PopoverRow* row : popover->findChildren<PopoverRow*>()) {
        if (row->text() == title)
            return row;
    }
    return nullptr;
}

QStringList titles(QWidget* popover)
{
    QStringList out;
    for (PopoverRow* row : popover->findChildren<PopoverRow*>())
        out << row->text() + (row->look().selected ? QStringLiteral(" ✓") : QString())
                + (row->look().trailing ? QStringLiteral(" [") + *row->look().trailing + u']' : QString());
    return out;
}

// Clicks the given part of a row, found by sweeping across it.
void hoverList(SidebarListView* list, QPoint at)
{
    QHoverEvent move(QEvent::HoverMove, at, list->viewport()->mapToGlobal(at), at);
    QApplication::sendEvent(list->viewport(), &move);
}

void enter(QWidget* widget)
{
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(widget, &event);
}

bool clickPart(SidebarListView* list, int row, Part part)
{
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    const QRect rect = list->visualRect(index);
    for (int x = rect.right(); x >= rect.left(); --x) {
        const QPoint at(x, rect.center().y());
        if (list->rowDelegate()->partAt(index, rect, at, true) == part) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

// Compiles the locales into `folder` and points the C library there: the system may have none, and
// a locale looked up before it exists stays missing for the process.
void buildLocales(const QStringList& names, const QString& folder)
{
    for (const QString& name : names)
        QProcess::execute(QStringLiteral("localedef"),
                          {QStringLiteral("-i"), name.section(u'.', 0, 0), QStringLiteral("-f"),
                           QStringLiteral("UTF-8"), folder + u'/' + name});
    qputenv("LOCPATH", folder.toLocal8Bit());
}

} // namespace

class TestSidebar : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;
    std::unique_ptr<AppState> m_app;

    BrokerSession* openKafka(const QStringList& pins = {})
    {
        m_clients->kafka->listed = kafkaTopics();
        m_clients->kafka->listedGroups = kafkaGroups();
        Broker broker = kafkaBroker("cluster");
        UserDefaults::standard().setStringList(Prefs::pinnedTopics(broker.id), pins);
        return openListed(*m_app, broker);
    }

private slots:
    void init()
    {
        clearPreferences();
        faketools::removeAll();
        m_clients = std::make_shared<FakeFactory>();
        m_app = std::make_unique<AppState>(m_clients);
    }

    void cleanup()
    {
        m_app.reset();
        AccessibilitySettings::instance().setReduceMotion(false);
    }

    void compactCountIsShortWithAFullStopInEveryLocale()
    {
        QTemporaryDir locales;
        const QList<std::pair<int64_t, QString>> cases = {{0, "0"},
                                                          {999, "999"},
                                                          {-5, "-5"},
                                                          {1000, "1.0k"},
                                                          {1050, "1.1k"},
                                                          {999949, "999.9k"},
                                                          {999999, "1000.0k"},
                                                          {1000000, "1.0M"},
                                                          {2500000, "2.5M"},
                                                          {std::numeric_limits<int64_t>::max(), "9223372036854.8M"}};
        buildLocales({"de_DE.UTF-8", "pt_BR.UTF-8"}, locales.path());
        for (const char* name : {"C", "de_DE.UTF-8", "pt_BR.UTF-8"}) {
            if (!std::setlocale(LC_NUMERIC, name))
                QSKIP("cannot build the locale to test under");
            char printed[16];
            std::snprintf(printed, sizeof printed, "%.1f", 1.5);
            QCOMPARE(QString::fromLatin1(printed),
                     QString(qstrcmp(name, "C") ? "1,5" : "1.5")); // the locale is in force
            QLocale::setDefault(QLocale(QString::fromLatin1(name).left(5)));
            for (const auto& [count, text] : cases)
                QCOMPARE(Sidebar::compactCount(count), text);
        }
        std::setlocale(LC_NUMERIC, "C");
        QLocale::setDefault(QLocale::c());
    }

    void decisionsOfTheSidebar()
    {
        // Groups: trimmed of spaces and tabs only, any letter case, listing order.
        const QList<ConsumerGroup> groups = kafkaGroups();
        QCOMPARE(Sidebar::filteredGroups(groups, " \tBILLING  ").size(), 2);
        QCOMPARE(Sidebar::filteredGroups(groups, "\nbilling").size(), 0);
        QCOMPARE(Sidebar::filteredGroups(groups, "   ").size(), 3);

        // Folder counts ignore internal topics and need a full stop after the folder.
        const QList<Topic> topics = {topic("billing"), topic("billing.a"), topic("billingx.b"), topic("__billing.c")};
        QCOMPARE(Sidebar::folderCount(topics, QString("billing")), 2);
        QCOMPARE(Sidebar::folderCount(topics, std::nullopt), 3);

        Broker broker = kafkaBroker();
        QCOMPARE(securitySentence(broker), QString("No password. Trusting. I respect that."));
        broker.security = BrokerSecurity::saslSSL;
        QCOMPARE(securitySentence(broker), QString("Wants a password. It's in your keyring."));
        broker.security = BrokerSecurity::ssl;
        QCOMPARE(securitySentence(broker), QString("Encrypted. Nobody reads over my shoulder."));
        QCOMPARE(securitySentence(rabbitBroker()), QString("Charges to read. I'll warn you first."));
        QCOMPARE(Sidebar::brokersOnFileRemark(1), QString("Just the one. He's not complaining."));
        QCOMPARE(Sidebar::brokersOnFileRemark(0), QString("0 on file. Each opens in its own tab."));

        // Two facts may share a subject: they are two rows with two identities.
        const QList<Unobservable> facts = {{"Topics", "no describe rights"}, {"Topics", "timed out"}};
        const Sidebar::Content c = Sidebar::content({}, {}, facts, true);
        QCOMPARE(c.entries.size(), 3);
        QVERIFY(c.key(c.entries[1]) != c.key(c.entries[2]));
    }

    void controlsKeepTheirRules()
    {
        // A busy button still answers; a disabled one takes no hover look.
        SidebarIconButton button("arrow.clockwise", "Refresh Topics", Qt::white);
        button.show();
        int clicks = 0;
        connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
        button.setBusy(true);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QCOMPARE(button.toolTip(), QString("Refresh Topics"));
        QCOMPARE(button.accessibleName(), QString("Refresh Topics"));
        button.setEnabled(false);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&button, &enter);
        QVERIFY(!button.hovering());

        QCOMPARE(ScopePill::tooltipFor("Broker", "prod", ""), QString("Broker: prod"));
        QCOMPARE(ScopePill::tooltipFor("Broker", "prod", "kafka:9092"), QString("Broker: prod — kafka:9092"));

        // Prose subtitles stop at two lines; a long remark makes a popover taller, never wider.
        PopoverRow::Look prose;
        prose.subtitle = QString("word ").repeated(80);
        prose.subtitleIsProse = true;
        PopoverRow::Look twoLines = prose;
        twoLines.subtitle = QString("word ").repeated(12);
        QCOMPARE(PopoverRow("Close", prose).heightForWidth(242), PopoverRow("Close", twoLines).heightForWidth(242));
        QVERIFY(PopoverRow("Close", prose).heightForWidth(242) > PopoverRow("Close", {}).heightForWidth(242));
        QWidget anchor;
        anchor.show();
        // Popovers delete themselves when they close.
        QPointer<SidebarPopover> shortOne = new SidebarPopover("THE LIST", Qt::white, std::nullopt);
        shortOne->addRow(new PopoverRow("Refresh Topics", {}));
        shortOne->popUp(&anchor);
        QPointer<SidebarPopover> longOne =
            new SidebarPopover("THE LIST", Qt::white, QString("He says so at length. ").repeated(12));
        longOne->addRow(new PopoverRow("Refresh Topics", {}));
        longOne->popUp(&anchor);
        QCOMPARE(longOne->width(), shortOne->width());
        // The arrow sits on the top edge and points at the middle of its control.
        QVERIFY(shortOne->arrowPointsUp());
        QCOMPARE(shortOne->mapToGlobal(shortOne->arrowTip()).x(),
                 anchor.mapToGlobal(QPoint(anchor.width() / 2, 0)).x());
        QVERIFY(shortOne->outline().contains(QPointF(shortOne->arrowTip()) + QPointF(0, 3)));
        QVERIFY(longOne->height() > shortOne->height() + 40);
        longOne->close();
        shortOne->close();
        QTRY_VERIFY(!longOne && !shortOne);
    }

    void hoverAndPinsMoveOnlyWithMotion()
    {
        testing::ManualAnimationClock clock;
        // Each control eases into its hover look over its own time and ends fully lit.
        const auto easesIn = [&clock](QWidget* control, HoverAmount* hover, int ms) {
            enter(control);
            clock.advance(ms - 40);
            QVERIFY2(hover->value() > 0.3 && hover->value() < 1.0, control->metaObject()->className());
            clock.advance(60);
            QCOMPARE(hover->value(), 1.0);
            QVERIFY(!hover->isAnimating());
        };
        {
            PopoverRow row("Refresh Topics", {});
            row.show();
            row.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&row));
            easesIn(&row, row.hoverAmount(), 120);
        }
        BrokerSession* session = openKafka();
        TopicListView view(m_app.get(), session);
        view.resize(320, 800);
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        SidebarListView* list = view.list();
        const SidebarModel& model = *view.model();
        const QString audit = model.content().key(model.entry(rowOf(model, "topic:audit")));
        const QString billing = model.content().key(model.entry(rowOf(model, "topic:billing.events")));
        const QPoint overAudit = list->visualRect(model.index(rowOf(model, "topic:audit"))).center();
        {
            easesIn(view.refreshButton(), view.refreshButton()->hoverAmount(), 140);
            easesIn(view.folderPill(), view.folderPill()->hoverAmount(), 150);
            easesIn(view.fileChip(), view.fileChip()->hoverAmount(), 150);
            // A row fades in under the pointer while the one it left fades out.
            hoverList(list, overAudit);
            clock.advance(80);
            const double half = list->hoverAmount(audit);
            QVERIFY(half > 0.3 && half < 1.0);
            hoverList(list, list->visualRect(model.index(rowOf(model, "topic:billing.events"))).center());
            QCOMPARE(list->hoverAmount(audit), half);
            clock.advance(200);
            QCOMPARE(list->hoverAmount(audit), 0.0);
            QCOMPARE(list->hoverAmount(billing), 1.0);

            // Pinning glides the rows to their new places over 0.22 s; the new pinned row fades in.
            QVERIFY(clickPart(list, rowOf(model, "topic:audit"), Part::pinButton));
            QVERIFY(list->isReordering());
            const QString pinnedAudit = model.content().key(model.entry(rowOf(model, "topic:audit")));
            QVERIFY(list->rowShift(billing) < 0); // it was higher and moves down
            QCOMPARE(list->rowOpacity(pinnedAudit), 0.0);
            clock.advance(180);
            QVERIFY(list->isReordering());
            clock.advance(60);
            QVERIFY(!list->isReordering());
            QCOMPARE(list->rowShift(billing), 0.0);
            QCOMPARE(list->rowOpacity(pinnedAudit), 1.0);
        }

        // Under reduced motion every change lands at once.
        AccessibilitySettings::instance().setReduceMotion(true);
        QVERIFY(!motionAllowed(&view));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(view.fileChip(), &leave);
        QCOMPARE(view.fileChip()->hoverAmount()->value(), 0.0);
        hoverList(list, overAudit);
        QCOMPARE(list->hoverAmount(model.content().key(model.entry(list->indexAt(overAudit).row()))), 1.0);
        QVERIFY(clickPart(list, rowOf(model, "topic:billing.events"), Part::pinButton));
        QVERIFY(!list->isReordering());
    }

    void kafkaSectionsPinsAndInternalTopics()
    {
        BrokerSession* session = openKafka({"orders", "gone"});
        TopicListView view(m_app.get(), session);
        view.resize(320, 800);
        view.show();
        const SidebarModel& model = *view.model();
        QCOMPARE(rowsOf(model),
                 (QStringList{"heading:Pinned", "topic:orders", "missing:gone", "heading:Dead letters",
                              "topic:orders.dlq", "heading:Topics", "topic:audit", "topic:billing.events",
                              "topic:billing.retries", "heading:Consumer groups", "group:Billing-Service",
                              "group:billing-replay", "group:audit-sink"}));
        QCOMPARE(view.listHeading(), QString("Topics"));
        QCOMPARE(view.countText(), QString("5"));
        QCOMPARE(view.retainedText(), QString("2501208 retained"));
        QVERIFY(view.list()->isVisible());

        // The list options' switch shows Kafka's internal topics, after the others.
        SidebarPopover* options = view.togglePopover(Popover::listMenu);
        QVERIFY(options && options->isVisible());
        auto* toggle = options->findChild<PopoverToggle*>();
        QVERIFY(!toggle->isOn());
        QTest::mouseClick(toggle->toggle(), Qt::LeftButton);
        QCOMPARE(UserDefaults::standard().boolean(Prefs::showInternalTopics), std::optional<bool>(true));
        QVERIFY(options->isVisible()); // the switch does not close its popover
        QCOMPARE(rowOf(model, "topic:__consumer_offsets"), rowOf(model, "topic:billing.retries") + 1);
        QCOMPARE(view.countText(), QString("6"));
        view.togglePopover(Popover::listMenu);
        QVERIFY(!view.popover(Popover::listMenu));

        // The search filters topics and groups alike, the groups by id in any case.
        view.searchField()->editor()->setFocus();
        QTest::keyClicks(view.searchField()->editor(), "  BILLING ");
        QCOMPARE(session->search(), QString("  BILLING "));
        QCOMPARE(rowsOf(model),
                 (QStringList{"heading:Topics", "topic:billing.events", "topic:billing.retries",
                              "heading:Consumer groups", "group:Billing-Service", "group:billing-replay"}));
        QTest::mouseClick(view.searchField()->clearButton(), Qt::LeftButton);
        QCOMPARE(session->search(), QString());
        QVERIFY(!view.searchField()->clearButton()->isVisible());

        // Folders: only "billing" is shared by two topics; choosing it keeps every group.
        QVERIFY(view.folderPill()->isVisible());
        QCOMPARE(view.folderPill()->value(), QString("Everything"));
        SidebarPopover* folders = view.togglePopover(Popover::namespacePicker);
        QCOMPARE(titles(folders), (QStringList{"Everything ✓ [5]", "billing [2]"}));
        QTest::mouseClick(rowTitled(folders, "billing"), Qt::LeftButton);
        QCOMPARE(session->nameSpace(), std::optional<QString>("billing"));
        QVERIFY(!view.popover(Popover::namespacePicker));
        QCOMPARE(view.folderPill()->value(), QString("billing"));
        QCOMPARE(rowsOf(model).filter("group:").size(), 3);
        QCOMPARE(rowsOf(model).filter("topic:").size(), 2);

        // The pills keep their ideal size at the narrowest sidebar: the folder pill goes to a line
        // of its own rather than both being cut; with room, they share one line again.
        ScopePill* folder = view.folderPill();
        view.resize(250, 800);
        QTRY_VERIFY(view.scopeWrapped());
        QTRY_COMPARE(folder->width(), folder->sizeHint().width());
        view.resize(440, 800);
        QTRY_VERIFY(!view.scopeWrapped());
        QTRY_COMPARE(folder->width(), folder->sizeHint().width());
    }

    void rowsSelectPinAndCopy()
    {
        BrokerSession* session = openKafka({"gone"});
        TopicListView view(m_app.get(), session);
        view.resize(320, 800);
        view.show();
        SidebarListView* list = view.list();
        const SidebarModel& model = *view.model();

        QVERIFY(clickPart(list, rowOf(model, "topic:audit"), Part::row));
        QCOMPARE(session->selectedTopic(), std::optional<QString>("audit"));
        QVERIFY(clickPart(list, rowOf(model, "group:billing-replay"), Part::row));
        QCOMPARE(session->selectedGroup(), std::optional<QString>("billing-replay"));
        QVERIFY(!session->selectedTopic());

        // Keyboard: the focus moves with the arrows, Return selects.
        list->setFocus();
        list->setCurrentIndex(model.index(rowOf(model, "topic:billing.events")));
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(session->selectedTopic(), std::optional<QString>("billing.retries"));
        QVERIFY(!session->selectedGroup());

        // The pin button pins; the missing pin's button only ever unpins.
        QVERIFY(clickPart(list, rowOf(model, "topic:audit"), Part::pinButton));
        QCOMPARE(session->pinned(), (QStringList{"gone", "audit"}));
        QCOMPARE(rowsOf(model).mid(0, 3), (QStringList{"heading:Pinned", "topic:audit", "missing:gone"}));
        QVERIFY(clickPart(list, rowOf(model, "missing:gone"), Part::unpinButton));
        QCOMPARE(session->pinned(), QStringList{"audit"});
        QCOMPARE(rowOf(model, "missing:gone"), -1);

        // Context menus: pin or unpin, and copy the name.
        QObject owner;
        QList<QAction*> actions = list->contextActions(rowOf(model, "topic:audit"), &owner);
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->text(), QString("Unpin"));
        actions[1]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("audit"));
        actions[0]->trigger();
        QVERIFY(session->pinned().isEmpty());
        actions = list->contextActions(rowOf(model, "group:audit-sink"), &owner);
        QCOMPARE(actions.size(), 1);
        actions[0]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("audit-sink"));
        QVERIFY(list->contextActions(rowOf(model, "heading:Topics"), &owner).isEmpty());
    }

    void theSidebarDrawsOnlyWhatTheSessionPublishesNow()
    {
        BrokerSession* session = openKafka();
        TopicListView view(m_app.get(), session);
        view.resize(320, 700);
        view.show();
        const SidebarModel& model = *view.model();

        // A listing overtaken by a newer one is dropped by the session and stays dropped here.
        auto late = m_clients->kafka->gates.hold("watermarks audit");
        startDetached(session->loadTopics());
        QVERIFY(session->isLoadingTopics());
        m_clients->kafka->listed = QList<Topic>{topic("fresh", {{0, 4}})};
        m_clients->kafka->gates.hold("unused"); // the newer listing passes every gate
        syncWait(session->loadTopics());
        QCOMPARE(rowsOf(model).filter("topic:"), QStringList{"topic:fresh"});
        late->release();
        QCoreApplication::processEvents();
        QCOMPARE(rowsOf(model).filter("topic:"), QStringList{"topic:fresh"});
        QCOMPARE(view.countText(), QString("1"));

        // The selection is the session's: set elsewhere, it is what the list shows.
        session->setSelectedTopic("fresh");
        QVERIFY(model.isSelected(model.entry(rowOf(model, "topic:fresh"))));
        session->setSelectedGroup("audit-sink");
        QVERIFY(!model.isSelected(model.entry(rowOf(model, "topic:fresh"))));
        QVERIFY(model.isSelected(model.entry(rowOf(model, "group:audit-sink"))));
    }

    void rabbitSpeaksOfQueues()
    {
        m_clients->rabbit = std::make_shared<FakeRabbit>(rabbitBroker());
        m_clients->rabbit->listing.queues = {queue("orders", 12), queue("orders.dead-letter", 2), queue("idle", 0)};
        m_clients->rabbit->listing.consumers = {{"orders", 2}};
        m_app->open(rabbitBroker());
        BrokerSession* session = m_app->activeSession();
        QTRY_VERIFY(session->topicsListed());
        TopicListView view(m_app.get(), session);
        view.resize(320, 700);
        view.show();
        QCOMPARE(rowsOf(*view.model()),
                 (QStringList{"heading:Dead letters", "topic:orders.dead-letter", "heading:Queues", "topic:idle",
                              "topic:orders"}));
        QCOMPARE(view.listHeading(), QString("Queues"));
        QCOMPARE(view.searchField()->editor()->placeholderText(), QString("Search queues"));
        QCOMPARE(view.retainedText(), QString("14 retained"));
        SidebarPopover* menu = view.togglePopover(Popover::brokerMenu);
        QVERIFY(menu->findChildren<QLabel*>().last()->text() == "Charges to read. I'll warn you first.");
        // The toggle keeps its Kafka wording on every broker.
        view.togglePopover(Popover::brokerMenu);
        SidebarPopover* options = view.togglePopover(Popover::listMenu);
        QVERIFY(options->findChild<PopoverToggle*>());
    }

    void emptyNoticesAndWhatCannotBeSeen()
    {
        m_clients->kafka->listed = QList<Topic>();
        m_app->open(kafkaBroker());
        BrokerSession* session = m_app->activeSession();
        QTRY_VERIFY(session->topicsListed() && !session->isLoadingTopics());
        TopicListView view(m_app.get(), session);
        view.resize(320, 700);
        view.show();
        QCOMPARE(view.noticeText(), QString("No topics on this broker."));
        QVERIFY(!view.list()->isVisible());
        QVERIFY(!view.folderPill()->isVisible());

        // A search of spaces is quoted as typed.
        session->setSearch("  ");
        QCOMPARE(view.noticeText(), QString("Nothing matches \"\u2068  \u2069\"."));
        QCOMPARE(view.searchField()->text(), QString("  "));

        // Facts follow the notice; groups never do.
        session->noteUnobservable("Topics", "no describe rights");
        session->noteUnobservable("Topics", "timed out");
        QVERIFY(view.list()->isVisible());
        QCOMPARE(rowsOf(*view.model()), (QStringList{"heading:Can't see", "fact:Topics", "fact:Topics"}));
        QVERIFY(!view.noticeText().isEmpty());
    }

    void aSessionNotListedNeverSaysNoTopics()
    {
        // Waiting for its secrets, the session is connecting: the mascot works, no notice.
        m_clients->kafka->topicsError = KafkaError(-185, "listing topics: timed out");
        BrokerSession session(kafkaBroker(), std::nullopt, std::nullopt, std::nullopt, m_clients);
        session.awaitSecrets();
        TopicListView view(m_app.get(), &session);
        view.resize(320, 700);
        view.show();
        QVERIFY(view.working()->isVisible());
        QVERIFY(view.noticeText().isEmpty());
        QCOMPARE(TabBar::statusColor(session), palette::accent());

        // The listing fails: lost, not connected, and the sidebar says it couldn't list.
        syncWait(session.connectBroker());
        QVERIFY(!view.working()->isVisible());
        QCOMPARE(view.noticeText(), QString("I couldn't list the topics on this broker."));
        QCOMPARE(TabBar::statusColor(session), palette::amber());
        session.setSearch("x");
        QCOMPARE(view.noticeText(), QString("I couldn't list the topics on this broker."));
        session.setSearch("");

        // Listed at last: an empty broker says so, in green.
        m_clients->kafka->topicsError.reset();
        m_clients->kafka->listed = QList<Topic>();
        syncWait(session.loadTopics());
        QCOMPARE(view.noticeText(), QString("No topics on this broker."));
        QCOMPARE(TabBar::statusColor(session), palette::jade());
    }

    void loadingShowsTheWorkingMascotOnlyBeforeTheFirstListing()
    {
        m_clients->kafka->listed = kafkaTopics();
        auto gate = m_clients->kafka->gates.hold("topics");
        m_app->open(kafkaBroker());
        BrokerSession* session = m_app->activeSession();
        TopicListView view(m_app.get(), session);
        view.resize(320, 700);
        view.show();
        QTRY_VERIFY(session->isLoadingTopics());
        QVERIFY(view.working()->isVisible());
        QCOMPARE(view.working()->currentCaption(), QString("Tessaron's reading…"));
        QVERIFY(view.refreshButton()->busy() && !view.refreshButton()->isEnabled());
        gate->release();
        QTRY_VERIFY(!session->isLoadingTopics());
        QVERIFY(!view.working()->isVisible());
        QVERIFY(view.list()->isVisible());
        QVERIFY(view.refreshButton()->isEnabled());

        // A refresh with topics listed keeps the list; only the button is busy.
        auto again = m_clients->kafka->gates.hold("topics");
        QTest::mouseClick(view.refreshButton(), Qt::LeftButton);
        QVERIFY(session->isLoadingTopics());
        QVERIFY(view.list()->isVisible() && !view.working()->isVisible());
        QVERIFY(view.refreshButton()->busy());
        again->release();
        QTRY_VERIFY(!session->isLoadingTopics());
        QCOMPARE(m_clients->kafka->calls.count("topics"), 2);

        QCOMPARE(TessaronWorking::stage(3.9, 4), 0);
        QCOMPARE(TessaronWorking::stage(4, 4), 1);
        QCOMPARE(TessaronWorking::stage(500, 4), 3);
    }

    void chipsAskNeedsAToolAndATopicFileNeedsAConnection()
    {
        BrokerSession* session = openKafka();
        TopicListView view(m_app.get(), session);
        view.resize(320, 700);
        view.show();
        QVERIFY(!view.askChip()->isVisible());
        QVERIFY(view.fileChip()->isEnabled());
        QTest::mouseClick(view.fileChip(), Qt::LeftButton);
        QCOMPARE(m_app->action()->id(), QString("produce-new"));
        m_app->setAction(std::nullopt);

        faketools::install("claude", "echo answer\n");
        syncWait(m_app->refreshAIAvailability());
        QVERIFY(m_app->aiAvailable());
        QVERIFY(!view.askChip()->isVisible()); // no topic yet
        session->setSelectedTopic("orders");
        QVERIFY(view.askChip()->isVisible());
        QTest::mouseClick(view.askChip(), Qt::LeftButton);
        QCOMPARE(m_app->action()->which(), AppState::Action::ask);
        session->setSelectedTopic("no-longer-listed");
        QVERIFY(!view.askChip()->isVisible());
        m_app->setAction(std::nullopt);

        // Without a connection "File…" is there but does nothing.
        m_clients->makeError = KafkaError(-1, "bootstrap.servers: invalid");
        BrokerSession offline(kafkaBroker("offline"), std::nullopt, std::nullopt, std::nullopt, m_clients);
        syncWait(offline.connectBroker());
        TopicListView unconnected(m_app.get(), &offline);
        unconnected.show();
        QVERIFY(unconnected.fileChip()->isVisible() && !unconnected.fileChip()->isEnabled());
        QTest::mouseClick(unconnected.fileChip(), Qt::LeftButton);
        QVERIFY(!m_app->action());
        QCOMPARE(unconnected.listHeading(), QString("Topics"));
    }

    void brokerPopoversAct()
    {
        // "Local" is the one broker on file; a second broker is open without being on file.
        const Broker local = m_app->brokers().first();
        m_clients->kafka->listed = kafkaTopics();
        m_app->open(local);
        BrokerSession* other = openKafka();
        TopicListView view(m_app.get(), other);
        view.resize(320, 700);
        view.show();

        SidebarPopover* picker = view.togglePopover(Popover::brokerPicker);
        QCOMPARE(titles(picker), (QStringList{"Local [open]", "Open another broker"}));
        QVERIFY(picker->findChildren<QLabel*>().last()->text() == "Just the one. He's not complaining.");
        QTest::mouseClick(rowTitled(picker, "Local"), Qt::LeftButton);
        QCOMPARE(m_app->selected(), std::optional<QUuid>(local.id));
        QVERIFY(!view.popover(Popover::brokerPicker));

        TopicListView own(m_app.get(), m_app->sessions().first());
        own.show();
        QCOMPARE(titles(own.togglePopover(Popover::brokerPicker)), (QStringList{"Local ✓", "Open another broker"}));
        QTest::mouseClick(rowTitled(own.popover(Popover::brokerPicker), "Open another broker"), Qt::LeftButton);
        QVERIFY(m_app->showingPicker());

        SidebarPopover* menu = view.togglePopover(Popover::brokerMenu);
        QTest::mouseClick(rowTitled(menu, "Edit this broker"), Qt::LeftButton);
        QCOMPARE(m_app->editing()->id, other->id());
        menu = view.togglePopover(Popover::brokerMenu);
        const QUuid closing = other->id();
        QTest::mouseClick(rowTitled(menu, "Close this broker"), Qt::LeftButton);
        QCOMPARE(m_app->sessions().size(), 1);
        QVERIFY(m_app->sessions().first()->id() != closing);

        SidebarPopover* help = own.togglePopover(Popover::scopeHelp);
        QVERIFY(help->isVisible());
        QVERIFY(help->findChildren<PopoverRow*>().isEmpty());
        QCOMPARE(help->width(), SidebarPopover::fixedWidth);
        QVERIFY(!own.togglePopover(Popover::scopeHelp)); // its control again closes it
        QVERIFY(!own.popover(Popover::scopeHelp));

        // Keyboard: Escape closes a popover, Return acts on a row.
        SidebarPopover* folders = own.togglePopover(Popover::namespacePicker);
        QTest::keyClick(folders, Qt::Key_Escape);
        QVERIFY(!own.popover(Popover::namespacePicker));
        folders = own.togglePopover(Popover::namespacePicker);
        PopoverRow* billing = rowTitled(folders, "billing");
        billing->setFocus();
        QTest::keyClick(billing, Qt::Key_Return);
        QCOMPARE(m_app->sessions().first()->nameSpace(), std::optional<QString>("billing"));
        QVERIFY(!own.popover(Popover::namespacePicker));
    }
};

QTEST_MAIN(TestSidebar)
#include "tst_Sidebar.moc"
