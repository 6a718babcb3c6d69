#include "Tessaron/settings/SettingsLogic.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QTest>

using namespace tessaron;
using namespace tessaron::SettingsLogic;

class TestSettingsLogic : public QObject {
    Q_OBJECT

private slots:
    void init() { UserDefaults::standard().setString(L10n::key, QStringLiteral("en")); }

    void sliderStoresRoundedTensWithinItsEdges()
    {
        QCOMPARE(messagesForPosition(10), 10);
        QCOMPARE(messagesForPosition(14.9), 10);
        QCOMPARE(messagesForPosition(15), 20); // halves away from zero
        QCOMPARE(messagesForPosition(995), 1000);
        QCOMPARE(messagesForPosition(1000), 1000);
        QCOMPARE(messagesForPosition(2), 10);
        QCOMPARE(messagesForPosition(5000), 1000);
        // A stored value outside the range is shown at the nearest end.
        QCOMPARE(sliderPosition(5), 10);
        QCOMPARE(sliderPosition(25000), 1000);
        QCOMPARE(sliderPosition(230), 230);
    }

    void presetsSelectOnlyOnExactValues()
    {
        QCOMPARE(selectedPreset(50), std::optional<int>(50));
        QCOMPARE(selectedPreset(100), std::optional<int>(100));
        QCOMPARE(selectedPreset(500), std::optional<int>(500));
        for (qint64 other : {49, 51, 120, 499, 1000})
            QCOMPARE(selectedPreset(other), std::nullopt);
    }

    void captionsChangeAtTheirTiers()
    {
        QCOMPARE(QString(messagesCaption(50)), QStringLiteral("A quick sniff. I'll keep it brief. For once."));
        QVERIFY(QString(messagesCaption(51)) != messagesCaption(50));
        QCOMPARE(QString(messagesCaption(100)), QString(messagesCaption(51)));
        QCOMPARE(QString(messagesCaption(101)), QStringLiteral("The plot thickens. I brought a highlighter."));
        QCOMPARE(QString(messagesCaption(499)), QString(messagesCaption(101)));
        QCOMPARE(QString(messagesCaption(500)), QStringLiteral("This is going to need a bigger briefcase."));
        QCOMPARE(QString(messagesCaption(999)), QString(messagesCaption(500)));
        QVERIFY(QString(messagesCaption(1000)) != messagesCaption(999));
    }

    void quotesAndLinesCycleWithBoops()
    {
        QCOMPARE(QString(signatureQuote(false, 7)),
                 QStringLiteral("I can't lie to you. I've tried. My face does a thing."));
        QCOMPARE(QString(signatureQuote(true, 1)), QStringLiteral("Objection. That was adorable."));
        QCOMPARE(QString(signatureQuote(true, 2)), QStringLiteral("Petting counsel is not bribery. Keep going."));
        QVERIFY(QString(signatureQuote(true, 3)) != signatureQuote(true, 1));
        QCOMPARE(QString(signatureQuote(true, 4)), QString(signatureQuote(true, 1)));
        QCOMPARE(QString(aboutBoopLine(0)), QStringLiteral("The dog on the icon is real. His name is Tessaron."));
        QCOMPARE(QString(aboutBoopLine(1)), QStringLiteral("He has never once lied about a queue."));
        QCOMPARE(QString(aboutBoopLine(3)), QStringLiteral("Okay. You're my favorite client now."));
        QCOMPARE(QString(aboutBoopLine(4)), QString(aboutBoopLine(0)));
    }

    void ourOwnLinesHavePortugueseRows()
    {
        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        const QList<const char*> lines = {messagesCaption(60), messagesCaption(1000), signatureQuote(true, 3),
                                          aboutBoopLine(2)};
        for (const char* line : lines)
            QVERIFY2(L10n::t(line) != QString::fromUtf8(line), line);
    }

    void countersKeepSixDigitsAtLeast()
    {
        QCOMPARE(counterText(0), QStringLiteral("000000"));
        QCOMPARE(counterText(1), QStringLiteral("000001"));
        QCOMPARE(counterText(1234567), QStringLiteral("1234567"));
    }

    void footnoteFollowsDetectionAndChoice()
    {
        const QMap<AICLI, QString> none;
        const QMap<AICLI, QString> codexOnly{{AICLI::codex, QStringLiteral("/bin/codex")}};
        QCOMPARE(statusSentence(true, codexOnly, "claude"), QStringLiteral("Looking for your local AI assistants…"));
        QCOMPARE(statusSentence(false, none, "codex"),
                 QStringLiteral("No CLI found. Install Claude Code or Codex to ask your topics."));
        QCOMPARE(statusSentence(false, codexOnly, "codex"),
                 QStringLiteral("Uses your local CLI session. No extra API key."));
        // An unknown stored value is Automatic.
        QCOMPARE(statusSentence(false, codexOnly, "gemini"),
                 QStringLiteral("Uses your local CLI session. No extra API key."));
        QCOMPARE(
            statusSentence(false, codexOnly, "claude"),
            QStringLiteral("CLI missing; uses an available assistant. Install: npm i -g @anthropic-ai/claude-code"));

        QCOMPARE(QString(statusWord(ProviderRow::automatic, false, codexOnly)), QStringLiteral("CLI found"));
        QCOMPARE(QString(statusWord(ProviderRow::claude, false, codexOnly)), QStringLiteral("Not installed"));
        QCOMPARE(QString(statusWord(ProviderRow::codex, true, codexOnly)), QStringLiteral("Checking…"));
        QCOMPARE(QString(statusWord(ProviderRow::automatic, false, none)), QStringLiteral("Not installed"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsLogic)
#include "tst_SettingsLogic.moc"
