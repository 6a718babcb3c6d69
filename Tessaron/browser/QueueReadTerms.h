#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace tessaron {

class BrokerSession;

// What reading a RabbitMQ queue costs beyond the redelivered flag: a queue the client will not
// read (a quorum queue with a delivery limit, a stream) comes with the client's sentence saying
// why, shown in place of the consent; a quorum queue without a limit is read, but every read
// raises each message's delivery count, which the consent says.
struct QueueReadTerms {
    std::optional<QString> refusal;
    bool raisesDeliveryCount = false;
    friend bool operator==(const QueueReadTerms&, const QueueReadTerms&) = default;

    using Provider = std::function<QueueReadTerms(const BrokerSession&, const QString& queue)>;
    // The terms of one queue of the session's broker.
    static QueueReadTerms of(const BrokerSession& session, const QString& queue);
    // Replaces where the terms come from; an empty function brings back the session's own.
    static void setProvider(Provider provider);
};

} // namespace tessaron
