#pragma once

#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/kafka/KafkaPairs.h"
#include "TessaronCore/kafka/KafkaWriting.h"

#include <memory>

namespace tessaron {

class SerialQueue;
namespace kafka {
struct WriterState;
}

// The only component that writes to a Kafka cluster: it files a message and moves a consumer
// group's offsets. Made for one write and then released.
//
// Every library call runs on the writer's own serial queue ("tessaron.velkin.kafka.write").
// Releasing the writer posts a flush of up to 2000 ms and the handle's destruction to that queue.
class KafkaWriter final : public KafkaWriting {
public:
    // Builds the producer on the calling thread; throws KafkaError.
    KafkaWriter(Broker broker, std::optional<QString> password, std::optional<QString> clientKeyPassword,
                int32_t timeoutMs);
    ~KafkaWriter() override;
    KafkaWriter(const KafkaWriter&) = delete;
    KafkaWriter& operator=(const KafkaWriter&) = delete;

    const Broker& broker() const override { return m_broker; }

    [[nodiscard]] QCoro::Task<int64_t> produce(QString topic, std::optional<int32_t> partition,
                                               std::optional<QByteArray> key, QByteArray payload,
                                               QList<std::pair<QString, QString>> headers, Mandate mandate,
                                               int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<QString> groupState(QString group, int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<void> resetOffsets(QString group, QString topic, QMap<int32_t, int64_t> partitions,
                                                 Mandate mandate, bool force, int32_t timeoutMs) override;

    // The largest message the writer hands to a broker: what the reader can fetch back (the
    // library's default fetch.max.bytes). Anything smaller is for the broker to accept or refuse.
    static constexpr int32_t largestMessageBytes = 52428800;

    // The producer's configuration pairs, in the order they are applied.
    static KafkaPairs configurationPairs(const Broker& broker, const std::optional<QString>& password,
                                         const std::optional<QString>& clientKeyPassword, int32_t timeoutMs);

private:
    Broker m_broker;
    std::unique_ptr<SerialQueue> m_queue;
    std::shared_ptr<kafka::WriterState> m_state;
};

} // namespace tessaron
