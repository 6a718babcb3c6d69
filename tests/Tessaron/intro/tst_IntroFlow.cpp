// The introduction as a whole: moving between chapters, finishing and skipping, what the chapters
// hand back to the flow, and the root view presenting it on a first start only.
#include "support/SessionFakes.h"

#include "Tessaron/app/RootView.h"
#include "Tessaron/app/SheetController.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/workspace/ViewFactories.h"
#include "Tessaron/intro/IntroLogic.h"
#include "Tessaron/intro/OnboardingView.h"
#include "Tessaron/kit/PersonnelBadge.h"
#include "Tessaron/intro/WelcomeAI.h"
#include "Tessaron/intro/WelcomeCase.h"
#include "Tessaron/intro/WelcomeConnection.h"
#include "Tessaron/intro/WelcomeGroundRules.h"
#include "Tessaron/intro/WelcomeIntroduction.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/intro/WelcomeConfetti.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/reception/FormCard.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/ManualAnimationClock.h"
#include "VelkinUI/Spring.h"
#include "VelkinUI/TransformEffect.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/Symbols.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QtMath>

#include <cmath>

using namespace tessaron;

namespace {

struct Flow {
    std::shared_ptr<fakes::FakeFactory> clients = std::make_shared<fakes::FakeFactory>();
    AppState app{clients};
    OnboardingView view{&app};
    int refreshes = 0;
    Flow()
    {
        view.refreshAI = [this](AppState*) { ++refreshes; };
        view.show();
    }
    template <typename Page> Page* page() const { return qobject_cast<Page*>(view.page()); }
};

// The chosen state as assistive technology reads it.
bool readSelected(QWidget* button)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
    return a && a->state().selectable && a->state().selected && a->state().checked;
}

QList<bool> readSelected(const QList<KitButton*>& buttons)
{
    QList<bool> states;
    for (KitButton* b : buttons)
        states.append(readSelected(b));
    return states;
}

bool onboarded() { return UserDefaults::standard().boolean(Prefs::onboarded).value_or(false); }

} // namespace

class TestIntroFlow : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        AccessibilitySettings::instance().setReduceMotion(true);
        UserDefaults::standard().remove(Prefs::onboarded);
        UserDefaults::standard().remove(Prefs::lastSeenVersion);
        UserDefaults::standard().remove(Prefs::aiProvider);
    }

    void railBackAndPrimaryMoveBetweenChapters()
    {
        Flow f;
        QCOMPARE(f.view.step(), 0);
        QVERIFY(f.view.backButton()->isHidden());
        QVERIFY(f.page<WelcomeIntroduction>());
        QTest::mouseClick(f.view.primaryButton(), Qt::LeftButton);
        QCOMPARE(f.view.step(), 1);
        QVERIFY(!f.view.backButton()->isHidden());
        QTest::mouseClick(f.view.backButton(), Qt::LeftButton);
        QCOMPARE(f.view.step(), 0);
        QVERIFY(f.view.backwards());

        // The current dot changes nothing: the page stays the same widget.
        QWidget* page = f.view.page();
        QTest::mouseClick(f.view.railButtons().at(0), Qt::LeftButton);
        QCOMPARE(f.view.page(), page);

        // Capsules 30 wide for the current chapter and 8 for the rest, 6 apart.
        const auto gap = [&](int i) {
            const QList<KitButton*>& rail = f.view.railButtons();
            return rail.at(i + 1)->x() - rail.at(i)->geometry().right() - 1;
        };
        QTRY_COMPARE(f.view.railButtons().at(0)->width(), 30);
        QCOMPARE(f.view.railButtons().at(1)->width(), 8);
        QCOMPARE(gap(0), 6);
        QCOMPARE(gap(3), 6);

        QTest::mouseClick(f.view.railButtons().at(5), Qt::LeftButton);
        QCOMPARE(f.view.step(), 5);
        QTRY_COMPARE(f.view.railButtons().at(5)->width(), 30);
        QCOMPARE(f.view.railButtons().at(0)->width(), 8);
        QCOMPARE(gap(4), 6);
        QCOMPARE(f.view.visited(), (QSet<int>{0, 1, 5}));
        QVERIFY(!f.view.backwards());
        QCOMPARE(f.view.summaryRows().at(0)->text(), intro::caseRow(false));
        QCOMPARE(f.view.summaryRows().at(1)->text(), intro::brokerRow(std::nullopt));

        f.view.goTo(99);
        QCOMPARE(f.view.step(), 5);
        f.view.goTo(-3);
        QCOMPARE(f.view.step(), 0);
    }

    void returnAdvancesAndFinishesOnTheLastChapter()
    {
        Flow f;
        QTest::keyClick(&f.view, Qt::Key_Return);
        QCOMPARE(f.view.step(), 1);
        f.view.goTo(5);
        QVERIFY(!onboarded());
        QTest::keyClick(&f.view, Qt::Key_Return);
        QVERIFY(onboarded());
        QCOMPARE(UserDefaults::standard().string(Prefs::lastSeenVersion),
                 std::optional<QString>(intro::runningVersion()));
        QCOMPARE(f.refreshes, 1);
        QVERIFY(!f.view.isVisible());
    }

    void exploreOnMyOwnFinishesFromAnyChapter()
    {
        Flow f;
        f.view.goTo(2);
        QTest::mouseClick(f.view.exploreButton(), Qt::LeftButton);
        QVERIFY(onboarded());
        QVERIFY(UserDefaults::standard().string(Prefs::lastSeenVersion).has_value());
        QCOMPARE(f.refreshes, 1);
        QCOMPARE(f.view.result(), int(QDialog::Accepted));
        f.view.finish(); // a second finish does nothing more
        QCOMPARE(f.refreshes, 1);
    }

    void solvingTheCaseCelebratesOnceAndSurvivesReentry()
    {
        Flow f;
        f.view.goTo(1);
        auto* page = f.page<WelcomeCase>();
        QTest::mouseClick(page->rows().at(0), Qt::LeftButton);
        QVERIFY(!f.view.solved());
        QCOMPARE(f.view.celebrations(), 0);
        QTest::mouseClick(page->rows().at(2), Qt::LeftButton);
        QVERIFY(f.view.solved());
        QCOMPARE(f.view.celebrations(), 1);
        QCOMPARE(page->gavel()->strikes(), 1);
        QTest::mouseClick(page->rows().at(2), Qt::LeftButton);
        page->askForHelp();
        QCOMPARE(f.view.celebrations(), 1);
        QCOMPARE(f.view.primaryButton()->text(), QStringLiteral("Case closed. Next!"));

        f.view.goTo(2);
        f.view.goTo(1);
        auto* again = f.page<WelcomeCase>();
        QVERIFY(again != page || again->state().solved);
        QVERIFY(again->state().solved);
        QVERIFY(!again->state().selected);
        QCOMPARE(again->gavel()->strikes(), 0);
        QVERIFY(again->rows().at(2)->property("highlighted").toBool());
        f.view.goTo(5);
        QCOMPARE(f.view.summaryRows().at(0)->text(), intro::caseRow(true));
    }

    void helpSolvesTheCase()
    {
        Flow f;
        f.view.goTo(1);
        QTest::mouseClick(f.page<WelcomeCase>()->helpButton(), Qt::LeftButton);
        QVERIFY(f.view.solved());
        QCOMPARE(f.view.celebrations(), 1);
    }

    void theHighFiveWorksOnce()
    {
        Flow f;
        UserDefaults::standard().setString(Prefs::aiProvider, QStringLiteral("codex"));
        f.view.goTo(5);
        QCOMPARE(f.view.summaryRows().at(2)->text(), QStringLiteral("Backup: OpenAI Codex"));
        // The label draws in its own colour inside the button: muted before, the accent once sealed.
        const auto drawnColor = [&] {
            QLabel* text = f.view.highFive()->findChildren<QLabel*>().value(0);
            return text->palette().color(text->foregroundRole());
        };
        QCOMPARE(drawnColor(), TessaronPalette::muted());
        QTest::mouseClick(f.view.highFive(), Qt::LeftButton);
        QCOMPARE(drawnColor(), TessaronPalette::introAccent());
        QTest::mouseClick(f.view.highFive(), Qt::LeftButton);
        QVERIFY(f.view.isSigned());
        QCOMPARE(f.view.celebrations(), 1);
        QCOMPARE(f.view.confetti()->trigger(), 1);
        QCOMPARE(f.view.highFive()->accessibleName(), QStringLiteral("Agreement signed"));
        f.view.goTo(4);
        f.view.goTo(5);
        QVERIFY(f.view.isSigned());
        QCOMPARE(f.view.highFive()->accessibleName(), QStringLiteral("Agreement signed"));
    }

    void badgeBoopsAndTheBall()
    {
        Flow f;
        auto* page = f.page<WelcomeIntroduction>();
        const QString first = page->captionLabel()->text();
        QTest::mouseClick(page->ballButton(), Qt::LeftButton);
        QCOMPARE(page->distractions(), 1);
        QVERIFY(page->ballVisible());
        QCOMPARE(page->badge()->sealText(), QStringLiteral("BALL\nDETECTED"));
        QTest::mouseClick(page->badge()->boopButton(), Qt::LeftButton);
        QCOMPARE(page->boops(), 1);
        QCOMPARE(page->distractions(), 0);
        QVERIFY(!page->ballVisible());
        QCOMPARE(page->badge()->sealText(), QStringLiteral("LICENSED\nTO CARE"));
        for (int i = 0; i < 3; ++i)
            page->badge()->boop();
        QCOMPARE(page->captionLabel()->text(), first);
    }

    void theCaptionFadesOnlyWithMotionAndEndsAlike()
    {
        QStringList ends;
        for (const bool still : {true, false}) {
            AccessibilitySettings::instance().setReduceMotion(still);
            Flow f;
            QVERIFY(QTest::qWaitForWindowExposed(&f.view));
            QLabel* caption = f.page<WelcomeIntroduction>()->captionLabel();
            f.page<WelcomeIntroduction>()->badge()->boop();
            QCOMPARE(caption->graphicsEffect() != nullptr, !still);
            QTRY_VERIFY(!caption->graphicsEffect());
            ends << caption->text();
        }
        QCOMPARE(ends.at(1), ends.at(0));
    }

    // Chapter changes, the solved case and the agreement move on their springs and come to rest as
    // they would without motion; under reduced motion nothing moves.
    void motionRunsItsSpringsAndRestsWhereStillnessDoes()
    {
        const auto settle = [](testing::ManualAnimationClock& clock, double response, double damping) {
            clock.advance(qint64(Spring{response, damping, 0.0}.settlingDuration() * 1000) + 48);
        };
        {
            AccessibilitySettings::instance().setReduceMotion(false);
            testing::ManualAnimationClock clock;
            Flow f;
            QVERIFY(QTest::qWaitForWindowExposed(&f.view));
            f.view.goTo(1);
            QVERIFY(f.view.findChild<QLabel*>(QStringLiteral("leavingPage")));
            clock.advance(160);
            QVERIFY(f.view.findChild<QLabel*>(QStringLiteral("leavingPage"))); // the spring takes longer
            settle(clock, 0.46, 0.88);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!f.view.findChild<QLabel*>(QStringLiteral("leavingPage")));
            QVERIFY(!f.view.page()->parentWidget()->graphicsEffect());

            // A wrong pick: its checkmark and the notes' new words come in on the tap's spring.
            auto* wrong = f.page<WelcomeCase>()->rows().at(0);
            QTest::mouseClick(wrong, Qt::LeftButton);
            auto* mark = wrong->findChild<QWidget*>(QStringLiteral("state"));
            QVERIFY(mark->graphicsEffect());
            clock.advance(120);
            QVERIFY(mark->graphicsEffect());
            settle(clock, 0.32, 0.7);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!mark->graphicsEffect());
            QVERIFY(!f.page<WelcomeCase>()->findChild<QObject*>(QStringLiteral("crossFade")));

            f.page<WelcomeCase>()->askForHelp();
            auto* lawyered = f.view.findChild<QLabel*>(QStringLiteral("lawyered"));
            auto* stamp = qobject_cast<TransformEffect*>(lawyered->graphicsEffect());
            QVERIFY(stamp && stamp->opacity() < 0.1);
            QVERIFY(stamp->transform().m11() > 1.4); // lands from larger than life
            settle(clock, 0.32, 0.7);
            stamp = qobject_cast<TransformEffect*>(lawyered->graphicsEffect());
            QCOMPARE(stamp->opacity(), 1.0);
            QCOMPARE(stamp->transform().m11(), std::cos(qDegreesToRadians(-5.0)));

            f.view.goTo(5);
            settle(clock, 0.46, 0.88);
            QTest::mouseClick(f.view.highFive(), Qt::LeftButton);
            auto* hand = f.view.findChild<QWidget*>(QStringLiteral("hand"));
            clock.advance(32);
            const auto* turning = qobject_cast<TransformEffect*>(hand->graphicsEffect());
            QVERIFY(turning);
            const double early = std::atan2(turning->transform().m12(), turning->transform().m11());
            settle(clock, 0.46, 0.88);
            const auto* rested = qobject_cast<TransformEffect*>(hand->graphicsEffect());
            QCOMPARE(qRound(qRadiansToDegrees(std::atan2(rested->transform().m12(), rested->transform().m11()))), -12);
            QVERIFY(std::abs(early) < std::abs(qDegreesToRadians(-12.0)));
        }
        {
            AccessibilitySettings::instance().setReduceMotion(true);
            Flow f;
            f.view.goTo(1);
            QTest::mouseClick(f.page<WelcomeCase>()->rows().at(0), Qt::LeftButton);
            QVERIFY(
                !f.page<WelcomeCase>()->rows().at(0)->findChild<QWidget*>(QStringLiteral("state"))->graphicsEffect());
            f.page<WelcomeCase>()->askForHelp();
            auto* lawyered = f.view.findChild<QLabel*>(QStringLiteral("lawyered"));
            QCOMPARE(qobject_cast<TransformEffect*>(lawyered->graphicsEffect())->opacity(), 1.0);
            f.view.goTo(5);
            QTest::mouseClick(f.view.highFive(), Qt::LeftButton);
            QVERIFY(!f.view.findChild<QWidget*>(QStringLiteral("hand"))->graphicsEffect()); // upright, at once
        }
    }

    void choicesAreSelectedForAssistiveTechnology()
    {
        Flow f;
        QCOMPARE(readSelected(f.view.railButtons()), (QList<bool>{true, false, false, false, false, false}));
        QAccessibleInterface* dot = QAccessible::queryAccessibleInterface(f.view.railButtons().at(2));
        QCOMPARE(dot->role(), QAccessible::Button);
        QCOMPARE(dot->text(QAccessible::Name), L10n::t("The ground rules"));
        // Pressing through the accessible action moves like a click.
        dot->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f.view.step(), 2);
        QCOMPARE(readSelected(f.view.railButtons()), (QList<bool>{false, false, true, false, false, false}));

        auto* rules = f.page<WelcomeGroundRules>();
        QCOMPARE(readSelected(rules->kindButtons()), (QList<bool>{true, false}));
        QTest::mouseClick(rules->kindButtons().at(1), Qt::LeftButton);
        QCOMPARE(readSelected(rules->kindButtons()), (QList<bool>{false, true}));

        f.view.goTo(3);
        auto* ai = f.page<WelcomeAI>();
        QCOMPARE(readSelected(ai->cards()), (QList<bool>{true, false, false}));
        QTest::mouseClick(ai->cards().at(2), Qt::LeftButton);
        QCOMPARE(readSelected(ai->cards()), (QList<bool>{false, false, true}));

        f.view.goTo(4);
        auto* connection = f.page<WelcomeConnection>();
        QCOMPARE(readSelected(connection->kindButtons()), (QList<bool>{true, false}));
        connection->setKind(BrokerKind::rabbitmq);
        QCOMPARE(readSelected(connection->kindButtons()), (QList<bool>{false, true}));
    }

    void groundRulesKindSwitchResetsThePeek()
    {
        Flow f;
        f.view.goTo(2);
        auto* page = f.page<WelcomeGroundRules>();
        QTest::mouseClick(page->peekButton(), Qt::LeftButton);
        QCOMPARE(page->afterValue()->text(), QStringLiteral("128"));
        QCOMPARE(page->peekCaption()->text(), QStringLiteral("Still 128. Pinky promise kept."));
        QTest::mouseClick(page->kindButtons().at(1), Qt::LeftButton);
        QCOMPARE(page->demo().reads, 0);
        QCOMPARE(page->afterValue()->text(), QStringLiteral("false"));
        QTest::mouseClick(page->peekButton(), Qt::LeftButton);
        QCOMPARE(page->afterValue()->text(), QStringLiteral("true"));
        QCOMPARE(page->peekCaption()->text(), QStringLiteral("Returned. But not untouched."));
        QCOMPARE(page->peekButton()->text(), QStringLiteral("Peek again"));
        // The same kind again starts the demonstration over.
        QTest::mouseClick(page->kindButtons().at(1), Qt::LeftButton);
        QCOMPARE(page->afterValue()->text(), QStringLiteral("false"));
        QCOMPARE(page->peekButton()->text(), QStringLiteral("Peek at a message"));
        QTest::mouseClick(page->bigfootButton(), Qt::LeftButton);
        QVERIFY(page->popover());
        QCOMPARE(page->demo().reads, 0);
    }

    void aLanguageSwitchKeepsTheChapterAndTheProgress()
    {
        Flow f;
        f.view.goTo(1);
        QTest::mouseClick(f.page<WelcomeCase>()->rows().at(2), Qt::LeftButton);
        QVERIFY(f.view.solved());
        const QSet<int> visited = f.view.visited();

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(f.view.primaryButton()->text(), QStringLiteral("Caso encerrado. Próximo!"));
        QCOMPARE(f.view.step(), 1);
        QVERIFY(f.view.solved());
        QVERIFY(f.page<WelcomeCase>()->state().solved);
        QCOMPARE(f.view.visited(), visited);
        QCOMPARE(f.view.celebrations(), 1);

        // What is typed into the connection chapter stays.
        f.view.goTo(4);
        auto* page = f.page<WelcomeConnection>();
        page->nameField()->edit()->setText(QStringLiteral("staging"));
        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(f.view.primaryButton()->text(), QStringLiteral("I'll connect later"));
        QCOMPARE(f.page<WelcomeConnection>(), page);
        QCOMPARE(page->nameField()->edit()->text(), QStringLiteral("staging"));
    }

    void returnInABrokerFieldNeverAdvances()
    {
        Flow f;
        f.view.goTo(4);
        auto* page = f.page<WelcomeConnection>();
        QCOMPARE(f.view.primaryButton()->text(), QStringLiteral("I'll connect later"));
        for (FormField* field : {page->nameField(), page->addressField()}) {
            field->edit()->setFocus();
            QTest::keyClicks(field->edit(), "localhost:9092");
            QTest::keyClick(field->edit(), Qt::Key_Return);
            QCOMPARE(f.view.step(), 4);
            QCOMPARE(field->edit()->text(), QStringLiteral("localhost:9092"));
        }
        page->setKind(BrokerKind::rabbitmq);
        for (FormField* field : {page->userField(), page->passwordField()}) {
            field->edit()->setFocus();
            QTest::keyClick(field->edit(), Qt::Key_Enter);
            QCOMPARE(f.view.step(), 4);
        }
        QCOMPARE(page->userField()->edit()->text(), QStringLiteral("guest"));
        QVERIFY(!page->testing());
    }

    void everyChapterDrawsKnownSymbols()
    {
        Flow f;
        for (int step = 0; step < OnboardingView::chapterCount; ++step) {
            f.view.goTo(step);
            for (SymbolView* symbol : f.view.findChildren<SymbolView*>()) {
                if (!symbol->name().isEmpty())
                    QVERIFY2(Symbols::contains(symbol->name()), qPrintable(symbol->name()));
            }
        }
    }

    void rootViewShowsTheIntroductionOnAFirstStartOnly()
    {
        auto clients = std::make_shared<fakes::FakeFactory>();
        AppState app(clients);
        ViewFactories views;
        views.whatsNew = [](AppState*, QWidget*) -> QDialog* { return nullptr; };
        views.brokerForm = [](AppState* state, QWidget* parent) -> QDialog* {
            return new BrokerFormSheet(state, parent);
        };
        views.introduction = [](AppState* state, QWidget* parent) -> QDialog* {
            auto* view = new OnboardingView(state, parent);
            view->refreshAI = [](AppState*) {};
            return view;
        };
        {
            RootView root(&app, views);
            root.resize(1100, 760);
            root.show();
            QTRY_COMPARE(root.sheets()->current(), SheetController::Sheet::introduction);
            auto* view = qobject_cast<OnboardingView*>(root.sheets()->currentDialog());
            QVERIFY(view);
            // Escape skips the introduction like "Explore on my own": done, and the running
            // version's notes count as seen, so they do not greet the next start.
            QTest::keyClick(view, Qt::Key_Escape);
            QTRY_COMPARE(root.sheets()->current(), SheetController::Sheet::none);
            QVERIFY(onboarded());
            QCOMPARE(UserDefaults::standard().string(Prefs::lastSeenVersion),
                     std::optional<QString>(intro::runningVersion()));
        }
        RootView next(&app, views);
        next.show();
        QTest::qWait(50);
        QCOMPARE(next.sheets()->current(), SheetController::Sheet::none);
    }
};

int main(int argc, char** argv)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    QApplication app(argc, argv);
    TestIntroFlow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_IntroFlow.moc"
