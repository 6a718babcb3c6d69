#pragma once

// Sessions over the fake clients, seeded with topics, messages, groups and queues, for the
// browser's tests and screens.

#include "Tessaron/browser/RelativeTime.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "support/SessionFakes.h"

#include <QCoroTask>
#include <QTimeZone>

#include <memory>

namespace tessaron::browserfixtures {

using fakes::queue;
using testing::syncWait;

// Every age in the browser's tests and screens is measured from this moment.
inline QDateTime fixedNow() { return QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC); }
inline void useFixedClock()
{
    RelativeTime::setClock([] { return fixedNow(); });
}

struct Stage : fakes::Rig {
    fakes::FakeKafka& kafka() const { return *clients->kafka; }
    fakes::FakeRabbit& rabbit() const { return *clients->rabbit; }

    // Selects a topic and reads its newest messages, as the workspace does.
    void open(const QString& topic, qint64 limit = 100)
    {
        session->setSelectedTopic(topic);
        syncWait(session->read(BrokerSession::Position::atTail(), limit, false));
    }
};

inline Stage kafkaStage(const QList<Topic>& topics, const QList<ConsumerGroup>& groups = {},
                        const QString& name = QStringLiteral("orders-cluster"))
{
    Stage stage;
    stage.clients->kafka->listed = topics;
    stage.clients->kafka->listedGroups = groups;
    stage.app = std::make_unique<AppState>(stage.clients);
    stage.session = fakes::connectedSession(stage.clients, fakes::kafkaBroker(name));
    return stage;
}

inline Stage rabbitStage(const QList<Topic>& queues, const QHash<QString, int64_t>& consumers,
                         const QString& name = QStringLiteral("rabbit"))
{
    Stage stage;
    stage.clients->rabbit = std::make_shared<fakes::FakeRabbit>(fakes::rabbitBroker(name));
    stage.clients->rabbit->listing = {queues, consumers};
    stage.app = std::make_unique<AppState>(stage.clients);
    stage.session = fakes::connectedSession(stage.clients, fakes::rabbitBroker(name));
    return stage;
}

inline Message keyed(const QString& topic, int32_t partition, int64_t offset, const QByteArray& key,
                     const QByteArray& payload, int minutesAgo, QList<Message::Header> headers = {})
{
    return Message(topic, partition, offset, key, payload, fixedNow().addSecs(-60 * minutesAgo), headers);
}

// An "orders" topic over two partitions: eight payments that agree in shape, and two whose
// "total" is text and whose "currency" is missing.
inline QMap<int32_t, QList<Message>> driftingOrders()
{
    QMap<int32_t, QList<Message>> held;
    for (int i = 0; i < 10; ++i) {
        const int32_t partition = i % 2;
        const bool odd = i == 3 || i == 8;
        const QByteArray payload = odd ? QByteArray(R"({"id":)") + QByteArray::number(1040 + i)
                + R"(,"total":"12.50","customer":{"name":"Ana","tier":"gold"}})"
                                       : QByteArray(R"({"id":)") + QByteArray::number(1040 + i)
                + R"(,"total":12.5,"currency":"EUR","customer":{"name":"Bo","tier":"silver"}})";
        held[partition].append(keyed("orders", partition, held[partition].size(),
                                     "customer-" + QByteArray::number(i % 4), payload, 40 - i * 3,
                                     {{"content-type", "application/json"}, {"trace", QByteArray("\xff\xfe", 2)}}));
    }
    return held;
}

} // namespace tessaron::browserfixtures
