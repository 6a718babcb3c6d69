// The action sheets in their states, over a session of a fake Kafka broker.
#include "ScreenShooter.h"

#include "Tessaron/actions/AskSheet.h"
#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/actions/PayloadEditor.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/actions/ResetOffsetsSheet.h"
#include "Tessaron/state/BrokerSession.h"
#include "support/SessionFakes.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace tessaron {

namespace {

using namespace fakes;

Topic sized(const QString& name, QList<std::pair<int64_t, int64_t>> marks) { return topic(name, marks); }

Message jsonMessage(int64_t offset, const QByteArray& payload)
{
    return Message(QStringLiteral("orders.events"), 1, offset, QByteArray("order-48213"), payload,
                   QDateTime::fromMSecsSinceEpoch(1765270000000 + offset * 1000, Qt::UTC),
                   {{QStringLiteral("content-type"), "application/json"}});
}

} // namespace

void shootActions(ScreenShooter& shooter)
{
    auto clients = std::make_shared<FakeFactory>();
    auto held = std::make_shared<HeldWriter>();
    clients->kafka->listed = QList<Topic>{sized("orders.events", {{1200, 48210}, {0, 51877}, {0, 47302}}),
                                          sized("payments.settled", {{0, 880}})};
    QList<Message> held1;
    for (int i = 0; i < 20; ++i)
        held1.append(jsonMessage(i,
                                 QStringLiteral("{\"orderId\":\"A-%1\",\"total\":%2,\"currency\":\"EUR\"}")
                                     .arg(48200 + i)
                                     .arg(19.5 + i)
                                     .toUtf8()));
    clients->kafka->held[QStringLiteral("orders.events")][1] = held1;
    clients->kafka->listedGroups =
        QList<ConsumerGroup>{{QStringLiteral("billing-service"), QStringLiteral("Stable"), false},
                             {QStringLiteral("fraud-scorer"), QStringLiteral("Empty"), false}};
    Broker broker = kafkaBroker(QStringLiteral("orders-prod"));
    BrokerSession session(broker, std::nullopt, std::nullopt, std::nullopt, clients);
    bool connected = false;
    [](BrokerSession& s, bool& done) -> QCoro::Task<> {
        co_await s.connectBroker();
        done = true;
    }(session, connected);
    waitUntil([&] { return connected && session.topicsListed(); });

    // Produce: empty (nothing selected), filled (a corrected copy), working, filed, refused.
    {
        ProduceSheet sheet(std::nullopt, nullptr, &session);
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("empty"), &sheet);
    }
    session.setSelectedTopic(QStringLiteral("orders.events"));
    waitUntil([&] { return !session.isLoadingMessages() && !session.messages().isEmpty(); });
    const Message source = jsonMessage(
        7, "{\n  \"orderId\": \"A-48207\",\n  \"total\": 26.5,\n  \"currency\": \"EUR\",\n  \"lines\": 3\n}");
    {
        ProduceSheet sheet(source, nullptr, &session);
        sheet.reasonField()->setText(QStringLiteral("Total was off by the shipping fee; replaying for billing"));
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("filled"), &sheet);
        clients->writer = held;
        sheet.file();
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("working"), &sheet);
        held->gate->release();
        waitUntil([&] { return sheet.outcome().has_value(); });
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("filed"), &sheet, sheet.outcomeBlock());
        clients->writer = std::make_shared<FakeWriter>();
        clients->writer->produceError =
            KafkaError(29, QStringLiteral("Broker: Topic authorization failed: orders.events"));
        sheet.file();
        waitUntil([&] { return sheet.outcome() && !sheet.outcome()->isDone(); });
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("refused"), &sheet, sheet.outcomeBlock());
    }
    {
        // Over the smallest window: the sheet fits it, and the outcome is scrolled into view.
        QWidget window;
        window.resize(820, 520);
        window.show();
        ProduceSheet sheet(source, nullptr, &session, &window);
        sheet.setWindowModality(Qt::WindowModal);
        sheet.open();
        sheet.reasonField()->setText(QStringLiteral("Total was off by the shipping fee; replaying for billing"));
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("filled-820x520"), &sheet);
        clients->writer = std::make_shared<FakeWriter>();
        sheet.file();
        waitUntil([&] { return sheet.outcome().has_value(); });
        restFor(800);
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("filed-820x520"), &sheet, sheet.outcomeBlock());
        sheet.conclude(AppOutcome::makeUncertain(
            QStringLiteral("No answer from the broker within 30 s after the message went out: it may be on "
                           "orders.events already.")));
        restFor(800);
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("uncertain-820x520"), &sheet, sheet.outcomeBlock());
    }
    {
        Message avro(QStringLiteral("payments.settled"), 0, 12, std::nullopt, QByteArray("\x00\x00\x00\x00\x07\x02", 6),
                     std::nullopt, {});
        avro.setDecoded(Message::Decoded{7, "{\"amount\":1250,\"currency\":\"EUR\"}", std::nullopt});
        ProduceSheet sheet(avro, nullptr, &session);
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("avro"), &sheet);
    }

    const QStringList hostile = testing::FaceAudit::hostileTexts();
    {
        // A copy of a message whose key, header and payload look like markup: each stays text.
        const Message copy(QStringLiteral("orders.events"), 1, 9, hostile.at(0).toUtf8(), hostile.at(1).toUtf8(),
                           std::nullopt, {{hostile.at(0), hostile.at(2).toUtf8()}});
        ProduceSheet sheet(copy, nullptr, &session);
        sheet.reasonField()->setText(hostile.at(0));
        shooter.shoot(QStringLiteral("produce"), QStringLiteral("hostile"), &sheet);
        ResetOffsetsSheet reset(ConsumerGroup{hostile.at(0), hostile.at(1), false}, std::nullopt, nullptr, &session);
        reset.reasonField()->setText(hostile.at(1));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("hostile"), &reset);
        AskSheet ask(nullptr, &session);
        ask.setTool({AskLogic::Tool::named, hostile.at(1)});
        ask.questionField()->setPlainText(hostile.at(0));
        ask.present(AppOutcome::makeDone(hostile.join(QLatin1Char('\n'))), false, 1);
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("hostile"), &ask);
    }

    // Reset: empty, filled, warnings, working, filed, refused.
    const ConsumerGroup billing{QStringLiteral("billing-service"), QStringLiteral("Stable"), false};
    const ConsumerGroup fraud{QStringLiteral("fraud-scorer"), QStringLiteral("Empty"), false};
    {
        ResetOffsetsSheet sheet(fraud, std::nullopt, nullptr, &session);
        sheet.targetField()->setText(QStringLiteral("1500"));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("empty"), &sheet);
        sheet.reasonField()->setText(QStringLiteral("Replaying after the consumer fix"));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("filled"), &sheet);
        auto writer = std::make_shared<HeldWriter>();
        clients->writer = writer;
        sheet.move();
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("working"), &sheet);
        writer->gate->release();
        waitUntil([&] { return sheet.outcome().has_value(); });
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("filed"), &sheet, sheet.outcomeBlock());
    }
    {
        ResetOffsetsSheet sheet(billing, std::nullopt, nullptr, &session);
        sheet.targetField()->setText(QStringLiteral("0"));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("warnings-before-start"), &sheet);
        sheet.targetField()->setText(QStringLiteral("50000"));
        sheet.reasonField()->setText(QStringLiteral("Skip the poison batch"));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("warnings"), &sheet);
        sheet.targetField()->setText(QStringLiteral("-1"));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("negative"), &sheet);
        sheet.targetField()->setText(QStringLiteral("48000"));
        clients->writer = std::make_shared<FakeWriter>();
        clients->writer->resetError = KafkaError(
            -1,
            QStringLiteral("billing-service is Stable, not Empty: its consumers would commit over the change. "
                           "Stop them first."));
        sheet.move();
        waitUntil([&] { return sheet.outcome().has_value(); });
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("refused"), &sheet, sheet.outcomeBlock());
    }

    {
        QWidget window;
        window.resize(820, 520);
        window.show();
        ResetOffsetsSheet sheet(billing, std::nullopt, nullptr, &session, &window);
        sheet.setWindowModality(Qt::WindowModal);
        sheet.open();
        sheet.targetField()->setText(QStringLiteral("50000"));
        sheet.reasonField()->setText(QStringLiteral("Skip the poison batch"));
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("warnings-820x520"), &sheet);
        sheet.conclude(AppOutcome::makeUncertain(
            QStringLiteral("The offset commit timed out: billing-service may be at 50000 on orders.events already.")));
        restFor(800);
        shooter.shoot(QStringLiteral("reset"), QStringLiteral("uncertain-820x520"), &sheet, sheet.outcomeBlock());
    }

    {
        QWidget window;
        window.resize(820, 520);
        window.show();
        AskSheet sheet(nullptr, &session, &window);
        sheet.setTool({AskLogic::Tool::named, QStringLiteral("Claude Code")});
        sheet.open();
        sheet.present(AppOutcome::makeDone(QStringLiteral(
                          "Nothing here looks malformed: all 20 messages share one shape (orderId, total, currency). "
                          "The key order-48213 repeats on every message, so they all land on partition 1.")),
                      false, 1);
        restFor(800);
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("opinion-820x520"), &sheet);
    }

    // Ask: empty, filled, thinking, with an opinion and with none.
    {
        AskSheet sheet(nullptr, &session);
        sheet.setTool({AskLogic::Tool::named, QStringLiteral("Claude Code")});
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("empty"), &sheet);
        sheet.questionField()->setPlainText(QStringLiteral("Why would a consumer reject these?"));
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("filled"), &sheet);
        sheet.present(std::nullopt, true, 0);
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("thinking"), &sheet);
        sheet.present(AppOutcome::makeDone(QStringLiteral(
                          "Nothing here looks malformed: all 20 messages share one shape (orderId, total, currency), "
                          "and the totals are plain numbers. A consumer that rejects them most likely expects "
                          "\"total\" as a string or in cents — check its schema against the producer's.\n\n"
                          "The key order-48213 repeats on every message, so they all land on partition 1.")),
                      false, 1);
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("opinion"), &sheet);
        sheet.present(AppOutcome::makeRefused(QStringLiteral("AI CLI failed: Invalid API key · Please run /login")),
                      false, 2);
        shooter.shoot(QStringLiteral("ask"), QStringLiteral("no-opinion"), &sheet);
    }
}

} // namespace tessaron
