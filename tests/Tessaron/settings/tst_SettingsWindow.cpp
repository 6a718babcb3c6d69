#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/state/AppState.h"
#include "support/SessionFakes.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "support/FakeTools.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/CascadeModifier.h"
#include "VelkinUI/KitButton.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using namespace tessaron;

class TestSettingsWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<AppState> m_app;

    static UserDefaults& store() { return UserDefaults::standard(); }

    std::unique_ptr<SettingsView> shown()
    {
        auto view = std::make_unique<SettingsView>(m_app.get());
        view->show();
        return view;
    }

    static void click(SettingsView& view, const QString& name)
    {
        auto* button = view.findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }

    static QString text(SettingsView& view, const QString& name) { return view.findChild<QLabel*>(name)->text(); }

    static bool selected(SettingsView& view, const QString& name)
    {
        // As assistive technology reads it.
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(view.findChild<KitButton*>(name));
        return button && button->state().selected && button->state().checked;
    }

    static QString status(SettingsView& view, const QString& provider)
    {
        return view.findChild<KitButton*>("provider-" + provider)->findChild<QLabel*>("status")->text();
    }

    static bool detectionEnds(SettingsView& view)
    {
        return QTest::qWaitFor([&] { return !view.detecting(); }, 10000);
    }

private slots:
    void initTestCase() { AccessibilitySettings::instance().setReduceMotion(true); }

    void init()
    {
        faketools::removeAll();
        for (const QString& key : {Prefs::messagesPerRead, Prefs::showInternalTopics, Prefs::aiProvider,
                                   Prefs::onboarded, Prefs::lastSeenVersion})
            store().remove(key);
        store().setString(L10n::key, QStringLiteral("en"));
        m_app = std::make_unique<AppState>(std::make_shared<fakes::FakeFactory>());
    }

    void cleanup()
    {
        m_app.reset();
        faketools::removeAll();
    }

    void openingAndClosingWritesNothing()
    {
        store().setInteger(Prefs::messagesPerRead, 5000); // out of range: shown clamped, left alone
        QSignalSpy writes(&store(), &UserDefaults::changed);
        {
            auto view = shown();
            QVERIFY(detectionEnds(*view));
            QCOMPARE(view->findChild<QSlider*>("messagesSlider")->value(), 1000);
            QCOMPARE(text(*view, "messagesValue"), QStringLiteral("5000"));
            view->setSection(SettingsView::ai);
            view->setSection(SettingsView::general);
            view->close();
        }
        QCOMPARE(writes.count(), 0);
        QCOMPARE(store().integer(Prefs::messagesPerRead), std::optional<qint64>(5000));
    }

    void theSliderReadsAsTheInterfacesLanguageWritesNumbers()
    {
        QCOMPARE(text(*shown(), "sliderHighEnd"), QStringLiteral("1,000"));
        store().setString(L10n::key, QStringLiteral("pt"));
        QCOMPARE(text(*shown(), "sliderHighEnd"), QStringLiteral("1.000"));
        store().setString(L10n::key, QStringLiteral("en"));
    }

    void eachControlChangeWritesOneValue()
    {
        auto view = shown();
        QSignalSpy writes(&store(), &UserDefaults::changed);
        click(*view, "preset500");
        QCOMPARE(writes.count(), 1);
        QCOMPARE(store().integer(Prefs::messagesPerRead), std::optional<qint64>(500));
        // The same preset again changes nothing, so writes nothing.
        click(*view, "preset500");
        QCOMPARE(writes.count(), 1);

        view->findChild<QSlider*>("messagesSlider")->setValue(234);
        QCOMPARE(writes.count(), 2);
        QCOMPARE(store().integer(Prefs::messagesPerRead), std::optional<qint64>(230));
        // A position that rounds to the stored value writes nothing.
        view->findChild<QSlider*>("messagesSlider")->setValue(232);
        QCOMPARE(writes.count(), 2);
        QVERIFY(!selected(*view, "preset50") && !selected(*view, "preset100") && !selected(*view, "preset500"));

        click(*view, "internalTopics");
        QCOMPARE(writes.count(), 3);
        QCOMPARE(store().boolean(Prefs::showInternalTopics), std::optional<bool>(true));

        click(*view, "provider-codex");
        QCOMPARE(writes.count(), 4);
        QCOMPARE(store().string(Prefs::aiProvider), std::optional<QString>("codex"));

        click(*view, "language-system");
        QCOMPARE(writes.count(), 5);
        QCOMPARE(writes.last().first().toString(), L10n::key);
        QCOMPARE(store().string(L10n::key), std::optional<QString>("system"));
    }

    void aChangeFromElsewhereMovesTheControlAndGoesOnTheRecord()
    {
        auto view = shown();
        QVERIFY(!view->saved());
        // Another window (or anything else) stores a value: the control follows it.
        store().setInteger(Prefs::messagesPerRead, 50);
        QVERIFY(selected(*view, "preset50"));
        QCOMPARE(view->findChild<QSlider*>("messagesSlider")->value(), 50);
        QVERIFY(view->saved());
        QVERIFY(view->findChild<QWidget*>("onTheRecord")->isVisible());
        QCOMPARE(view->edits(), 1);
        store().setBool(Prefs::showInternalTopics, true);
        QVERIFY(view->findChild<QAbstractButton*>("internalTopics")->isChecked());
        QCOMPARE(view->edits(), 2);
        // Writing the same value again is no change.
        store().setInteger(Prefs::messagesPerRead, 50);
        QCOMPARE(view->edits(), 2);
        // The badge goes 2 seconds after the last change.
        QTRY_VERIFY_WITH_TIMEOUT(!view->saved(), 4000);
        QVERIFY(!view->findChild<QWidget*>("onTheRecord")->isVisible());
    }

    void aLanguageChangeIsNotOnTheRecord()
    {
        auto view = shown();
        click(*view, "language-pt");
        QCOMPARE(store().string(L10n::key), std::optional<QString>("pt"));
        QVERIFY(selected(*view, "language-pt"));
        QVERIFY(!view->saved());
        QVERIFY(!view->findChild<QWidget*>("onTheRecord")->isVisible());
        QCOMPARE(view->edits(), 0);
    }

    void theAISectionReportsWhatIsInstalled()
    {
        faketools::install(QStringLiteral("claude"), "exit 0\n");
        auto view = shown();
        view->setSection(SettingsView::ai);
        QVERIFY(view->detecting());
        QCOMPARE(status(*view, "claude"), QStringLiteral("Checking…"));
        QVERIFY(!view->findChild<QAbstractButton*>("checkAgain")->isEnabled());
        QVERIFY(detectionEnds(*view));
        QCOMPARE(status(*view, "auto"), QStringLiteral("CLI found"));
        QCOMPARE(status(*view, "claude"), QStringLiteral("CLI found"));
        QCOMPARE(status(*view, "codex"), QStringLiteral("Not installed"));
        QCOMPARE(view->findChild<KitButton*>("provider-codex")->findChild<QLabel*>("subtitle")->text(),
                 QStringLiteral("npm i -g @openai/codex"));
        QVERIFY(view->findChild<KitButton*>("provider-claude")
                    ->findChild<QLabel*>("subtitle")
                    ->toolTip()
                    .endsWith("/.local/bin/claude"));
        QCOMPARE(text(*view, "aiFootnote"), QStringLiteral("Uses your local CLI session. No extra API key."));

        // Choosing the missing one says what to install; the choice is stored all the same.
        click(*view, "provider-codex");
        QCOMPARE(text(*view, "aiFootnote"),
                 QStringLiteral("CLI missing; uses an available assistant. Install: npm i -g @openai/codex"));
        QVERIFY(view->saved());

        // Check again sees the tool gone.
        faketools::removeAll();
        click(*view, "checkAgain");
        QVERIFY(view->detecting());
        QVERIFY(detectionEnds(*view));
        QCOMPARE(status(*view, "auto"), QStringLiteral("Not installed"));
        QCOMPARE(text(*view, "aiFootnote"),
                 QStringLiteral("No CLI found. Install Claude Code or Codex to ask your topics."));
    }

    void anUnknownStoredToolIsTreatedAsAutomatic()
    {
        faketools::install(QStringLiteral("codex"), "exit 0\n");
        store().setString(Prefs::aiProvider, QStringLiteral("gemini"));
        auto view = shown();
        QVERIFY(detectionEnds(*view));
        for (const char* provider : {"provider-auto", "provider-claude", "provider-codex"})
            QVERIFY(!selected(*view, provider));
        QCOMPARE(text(*view, "aiFootnote"), QStringLiteral("Uses your local CLI session. No extra API key."));
    }

    void checkAgainReachesEveryViewThroughTheState()
    {
        // Nothing installed: the state, which the sidebar's Ask chip follows, has no tool.
        auto view = shown();
        QVERIFY(detectionEnds(*view));
        QVERIFY(!m_app->aiAvailable());
        QSignalSpy available(m_app.get(), &AppState::aiAvailableChanged);
        QSignalSpy tools(m_app.get(), &AppState::aiToolsChanged);
        QSignalSpy inUse(m_app.get(), &AppState::aiToolChanged);
        QSignalSpy finished(view.get(), &SettingsView::detectionFinished);

        faketools::install(QStringLiteral("claude"), "exit 0\n");
        click(*view, "checkAgain");
        QVERIFY(m_app->aiDetecting());
        QVERIFY(detectionEnds(*view));
        QCOMPARE(finished.count(), 1);
        QVERIFY(m_app->aiAvailable());
        QCOMPARE(m_app->aiTool(), QStringLiteral("claude"));
        QVERIFY(view->foundTools().contains(AICLI::claude));
        QCOMPARE(status(*view, "claude"), QStringLiteral("CLI found"));

        // The same answer again changes nothing published.
        click(*view, "checkAgain");
        QVERIFY(detectionEnds(*view));
        QCOMPARE(available.count(), 1);
        QCOMPARE(tools.count(), 1);
        QCOMPARE(inUse.count(), 1);
        // A choice of a tool not installed leaves the one found in use; "auto" keeps it too.
        click(*view, "provider-codex");
        QCOMPARE(m_app->aiTool(), QStringLiteral("claude"));
        QCOMPARE(inUse.count(), 1);

        // A hidden window's search still reaches the state; showing searches again.
        faketools::removeAll();
        view->hide();
        view->show();
        QVERIFY(m_app->aiDetecting());
        QVERIFY(detectionEnds(*view));
        QVERIFY(!m_app->aiAvailable());
        QCOMPARE(m_app->aiTool(), QString());
    }

    void boopsCelebrateOnTheSignatureCard()
    {
        auto view = shown();
        const QString resting = view->quote();
        view->findChild<QAbstractButton*>("sidebarMascot")->click();
        QCOMPARE(view->quote(), QStringLiteral("Objection. That was adorable."));
        // The About section's mascot counts on the same card.
        view->setSection(SettingsView::about);
        view->findChild<QAbstractButton*>("aboutMascot")->click();
        QCOMPARE(view->quote(), QStringLiteral("Petting counsel is not bribery. Keep going."));
        QCOMPARE(view->boops(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(view->quote(), resting, 5000);
    }

    void theRailAndTheCardMoveOnlyWithMotionAndEndAlike()
    {
        for (const bool still : {true, false}) {
            AccessibilitySettings::instance().setReduceMotion(still);
            auto view = shown();
            view->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(view.get()));
            auto* highlight = view->findChild<QWidget*>("railHighlight");
            auto* target = view->findChild<QWidget*>("rail2");
            QCOMPARE(highlight->geometry(), view->findChild<QWidget*>("rail0")->geometry());
            store().remove(Prefs::messagesPerRead);
            click(*view, "preset500");
            click(*view, "rail2");
            view->findChild<QAbstractButton*>("sidebarMascot")->click();
            auto* quote = view->findChild<QLabel*>("signatureQuote");
            auto* symbol = view->findChild<QWidget*>("quoteSymbol");
            auto* count = view->findChild<QLabel*>("messagesValue");
            QCOMPARE(symbol->graphicsEffect() != nullptr, !still); // the symbol is being replaced
            if (still) {
                QCOMPARE(highlight->geometry(), target->geometry());
                QVERIFY(!quote->graphicsEffect());
                QCOMPARE(count->text(), QStringLiteral("500"));
            } else {
                QVERIFY(highlight->geometry() != target->geometry());
                QVERIFY(quote->graphicsEffect());
                QVERIFY(count->text() != QStringLiteral("500"));
            }
            QTRY_COMPARE(count->text(), QStringLiteral("500"));
            QTRY_COMPARE(highlight->geometry(), target->geometry());
            QTRY_VERIFY(!quote->graphicsEffect());
            QTRY_VERIFY(!symbol->graphicsEffect());
            QCOMPARE(quote->text(), view->quote());
            QVERIFY(view->findChild<QLabel*>("plusOne")->isVisible());
        }
        AccessibilitySettings::instance().setReduceMotion(true);
    }

    void whatsNewCardsCascadeInOnlyWithMotion()
    {
        for (const bool still : {true, false}) {
            AccessibilitySettings::instance().setReduceMotion(still);
            WhatsNewView sheet(WhatsNewEntry::all().first());
            sheet.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sheet));
            auto* last = sheet.findChild<QWidget*>(QStringLiteral("itemCard%1").arg(sheet.entry().items.size() - 1));
            QVERIFY(last);
            auto* cascade = last->findChild<CascadeModifier*>();
            QCOMPARE(cascade != nullptr, !still);
            if (cascade) {
                QVERIFY(cascade->progress() < 1.0); // the last card waits its turn
                QTRY_COMPARE(cascade->progress(), 1.0);
            }
        }
        AccessibilitySettings::instance().setReduceMotion(true);
    }

    void replayStoresTheFlagAndNothingElse()
    {
        store().setBool(Prefs::onboarded, true);
        store().setString(Prefs::lastSeenVersion, QStringLiteral("0.4.0"));
        auto view = shown();
        view->setSection(SettingsView::about);
        click(*view, "replay");
        click(*view, "replay");
        QCOMPARE(store().boolean(Prefs::onboarded), std::optional<bool>(false));
        QCOMPARE(store().string(Prefs::lastSeenVersion), std::optional<QString>("0.4.0"));
        QVERIFY(view->isVisible());
    }

    void whatsNewOpensTheNotesAndClosingRecordsTheRunningVersion()
    {
        WhatsNewEntry::overrideVersion(QStringLiteral("0.9.0")); // not in the table: the newest shows
        auto view = shown();
        view->setSection(SettingsView::about);
        click(*view, "whatsNew");
        auto* sheet = qobject_cast<WhatsNewView*>(view->whatsNewSheet());
        QVERIFY(sheet);
        QVERIFY(sheet->isVisible());
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        QCOMPARE(sheet->entry().version, QStringLiteral("0.4.0"));
        // A language switch draws the open notes again; the pats stay.
        sheet->boop();
        store().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(sheet->closeButton()->text(), QStringLiteral("Mandou bem, parceiro."));
        QCOMPARE(sheet->pats(), 1);
        QVERIFY(sheet->isVisible());
        store().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(sheet->closeButton()->text(), QStringLiteral("Nice work, buddy."));
        QTest::keyClick(sheet, Qt::Key_Return);
        QTRY_VERIFY(!view->whatsNewSheet());
        QCOMPARE(store().string(Prefs::lastSeenVersion), std::optional<QString>("0.9.0"));
        QVERIFY(view->isVisible());
        WhatsNewEntry::overrideVersion(std::nullopt);
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_SettingsWindow.moc"
