// The AI chapter over fake command-line tools in the throwaway home's ~/.local/bin.
#include "support/FakeTools.h"

#include "support/SessionFakes.h"

#include "Tessaron/intro/WelcomeAI.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

namespace {

// What assistive technology reads: the chosen card is checked.
bool readsChecked(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face && face->state().checkable && face->state().checked;
}

} // namespace

class TestIntroBackup : public QObject {
    Q_OBJECT
    std::unique_ptr<AppState> m_app;

private slots:
    void init()
    {
        AccessibilitySettings::instance().setReduceMotion(true);
        UserDefaults::standard().remove(Prefs::aiProvider);
        faketools::removeAll();
        m_app = std::make_unique<AppState>(std::make_shared<fakes::FakeFactory>());
    }

    void cleanup() { m_app.reset(); }

    void aClickStoresTheProviderAtOnce()
    {
        WelcomeAI page(m_app.get());
        QVERIFY(readsChecked(page.cards().at(0)));
        QTest::mouseClick(page.cards().at(2), Qt::LeftButton);
        QCOMPARE(UserDefaults::standard().string(Prefs::aiProvider), std::optional<QString>("codex"));
        QVERIFY(readsChecked(page.cards().at(2)));
        QVERIFY(!readsChecked(page.cards().at(0)));
        // Clicking the chosen card again keeps it chosen.
        QTest::mouseClick(page.cards().at(2), Qt::LeftButton);
        QVERIFY(readsChecked(page.cards().at(2)));
        // A card whose tool is not installed stores its value all the same.
        QTest::mouseClick(page.cards().at(1), Qt::LeftButton);
        QCOMPARE(UserDefaults::standard().string(Prefs::aiProvider), std::optional<QString>("claude"));
        QTest::mouseClick(page.cards().at(0), Qt::LeftButton);
        QCOMPARE(UserDefaults::standard().string(Prefs::aiProvider), std::optional<QString>("auto"));
    }

    void installHintOnlyForAMissingToolWhenNoScanRuns()
    {
        faketools::install("codex", "echo codex\n");
        WelcomeAI page(m_app.get());
        QVERIFY(page.scanning());
        QVERIFY(!page.checkAgainButton()->isEnabled());
        for (int i = 0; i < 3; ++i)
            QVERIFY(page.installShown(i).isEmpty());
        QSignalSpy done(&page, &WelcomeAI::scanFinished);
        QVERIFY(done.wait(10000));
        QVERIFY(!page.scanning());
        // What the page shows is the state's, which the Ask chip follows too.
        QCOMPARE(m_app->aiTool(), QStringLiteral("codex"));
        QVERIFY(page.found().contains(AICLI::codex));
        QVERIFY(!page.found().contains(AICLI::claude));
        QVERIFY(page.installShown(0).isEmpty());
        QCOMPARE(page.installShown(1), QStringLiteral("npm i -g @anthropic-ai/claude-code"));
        QVERIFY(page.installShown(2).isEmpty());
        QCOMPARE(page.statusSymbol(1), QStringLiteral("minus.circle"));
        QCOMPARE(page.statusSymbol(2), QStringLiteral("checkmark.circle"));
        QCOMPARE(page.footerText()->text(),
                 QStringLiteral("The assistant gets the question. I keep the dramatic entrance."));

        // Check again: every hint goes while the new scan runs.
        faketools::removeAll();
        QTest::mouseClick(page.checkAgainButton(), Qt::LeftButton);
        QVERIFY(page.scanning());
        QVERIFY(page.installShown(1).isEmpty());
        QCOMPARE(page.statusSymbol(2), QStringLiteral("ellipsis"));
        QVERIFY(done.wait(10000));
        QCOMPARE(page.installShown(2), QStringLiteral("npm i -g @openai/codex"));
        QCOMPARE(page.footerText()->text(),
                 QStringLiteral("No CLI? No problem. Reading and shape analysis work without AI."));
    }

    void aScanEndingAfterThePageIsGoneIsDropped()
    {
        auto* page = new WelcomeAI(m_app.get());
        QVERIFY(page->scanning());
        delete page;
        QTest::qWait(300);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestIntroBackup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_IntroBackup.moc"
