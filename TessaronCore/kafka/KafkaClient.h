#pragma once

#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/kafka/KafkaPairs.h"
#include "TessaronCore/kafka/KafkaReading.h"

#include <memory>
#include <optional>

namespace tessaron {

class SerialQueue;
namespace kafka {
struct SharedHandle;
}

// The read-only Kafka client of one open broker. It owns one library consumer handle that never
// joins a group, never subscribes, never commits and never creates a topic.
//
// Every library call runs on the client's own serial queue ("tessaron.velkin.kafka") in the order
// the operations were called; the caller's thread never blocks. Operations may be started while
// others are pending: their library work queues behind. Destroying the client posts the handle's
// destruction to that queue, behind any work still pending.
class KafkaClient final : public KafkaReading {
public:
    // Builds the configuration and the handle on the calling thread; throws KafkaError.
    KafkaClient(Broker broker, std::optional<QString> password, std::optional<QString> clientKeyPassword,
                int32_t timeoutMs);
    ~KafkaClient() override;
    KafkaClient(const KafkaClient&) = delete;
    KafkaClient& operator=(const KafkaClient&) = delete;

    const Broker& broker() const override { return m_broker; }

    [[nodiscard]] QCoro::Task<QList<Topic>> topics(int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<Topic> watermarks(Topic topic, int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<QList<MarkedTopic>> watermarksOf(QList<Topic> topics, int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<QList<ConsumerGroup>> groups(int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<GroupDescription> describe(QString group, int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<std::optional<QStringList>> clusterOperations(int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<QHash<TopicPartitionRef, int64_t>> committed(QString group, int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<QList<GroupOffset>> offsets(QString group, Topic topic, int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<QMap<int32_t, int64_t>> offsets(QDateTime moment, Topic topic,
                                                              int32_t timeoutMs) override;
    [[nodiscard]] QCoro::Task<Page> page(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                         int32_t timeoutMs) override;
    // Every partition's start looked up at once, then every partition consumed through one queue.
    [[nodiscard]] QCoro::Task<QList<PartitionPage>> pages(QString topic, QList<PartitionStart> starts, qsizetype limit,
                                                          int32_t timeoutMs) override;

    // The reading handle's configuration pairs, in the order they are applied: the fixed seven,
    // the SASL and TLS pairs, the fetch wait, and `extra` last.
    static KafkaPairs configurationPairs(const Broker& broker, const std::optional<QString>& password,
                                         const std::optional<QString>& clientKeyPassword, int32_t timeoutMs,
                                         const KafkaPairs& extra = {});
    // The SASL pairs shared with the writer; empty unless the security needs credentials.
    static KafkaPairs saslPairs(const Broker& broker, const std::optional<QString>& password);
    // The TLS pairs shared with the writer; empty unless the security uses TLS.
    static KafkaPairs tlsPairs(const Broker& broker, const std::optional<QString>& clientKeyPassword);
    // The text of a library error buffer: up to the first zero byte, as UTF-8.
    static QString errorBufferText(const char* buffer, size_t size);

    // The CA bundle used when a TLS broker names none.
    static constexpr const char* systemCABundle = "/etc/ssl/certs/ca-certificates.crt";

private:
    Broker m_broker;
    std::optional<QString> m_password;
    std::optional<QString> m_clientKeyPassword;
    int32_t m_timeoutMs;
    std::unique_ptr<SerialQueue> m_queue;
    std::shared_ptr<kafka::SharedHandle> m_handle;
};

} // namespace tessaron
