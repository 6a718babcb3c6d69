#include "Tessaron/state/ClientFactory.h"

#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/kafka/KafkaWriter.h"

#if __has_include("TessaronCore/avro/SchemaRegistryClient.h")
#include "TessaronCore/avro/SchemaRegistryClient.h"
#define TESSARON_HAS_REGISTRY 1
#endif

namespace tessaron {

namespace {

#ifdef TESSARON_HAS_REGISTRY
// The registry client reports failures as values; the session only needs the decoding or the
// failure's sentence.
class LiveRegistry final : public RegistryDecoding {
public:
    explicit LiveRegistry(std::shared_ptr<SchemaRegistryClient> client)
        : m_client(std::move(client))
    { }
    QCoro::Task<Result> decode(QByteArray payload) override
    {
        // The client is a QObject of the main thread; it stays alive while this decode runs.
        auto client = m_client;
        SchemaRegistryClient::Result result = co_await client->decode(payload);
        if (auto* decoded = std::get_if<Message::Decoded>(&result))
            co_return Result(std::move(*decoded));
        co_return Result(std::get<SchemaRegistryClient::Failure>(result).message());
    }
    void startRead() override { m_client->forgetOutage(); }

private:
    std::shared_ptr<SchemaRegistryClient> m_client;
};
#endif

class LiveClientFactory final : public ClientFactory {
public:
    std::shared_ptr<KafkaReading> makeKafka(const Broker& broker, const std::optional<QString>& password,
                                            const std::optional<QString>& clientKeyPassword, int32_t timeoutMs) override
    {
        return std::make_shared<KafkaClient>(broker, password, clientKeyPassword, timeoutMs);
    }

    std::shared_ptr<RabbitClient> makeRabbit(const Broker& broker, const std::optional<QString>& password,
                                             const std::optional<QString>& clientKeyPassword,
                                             int32_t timeoutMs) override
    {
        return std::make_shared<RabbitClient>(broker, password, timeoutMs, clientKeyPassword);
    }

    std::shared_ptr<KafkaWriting> makeWriter(const Broker& broker, const std::optional<QString>& password,
                                             const std::optional<QString>& clientKeyPassword,
                                             int32_t timeoutMs) override
    {
        return std::make_shared<KafkaWriter>(broker, password, clientKeyPassword, timeoutMs);
    }

    std::shared_ptr<RegistryDecoding> makeRegistry(const QString& url, const QString& username,
                                                   const std::optional<QString>& password, int32_t timeoutMs) override
    {
#ifdef TESSARON_HAS_REGISTRY
        std::shared_ptr<SchemaRegistryClient> client = SchemaRegistryClient::create(url, username, password, timeoutMs);
        if (!client)
            return nullptr;
        return std::make_shared<LiveRegistry>(std::move(client));
#else
        Q_UNUSED(url)
        Q_UNUSED(username)
        Q_UNUSED(password)
        Q_UNUSED(timeoutMs)
        return nullptr;
#endif
    }
};

} // namespace

std::shared_ptr<ClientFactory> ClientFactory::live()
{
    static const std::shared_ptr<ClientFactory> factory = std::make_shared<LiveClientFactory>();
    return factory;
}

} // namespace tessaron
