#pragma once

#include "TessaronCore/rabbit/RabbitClient.h"

#include <QCoroTask>

#include <optional>

// What a client operation ended with: its value or its KafkaError. QCoro::waitFor alone would
// wait forever on a task that throws, so tests settle tasks through this.
template <typename T> struct Outcome {
    std::optional<T> value;
    std::optional<tessaron::KafkaError> error;
};
template <> struct Outcome<void> {
    bool done = false;
    std::optional<tessaron::KafkaError> error;
};

template <typename T> QCoro::Task<Outcome<T>> attempt(QCoro::Task<T> task)
{
    Outcome<T> outcome;
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
            outcome.done = true;
        } else {
            outcome.value = co_await task;
        }
    } catch (const tessaron::KafkaError& error) {
        outcome.error = error;
    }
    co_return outcome;
}

template <typename T> Outcome<T> settle(QCoro::Task<T>&& task) { return QCoro::waitFor(attempt(std::move(task))); }

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
