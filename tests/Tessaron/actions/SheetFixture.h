#pragma once

// Sessions over the fake clients for the sheets, a writer that can be held mid-write, and small
// helpers to drive the sheets.

#include "../state/SessionFakes.h"

#include "Tessaron/state/BrokerSession.h"

#include <QApplication>
#include <QCoroTask>
#include <QTest>

#include <memory>

namespace tessaron::fakes {

// A writer whose produce and reset wait at a gate until the test releases it.
class HeldWriter : public FakeWriter {
public:
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    QCoro::Task<int64_t> produce(QString topic, std::optional<int32_t> partition, std::optional<QByteArray> key,
                                 QByteArray payload, QList<std::pair<QString, QString>> headers, Mandate mandate,
                                 int32_t timeoutMs) override
    {
        std::shared_ptr<Gate> held = gate;
        co_await held->wait();
        auto task = FakeWriter::produce(topic, partition, key, payload, headers, mandate, timeoutMs);
        co_return co_await std::move(task);
    }
    QCoro::Task<void> resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions, Mandate mandate,
                                   bool force, int32_t timeoutMs) override
    {
        std::shared_ptr<Gate> held = gate;
        co_await held->wait();
        auto task = FakeWriter::resetOffsets(group, topic, partitions, mandate, force, timeoutMs);
        co_await std::move(task);
    }
};

// A connected Kafka session over `clients` with "orders" (low 100, high 200 on p0) selected and
// read.
inline std::unique_ptr<BrokerSession> kafkaSession(const std::shared_ptr<FakeFactory>& clients)
{
    clients->kafka->listed = QList<Topic>{topic("orders", {{100, 200}, {0, 3}}), topic("payments", {{0, 2}})};
    clients->kafka->held["orders"][1] = {message("orders", 1, 0, 1000), message("orders", 1, 1, 2000),
                                         message("orders", 1, 2, 3000)};
    clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}, {"audit", "Empty", false}};
    auto session =
        std::make_unique<BrokerSession>(kafkaBroker("cluster"), std::nullopt, std::nullopt, std::nullopt, clients);
    QCoro::waitFor(session->connectBroker());
    session->setSelectedTopic(QStringLiteral("orders"));
    QCoro::waitFor(session->readLatest());
    return session;
}

// Types Return, Enter and Shift+Return into `widget` with the focus on it.
inline void pressReturns(QWidget* widget)
{
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Return);
    QTest::keyClick(widget, Qt::Key_Enter);
    QTest::keyClick(widget, Qt::Key_Return, Qt::ControlModifier);
}

} // namespace tessaron::fakes
