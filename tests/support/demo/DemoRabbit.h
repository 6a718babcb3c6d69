#pragma once

#include "TessaronCore/model/Broker.h"

#include <QCoroTask>
#include <QString>
#include <QUuid>

#include <memory>

namespace tessaron::demo {

class AmqpConsumers;

// The demo's RabbitMQ side, seeded into one virtual host of a running node through its
// management API (the loopback node scripts/demo and scripts/test start):
//   - "orders.created": bound to the topic exchange "orders", with orders routed through it;
//   - "email-notifications": two consumers holding one message each, its rejects and expired
//     messages dead-lettered through the fanout exchange "notifications.dlx";
//   - "notifications.dead-letter": bound to that exchange, holding messages that really expired;
//   - "legacy-reports": bound to nothing but the default exchange, with a few old messages.
// The consumers last as long as the object.
class DemoRabbit {
public:
    static inline const QString routedQueue = QStringLiteral("orders.created");
    static inline const QString consumedQueue = QStringLiteral("email-notifications");
    static inline const QString deadLetterQueue = QStringLiteral("notifications.dead-letter");
    static inline const QString unboundQueue = QStringLiteral("legacy-reports");
    static constexpr int consumers = 2;
    // Messages each queue holds once seeding has settled (the consumed queue's count includes
    // the two its consumers hold unacknowledged).
    static constexpr int routedMessages = 12;
    static constexpr int consumedMessages = 8;
    static constexpr int deadLetters = 4;
    static constexpr int unboundMessages = 5;

    // Creates the virtual host when missing (the default "/" always exists), declares and fills
    // the queues, and starts the consumers over AMQP on the port the node's management API names.
    // Throws KafkaError for a refusal of the management API and std::runtime_error for one of
    // AMQP. The account is the node's guest account unless told otherwise.
    static QCoro::Task<std::unique_ptr<DemoRabbit>> seed(QString managementURL, QString vhost,
                                                         QString user = QStringLiteral("guest"),
                                                         QString password = QStringLiteral("guest"));
    ~DemoRabbit();

    DemoRabbit(const DemoRabbit&) = delete;
    DemoRabbit& operator=(const DemoRabbit&) = delete;

    // "Demo RabbitMQ": the management address, the guest user, the virtual host; no password is
    // stored, so the client falls back to the guest account's own.
    Broker broker() const;
    const QString& vhost() const { return m_vhost; }

    // Stops the consumers and deletes the virtual host with everything in it (tests clean up with
    // it; "/" is never deleted, only its demo queues and exchanges).
    QCoro::Task<> remove();

private:
    DemoRabbit(QString url, QString vhost, QString user, QString password);

    QString m_url;
    QString m_vhost;
    QString m_user;
    QString m_password;
    QUuid m_id;
    std::unique_ptr<AmqpConsumers> m_consumers;
};

} // namespace tessaron::demo
