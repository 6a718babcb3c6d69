#pragma once

// RabbitMQ for tests: the management API opened up, a broker definition for a node, and a virtual
// host of a test's own on the node the services start.

#include "TessaronCore/rabbit/RabbitClient.h"
#include "support/SyncWait.h"

#include <memory>

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

namespace tessaron::testing {

// A virtual host of its own on the node TESSARON_TEST_RABBITMQ_URL names (as guest), deleted when
// this goes. A step that fails throws std::runtime_error.
class ScratchVhost {
public:
    // The node's management address; empty when there is none and the test should skip.
    static QString nodeUrl();

    // A virtual host named `prefix` and a fresh identifier.
    ScratchVhost(const QString& url, const QString& prefix);
    ~ScratchVhost();
    ScratchVhost(const ScratchVhost&) = delete;
    ScratchVhost& operator=(const ScratchVhost&) = delete;

    const Broker& broker() const { return m_broker; }
    // Declares a queue with this body of the management API ("{\"durable\":true}").
    void declareQueue(const QString& name, const QByteArray& body);

private:
    void request(const QString& method, const QString& path, std::optional<QByteArray> body = std::nullopt);

    Broker m_broker;
    QString m_path;
    std::unique_ptr<OpenRabbitClient> m_admin;
};

} // namespace tessaron::testing
