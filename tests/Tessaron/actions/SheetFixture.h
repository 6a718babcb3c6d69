#pragma once

// Sessions over the fake clients for the sheets, and small helpers to drive the sheets.

#include "support/SessionFakes.h"

#include "Tessaron/state/BrokerSession.h"

#include <QApplication>
#include <QCoroTask>
#include <QTest>

#include <memory>

namespace tessaron::fakes {

// A connected Kafka session over `clients` with "orders" (low 100, high 200 on p0) selected and
// read.
inline std::unique_ptr<BrokerSession> kafkaSession(const std::shared_ptr<FakeFactory>& clients)
{
    clients->kafka->listed = QList<Topic>{topic("orders", {{100, 200}, {0, 3}}), topic("payments", {{0, 2}})};
    clients->kafka->held["orders"][1] = {message("orders", 1, 0, 1000), message("orders", 1, 1, 2000),
                                         message("orders", 1, 2, 3000)};
    clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}, {"audit", "Empty", false}};
    auto session = connectedSession(clients, kafkaBroker("cluster"));
    session->setSelectedTopic(QStringLiteral("orders"));
    syncWait(session->readLatest());
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
