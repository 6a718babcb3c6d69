#pragma once

#include "TessaronCore/model/Broker.h"

#include <QByteArray>
#include <QCoroTask>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>

namespace tessaron {

// The two writes the application makes to a Kafka cluster. `KafkaWriter` is the real one; tests
// of callers may substitute their own. Every operation is a coroutine that fails with `KafkaError`.
class KafkaWriting {
public:
    // The reason the user gave for a write (known to callers as KafkaWriter::Mandate).
    struct Mandate {
        QString reason;
        friend bool operator==(const Mandate&, const Mandate&) = default;
    };

    // The header every produced message carries, with the mandate's reason as its value.
    static constexpr const char* reasonHeader = "tessaron-reason";

    virtual ~KafkaWriting() = default;

    virtual const Broker& broker() const = 0;

    // Files one message and waits up to `timeoutMs` for the broker's acknowledgement; returns 1.
    // An absent partition lets the partitioner choose; an absent key sends none. The reason
    // header is appended after the caller's headers.
    [[nodiscard]] virtual QCoro::Task<int64_t> produce(QString topic, std::optional<int32_t> partition,
                                                       std::optional<QByteArray> key, QByteArray payload,
                                                       QList<std::pair<QString, QString>> headers, Mandate mandate,
                                                       int32_t timeoutMs) = 0;
    // The library's name of the group's state ("Empty" when the cluster does not list it).
    [[nodiscard]] virtual QCoro::Task<QString> groupState(QString group, int32_t timeoutMs) = 0;
    // Moves the group's committed offsets on one topic; refused unless the group is "Empty" or
    // `force` is set, with groupNotEmptyCode.
    [[nodiscard]] virtual QCoro::Task<void> resetOffsets(QString group, QString topic,
                                                         QMap<int32_t, int64_t> partitions, Mandate mandate, bool force,
                                                         int32_t timeoutMs) = 0;
    static constexpr int32_t groupNotEmptyCode = -4;
};

} // namespace tessaron
