// The Ask sheet over a real BrokerSession with fake clients, and fake AI tools on the throwaway
// HOME that answer, fail, print too much or never finish.
#include "SheetFixture.h"
#include "support/FakeTools.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/AnswerBlock.h"
#include "Tessaron/actions/AskSheet.h"
#include "Tessaron/actions/FlowChips.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>

using namespace tessaron;
using namespace tessaron::fakes;
using faketools::processGone;

namespace {

void askAndWait(AskSheet& sheet, const QString& question)
{
    sheet.questionField()->setPlainText(question);
    const int before = sheet.strikes();
    sheet.ask();
    QVERIFY(sheet.isThinking());
    QVERIFY(!sheet.askButton()->isEnabled());
    QCOMPARE(sheet.askButton()->labelText(), QString("Tessaron is reviewing the record…"));
    QVERIFY(!sheet.answerBlock());
    QTRY_VERIFY_WITH_TIMEOUT(sheet.strikes() == before + 1, 15000);
}

} // namespace

class TestAskSheet : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;
    std::unique_ptr<BrokerSession> m_session;
    QTemporaryDir m_scratch;

private slots:
    void initTestCase()
    {
        AIProvider::Limits limits;
        limits.runMs = 1500;
        limits.maxOutputBytes = 64 * 1024;
        AIProvider::setDefaultLimits(limits);
    }
    void init()
    {
        faketools::removeAll();
        m_clients = std::make_shared<FakeFactory>();
        m_session = kafkaSession(m_clients);
    }
    void cleanup() { m_session.reset(); }

    void chipsReplaceTheQuestionAndTheNoticeSaysWhatLeaves()
    {
        faketools::install("claude", "echo fine\n");
        AppState app(m_clients);
        startDetached(app.refreshAIAvailability());
        AskSheet sheet(&app, m_session.get());
        QCOMPARE(sheet.tool().state, AskLogic::Tool::lookingUp); // the state's search is still under way
        sheet.show();
        QCOMPARE(sheet.page()->findChildren<FlowChips*>().size(), 1);
        // 584 points of content, and the longest suggestion needs more than a third of it: two columns,
        // no text cut.
        QCOMPARE(sheet.chips()->columns(), 2);
        for (QAbstractButton* chip : sheet.chips()->chips())
            QTRY_VERIFY(chip->width() >= chip->sizeHint().width());
        QVERIFY(!sheet.askButton()->isEnabled());
        sheet.questionField()->setFocus();
        QTest::keyClicks(sheet.questionField(), "my own words");
        QTest::mouseClick(sheet.chips()->chips().at(1), Qt::LeftButton);
        QCOMPARE(sheet.question(), QString("What do these messages have in common?"));
        QVERIFY(sheet.askButton()->isEnabled());
        QVERIFY(!sheet.isThinking()); // a chip does not send

        QTRY_COMPARE(sheet.tool().state, AskLogic::Tool::named);
        QVERIFY2(sheet.notice().contains("to Claude Code, signed in on this computer"), qPrintable(sheet.notice()));
        QVERIFY(sheet.notice().contains("the broker's 2 consumer groups, and the newest 3 of the 3 messages"));

        // Spaces alone do not ask; a line break does, and Shift+Return adds one without asking.
        sheet.questionField()->setPlainText("   ");
        QVERIFY(!sheet.askButton()->isEnabled());
        QTest::keyClick(sheet.questionField(), Qt::Key_Return);
        QVERIFY(!sheet.isThinking());
        sheet.questionField()->setPlainText("why");
        sheet.questionField()->moveCursor(QTextCursor::End);
        QTest::keyClick(sheet.questionField(), Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(sheet.question(), QString("why\n"));
        QVERIFY(!sheet.isThinking());
        QTest::keyClick(sheet.questionField(), Qt::Key_Return);
        QVERIFY(sheet.isThinking());
        QTRY_VERIFY_WITH_TIMEOUT(!sheet.isThinking(), 15000);
        QCOMPARE(sheet.outcome(), std::optional<AppOutcome>(AppOutcome::makeDone("fine")));
        QCOMPARE(sheet.question(), QString("why\n")); // kept for another go
        // Return on a suggestion asks too: "Ask" is the default.
        QTest::keyClick(sheet.chips()->chips().at(0), Qt::Key_Return);
        QVERIFY(sheet.isThinking());
        QCOMPARE(sheet.question(), QString("why\n"));
        QTRY_VERIFY_WITH_TIMEOUT(!sheet.isThinking(), 15000);
    }

    void aLanguageSwitchKeepsTheQuestionAndTheOpinion()
    {
        faketools::install("claude", "echo fine\n");
        AppState app(m_clients);
        startDetached(app.refreshAIAvailability());
        AskSheet sheet(&app, m_session.get());
        QCOMPARE(sheet.tool().state, AskLogic::Tool::lookingUp); // the state's search is still under way
        sheet.show();
        askAndWait(sheet, QStringLiteral("why so quiet?"));
        QVERIFY(sheet.answerBlock());
        const QString opinion = sheet.answerBlock()->text()->text();
        QPointer<AnswerBlock> block = sheet.answerBlock();

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QTRY_COMPARE(sheet.askButton()->labelText(), QStringLiteral("Perguntar"));
        QCOMPARE(sheet.closeButton()->text(), QStringLiteral("Fechar"));
        QCOMPARE(sheet.chips()->chips().at(1)->text(), QStringLiteral("O que essas mensagens têm em comum?"));
        QCOMPARE(sheet.question(), QStringLiteral("why so quiet?"));
        // The same answer, its words as the tool wrote them.
        QCOMPARE(sheet.answerBlock(), block.data());
        QCOMPARE(block->text()->text(), opinion);
        QCOMPARE(block->heading(), QStringLiteral("O PARECER"));

        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QTRY_COMPARE(sheet.askButton()->labelText(), QStringLiteral("Ask"));
        QCOMPARE(block->heading(), QStringLiteral("THE OPINION"));
    }

    void opinionsRefusalsCapsAndTimeOuts()
    {
        AskSheet sheet(nullptr, m_session.get());
        sheet.show();

        faketools::install("claude", "printf '```text\\nIt carries orders.\\n```\\n'\n");
        askAndWait(sheet, "What is this topic for?");
        QVERIFY(sheet.outcome()->isDone());
        QCOMPARE(sheet.answerBlock()->heading(), QString("THE OPINION"));
        QCOMPARE(sheet.answerBlock()->text()->text(), QString("It carries orders."));

        faketools::install("claude", "echo 'not signed in' >&2\nexit 3\n");
        askAndWait(sheet, "again");
        QCOMPARE(sheet.answerBlock()->heading(), QString("NO OPINION"));
        QCOMPARE(sheet.answerBlock()->text()->text(), QString("AI CLI failed: not signed in"));
        QCOMPARE(sheet.strikes(), 2);

        faketools::install("claude", "head -c 4194304 /dev/zero | tr '\\0' 'a'\n");
        askAndWait(sheet, "too much");
        QVERIFY(sheet.outcome()->isDone());
        QCOMPARE(sheet.outcome()->sentence().size(), 64 * 1024);

        // A tool that never answers is stopped, and says so, instead of thinking for ever.
        faketools::install("claude", "sleep 60\n");
        askAndWait(sheet, "still there?");
        QCOMPARE(sheet.answerBlock()->heading(), QString("NO OPINION"));
        QVERIFY2(sheet.outcome()->sentence().startsWith("The AI CLI gave no answer within"),
                 qPrintable(sheet.outcome()->sentence()));

        faketools::removeAll();
        askAndWait(sheet, "anyone?");
        QCOMPARE(sheet.outcome()->sentence(), QString("No AI provider configured."));

        m_session->setSelectedTopic(std::nullopt);
        QVERIFY(sheet.page()->subtitle().startsWith(" · "));
        // Refused at once, without a tool.
        sheet.questionField()->setPlainText("which topic?");
        sheet.ask();
        QTRY_COMPARE(sheet.strikes(), 6);
        QCOMPARE(sheet.outcome()->sentence(), QString("no topic selected"));
    }

    void closingMidQuestionLeavesNoProcessBehind()
    {
        const QString pidFile = m_scratch.filePath("child.pid");
        faketools::install("claude", QString("sleep 60 &\necho $! > '%1'\nsleep 60\n").arg(pidFile).toUtf8());
        QWidget window;
        window.show();
        QPointer<AskSheet> sheet = new AskSheet(nullptr, m_session.get(), &window);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        sheet->open();
        sheet->questionField()->setPlainText("slow one");
        sheet->ask();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pidFile), 10000);
        QTest::keyClick(sheet->questionField(), Qt::Key_Escape);
        QTRY_VERIFY(!sheet);
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString child = QString::fromUtf8(file.readAll()).trimmed();
        QVERIFY(!child.isEmpty());
        // The question runs to its end, which stops the whole process group.
        QTRY_VERIFY_WITH_TIMEOUT(processGone(child), 10000);
    }
};

QTEST_MAIN(TestAskSheet)
#include "tst_AskSheet.moc"
