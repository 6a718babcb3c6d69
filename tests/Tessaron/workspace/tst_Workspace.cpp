#include "WorkspaceFixture.h"

#include "Tessaron/workspace/LostConnectionBanner.h"
#include "Tessaron/workspace/SidebarDivider.h"
#include "Tessaron/workspace/SidebarLogic.h"
#include "Tessaron/workspace/TopicListView.h"
#include "Tessaron/workspace/WorkspaceView.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTemporaryDir>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

int pageCalls(const FakeKafka& kafka, const QString& topic)
{
    return int(kafka.calls.filter(QStringLiteral("page ") + topic + u' ').size());
}

// Sends one mouse event to the divider in window coordinates, the way a drag reports them.
void mouse(SidebarDivider* grip, QEvent::Type type, QPointF scene, Qt::MouseButtons buttons)
{
    const QPointF local = grip->mapFrom(grip->window(), scene.toPoint());
    QMouseEvent event(type, local, scene, grip->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(grip, &event);
}

void drag(SidebarDivider* grip, double dx, double dy = 0)
{
    const QPointF start = grip->mapTo(grip->window(), QPointF(5, 100));
    mouse(grip, QEvent::MouseButtonPress, start, Qt::LeftButton);
    // Reported in small steps, as a pointer moves.
    const int steps = 6;
    for (int i = 1; i <= steps; ++i)
        mouse(grip, QEvent::MouseMove, start + QPointF(dx * i / steps, dy * i / steps), Qt::LeftButton);
    mouse(grip, QEvent::MouseButtonRelease, start + QPointF(dx, dy), Qt::NoButton);
}

} // namespace

class TestWorkspace : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;
    std::unique_ptr<AppState> m_app;
    ViewFactories m_views;

    BrokerSession* openKafka()
    {
        m_clients->kafka->listed = QList<Topic>{topic("orders", {{0, 3}}), topic("payments", {{0, 2}})};
        m_clients->kafka->held["orders"][0] = {message("orders", 0, 0, 1000), message("orders", 0, 1, 2000),
                                               message("orders", 0, 2, 3000)};
        m_clients->kafka->held["payments"][0] = {message("payments", 0, 0, 1000), message("payments", 0, 1, 2000)};
        m_clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}};
        return openListed(*m_app, kafkaBroker("cluster"));
    }

private slots:
    void init()
    {
        clearPreferences();
        // Bare panes and no sheet unless a test asks for its own.
        const auto bare = [](AppState*, BrokerSession*, QWidget* parent) { return new QWidget(parent); };
        m_views.messageBrowser = bare;
        m_views.groupScreen = bare;
        m_views.actionSheet = [](const AppState::Action&, AppState*, BrokerSession*, QWidget*) -> QDialog* {
            return nullptr;
        };
        m_clients = std::make_shared<FakeFactory>();
        m_app = std::make_unique<AppState>(m_clients);
    }

    void cleanup() { m_app.reset(); }

    void theDetailPaneFollowsTheSelectionAndAWorkspaceReadsNothing()
    {
        m_views.messageBrowser = [](AppState*, BrokerSession*, QWidget* parent) {
            auto* pane = new QWidget(parent);
            pane->setObjectName("browser");
            return pane;
        };
        m_views.groupScreen = [](AppState*, BrokerSession*, QWidget* parent) {
            auto* pane = new QWidget(parent);
            pane->setObjectName("group");
            return pane;
        };
        BrokerSession* session = openKafka();
        FakeKafka& kafka = *m_clients->kafka;
        WorkspaceView workspace(m_app.get(), session, m_views);
        workspace.resize(1020, 660);
        workspace.show();
        QCOMPARE(workspace.detailPane()->objectName(), QString("browser"));
        session->setSelectedGroup("billing");
        QCOMPARE(workspace.detailPane()->objectName(), QString("group"));
        session->setSelectedTopic("payments");
        QCOMPARE(workspace.detailPane()->objectName(), QString("browser"));
        QTRY_COMPARE(pageCalls(kafka, "payments"), 1);
        QTRY_VERIFY(!session->isLoadingMessages());

        // A workspace built again for the same selections (another tab, another language) asks
        // nothing of the broker: the session decides what is read.
        for (const bool group : {false, true}) {
            if (group) {
                session->setSelectedGroup("billing");
                QTRY_VERIFY(kafka.calls.contains("describe billing"));
                QTRY_VERIFY(!session->isLoadingGroup());
            }
            const QStringList before = kafka.calls;
            WorkspaceView again(m_app.get(), session, m_views);
            again.show();
            QTest::qWait(20);
            QCOMPARE(kafka.calls, before);
        }
        QCOMPARE(kafka.calls.count("describe billing"), 1);
        QCOMPARE(pageCalls(kafka, "payments"), 1);
    }

    void aReadStartedByAClosedWorkspaceLandsInTheSessionOnly()
    {
        BrokerSession* session = openKafka();
        auto gate = m_clients->kafka->gates.hold("page orders 0");
        auto* workspace = new WorkspaceView(m_app.get(), session, m_views);
        workspace->show();
        session->setSelectedTopic("orders");
        QTRY_VERIFY(session->isLoadingMessages());
        delete workspace;
        gate->release();
        QTRY_VERIFY(!session->isLoadingMessages());
        QCOMPARE(session->messages().size(), 3);
    }

    void dividerClampsStoresAndIgnoresSmallMoves()
    {
        BrokerSession* session = openKafka();
        auto* workspace = new WorkspaceView(m_app.get(), session, m_views);
        workspace->resize(1020, 660);
        workspace->show();
        QCOMPARE(workspace->sidebarWidth(), 320);
        SidebarDivider* grip = workspace->divider();
        QCOMPARE(grip->width(), 11);
        QCOMPARE(grip->geometry().center().x(), workspace->sidebar()->geometry().right() + 1);

        drag(grip, 300);
        QCOMPARE(workspace->sidebarWidth(), 440);
        QCOMPARE(UserDefaults::standard().number(Sidebar::widthKey), std::optional<double>(440));
        drag(grip, -200);
        QCOMPARE(workspace->sidebarWidth(), 250);
        drag(grip, 9);
        QCOMPARE(workspace->sidebarWidth(), 250);
        drag(grip, 6, 6); // under 10 points away, diagonally
        QCOMPARE(workspace->sidebarWidth(), 250);
        drag(grip, 40);
        QCOMPARE(workspace->sidebarWidth(), 290);
        QCOMPARE(grip->geometry().center().x(), workspace->sidebar()->geometry().right() + 1);

        // The width survives a restart: the store read afresh from its file, written on quit.
        delete workspace;
        QVERIFY(UserDefaults::standard().flush());
        UserDefaults reread(UserDefaults::standardFilePath());
        QCOMPARE(Sidebar::storedWidth(reread), 290.0);
        WorkspaceView next(m_app.get(), session, m_views);
        QCOMPARE(next.sidebar()->width(), 290);

        // A stored width outside the range, or junk, is clamped when read: the sidebar never vanishes.
        UserDefaults::standard().setInteger(Sidebar::widthKey, 0);
        QCOMPARE(next.sidebar()->width(), 250);
        UserDefaults::standard().setDouble(Sidebar::widthKey, 9000);
        QCOMPARE(next.sidebar()->width(), 440);
        UserDefaults::standard().setString(Sidebar::widthKey, "wide");
        QVERIFY(next.sidebar()->width() >= 250 && next.sidebar()->width() <= 440);

        // The drag logic alone: the first 10 points count once the drag has begun.
        QTemporaryDir dir;
        UserDefaults store(dir.filePath("prefs.json"));
        DividerDrag logic(store);
        logic.press({100, 100});
        QCOMPARE(logic.move({109, 100}), std::nullopt);
        QCOMPARE(logic.move({112, 100}), std::optional<double>(332));
        QCOMPARE(logic.move({105, 100}), std::optional<double>(325)); // back under 10 points: still dragging
        logic.release();
        QVERIFY(!logic.isDragging());
        QCOMPARE(store.number(Sidebar::widthKey), std::optional<double>(325));
    }

    void theSidebarGivesWayOnANarrowWindowAndKeepsItsWidth()
    {
        BrokerSession* session = openKafka();
        UserDefaults::standard().setDouble(Sidebar::widthKey, 440);
        // Inside the window's content, as the root view holds it.
        QWidget window;
        window.resize(820, 520);
        WorkspaceView workspace(m_app.get(), session, m_views, &window);
        workspace.setGeometry(window.rect());
        window.show();
        QTRY_VERIFY(workspace.sidebarWidth() < 440);
        QVERIFY(workspace.sidebarWidth() >= Sidebar::minimumWidth);
        QVERIFY(workspace.detailPane()->width() >= WorkspaceView::detailMinimumWidth);
        // Only the shown width gave way: the stored one is the user's.
        QCOMPARE(UserDefaults::standard().number(Sidebar::widthKey), std::optional<double>(440));
        workspace.setGeometry(0, 0, 1500, 960);
        QTRY_COMPARE(workspace.sidebarWidth(), 440);
    }

    void bannerComesWithALostConnectionAndTryAgainRefreshesOnce()
    {
        BrokerSession* session = openKafka();
        WorkspaceView workspace(m_app.get(), session, m_views);
        workspace.resize(1020, 660);
        workspace.show();
        QVERIFY(!workspace.banner()->isVisible());

        m_clients->kafka->topicsError = KafkaError(-195, "broker transport failure");
        syncWait(session->loadTopics());
        QVERIFY(workspace.banner()->isVisible());
        QCOMPARE(workspace.banner()->detailText(),
                 QString("What is on screen is what it last said. \u2068broker transport failure\u2069"));
        QCOMPARE(session->topics().size(), 2); // what was listed stays

        // Still unreachable: the banner goes at once and comes back with the new reason.
        const int before = int(m_clients->kafka->calls.count("topics"));
        m_clients->kafka->topicsError = KafkaError(-185, "timed out");
        auto gate = m_clients->kafka->gates.hold("topics");
        QTest::mouseClick(workspace.banner()->tryAgainButton(), Qt::LeftButton);
        QVERIFY(!workspace.banner()->isVisible());
        QVERIFY(!session->lostConnection());
        gate->release();
        QTRY_VERIFY(workspace.banner()->isVisible());
        QCOMPARE(workspace.banner()->detailText(),
                 QString("What is on screen is what it last said. \u2068timed out\u2069"));
        QCOMPARE(m_clients->kafka->calls.count("topics"), before + 1);

        // Reachable again: one more listing, and the banner stays away.
        m_clients->kafka->topicsError.reset();
        QTest::mouseClick(workspace.banner()->tryAgainButton(), Qt::LeftButton);
        QTRY_VERIFY(!session->isLoadingTopics());
        QCOMPARE(m_clients->kafka->calls.count("topics"), before + 2);
        QVERIFY(!workspace.banner()->isVisible());
    }

    void theActionSheetFollowsTheActionAndClearsItOnClosing()
    {
        QStringList built;
        m_views.actionSheet = [&built](const AppState::Action& action, AppState*, BrokerSession*, QWidget* parent) {
            built << action.id();
            auto* sheet = new QDialog(parent);
            sheet->setObjectName(action.id());
            return sheet;
        };
        BrokerSession* session = openKafka();
        WorkspaceView workspace(m_app.get(), session, m_views);
        workspace.resize(1020, 660);
        workspace.show();

        m_app->setAction(AppState::Action::makeProduce(std::nullopt));
        QPointer<QDialog> produce = workspace.sheet();
        QVERIFY(produce && produce->isVisible());
        QCOMPARE(produce->objectName(), QString("produce-new"));
        QCOMPARE(produce->windowModality(), Qt::WindowModal);
        QVERIFY(produce->parentWidget() == &workspace);
        produce->reject();
        QVERIFY(!m_app->action());
        QTRY_VERIFY(!produce);

        // A later action opens its own sheet; closing it any way clears the action.
        const ConsumerGroup group{"billing", "Empty", false};
        m_app->setAction(AppState::Action::makeResetOffsets(group, session->topics().first()));
        QCOMPARE(workspace.sheet()->objectName(), QString("reset-billing-orders"));
        workspace.sheet()->close();
        QVERIFY(!m_app->action());

        // Replacing the action replaces the sheet, without clearing the new action.
        m_app->setAction(AppState::Action::makeAsk());
        QPointer<QDialog> ask = workspace.sheet();
        m_app->setAction(AppState::Action::makeProduce(std::nullopt));
        QTRY_VERIFY(!ask);
        QCOMPARE(m_app->action()->id(), QString("produce-new"));
        QCOMPARE(workspace.sheet()->objectName(), QString("produce-new"));
        // Withdrawn from elsewhere: the sheet goes.
        QPointer<QDialog> last = workspace.sheet();
        m_app->setAction(std::nullopt);
        QTRY_VERIFY(!last);
        QCOMPARE(built, (QStringList{"produce-new", "reset-billing-orders", "ask", "produce-new"}));

        // A workspace built while an action is pending presents it at once (a switch of tabs).
        m_app->setAction(AppState::Action::makeAsk());
        WorkspaceView next(m_app.get(), session, m_views);
        QVERIFY(next.sheet());

        // With no sheet for the action, the action ends at once instead of blocking the next one.
        m_views.actionSheet = [](const AppState::Action&, AppState*, BrokerSession*, QWidget*) -> QDialog* {
            return nullptr;
        };
        m_app->setAction(std::nullopt);
        WorkspaceView bare(m_app.get(), session, m_views);
        m_app->setAction(AppState::Action::makeProduce(std::nullopt));
        QTRY_VERIFY(!m_app->action());
    }
};

QTEST_MAIN(TestWorkspace)
#include "tst_Workspace.moc"
