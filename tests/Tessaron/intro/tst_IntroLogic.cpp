#include "Tessaron/intro/IntroLogic.h"

#include "TessaronCore/model/Broker.h"

#include <QCoreApplication>
#include <QTest>

using namespace tessaron;
using namespace tessaron::intro;

class TestIntroLogic : public QObject {
    Q_OBJECT
private slots:
    void theRealAnalysisNamesExactlyTheQuotedTotal()
    {
        QCOMPARE(demoMessages().size(), 4);
        QCOMPARE(demoMessages().at(2).payload().value(), QByteArray("{\"total\":\"19.90\",\"paid\":true}"));
        const auto drift = demoVerdict().driftDetail();
        QVERIFY(drift);
        QCOMPARE(drift->outlierIDs, QStringList{QStringLiteral("demo.orders/0/130")});
        for (int i = -1; i <= 4; ++i)
            QCOMPARE(isCulprit(i), i == 2);
        QCOMPARE(helpIndex, 2);
    }

    void aWrongPickCountsNothingAndTheCulpritSolvesOnce()
    {
        CaseState state;
        QVERIFY(!state.pick(0));
        QCOMPARE(state.selected, std::optional<int>(0));
        QVERIFY(!state.solved);
        QCOMPARE(state.strikes, 0);
        QVERIFY(!state.pick(1));
        QCOMPARE(state.selected, std::optional<int>(1));
        QVERIFY(state.pick(2));
        QVERIFY(state.solved);
        QCOMPARE(state.strikes, 1);
        QVERIFY(!state.pick(2));
        QVERIFY(!state.pick(3));
        QCOMPARE(state.strikes, 1);
        QCOMPARE(state.selected, std::optional<int>(3));
    }

    void captionCyclesWithBoopsAndBallsInterrupt()
    {
        QCOMPARE(caption(4, 0), caption(0, 0));
        QVERIFY(caption(1, 0) != caption(0, 0));
        QCOMPARE(caption(1, 0), QStringLiteral("That counts as a billable cuddle."));
        QCOMPARE(caption(3, 2), caption(0, 1));
    }

    void peekChangesOnlyTheRabbitsFlag()
    {
        PeekDemo demo;
        demo.peek();
        demo.peek();
        QCOMPARE(demo.after(), QStringLiteral("128"));
        QVERIFY(!demo.changed());
        demo.choose(true);
        QCOMPARE(demo.after(), QStringLiteral("false"));
        demo.peek();
        QCOMPARE(demo.after(), QStringLiteral("true"));
        QVERIFY(demo.changed());
        demo.choose(true); // the same kind again starts over
        QCOMPARE(demo.reads, 0);
        QCOMPARE(demo.after(), QStringLiteral("false"));
    }

    void summaryRowsFollowWhatWasDone()
    {
        QCOMPARE(caseRow(false), QStringLiteral("First case: waiting for your instincts."));
        QCOMPARE(caseRow(true), QStringLiteral("First case: solved."));
        QCOMPARE(brokerRow(std::nullopt), QStringLiteral("Your broker can join us later."));
        Broker b;
        b.name = QStringLiteral("orders");
        QCOMPARE(brokerRow(b), QStringLiteral("Broker on file: \u2068orders\u2069"));
        QCOMPARE(backupRow(QStringLiteral("auto")), QStringLiteral("Backup: automatic selection."));
        QCOMPARE(backupRow(QStringLiteral("codex")), QStringLiteral("Backup: OpenAI Codex"));
        QCOMPARE(backupRow(QStringLiteral("gemini")), QStringLiteral("Backup: gemini"));
    }

    void draftBuildsThePlainBroker()
    {
        ConnectionDraft draft;
        QCOMPARE(draft.username, QStringLiteral("guest"));
        draft.name = QStringLiteral("   ");
        draft.address = QStringLiteral("  ");
        QVERIFY(!draft.canTest());
        draft.address = QStringLiteral(" localhost:9092 ");
        QVERIFY(draft.canTest());
        Broker kafka = draft.broker();
        QCOMPARE(kafka.name, QStringLiteral("Local"));
        QCOMPARE(kafka.bootstrap, QStringLiteral("localhost:9092"));
        QCOMPARE(kafka.security, BrokerSecurity(BrokerSecurity::plaintext));
        QVERIFY(kafka.username.isEmpty());
        QVERIFY(!draft.secret());
        QVERIFY(draft.broker().id != kafka.id);

        draft.kind = BrokerKind::rabbitmq;
        draft.username.clear();
        QVERIFY(!draft.canTest());
        draft.username = QStringLiteral(" ");
        QVERIFY(draft.canTest());
        draft.password = QStringLiteral("pw");
        const Broker rabbit = draft.broker();
        QCOMPARE(rabbit.security, BrokerSecurity(BrokerSecurity::saslPlaintext));
        QCOMPARE(rabbit.username, QStringLiteral(" "));
        QVERIFY(draft.matches(rabbit, QStringLiteral("pw")));
        draft.password = QStringLiteral("other");
        QVERIFY(!draft.matches(rabbit, QStringLiteral("pw")));
        draft.password = QStringLiteral("pw"); // changed back: the answer still belongs
        QVERIFY(draft.matches(rabbit, QStringLiteral("pw")));
    }
};

QTEST_GUILESS_MAIN(TestIntroLogic)
#include "tst_IntroLogic.moc"
