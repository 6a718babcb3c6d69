#include "VelkinAI/AICLI.h"
#include "VelkinAI/AIError.h"
#include "VelkinAI/AIText.h"

#include <QTest>

using namespace tessaron;

class TestAIText : public QObject {
    Q_OBJECT
private slots:
    void toolsAndTheirArguments()
    {
        QCOMPARE(AICLI::allCases(), (QList<AICLI>{AICLI::claude, AICLI::codex}));
        QCOMPARE(AICLI::fromRawValue("codex"), std::optional<AICLI>(AICLI::codex));
        QVERIFY(!AICLI::fromRawValue("Claude"));
        QVERIFY(!AICLI::fromRawValue("auto"));
        const QString prompt = " keep  $(this) \"as is\" \n";
        QCOMPARE(AICLI(AICLI::claude).arguments(prompt), (QStringList{"-p", prompt}));
        QCOMPARE(AICLI(AICLI::codex).arguments(prompt), (QStringList{"exec", "-q", prompt}));
        QCOMPARE(AICLI(AICLI::codex).displayName(), QString("OpenAI Codex"));
    }

    void errorSentences()
    {
        QCOMPARE(AIError::makeNotFound(AICLI::claude).errorDescription(),
                 QString("Claude Code not found on your PATH."));
        QCOMPARE(AIError::makeFailed("Exited with code 1").errorDescription(),
                 QString("AI CLI failed: Exited with code 1"));
        QCOMPARE(AIError::makeFailed(" \n ").errorDescription(), QString("AI CLI failed: no output"));
        // The cut to 200 characters comes before the trim.
        const QString longError = QString(" ") + QString(198, 'x') + QString(" tail") + QString(300, 'y');
        QCOMPARE(AIError::makeFailed(longError).errorDescription(), "AI CLI failed: " + QString(198, 'x'));
        // Characters as read, not UTF-16 units: an emoji or an accent built of two code points counts once
        // and is never split.
        const QString emoji = QString::fromUtf8("\xF0\x9F\x94\xA5"); // two UTF-16 units
        const QString accented = QStringLiteral("e\u0301");
        QCOMPARE(AIError::makeFailed(emoji.repeated(250)).errorDescription(), "AI CLI failed: " + emoji.repeated(200));
        QCOMPARE(AIError::makeFailed(QString(199, 'x') + accented + "tail").errorDescription(),
                 "AI CLI failed: " + QString(199, 'x') + accented);
        QCOMPARE(AIError::makeTimedOut(1).errorDescription(),
                 QString("The AI CLI gave no answer within 1 second, so it was stopped."));
        QCOMPARE(AIError::makeTimedOut(30).errorDescription(),
                 QString("The AI CLI gave no answer within 30 seconds, so it was stopped."));
        QCOMPARE(AIError::makeNoProvider().errorDescription(), QString("No AI provider configured."));
        QCOMPARE(AIError::makeEmptyInput().errorDescription(), QString("Nothing to send to the AI."));
        QVERIFY(AIError::makeLaunchFailed("no such file").errorDescription().startsWith("Failed to launch process: "));
        QCOMPARE(QString::fromUtf8(AIError::makeNoProvider().what()), QString("No AI provider configured."));
    }

    void stripFences()
    {
        QCOMPARE(AIText::stripFences("```json\n{\"a\": 1}\n```\n"), QString("{\"a\": 1}"));
        QCOMPARE(AIText::stripFences("```"), QString());
        QCOMPARE(AIText::stripFences("  plain answer with ```code``` later \n"),
                 QString("plain answer with ```code``` later"));
        QCOMPARE(AIText::stripFences("```\nno closing fence"), QString("no closing fence"));
    }

    void firstMeaningfulLine()
    {
        // Marks are stripped from the ends only, after the trim: the blank after "##" stays.
        QCOMPARE(AIText::firstMeaningfulLine("\n\n```md\n## **Verdict**  \nrest"), QString(" **Verdict"));
        QCOMPARE(AIText::firstMeaningfulLine("**Caught up.**\nmore"), QString("Caught up."));
        QCOMPARE(AIText::firstMeaningfulLine("\r\n\t \u2028`answer`"), QString("answer"));
        QCOMPARE(AIText::firstMeaningfulLine("```"), QString(""));
    }

    void truncatedCountsCharactersNotBytes()
    {
        QCOMPARE(AIText::truncated("abcdef", 6), QString("abcdef"));
        QCOMPARE(AIText::truncated("abcdef", 3), QString("abc\n\u2026(truncated)\u2026"));
        // "é" written as e + combining accent is one character.
        const QString accented = QString("e\u0301") + "xyz";
        QCOMPARE(AIText::truncated(accented, 1), QString("e\u0301\n\u2026(truncated)\u2026"));
        QCOMPARE(AIText::truncated(accented, 4), accented);
    }
};

QTEST_GUILESS_MAIN(TestAIText)
#include "tst_AIText.moc"
