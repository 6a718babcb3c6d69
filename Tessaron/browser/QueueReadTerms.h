#pragma once

#include <QString>

#include <optional>

namespace tessaron {

class BrokerSession;

// What reading a RabbitMQ queue costs beyond the redelivered flag, as the session last learnt it:
// a queue the client will not read (a quorum queue with a delivery limit, a stream) comes with the
// client's sentence saying why, shown in place of the consent; a quorum queue without a limit is
// read, but every read raises each message's delivery count, which the consent says.
struct QueueReadTerms {
    std::optional<QString> refusal;
    bool raisesDeliveryCount = false;
    friend bool operator==(const QueueReadTerms&, const QueueReadTerms&) = default;

    static QueueReadTerms of(const BrokerSession& session, const QString& queue);
};

} // namespace tessaron
