#pragma once

// RabbitMQ clients for tests: the management API opened up, and a broker definition for a node.

#include "TessaronCore/rabbit/RabbitClient.h"
#include "support/SyncWait.h"

// The client with its one-request operation opened up, for driving the management API directly.
class OpenRabbitClient : public tessaron::RabbitClient {
public:
    using RabbitClient::RabbitClient;
    using RabbitClient::request;
};

inline tessaron::Broker rabbitBroker(const QString& bootstrap, const QString& vhost = QString(),
                                     const QString& user = QString())
{
    tessaron::Broker broker;
    broker.name = QStringLiteral("test");
    broker.kind = tessaron::BrokerKind::rabbitmq;
    broker.bootstrap = bootstrap;
    broker.vhost = vhost;
    broker.username = user;
    return broker;
}
