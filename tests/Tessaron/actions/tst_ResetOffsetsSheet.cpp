// The reset-offsets sheet over a real BrokerSession with fake clients, and the workspace presenting
// the real sheets.
#include "SheetFixture.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionSheets.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/AskSheet.h"
#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/actions/ResetOffsetsSheet.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/workspace/WorkspaceView.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>

#include <functional>

using namespace tessaron;
using namespace tessaron::fakes;

class TestResetOffsetsSheet : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;
    std::unique_ptr<BrokerSession> m_session;

    void type(QLineEdit* field, const QString& text)
    {
        field->selectAll();
        field->setFocus();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        m_clients = std::make_shared<FakeFactory>();
        m_session = kafkaSession(m_clients);
    }
    void cleanup() { m_session.reset(); }

    void tabRunsFromTheTargetToMoveThroughWhatIsShown()
    {
        ResetOffsetsSheet sheet(ConsumerGroup{"billing", "Empty", false}, std::nullopt, nullptr, m_session.get());
        sheet.open();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        type(sheet.reasonField(), "replay");
        sheet.targetField()->setFocus();
        QList<QWidget*> stops{sheet.targetField()};
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            if (now == stops.first())
                break;
            // No stop on something the sheet does not show.
            QVERIFY(now && now->isVisible());
            stops << now;
        }
        QVERIFY(stops.indexOf(sheet.reasonField()) > 0);
        QVERIFY(stops.indexOf(sheet.cancelButton()) > stops.indexOf(sheet.reasonField()));
        QVERIFY(stops.indexOf(sheet.moveButton()) > stops.indexOf(sheet.cancelButton()));
    }

    void warningsFollowTheTargetAndTheButtonFollowsTheRules()
    {
        const ConsumerGroup billing{"billing", "Stable", false};
        ResetOffsetsSheet sheet(billing, std::nullopt, nullptr, m_session.get());
        sheet.show();
        // It opens on "The beginning": each partition's own start, not offset 0.
        QVERIFY(sheet.fromBeginning());
        QVERIFY(sheet.targetField()->text().isEmpty());
        QVERIFY(
            sheet.scopeLine()->text().startsWith("Each of the 2 partitions of \u2068orders\u2069 moves to its own"));
        QVERIFY(sheet.beforeStartText().isEmpty());
        QVERIFY(sheet.pastEndText().isEmpty());
        QVERIFY(sheet.groupStateText().startsWith("\u2068billing\u2069 is Stable — Tessaron will refuse."));
        QVERIFY(!sheet.moveButton()->isEnabled()); // no reason yet

        type(sheet.reasonField(), "replay after the fix");
        QVERIFY(sheet.moveButton()->isEnabled()); // the group's state does not block it
        type(sheet.targetField(), "150");
        QVERIFY(sheet.beforeStartText().isEmpty());
        QVERIFY(sheet.pastEndText().startsWith("Past the end of p1, which ends at 3."));
        type(sheet.targetField(), "201");
        QVERIFY(sheet.pastEndText().startsWith("Past the end of 2 partitions (p0, p1)."));
        for (const char* bad : {"5 ", "1,000", "9223372036854775808"}) {
            type(sheet.targetField(), QString::fromUtf8(bad));
            QVERIFY2(!sheet.moveButton()->isEnabled(), bad);
            QVERIFY(sheet.pastEndText().isEmpty() && sheet.beforeStartText().isEmpty());
        }
        // Emptying the field comes back to what it opened on, which its placeholder names, whole,
        // and which a screen reader hears in the field's description.
        type(sheet.targetField(), "");
        QVERIFY(sheet.fromBeginning());
        QLineEdit* target = sheet.targetField();
        QVERIFY(target->width() > target->fontMetrics().horizontalAdvance(target->placeholderText()) + 20);
        QVERIFY(target->accessibleDescription().contains(target->placeholderText(), Qt::CaseInsensitive));
        QVERIFY(sheet.scopeLine()->text().contains("moves to its own"));
        QVERIFY(sheet.moveButton()->isEnabled());
        type(sheet.targetField(), "-1");
        QVERIFY(!sheet.moveButton()->isEnabled());
        QVERIFY(!sheet.negativeText().isEmpty());
        // p0 keeps 100 to 200: offset 5 no longer exists there, and the sheet will not send it.
        type(sheet.targetField(), "+5");
        QVERIFY(sheet.negativeText().isEmpty());
        QVERIFY(sheet.beforeStartText().startsWith("Before the start of p0, which now begins at 100"));
        QVERIFY(sheet.beforeStartText().contains("Type 100 or more"));
        QVERIFY(!sheet.moveButton()->isEnabled());
        type(sheet.targetField(), "100");
        QVERIFY(sheet.moveButton()->isEnabled());
        QVERIFY(sheet.scopeLine()->text().startsWith("Applies to all 2 partitions"));
        QTest::mouseClick(sheet.beginningButton(), Qt::LeftButton);
        QVERIFY(sheet.fromBeginning() && sheet.targetField()->text().isEmpty());
        QVERIFY(sheet.beforeStartText().isEmpty());
        QVERIFY(sheet.moveButton()->isEnabled());

        ResetOffsetsSheet empty({"audit", "Empty", false}, std::nullopt, nullptr, m_session.get());
        empty.show();
        QCOMPARE(empty.groupStateText(), QString("Nobody is consuming this group, so nothing will fight you."));
        // Without a topic given or selected there is nothing to move.
        m_session->setSelectedTopic(std::nullopt);
        QCOMPARE(empty.scopeLine()->text(), QString("There is no topic to move the position on."));
        empty.reasonField()->setText("why");
        QVERIFY(!empty.moveButton()->isEnabled());
    }

    void movingSendsTheParsedTargetAndShowsTheOutcome()
    {
        const Topic payments = m_session->topics().last();
        ResetOffsetsSheet sheet({"billing", "Empty", false}, payments, nullptr, m_session.get());
        sheet.show();
        type(sheet.targetField(), "+2");
        type(sheet.reasonField(), "  replay  ");
        for (QWidget* field : QList<QWidget*>{sheet.targetField(), sheet.reasonField(), sheet.beginningButton(),
                                              sheet.cancelButton(), sheet.moveButton()})
            pressReturns(field);
        QTest::qWait(30);
        QVERIFY(m_clients->writer->resets.isEmpty());
        QCOMPARE(sheet.targetField()->text(), QString("+2")); // Return on "The beginning" did not press it
        QTest::mouseClick(sheet.moveButton(), Qt::LeftButton);
        QTRY_VERIFY(sheet.outcome().has_value());
        QCOMPARE(m_clients->writer->resets.size(), 1);
        const FakeWriter::Reset& reset = m_clients->writer->resets.first();
        QCOMPARE(reset.group, QString("billing"));
        QCOMPARE(reset.topic, QString("payments"));
        QCOMPARE(reset.partitions, (QMap<int32_t, int64_t>{{0, 2}}));
        QCOMPARE(reset.reason, QString("  replay  "));
        QVERIFY(!reset.force);
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("FILED"));
        QCOMPARE(sheet.outcome()->sentence(), QString("\u2068billing\u2069 will resume from offset 2."));

        // The writer's refusal shows as it is; the hand of a busy group swings once per move.
        m_clients->writer->resetError =
            KafkaError(-1, "billing is Stable: its members would overwrite the change. Stop its consumers first.");
        ResetOffsetsSheet busy({"billing", "Stable", false}, payments, nullptr, m_session.get());
        busy.show();
        busy.reasonField()->setText("again");
        busy.move();
        QVERIFY(busy.isWorking() || busy.outcome());
        QTRY_VERIFY(busy.outcome().has_value());
        QCOMPARE(busy.outcomeBlock()->stampText(), QString("REFUSED"));
        QVERIFY2(busy.outcome()->sentence().startsWith("billing is Stable"), qPrintable(busy.outcome()->sentence()));
        QCOMPARE(busy.strikes(), 1);
        QTest::keyClick(busy.reasonField(), Qt::Key_Escape);
        QVERIFY(!busy.isVisible());
    }

    // The session's own refusals read as sentences in either language: a group found busy when
    // asked, and one a consumer joined between that question and the move.
    void aRefusedMoveReadsAsASentenceInEitherLanguage()
    {
        const Topic payments = m_session->topics().last();
        const auto restore = qScopeGuard([] { UserDefaults::standard().remove(L10n::key); });
        for (const char* language : {"en", "pt"}) {
            UserDefaults::standard().setString(L10n::key, QString::fromLatin1(language));
            m_clients->writer->groupStateAnswer = QStringLiteral("Stable");
            m_clients->writer->resetError.reset();
            QStringList sentences;
            for (int joined = 0; joined < 2; ++joined) {
                if (joined) {
                    m_clients->writer->groupStateAnswer = QStringLiteral("Empty");
                    m_clients->writer->resetError = KafkaError(25, "The coordinator is not aware of this member.");
                }
                ResetOffsetsSheet sheet({"billing", "Empty", false}, payments, nullptr, m_session.get());
                sheet.show();
                sheet.reasonField()->setText("again");
                sheet.move();
                QTRY_VERIFY(sheet.outcome().has_value());
                QCOMPARE(sheet.outcomeBlock()->stampText(), QString("REFUSED"));
                sentences << sheet.outcome()->sentence();
            }
            for (const QString& sentence : sentences)
                QVERIFY2(sentence.at(0).isUpper(), qPrintable(sentence));
            if (QByteArray(language) == "pt") {
                // "Pare": stop them. "Para" would read as "for".
                for (const QString& sentence : sentences)
                    QVERIFY2(sentence.contains("Pare os consumidores"), qPrintable(sentence));
            }
        }
        m_clients->writer->groupStateAnswer = QStringLiteral("Empty");
        m_clients->writer->resetError.reset();
    }

    void theBeginningMovesEachPartitionToTheStartItHasWhenMoved()
    {
        ResetOffsetsSheet sheet({"audit", "Empty", false}, std::nullopt, nullptr, m_session.get());
        sheet.show();
        sheet.reasonField()->setText("replay");
        // Retention trims both partitions after the sheet opened: the move uses the starts of now.
        m_clients->kafka->listed = QList<Topic>{topic("orders", {{140, 200}, {2, 3}}), topic("payments", {{0, 2}})};
        QTest::mouseClick(sheet.moveButton(), Qt::LeftButton);
        QTRY_VERIFY(sheet.outcome().has_value());
        QCOMPARE(m_clients->writer->resets.size(), 1);
        QCOMPARE(m_clients->writer->resets.first().partitions, (QMap<int32_t, int64_t>{{0, 140}, {1, 2}}));
        QCOMPARE(sheet.outcome()->sentence(),
                 QString("\u2068audit\u2069 will resume from the start of each partition."));
    }

    void theEndsAreAskedForAgainWhileTheSheetIsOpen()
    {
        // Handed over with the ends the session had listed when the group screen opened it.
        const std::optional<Topic> handed = m_session->currentTopic();
        ResetOffsetsSheet sheet({"audit", "Empty", false}, handed, nullptr, m_session.get());
        sheet.targetField()->setText("150");
        QVERIFY(sheet.pastEndText().startsWith("Past the end of p1"));
        // p1 has grown since: the warning goes once the sheet is open and has asked.
        m_clients->kafka->listed = QList<Topic>{topic("orders", {{100, 200}, {0, 400}}), topic("payments", {{0, 2}})};
        const qsizetype listings = m_clients->kafka->calls.filter("topics").size();
        sheet.show();
        QTRY_VERIFY(sheet.pastEndText().isEmpty());
        // Retention moves p0's end back under the target while the sheet stays open.
        m_clients->kafka->listed = QList<Topic>{topic("orders", {{100, 120}, {0, 400}}), topic("payments", {{0, 2}})};
        QTRY_VERIFY_WITH_TIMEOUT(sheet.pastEndText().startsWith("Past the end of p0"),
                                 ResetOffsetsSheet::endsInterval + 3000);
        // Closed, it asks no more.
        sheet.hide();
        const qsizetype asked = m_clients->kafka->calls.filter("watermarks orders").size();
        QVERIFY(asked >= 2);
        QTest::qWait(ResetOffsetsSheet::endsInterval + 500);
        QCOMPARE(m_clients->kafka->calls.filter("watermarks orders").size(), asked);
        // Only the topic's ends were asked for, never the whole listing again.
        QCOMPARE(m_clients->kafka->calls.filter("topics").size(), listings);
    }

    void aMoveWhoseAnswerWasLostIsShownAsMaybeMovedInView()
    {
        QWidget window;
        window.resize(820, 520);
        window.show();
        ResetOffsetsSheet sheet({"billing", "Stable", false}, std::nullopt, nullptr, m_session.get(), &window);
        sheet.open();
        QVERIFY(sheet.height() <= window.height());
        sheet.targetField()->setText("50000"); // past the end of both partitions: a long form
        sheet.reasonField()->setText("replay");
        sheet.conclude(AppOutcome::makeUncertain("The commit timed out"));
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("UNCONFIRMED"));
        QVERIFY(sheet.outcomeBlock()->caution()->isVisibleTo(sheet.outcomeBlock()));
        QTRY_VERIFY(sheet.page()->inView(sheet.outcomeBlock()));
        QVERIFY(sheet.moveButton()->isEnabled());
    }

    void aSheetClosedMidMoveLetsTheMoveFinish()
    {
        auto writer = std::make_shared<HeldWriter>();
        m_clients->writer = writer;
        QWidget window;
        window.show();
        QPointer<ResetOffsetsSheet> sheet =
            new ResetOffsetsSheet({"audit", "Empty", false}, std::nullopt, nullptr, m_session.get(), &window);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        sheet->open();
        sheet->reasonField()->setText("closing early");
        sheet->move();
        QVERIFY(sheet->isWorking());
        QVERIFY(!sheet->moveButton()->isEnabled());
        QCOMPARE(sheet->moveButton()->labelText(), QString("Moving…"));
        sheet->close();
        QTRY_VERIFY(!sheet);
        writer->gate->release();
        QTRY_COMPARE(writer->resets.size(), 1);
        QCOMPARE(writer->resets.first().topic, QString("orders"));
    }

    void theWorkspacePresentsTheRealSheets()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>{topic("orders", {{0, 3}})};
        AppState app(clients);
        app.open(kafkaBroker("cluster"));
        BrokerSession* session = app.activeSession();
        QTRY_VERIFY(session->topicsListed() && !session->isLoadingTopics());
        ViewFactories views;
        views.messageBrowser = [](AppState*, BrokerSession*, QWidget* parent) { return new QWidget(parent); };
        views.groupScreen = views.messageBrowser;
        views.actionSheet = ActionSheets::make;
        WorkspaceView workspace(&app, session, views);
        workspace.resize(1020, 660);
        workspace.show();

        app.setAction(AppState::Action::makeProduce(std::nullopt));
        QVERIFY(qobject_cast<ProduceSheet*>(workspace.sheet()));
        // Over a window of the default size the sheet keeps its width and stays inside the window.
        QCOMPARE(workspace.sheet()->width(), ActionPage::pageWidth);
        QVERIFY(workspace.sheet()->height() < workspace.height());
        QTest::keyClick(workspace.sheet(), Qt::Key_Escape);
        QVERIFY(!app.action());

        app.setAction(AppState::Action::makeResetOffsets({"billing", "Empty", false}, session->topics().first()));
        QVERIFY(qobject_cast<ResetOffsetsSheet*>(workspace.sheet()));
        QPointer<QDialog> reset = workspace.sheet();
        app.setAction(AppState::Action::makeAsk());
        QTRY_VERIFY(!reset);
        QVERIFY(qobject_cast<AskSheet*>(workspace.sheet()));
        workspace.sheet()->close();
        QVERIFY(!app.action());
    }

    // Closing a sheet gives the focus back to the control that opened it; when the view behind
    // was rebuilt meanwhile, to the control now in its place, else to the nearest one still there.
    void closingASheetGivesTheFocusBack()
    {
        auto clients = std::make_shared<FakeFactory>();
        clients->kafka->listed = QList<Topic>{topic("orders", {{0, 3}})};
        AppState app(clients);
        app.open(kafkaBroker("cluster"));
        BrokerSession* session = app.activeSession();
        QTRY_VERIFY(session->topicsListed() && !session->isLoadingTopics());
        // A group screen whose "Move the position…" button sets the action, and which is built
        // again whenever told to (as a refresh of the group does while the sheet is open).
        static QPointer<QWidget> screen;
        static std::function<void(bool)> rebuild;
        ViewFactories views;
        views.messageBrowser = [](AppState*, BrokerSession*, QWidget* parent) { return new QWidget(parent); };
        views.groupScreen = [&app, session](AppState*, BrokerSession*, QWidget* parent) {
            screen = new QWidget(parent);
            auto* column = new QVBoxLayout(screen);
            auto* card = new QWidget;
            new QVBoxLayout(card);
            column->addWidget(card);
            rebuild = [&app, session, card](bool withButton) {
                qDeleteAll(card->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
                auto* look = new QPushButton(QStringLiteral("Look again"));
                look->setObjectName(QStringLiteral("lookAgain"));
                card->layout()->addWidget(look);
                if (!withButton)
                    return;
                auto* move = new QPushButton(QStringLiteral("Move the position…"));
                move->setObjectName(QStringLiteral("movePosition"));
                move->setProperty("topic", QStringLiteral("orders"));
                QObject::connect(move, &QPushButton::clicked, &app, [&app, session] {
                    app.setAction(
                        AppState::Action::makeResetOffsets({"billing", "Empty", false}, session->topics().first()));
                });
                card->layout()->addWidget(move);
            };
            rebuild(true);
            return screen;
        };
        views.actionSheet = ActionSheets::make;
        WorkspaceView workspace(&app, session, views);
        workspace.resize(1020, 660);
        workspace.show();
        QVERIFY(QTest::qWaitForWindowActive(&workspace));
        session->setSelectedGroup(QString("billing"));
        QTRY_VERIFY(screen && screen->isVisible());
        QPointer<QPushButton> move;
        auto openWithSpace = [&] {
            move = screen->findChild<QPushButton*>(QStringLiteral("movePosition"));
            move->setFocus(Qt::TabFocusReason);
            QTest::keyClick(move, Qt::Key_Space);
            QTRY_VERIFY(qobject_cast<ResetOffsetsSheet*>(workspace.sheet()));
            QTRY_VERIFY(workspace.sheet()->isActiveWindow());
        };
        auto closeWithEscape = [&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QVERIFY(!app.action());
            // The window beneath comes back, as a window manager brings it back.
            workspace.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&workspace));
            QCoreApplication::processEvents();
        };

        openWithSpace();
        const QPointer<QPushButton> opener = move;
        closeWithEscape();
        QTRY_COMPARE(QApplication::focusWidget(), opener.data());

        openWithSpace();
        rebuild(true);
        closeWithEscape();
        QTRY_VERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("movePosition"));
        QVERIFY(QApplication::focusWidget()->isVisible());

        openWithSpace();
        rebuild(false);
        closeWithEscape();
        QTRY_VERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("lookAgain"));
        screen = nullptr;
        rebuild = nullptr;
    }
};

QTEST_MAIN(TestResetOffsetsSheet)
#include "tst_ResetOffsetsSheet.moc"
