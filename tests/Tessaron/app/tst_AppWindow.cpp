#include "AppTestSupport.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/app/AppCommands.h"
#include "Tessaron/app/AppStyle.h"
#include "Tessaron/app/ApplicationIcon.h"
#include "Tessaron/app/MainWindow.h"
#include "Tessaron/app/RootView.h"
#include "Tessaron/app/TessaronApplication.h"
#include "Tessaron/app/WindowsService.h"
#include "Tessaron/workspace/TabBar.h"
#include "Tessaron/workspace/WorkspaceView.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

using namespace tessaron;

class TestAppWindow : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<fakes::FakeFactory> m_clients;
    std::unique_ptr<TessaronApplication> m_app;
    ViewFactories m_views;

    // A fresh application with the views of m_views.
    void restart()
    {
        m_app.reset();
        m_app = std::make_unique<TessaronApplication>(m_clients, m_views);
    }

    AppState& state() { return *m_app->state(); }
    AppCommands& commands() { return *m_app->commands(); }
    MainWindow& window() { return *m_app->mainWindow(); }

private slots:
    void init()
    {
        UserDefaults::standard().remove(L10n::key);
        m_clients = std::make_shared<fakes::FakeFactory>();
        m_clients->kafka->listed = QList<Topic>{apptest::orders()};
        m_views = apptest::plainViews();
        restart();
    }

    void cleanup()
    {
        m_app.reset();
        UserDefaults::standard().remove(L10n::key);
    }

    void windowHasItsSizesAndMenus()
    {
        QCOMPARE(window().windowTitle(), QStringLiteral("Tessaron MQ"));
        // The default and the minimum are the content's, under the menu bar.
        window().show();
        QTRY_COMPARE(window().rootView()->size(), MainWindow::defaultSize);
        QCOMPARE(window().rootView()->minimumSize(), MainWindow::minimumContentSize);
        QCOMPARE(window().height(), MainWindow::defaultSize.height() + window().menuBar()->height());
        // Made as small as it goes, the content keeps its minimum and the menu bar sits above it.
        window().resize(300, 200);
        QTRY_COMPARE(window().rootView()->size(), MainWindow::minimumContentSize);
        QCOMPARE(window().rootView()->y(), window().menuBar()->geometry().bottom() + 1);
        const QList<QAction*> menus = window().menuBar()->actions();
        QCOMPARE(menus.size(), 2);
        const QList<QAction*> appItems = menus[0]->menu()->actions();
        QVERIFY(appItems.contains(commands().about()));
        QVERIFY(appItems.contains(commands().checkForUpdates()));
        QVERIFY(appItems.contains(commands().settings()));
        QVERIFY(appItems.contains(commands().quit()));
        QCOMPARE(commands().settings()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QCOMPARE(commands().quit()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
        QList<QAction*> brokerItems;
        for (QAction* item : menus[1]->menu()->actions()) {
            if (!item->isSeparator())
                brokerItems << item;
        }
        QCOMPARE(brokerItems,
                 (QList<QAction*>{commands().openAnother(), commands().closeBroker(), commands().refreshTopics(),
                                  commands().rereadMessages()}));
    }

    // The three states of the menu: nothing open, a failed connection, connected without a topic.
    void menuEnablingFollowsTheActiveSession()
    {
        QVERIFY(commands().openAnother()->isEnabled());
        QVERIFY(!commands().closeBroker()->isEnabled());
        QVERIFY(!commands().refreshTopics()->isEnabled());
        QVERIFY(!commands().rereadMessages()->isEnabled());
        QVERIFY(!commands().checkForUpdates()->isEnabled());
        QVERIFY(commands().about()->isEnabled());
        QVERIFY(commands().settings()->isEnabled());

        m_clients->makeError = KafkaError(-1, QStringLiteral("no route to broker"));
        BrokerSession* failed = apptest::openSettled(state(), fakes::kafkaBroker(QStringLiteral("down")));
        QVERIFY(failed && failed->connectionError());
        QVERIFY(commands().openAnother()->isEnabled());
        QVERIFY(commands().closeBroker()->isEnabled());
        QVERIFY(!commands().refreshTopics()->isEnabled());
        QVERIFY(!commands().rereadMessages()->isEnabled());

        m_clients->makeError.reset();
        BrokerSession* live = apptest::openSettled(state(), fakes::kafkaBroker(QStringLiteral("up")));
        QVERIFY(live && live->connection());
        QVERIFY(commands().closeBroker()->isEnabled());
        QVERIFY(commands().refreshTopics()->isEnabled());
        QVERIFY(!commands().rereadMessages()->isEnabled());

        live->setSelectedTopic(QStringLiteral("orders"));
        QVERIFY(commands().rereadMessages()->isEnabled());

        // Back on the failed tab, the rules follow that session.
        state().setSelected(failed->id());
        QVERIFY(!commands().refreshTopics()->isEnabled());
        QVERIFY(!commands().rereadMessages()->isEnabled());

        // A selection that matches no session: nothing to close.
        state().setSelected(QUuid::createUuid());
        QVERIFY(!commands().closeBroker()->isEnabled());
    }

    void ctrlNFiresOnceAndThePlusSharesIt()
    {
        apptest::openSettled(state(), fakes::kafkaBroker());
        window().show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        QCOMPARE(window().rootView()->content(), RootView::Content::workspace);

        // One owner of the shortcut in the whole window, so it can never be ambiguous.
        int owners = 0;
        for (QAction* action : window().findChildren<QAction*>())
            owners += action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_N);
        for (QAction* action : window().actions())
            owners += action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_N) && action->parent() != &window();
        for (QShortcut* shortcut : window().findChildren<QShortcut*>())
            owners += shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_N);
        QCOMPARE(owners, 1);

        QSignalSpy fired(commands().openAnother(), &QAction::triggered);
        QTest::keySequence(&window(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(fired.count(), 1);
        QVERIFY(state().showingPicker());
        QCOMPARE(window().rootView()->content(), RootView::Content::reception);

        state().setShowingPicker(false);
        QTest::mouseClick(window().rootView()->tabBar()->plusButton(), Qt::LeftButton);
        QCOMPARE(fired.count(), 2);
        QVERIFY(state().showingPicker());
    }

    void brokerShortcutsActOnTheSelectedSession()
    {
        BrokerSession* a = apptest::openSettled(state(), fakes::kafkaBroker(QStringLiteral("a")));
        BrokerSession* b = apptest::openSettled(state(), fakes::kafkaBroker(QStringLiteral("b")));
        BrokerSession* c = apptest::openSettled(state(), fakes::kafkaBroker(QStringLiteral("c")));
        window().show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));

        // Refresh lists again; reread reads the newest messages of the topic in view.
        b->setSelectedTopic(QStringLiteral("orders"));
        state().setSelected(b->id());
        const qsizetype listed = m_clients->kafka->calls.count(QStringLiteral("topics"));
        QTest::keySequence(&window(), QKeySequence(Qt::CTRL | Qt::Key_R));
        QTRY_COMPARE(m_clients->kafka->calls.count(QStringLiteral("topics")), listed + 1);
        QTest::keySequence(&window(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
        QTRY_VERIFY(b->position() == BrokerSession::Position::atTail());

        // Closing the selected middle tab selects the rightmost remaining one.
        QTest::keySequence(&window(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
        QCOMPARE(state().sessions(), (QList<BrokerSession*>{a, c}));
        QCOMPARE(state().selected(), std::optional<QUuid>(c->id()));
    }

    void languageSwitchRebuildsTheWindowWithSessionsUntouched()
    {
        m_views.settings = [](AppState*, std::function<void()>) { return new QLabel(L10n::t("Close")); };
        restart();
        BrokerSession* session = apptest::openSettled(state(), fakes::kafkaBroker());
        session->setSelectedTopic(QStringLiteral("orders"));
        window().show();
        commands().settings()->trigger();
        QWidget* settings = m_app->windows()->window(WindowsService::Window::settings);
        QVERIFY(settings);
        QPointer<RootView> before = window().rootView();
        QSignalSpy rebuilt(&window(), &MainWindow::rebuilt);

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(rebuilt.count(), 1);
        QVERIFY(window().rootView() != before);
        QTRY_VERIFY(!before); // the old view is gone, not merely hidden
        QCOMPARE(commands().openAnother()->text(), QStringLiteral("Abrir outro broker"));
        QCOMPARE(window().menuBar()->actions()[1]->text(), QStringLiteral("Broker"));
        QCOMPARE(settings->findChild<QLabel*>()->text(), QStringLiteral("Fechar"));
        QCOMPARE(m_app->windows()->window(WindowsService::Window::settings), settings);
        // A screen reader meets a window, named in the new language.
        QAccessibleInterface* reading = QAccessible::queryAccessibleInterface(settings);
        QCOMPARE(reading->role(), QAccessible::Window);
        QCOMPARE(reading->text(QAccessible::Name), L10n::t("Settings"));
        QVERIFY(reading->text(QAccessible::Name) != QStringLiteral("Settings"));

        // The same session, in the same state, under the new view's tab bar.
        QCOMPARE(state().sessions(), QList<BrokerSession*>{session});
        QCOMPARE(session->selectedTopic(), std::optional<QString>(QStringLiteral("orders")));
        QVERIFY(session->connection());
        QCOMPARE(window().rootView()->content(), RootView::Content::workspace);
        QCOMPARE(window().rootView()->tabBar()->chips().size(), 1);

        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(rebuilt.count(), 2);
        QCOMPARE(commands().openAnother()->text(), QStringLiteral("Open another broker"));
        settings->close();
    }

    void languageSwitchStartsNoReadAndKeepsWhatIsOnScreen()
    {
        m_views.workspace = [panes = m_views](AppState* app, BrokerSession* session, QWidget* parent) -> QWidget* {
            return new WorkspaceView(app, session, panes, parent);
        };
        restart();
        m_clients->kafka->held["orders"][0] = {fakes::message("orders", 0, 0, 1000),
                                               fakes::message("orders", 0, 1, 2000)};
        BrokerSession* session = apptest::openSettled(state(), fakes::kafkaBroker());
        window().show();
        session->setSelectedTopic(QStringLiteral("orders"));
        QTRY_COMPARE(session->messages().size(), 2);
        QTRY_VERIFY(!session->isLoadingMessages());
        // The user's own choice of pages, and a message picked.
        fakes::syncWait(session->read(BrokerSession::Position::atOffset(1), 10, false));
        session->setSelectedMessage(QStringLiteral("orders/0/1"));
        const QStringList calls = m_clients->kafka->calls;
        const auto messages = session->messages();
        QSignalSpy rebuilt(&window(), &MainWindow::rebuilt);

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(rebuilt.count(), 1);
        QTest::qWait(30);
        QCOMPARE(m_clients->kafka->calls, calls);
        QCOMPARE(session->position(), BrokerSession::Position::atOffset(1));
        QCOMPARE(session->messages(), messages);
        QCOMPARE(session->selectedMessage(), std::optional<QString>(QStringLiteral("orders/0/1")));

        // A change of tab still follows the selection afresh.
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(rebuilt.count(), 2);
        apptest::openSettled(state(), fakes::rabbitBroker());
        state().setSelected(session->id());
        QTRY_VERIFY(m_clients->kafka->calls.size() > calls.size());
        QCOMPARE(session->position(), BrokerSession::Position::atTail());
    }

    void languageSwitchKeepsTheOpenSheetWithWhatIsTyped()
    {
        m_views.workspace = TessaronApplication::standardViews().workspace;
        restart();
        apptest::openSettled(state(), fakes::kafkaBroker());
        window().show();
        state().setAction(AppState::Action::makeProduce(std::nullopt));
        QPointer<ProduceSheet> sheet = window().findChild<ProduceSheet*>();
        QVERIFY(sheet && sheet->isVisible());
        sheet->keyField()->setText(QStringLiteral("k-7"));
        sheet->reasonField()->setText(QStringLiteral("replay"));
        QSignalSpy rebuilt(&window(), &MainWindow::rebuilt);

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(rebuilt.count(), 1);
        QTRY_COMPARE(sheet->fileButton()->labelText(), QStringLiteral("Protocolar"));
        // The same sheet, still open over the new content, with what was typed.
        QVERIFY(sheet->isVisible());
        QCOMPARE(window().findChildren<ProduceSheet*>().size(), 1);
        QCOMPARE(sheet->keyField()->text(), QStringLiteral("k-7"));
        QCOMPARE(sheet->reasonField()->text(), QStringLiteral("replay"));
        QCOMPARE(sheet->cancelButton()->text(), QStringLiteral("Cancelar"));

        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(sheet->fileButton()->labelText(), QStringLiteral("File it"));
        // The new workspace holds it: closing it ends the action.
        sheet->reject();
        QVERIFY(!state().action());
        QTRY_VERIFY(!sheet);
    }

    void languageSwitchKeepsTheWindowsSheetOnScreen()
    {
        int made = 0;
        m_views.introduction = [&made](AppState*, QWidget* parent) -> QDialog* {
            ++made;
            return new QDialog(parent);
        };
        restart();
        UserDefaults::standard().remove(Prefs::onboarded);
        window().show();
        QTRY_VERIFY(window().rootView()->sheets()->currentDialog());
        QPointer<QDialog> intro = window().rootView()->sheets()->currentDialog();
        QSignalSpy rebuilt(&window(), &MainWindow::rebuilt);

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(rebuilt.count(), 1);
        QTest::qWait(20);
        QVERIFY(intro && intro->isVisible());
        QCOMPARE(window().rootView()->sheets()->currentDialog(), intro.data());
        QCOMPARE(made, 1);
        // Closed by the user under the new view: written back as before.
        intro->reject();
        QVERIFY(UserDefaults::standard().boolean(Prefs::onboarded).value_or(false));
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(rebuilt.count(), 2);
    }

    void escapeAndCtrlWCloseSettingsAndAbout()
    {
        m_views.settings = [](AppState*, std::function<void()>) { return new QLabel(QStringLiteral("settings")); };
        m_views.about = [](AppState*) { return new QLabel(QStringLiteral("about")); };
        restart();
        const QList<std::pair<QAction*, WindowsService::Window>> windows{
            {commands().settings(), WindowsService::Window::settings},
            {commands().about(), WindowsService::Window::about}};
        for (const auto& [command, which] : windows) {
            for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
                command->trigger();
                QPointer<QWidget> open = m_app->windows()->window(which);
                QVERIFY(open);
                QVERIFY(QTest::qWaitForWindowActive(open));
                QTest::keySequence(open, keys);
                QTRY_VERIFY(!open); // closed, and gone with it
            }
        }
    }

    void settingsAndAboutAreSingleWindowsThatOutliveTheMainWindow()
    {
        int made = 0;
        m_views.about = [&made](AppState*) {
            ++made;
            return new QLabel(QStringLiteral("about"));
        };
        restart();
        commands().about()->trigger();
        QWidget* about = m_app->windows()->window(WindowsService::Window::about);
        QVERIFY(about && about->isWindow() && !about->parentWidget());
        commands().about()->trigger();
        QCOMPARE(m_app->windows()->window(WindowsService::Window::about), about);
        QCOMPARE(made, 1);

        // Quit and Settings reach the program from its other windows too; the broker commands
        // belong to the main window.
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QVERIFY(QTest::qWaitForWindowExposed(about));
        about->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QSignalSpy settingsAsked(commands().settings(), &QAction::triggered);
        QSignalSpy anotherAsked(commands().openAnother(), &QAction::triggered);
        QTest::keySequence(about, QKeySequence(Qt::CTRL | Qt::Key_Comma));
        QTest::keySequence(about, QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(settingsAsked.count(), 1);
        QCOMPARE(anotherAsked.count(), 0);
        QWidget* settings = m_app->windows()->window(WindowsService::Window::settings);
        QVERIFY(settings);
        settings->close();

        // Closing the main window leaves the process running while "About" is open; closing that
        // last window then ends the event loop.
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QPointer<QWidget> watched = about;
        bool aliveAfterMainClosed = false;
        QTimer::singleShot(0, this, [&] { window().close(); });
        QTimer::singleShot(150, this, [&] {
            aliveAfterMainClosed = true;
            QVERIFY(m_app->mainWindow()); // closing only hides the main window; the state lives on
            about->close();
        });
        QTimer::singleShot(5000, this, [] { QCoreApplication::exit(7); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(aliveAfterMainClosed);
        QTRY_VERIFY(!watched); // closed windows are released; the next "About" builds anew
    }

    // The menu bar's overflow icon is handed out unread as the bar is built; drawn, it is Fusion's.
    void theOverflowIconDrawsAsFusionsOwn()
    {
        const std::unique_ptr<QStyle> style(AppStyle::createStyle());
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QVERIFY(style && fusion);
        const QIcon icon = style->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        const QIcon expected = fusion->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        for (const int size : {16, 32}) {
            const QImage drawn = icon.pixmap(size).toImage();
            QVERIFY(!drawn.isNull());
            QCOMPARE(drawn, expected.pixmap(size).toImage());
        }
    }

    void aMissingIconMeansNoIcon()
    {
        QVERIFY(!ApplicationIcon::load().isNull());
        QVERIFY(ApplicationIcon::load(QStringLiteral(":/tessaron/NoSuchIcon.svg")).isNull());
        QVERIFY(ApplicationIcon::pixmap(64, QStringLiteral("/nonexistent/AppIcon.svg")).isNull());
    }
};

QTEST_MAIN(TestAppWindow)
#include "tst_AppWindow.moc"
