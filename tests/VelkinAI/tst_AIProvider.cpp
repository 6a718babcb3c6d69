#include "support/FakeTools.h"
#include "support/SyncWait.h"

#include "VelkinAI/AIError.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinAI/AIToolRunner.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

using namespace tessaron;
using faketools::processGone;
using testing::outcomeOf;
using testing::syncWait;

namespace {

AIError runExpectingError(const AIProvider& provider, const QString& prompt, std::optional<AICLI> cli = std::nullopt)
{
    const std::optional<AIError> error =
        outcomeOf<AIError>(cli ? provider.run(prompt, *cli) : provider.run(prompt)).error;
    if (!error)
        qFatal("the run did not fail");
    return *error;
}

} // namespace

class TestAIProvider : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_scratch;
    std::unique_ptr<UserDefaults> m_defaults;

    AIProvider provider(AIProvider::Limits limits = {})
    {
        return AIProvider(PrefsStore("tessaron", *m_defaults), limits);
    }

private slots:
    void init()
    {
        faketools::removeAll();
        m_defaults = std::make_unique<UserDefaults>(m_scratch.filePath("prefs.json"));
        m_defaults->remove("tessaron.aiProvider");
    }

    void detectionFollowsTheStoredChoiceWithFallBack()
    {
        QVERIFY(!syncWait(provider().resolveBackend()));
        QVERIFY(syncWait(provider().detect()).isEmpty());

        faketools::install("codex", "echo codex\n");
        faketools::install("claude", "echo claude\n");
        QCOMPARE(syncWait(provider().resolveBackend()), std::optional<AICLI>(AICLI::claude));
        m_defaults->setString("tessaron.aiProvider", "codex");
        QCOMPARE(syncWait(provider().resolveBackend()), std::optional<AICLI>(AICLI::codex));
        QCOMPARE(syncWait(provider().detect()).size(), 2);

        // A chosen tool that is missing falls back to any installed one; unknown choices detect.
        QFile::remove(faketools::binDir() + "/codex");
        QCOMPARE(syncWait(provider().resolveBackend()), std::optional<AICLI>(AICLI::claude));
        m_defaults->setString("tessaron.aiProvider", "gpt");
        QCOMPARE(syncWait(provider().resolveBackend()), std::optional<AICLI>(AICLI::claude));
        QCOMPARE(syncWait(AIProvider().detectBackend()), std::optional<AICLI>(AICLI::claude));

        // A stored choice is matched against the known tools, never handed to a shell.
        const QString marker = m_scratch.filePath("choice-ran");
        m_defaults->setString("tessaron.aiProvider", QString("codex; touch '%1'").arg(marker));
        QCOMPARE(syncWait(provider().resolveBackend()), std::optional<AICLI>(AICLI::claude));
        m_defaults->setString("tessaron.aiProvider", QString("$(touch '%1')").arg(marker));
        QCOMPARE(syncWait(provider().run("hello")), QString("claude"));
        QVERIFY(!QFile::exists(marker));
    }

    void theToolGetsThePromptAsItsLastArgumentInAnEmptyPrivateFolder()
    {
        faketools::install("claude",
                           "cat >/dev/null\n" // standard input is the null device: this ends at once
                           "echo \"args=$#\"\n"
                           "echo \"first=$1\"\n"
                           "printf 'last=%s|\\n' \"$2\"\n"
                           "echo \"entries=$(ls -A | wc -l)\"\n"
                           "echo \"mode=$(stat -c %a .)\"\n"
                           "echo \"cwd=$PWD\" >&2\n");
        const QString prompt = "  why $(touch /tmp/owned) \"quoted\" `x`\nsecond line  ";
        const QString answer = syncWait(provider().run(prompt, AICLI::claude));
        QVERIFY2(answer.contains("args=2"), qPrintable(answer));
        QVERIFY(answer.contains("first=-p"));
        QVERIFY(answer.contains("last=" + prompt + "|"));
        QVERIFY(answer.contains("entries=0"));
        QVERIFY(answer.contains("mode=700"));
        QVERIFY(!QFile::exists("/tmp/owned"));
        QVERIFY(!answer.endsWith('\n'));
    }

    void failuresBecomeSentences()
    {
        QCOMPARE(runExpectingError(provider(), " \n\t ", AICLI::claude).kind(), AIError::emptyInput);
        QCOMPARE(runExpectingError(provider(), "hello", AICLI::codex).errorDescription(),
                 QString("OpenAI Codex not found on your PATH."));
        QCOMPARE(runExpectingError(provider(), "hello").kind(), AIError::noProvider);

        faketools::install("claude", "exit 1\n");
        QCOMPARE(runExpectingError(provider(), "hello").errorDescription(),
                 QString("AI CLI failed: Exited with code 1"));
        faketools::install("claude", "printf '%0500d' 0 >&2\nexit 2\n");
        QCOMPARE(runExpectingError(provider(), "hello").errorDescription(), "AI CLI failed: " + QString(200, '0'));

        // Exit 0 is a success whatever was written to standard error; an empty answer is no error.
        faketools::install("claude", "echo warning >&2\n");
        QCOMPARE(syncWait(provider().run("hello")), QString());
    }

    void aStuckToolIsStoppedWithItsWholeProcessGroup()
    {
        const QString pidFile = m_scratch.filePath("child.pid");
        faketools::install("claude", QString("sleep 60 &\necho $! > '%1'\nsleep 60\n").arg(pidFile).toUtf8());
        AIProvider::Limits limits;
        limits.runMs = 700;
        const AIError error = runExpectingError(provider(limits), "hello");
        QCOMPARE(error.kind(), AIError::timedOut);
        QVERIFY(error.errorDescription().contains("within 1 second,"));
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString child = QString::fromUtf8(file.readAll()).trimmed();
        QTRY_VERIFY(processGone(child));
    }

    void backgroundChildrenEndWithTheRun()
    {
        // The tool answers and exits, leaving a child of its own behind: the child ends with the run.
        const QString pidFile = m_scratch.filePath("left.pid");
        faketools::install("claude",
                           QString("sleep 60 >/dev/null 2>&1 &\necho $! > '%1'\necho done\n").arg(pidFile).toUtf8());
        QCOMPARE(syncWait(provider().run("hello")).trimmed(), QString("done"));
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString child = QString::fromUtf8(file.readAll()).trimmed();
        QTRY_VERIFY(processGone(child));
    }

    void outputIsReadUpToTheCap()
    {
        // 4 MiB of output against a 64 KiB cap: the run still ends, with the capped answer.
        faketools::install("claude", "head -c 4194304 /dev/zero | tr '\\0' 'a'\n");
        AIProvider::Limits limits;
        limits.maxOutputBytes = 64 * 1024;
        const QString answer = syncWait(provider(limits).run("hello"));
        QCOMPARE(answer.size(), 64 * 1024);
    }

    void anOversizedPromptIsRefusedBeforeAnythingStarts()
    {
        const QString marker = m_scratch.filePath("ran");
        faketools::install("claude", QString("touch '%1'\n").arg(marker).toUtf8());
        const QString prompt(AIToolRunner::maxArgumentBytes + 1, 'x');
        QCOMPARE(runExpectingError(provider(), prompt).kind(), AIError::tooLong);
        QVERIFY(!QFile::exists(marker));
        // One byte less fits in a single argument.
        QCOMPARE(syncWait(provider().run(QString(AIToolRunner::maxArgumentBytes - 4, 'x'))), QString());
        QVERIFY(QFile::exists(marker));
    }

    void launchFailureIsReported()
    {
        const std::optional<AIError> error =
            outcomeOf<AIError>(AIToolRunner::run("/nonexistent/tool", {}, 5000, 1024)).error;
        QVERIFY(error);
        QCOMPARE(error->kind(), AIError::launchFailed);
        QVERIFY(error->errorDescription().startsWith("Failed to launch process: "));
    }
};

QTEST_GUILESS_MAIN(TestAIProvider)
#include "tst_AIProvider.moc"
