#pragma once

#include "TessaronCore/kafka/KafkaWriting.h"
#include "Tessaron/state/RegistryDecoding.h"
#include "TessaronCore/kafka/KafkaReading.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/rabbit/RabbitClient.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace tessaron {

// Makes the broker clients of sessions and connection tests. The application uses
// `ClientFactory::live()`; tests hand sessions their own factory.
class ClientFactory {
public:
    virtual ~ClientFactory() = default;

    // Each throws KafkaError when the client cannot be made.
    virtual std::shared_ptr<KafkaReading> makeKafka(const Broker& broker, const std::optional<QString>& password,
                                                    const std::optional<QString>& clientKeyPassword,
                                                    int32_t timeoutMs) = 0;
    virtual std::shared_ptr<RabbitClient> makeRabbit(const Broker& broker, const std::optional<QString>& password,
                                                     const std::optional<QString>& clientKeyPassword,
                                                     int32_t timeoutMs) = 0;
    virtual std::shared_ptr<KafkaWriting> makeWriter(const Broker& broker, const std::optional<QString>& password,
                                                     const std::optional<QString>& clientKeyPassword,
                                                     int32_t timeoutMs) = 0;
    // None for an empty or unusable address; never throws.
    virtual std::shared_ptr<RegistryDecoding> makeRegistry(const QString& url, const QString& username,
                                                           const std::optional<QString>& password,
                                                           int32_t timeoutMs) = 0;

    // The real clients.
    static std::shared_ptr<ClientFactory> live();
};

} // namespace tessaron
