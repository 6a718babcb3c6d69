#include "Tessaron/app/AppCommands.h"
#include "Tessaron/app/MainWindow.h"
#include "Tessaron/app/RootView.h"
#include "Tessaron/app/SheetController.h"
#include "Tessaron/app/TessaronApplication.h"
#include "Tessaron/app/WindowsService.h"
#include "Tessaron/intro/IntroLogic.h"
#include "Tessaron/kit/PersonnelBadge.h"
#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/settings/AboutView.h"
#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/state/AppState.h"
#include "support/SessionFakes.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <librdkafka/rdkafka.h>

using namespace tessaron;

// The settings family inside the application: the menu commands open its windows, the root view
// shows its notes, and a change of language reaches every open window at once.
class TestSettingsApp : public QObject {
    Q_OBJECT

    std::shared_ptr<fakes::FakeFactory> m_clients;
    std::unique_ptr<TessaronApplication> m_app;

    static UserDefaults& store() { return UserDefaults::standard(); }
    QWidget* open(WindowsService::Window which) const { return m_app->windows()->window(which); }

    static bool hasLabel(QWidget* root, const QString& text)
    {
        const QList<QLabel*> labels = root->findChildren<QLabel*>();
        return std::any_of(labels.begin(), labels.end(), [&](QLabel* label) { return label->text() == text; });
    }

private slots:
    void init()
    {
        store().setString(L10n::key, QStringLiteral("en"));
        store().setBool(Prefs::onboarded, true);
        store().setString(Prefs::lastSeenVersion, WhatsNewEntry::currentVersion());
        m_clients = std::make_shared<fakes::FakeFactory>();
        m_clients->kafka->listed = QList<Topic>{fakes::topic(QStringLiteral("orders"), {{0, 5}})};
        m_app = std::make_unique<TessaronApplication>(m_clients);
    }

    void cleanup()
    {
        for (auto which : {WindowsService::Window::settings, WindowsService::Window::about}) {
            if (QWidget* window = open(which))
                window->close();
        }
        m_app.reset();
        WhatsNewEntry::overrideVersion(std::nullopt);
        store().setString(L10n::key, QStringLiteral("en"));
    }

    void theMenuOpensOneSettingsAndOneAboutWindow()
    {
        m_app->commands()->settings()->trigger();
        QWidget* settings = open(WindowsService::Window::settings);
        QVERIFY(settings && settings->findChild<SettingsView*>());
        // At its ideal size, so the General section's language choice is in view at once.
        QCOMPARE(settings->size(), QSize(920, 740));
        QTRY_COMPARE(settings->findChild<QWidget*>(QStringLiteral("settingsSidebar"))->width(), 200);
        m_app->commands()->settings()->trigger();
        QCOMPARE(open(WindowsService::Window::settings), settings);

        m_app->commands()->about()->trigger();
        QWidget* about = open(WindowsService::Window::about);
        QVERIFY(about && about->findChild<AboutView*>());
        // "The badge" raises the same about window.
        settings->findChild<SettingsView*>()->setSection(SettingsView::about);
        settings->findChild<QAbstractButton*>(QStringLiteral("badge"))->click();
        QCOMPARE(open(WindowsService::Window::about), about);
        QVERIFY(about->isVisible());
    }

    void theLanguageSwitchReachesEveryOpenWindowAndSparesTheSessions()
    {
        m_app->mainWindow()->show();
        m_app->state()->open(fakes::kafkaBroker());
        BrokerSession* session = m_app->state()->activeSession();
        QVERIFY(session);
        QTRY_VERIFY(!session->isConnecting());
        QVERIFY(session->connection());
        m_app->commands()->settings()->trigger();
        m_app->commands()->about()->trigger();
        QWidget* settings = open(WindowsService::Window::settings);
        QWidget* about = open(WindowsService::Window::about);
        settings->findChild<SettingsView*>()->setSection(SettingsView::general);
        QVERIFY(hasLabel(about, QStringLiteral("ABOUT")));
        QSignalSpy rebuilt(m_app->mainWindow(), &MainWindow::rebuilt);

        settings->findChild<QAbstractButton*>(QStringLiteral("language-pt"))->click();
        QTRY_COMPARE(rebuilt.count(), 1);
        // The same windows, with new contents in Portuguese.
        QCOMPARE(open(WindowsService::Window::settings), settings);
        QCOMPARE(open(WindowsService::Window::about), about);
        QVERIFY(hasLabel(settings, QStringLiteral("Mensagens por tópico")));
        QVERIFY(hasLabel(about, QStringLiteral("SOBRE")));
        QCOMPARE(settings->windowTitle(), L10n::t("Settings"));
        QCOMPARE(m_app->commands()->openAnother()->text(), QStringLiteral("Abrir outro broker"));
        // The rebuilt settings view still shows its selection, and wrote nothing on the way.
        auto* view = settings->findChild<SettingsView*>();
        QCOMPARE(view->edits(), 0);
        QVERIFY(view->findChild<KitButton*>(QStringLiteral("language-pt"))->isSelected());
        // The session was not touched.
        QCOMPARE(m_app->state()->sessions(), QList<BrokerSession*>{session});
        QVERIFY(session->connection());

        view->findChild<QAbstractButton*>(QStringLiteral("language-en"))->click();
        QTRY_COMPARE(rebuilt.count(), 2);
        QVERIFY(hasLabel(settings, QStringLiteral("Messages per topic")));
    }

    void aRebuildKeepsTheSectionInView()
    {
        m_app->commands()->settings()->trigger();
        QWidget* settings = open(WindowsService::Window::settings);
        settings->findChild<SettingsView*>()->setSection(SettingsView::about);
        store().setString(L10n::key, QStringLiteral("pt"));
        QTRY_VERIFY(settings->findChild<SettingsView*>() && hasLabel(settings, QStringLiteral("Novidades")));
        QTRY_COMPARE(settings->findChild<SettingsView*>()->section(), int(SettingsView::about));
    }

    void oneVersionAndTheArchitectureOfThisBuild()
    {
        // A version bump moves the notes and the introduction together.
        BuildInfo::overrideVersion(QStringLiteral("9.1.0"));
        QCOMPARE(WhatsNewEntry::currentVersion(), QStringLiteral("9.1.0"));
        QCOMPARE(intro::runningVersion(), QStringLiteral("9.1.0"));
#if defined(Q_PROCESSOR_X86_64)
        QCOMPARE(BuildInfo::architecture(), QStringLiteral("x86-64"));
#elif defined(Q_PROCESSOR_ARM_64)
        QCOMPARE(BuildInfo::architecture(), QStringLiteral("ARM64"));
#endif
        // Both windows name the one architecture this build is for; the about window also the Kafka
        // library it speaks through, with the version it reports of itself.
        m_app->commands()->about()->trigger();
        QWidget* about = open(WindowsService::Window::about);
        QVERIFY(hasLabel(about, QStringLiteral("Linux on ") + BuildInfo::architecture()));
        const auto* version = about->findChild<QWidget*>(QStringLiteral("versionFact"));
        QVERIFY(version
                && hasLabel(const_cast<QWidget*>(version),
                            QStringLiteral("Version 9.1.0 · build ") + BuildInfo::buildNumber()
                                + QStringLiteral(" · librdkafka ") + QString::fromUtf8(rd_kafka_version_str())));
        m_app->commands()->settings()->trigger();
        QCOMPARE(open(WindowsService::Window::settings)->findChild<QLabel*>(QStringLiteral("versionLine"))->text(),
                 QStringLiteral("v9.1.0 · Linux on ") + BuildInfo::architecture());
    }

    void aRebuildKeepsTheScrollAndTheOpenNotes()
    {
        m_app->commands()->settings()->trigger();
        m_app->commands()->about()->trigger();
        QWidget* settings = open(WindowsService::Window::settings);
        QWidget* about = open(WindowsService::Window::about);
        settings->resize(920, 520); // short enough for General to scroll
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        auto* bar = settings->findChild<QScrollArea*>(QStringLiteral("settingsScroll"))->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 40);
        bar->setValue(40);
        settings->findChild<SettingsView*>()->setSection(SettingsView::about);
        settings->findChild<QAbstractButton*>(QStringLiteral("whatsNew"))->click();
        settings->findChild<SettingsView*>()->setSection(SettingsView::general);
        bar->setValue(40);
        about->findChild<QAbstractButton*>(QStringLiteral("whatsNew"))->click();
        QPointer<QWidget> settingsNotes = settings->findChild<SettingsView*>()->whatsNewSheet();
        QPointer<QWidget> aboutNotes = about->findChild<AboutView*>()->whatsNewSheet();
        QVERIFY(settingsNotes && aboutNotes);

        store().setString(L10n::key, QStringLiteral("pt"));
        QTRY_VERIFY(hasLabel(settings, QStringLiteral("Mensagens por tópico")));
        QTRY_VERIFY(hasLabel(about, QStringLiteral("SOBRE")));
        QTest::qWait(20);
        auto* view = settings->findChild<SettingsView*>();
        QCOMPARE(view->findChild<QScrollArea*>(QStringLiteral("settingsScroll"))->verticalScrollBar()->value(), 40);
        // The notes stay open over both windows, and the new views know them.
        QVERIFY(settingsNotes && settingsNotes->isVisible());
        QVERIFY(aboutNotes && aboutNotes->isVisible());
        QCOMPARE(view->whatsNewSheet(), settingsNotes.data());
        QCOMPARE(about->findChild<AboutView*>()->whatsNewSheet(), aboutNotes.data());
        settingsNotes->close();
        aboutNotes->close();
    }

    void theAboutWindowFollowsTheCountersAndOffersNoUpdater()
    {
        store().setInteger(Prefs::messagesRead, 0);
        store().setInteger(Prefs::messagesDisturbed, 0);
        AboutView::overrideWebsiteUrl(QString());
        m_app->commands()->about()->trigger();
        QWidget* about = open(WindowsService::Window::about);
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("readCounter"))->text(), QStringLiteral("000000"));
        // A session's reads show up in place, while the window is open; at once under reduced motion.
        AccessibilitySettings::instance().setReduceMotion(true);
        store().setInteger(Prefs::messagesRead, 1234567);
        store().setInteger(Prefs::messagesDisturbed, 1);
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("readCounter"))->text(), QStringLiteral("1234567"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("disturbedCounter"))->text(), QStringLiteral("000001"));
        AccessibilitySettings::instance().setReduceMotion(false);
        QVERIFY(!about->findChild<QAbstractButton*>(QStringLiteral("checkForUpdates"))->isEnabled());
        QVERIFY(!about->findChild<QAbstractButton*>(QStringLiteral("website"))->isEnabled());
        AboutView::overrideWebsiteUrl(QStringLiteral("https://example.invalid/tessaron"));
        AboutView withAddress(m_app->state());
        QVERIFY(withAddress.findChild<QAbstractButton*>(QStringLiteral("website"))->isEnabled());
        AboutView::overrideWebsiteUrl(std::nullopt);
    }

    void theAboutWindowsChangesAnimateOnlyWithMotionAndEndAlike()
    {
        store().setInteger(Prefs::messagesRead, 5);
        for (const bool still : {true, false}) {
            AccessibilitySettings::instance().setReduceMotion(still);
            store().setInteger(Prefs::messagesRead, 5);
            AboutView view(m_app->state());
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            auto* line = view.findChild<QLabel*>(QStringLiteral("boopLine"));
            auto* read = view.findChild<QLabel*>(QStringLiteral("readCounter"));
            const QString first = line->text();
            view.boop();
            store().setInteger(Prefs::messagesRead, 205);
            const QString second = view.boopLine();
            QVERIFY(second != first);
            if (still) {
                QCOMPARE(line->text(), second);
                QCOMPARE(read->text(), QStringLiteral("000205"));
            } else {
                // Mid-way the old line still shows through and the count has not arrived.
                QVERIFY(line->graphicsEffect());
                QVERIFY(read->text() != QStringLiteral("000205"));
            }
            // Either way they come to rest as the plain new state, the old line gone.
            QTRY_COMPARE(read->text(), QStringLiteral("000205"));
            QTRY_VERIFY(!line->graphicsEffect());
            QCOMPARE(line->text(), second);
            const QList<QLabel*> labels = view.findChildren<QLabel*>();
            QVERIFY(std::none_of(labels.begin(), labels.end(), [](QLabel* l) { return !l->pixmap().isNull(); }));
        }
        AccessibilitySettings::instance().setReduceMotion(false);
    }

    void theAboutWindowsNotesAreTheNewestForAnUnknownVersion()
    {
        WhatsNewEntry::overrideVersion(QStringLiteral("2.0.0"));
        store().setString(Prefs::lastSeenVersion, QStringLiteral("2.0.0"));
        m_app->commands()->about()->trigger();
        auto* view = open(WindowsService::Window::about)->findChild<AboutView*>();
        // Seen or not, the notes open on request.
        view->findChild<QAbstractButton*>(QStringLiteral("whatsNew"))->click();
        auto* sheet = qobject_cast<WhatsNewView*>(view->whatsNewSheet());
        QVERIFY(sheet);
        QCOMPARE(sheet->entry().version, QStringLiteral("0.4.0"));
        store().setString(Prefs::lastSeenVersion, QStringLiteral("0.1.0"));
        QTest::keyClick(sheet, Qt::Key_Escape);
        QTRY_VERIFY(!view->whatsNewSheet());
        QCOMPARE(store().string(Prefs::lastSeenVersion), std::optional<QString>("2.0.0"));
        // Boop lines: 0, 1, 3 and back to 0 after four.
        const QString first = view->boopLine();
        // A boop is a click on the badge's photo, the same badge the introduction shows.
        auto* badge = view->findChild<PersonnelBadge*>();
        QVERIFY(badge);
        QTest::mouseClick(badge->boopButton(), Qt::LeftButton);
        QCOMPARE(view->boops(), 1);
        QCOMPARE(badge->boops(), 1);
        QCOMPARE(view->boopLine(), QStringLiteral("He has never once lied about a queue."));
        view->boop();
        view->boop();
        QCOMPARE(view->boopLine(), QStringLiteral("Okay. You're my favorite client now."));
        view->boop();
        QCOMPARE(view->boopLine(), first);
    }

    void theRootViewShowsTheNotesOfANewVersionOnce()
    {
        WhatsNewEntry::overrideVersion(QStringLiteral("0.4.0"));
        store().setString(Prefs::lastSeenVersion, QStringLiteral("0.3.0"));
        m_app->mainWindow()->rebuild();
        m_app->mainWindow()->show();
        SheetController* sheets = m_app->mainWindow()->rootView()->sheets();
        QTRY_COMPARE(sheets->current(), SheetController::Sheet::whatsNew);
        auto* notes = qobject_cast<WhatsNewView*>(sheets->currentDialog());
        QVERIFY(notes);
        QCOMPARE(notes->entry().version, QStringLiteral("0.4.0"));
        notes->closeButton()->click();
        QCOMPARE(store().string(Prefs::lastSeenVersion), std::optional<QString>("0.4.0"));
        QTRY_COMPARE(sheets->current(), SheetController::Sheet::none);

        // Seen: a new main window asks again and shows nothing.
        m_app->mainWindow()->rebuild();
        QTest::qWait(50);
        QCOMPARE(m_app->mainWindow()->rootView()->sheets()->current(), SheetController::Sheet::none);
    }
};

QTEST_MAIN(TestSettingsApp)
#include "tst_SettingsApp.moc"
