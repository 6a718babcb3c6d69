#include "AppTestSupport.h"

#include "Tessaron/app/RootView.h"
#include "Tessaron/app/SheetController.h"
#include "Tessaron/reception/BrokerFormLogic.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/workspace/TabBar.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QDialog>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

class TestRootView : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<fakes::FakeFactory> m_clients;
    std::unique_ptr<AppState> m_app;
    ViewFactories m_views;

    static void setOnboarded(bool on) { UserDefaults::standard().setBool(Prefs::onboarded, on); }
    static bool onboarded() { return UserDefaults::standard().boolean(Prefs::onboarded).value_or(false); }

    // A sheet that only tells which slot made it.
    static QDialog* sheet(const QString& name, QWidget* parent)
    {
        auto* dialog = new QDialog(parent);
        dialog->setObjectName(name);
        return dialog;
    }

    static QString showing(RootView& root)
    {
        QDialog* d = root.sheets()->currentDialog();
        return d && d->isVisible() ? d->objectName() : QString();
    }

private slots:
    void init()
    {
        UserDefaults::standard().remove(Prefs::onboarded);
        m_clients = std::make_shared<fakes::FakeFactory>();
        m_clients->kafka->listed = QList<Topic>{apptest::orders()};
        m_app = std::make_unique<AppState>(m_clients);
        m_views = apptest::plainViews();
    }

    void cleanup() { m_app.reset(); }

    void contentFollowsSessionsAndThePicker()
    {
        RootView root(m_app.get(), m_views);
        QSignalSpy switched(&root, &RootView::contentChanged);
        root.show();
        QCOMPARE(root.content(), RootView::Content::reception);
        QPointer<QWidget> first = root.reception();
        QVERIFY(first);

        BrokerSession* a = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("a")));
        BrokerSession* b = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("b")));
        QCOMPARE(root.content(), RootView::Content::workspace);
        QVERIFY(root.tabBar()->isVisible());
        QCOMPARE(root.tabBar()->chips().size(), 2);

        // "Open another broker": the reception over the open tabs, the tab bar hidden.
        m_app->setShowingPicker(true);
        QCOMPARE(root.content(), RootView::Content::reception);
        QVERIFY(!root.tabBar()->isVisible());
        // A reception newly shown, not the one shown before with its boops and scroll.
        QVERIFY(root.reception() && root.reception() != first.data());
        QTRY_VERIFY(!first);
        QPointer<QWidget> second = root.reception();
        m_app->setShowingPicker(true); // no change: the same reception
        QCOMPARE(root.reception(), second.data());
        // Opening an open broker returns to the workspace with its tab selected.
        m_app->open(a->broker());
        QCOMPARE(root.content(), RootView::Content::workspace);
        QCOMPARE(m_app->selected(), std::optional<QUuid>(a->id()));
        QCOMPARE(m_app->sessions().size(), 2);

        m_app->close(a->id());
        QCOMPARE(root.content(), RootView::Content::workspace);
        m_app->close(b->id());
        QCOMPARE(root.content(), RootView::Content::reception);
        QCOMPARE(switched.count(), 4);
    }

    void everyTabGetsAFreshWorkspace()
    {
        QList<QPair<BrokerSession*, QPointer<QWidget>>> made;
        m_views.workspace = [&made](AppState*, BrokerSession* session, QWidget* parent) {
            auto* view = new QWidget(parent);
            made.append({session, view});
            return view;
        };
        RootView root(m_app.get(), m_views);
        root.show();
        QVERIFY(!root.workspace());
        BrokerSession* a = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("a")));
        QCOMPARE(made.size(), 1);
        QCOMPARE(made[0].first, a);
        QCOMPARE(root.workspace(), made[0].second.data());

        BrokerSession* b = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("b")));
        QCOMPARE(made.size(), 2);
        QCOMPARE(made[1].first, b);
        QTRY_VERIFY(!made[0].second); // the previous tab's workspace is released

        // Showing the reception and coming back to the same tab keeps its workspace.
        m_app->setShowingPicker(true);
        m_app->setShowingPicker(false);
        QCOMPARE(made.size(), 2);

        // A selection that matches no session: only the tab bar.
        m_app->setSelected(QUuid::createUuid());
        QVERIFY(!root.workspace());
        QCOMPARE(root.content(), RootView::Content::workspace);
        QVERIFY(root.tabBar()->isVisible());
    }

    // First start: the introduction first, no notes this run, then the broker form.
    void sheetsComeOneAtATimeInTheirOrder()
    {
        int notesAsked = 0;
        m_views.introduction = [](AppState*, QWidget* p) { return sheet(QStringLiteral("intro"), p); };
        m_views.whatsNew = [&notesAsked](AppState*, QWidget* p) {
            ++notesAsked;
            return sheet(QStringLiteral("notes"), p);
        };
        m_views.brokerForm = [](AppState*, QWidget* p) { return sheet(QStringLiteral("form"), p); };
        RootView root(m_app.get(), m_views);
        m_app->setEditing(fakes::kafkaBroker());
        root.show();

        QTRY_COMPARE(showing(root), QStringLiteral("intro"));
        QCOMPARE(notesAsked, 0);
        QCOMPARE(root.sheets()->currentDialog()->windowModality(), Qt::WindowModal);

        // Escape dismisses the introduction, and that counts as having seen it.
        QTest::keyClick(root.sheets()->currentDialog(), Qt::Key_Escape);
        QVERIFY(onboarded());
        QTRY_COMPARE(showing(root), QStringLiteral("form"));
        QCOMPARE(notesAsked, 0);

        root.sheets()->currentDialog()->reject();
        QVERIFY(!m_app->editing());
        QTRY_COMPARE(root.sheets()->current(), SheetController::Sheet::none);
    }

    void notesComeBeforeTheFormAndTheFormFollowsTheEdit()
    {
        setOnboarded(true);
        m_views.introduction = [](AppState*, QWidget* p) { return sheet(QStringLiteral("intro"), p); };
        m_views.whatsNew = [](AppState*, QWidget* p) { return sheet(QStringLiteral("notes"), p); };
        m_views.brokerForm = [](AppState*, QWidget* p) { return sheet(QStringLiteral("form"), p); };
        RootView root(m_app.get(), m_views);
        root.show();
        QTRY_COMPARE(showing(root), QStringLiteral("notes"));
        m_app->setEditing(fakes::kafkaBroker());
        QTest::qWait(20);
        QCOMPARE(showing(root), QStringLiteral("notes"));
        root.sheets()->currentDialog()->accept();
        QTRY_COMPARE(showing(root), QStringLiteral("form"));

        // Whatever clears the edit (a save, a forget) takes the form down.
        QPointer<QDialog> form = root.sheets()->currentDialog();
        m_app->setEditing(std::nullopt);
        QTRY_VERIFY(!form || !form->isVisible());
        QTRY_COMPARE(root.sheets()->current(), SheetController::Sheet::none);
        // The notes were seen once; they do not come back in this run.
        m_app->setEditing(fakes::kafkaBroker());
        QTRY_COMPARE(showing(root), QStringLiteral("form"));
    }

    // The real form: an edit of a saved broker, or a new one, by whether the broker is on file.
    void theBrokerFormTakesTheEdit()
    {
        setOnboarded(true);
        m_views.brokerForm = [](AppState* app, QWidget* parent) { return new BrokerFormSheet(app, parent); };
        RootView root(m_app.get(), m_views);
        root.show();
        const Broker saved = m_app->brokers().first();
        m_app->setEditing(saved);
        QTRY_VERIFY(qobject_cast<BrokerFormSheet*>(root.sheets()->currentDialog()));
        auto* form = qobject_cast<BrokerFormSheet*>(root.sheets()->currentDialog());
        QVERIFY(!form->model()->isNew());
        QCOMPARE(form->windowModality(), Qt::WindowModal);
        QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(!m_app->editing());
        QTRY_COMPARE(root.sheets()->current(), SheetController::Sheet::none);

        m_app->setEditing(fakes::kafkaBroker(QStringLiteral("not on file")));
        QTRY_VERIFY(qobject_cast<BrokerFormSheet*>(root.sheets()->currentDialog()));
        QVERIFY(qobject_cast<BrokerFormSheet*>(root.sheets()->currentDialog())->model()->isNew());
        root.sheets()->currentDialog()->reject();
        QVERIFY(!m_app->editing());
    }

    void aRetiredViewWritesNothingBack()
    {
        m_views.introduction = [](AppState*, QWidget* p) { return sheet(QStringLiteral("intro"), p); };
        auto* root = new RootView(m_app.get(), m_views);
        root->show();
        QTRY_COMPARE(showing(*root), QStringLiteral("intro"));
        root->retire();
        delete root;
        QTest::qWait(20);
        QVERIFY(!onboarded());
    }
};

QTEST_MAIN(TestRootView)
#include "tst_RootView.moc"
