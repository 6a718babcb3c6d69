#include "TessaronCore/kafka/KafkaClient.h"

#include "VelkinInfra/async/SerialQueue.h"
#include "TessaronCore/kafka/KafkaSupport.h"

#include <cstring>

namespace tessaron {

using namespace kafka;

KafkaClient::KafkaClient(Broker broker, std::optional<QString> password, std::optional<QString> clientKeyPassword,
                         int32_t timeoutMs)
    : m_broker(std::move(broker))
    , m_password(std::move(password))
    , m_clientKeyPassword(std::move(clientKeyPassword))
    , m_timeoutMs(timeoutMs)
    , m_queue(std::make_unique<SerialQueue>("tessaron.velkin.kafka"))
    , m_handle(std::make_shared<SharedHandle>())
{
    m_handle->raw =
        createHandle(RD_KAFKA_CONSUMER, configurationPairs(m_broker, m_password, m_clientKeyPassword, m_timeoutMs),
                     nullptr, &m_handle->notes);
}

KafkaClient::~KafkaClient()
{
    // Behind every pending job, on the worker: never on the releasing thread, and the queue's
    // worker ends by itself once this last job has run.
    m_queue->post([handle = m_handle]() {
        rd_kafka_destroy(handle->raw);
        handle->raw = nullptr;
    });
}

KafkaPairs KafkaClient::configurationPairs(const Broker& broker, const std::optional<QString>& password,
                                           const std::optional<QString>& clientKeyPassword, int32_t timeoutMs,
                                           const KafkaPairs& extra)
{
    KafkaPairs pairs{
        {QStringLiteral("bootstrap.servers"), broker.bootstrap},
        {QStringLiteral("security.protocol"), broker.security.securityProtocol()},
        {QStringLiteral("allow.auto.create.topics"), QStringLiteral("false")},
        {QStringLiteral("enable.auto.commit"), QStringLiteral("false")},
        {QStringLiteral("enable.partition.eof"), QStringLiteral("true")},
        {QStringLiteral("socket.timeout.ms"), QString::number(timeoutMs)},
        {QStringLiteral("client.id"), QStringLiteral("tessaron")},
    };
    pairs += saslPairs(broker, password);
    pairs += tlsPairs(broker, clientKeyPassword);
    // A broker holds a fetch that finds nothing new for up to this long (500 ms by default). A page
    // stops at the partition's end, but the library has already fetched on ahead by then, and the
    // next request on that connection (the next page's lookups and fetch) waits behind the held
    // fetch; so does a page that learns of the end from the library's end event. The reading
    // handle never waits for new messages, so it asks brokers not to hold fetches.
    pairs.append({QStringLiteral("fetch.wait.max.ms"), QStringLiteral("1")});
    pairs += extra;
    return pairs;
}

KafkaPairs KafkaClient::saslPairs(const Broker& broker, const std::optional<QString>& password)
{
    if (!broker.security.needsCredentials())
        return {};
    return {
        {QStringLiteral("sasl.mechanism"), broker.saslMechanism},
        {QStringLiteral("sasl.username"), broker.username},
        {QStringLiteral("sasl.password"), password.value_or(QString())},
    };
}

KafkaPairs KafkaClient::tlsPairs(const Broker& broker, const std::optional<QString>& clientKeyPassword)
{
    if (!broker.security.usesTLS())
        return {};
    KafkaPairs pairs{{QStringLiteral("ssl.ca.location"),
                      broker.caPath.isEmpty() ? QString::fromLatin1(systemCABundle) : broker.caPath}};
    if (broker.usesClientCertificate()) {
        pairs.append({QStringLiteral("ssl.certificate.location"), broker.clientCertPath});
        pairs.append({QStringLiteral("ssl.key.location"), broker.clientKeyPath});
        if (clientKeyPassword && !clientKeyPassword->isEmpty())
            pairs.append({QStringLiteral("ssl.key.password"), *clientKeyPassword});
    }
    return pairs;
}

QString KafkaClient::errorBufferText(const char* buffer, size_t size)
{
    const void* zero = std::memchr(buffer, 0, size);
    const size_t length = zero ? static_cast<const char*>(zero) - buffer : size;
    return QString::fromUtf8(buffer, static_cast<qsizetype>(length));
}

} // namespace tessaron
