#include "support/RabbitTestSupport.h"

#include <QUuid>

#include <stdexcept>

namespace tessaron::testing {

QString ScratchVhost::nodeUrl() { return qEnvironmentVariable("TESSARON_TEST_RABBITMQ_URL"); }

ScratchVhost::ScratchVhost(const QString& url, const QString& prefix)
    : m_broker(rabbitBroker(url, prefix + QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("guest")))
    , m_path(RabbitClient::percentEncoded(m_broker.vhost))
    , m_admin(std::make_unique<OpenRabbitClient>(m_broker, QStringLiteral("guest"), 60000))
{
    m_broker.id = QUuid::createUuid();
    request(QStringLiteral("PUT"), QStringLiteral("/api/vhosts/") + m_path);
}

ScratchVhost::~ScratchVhost() { outcomeOf(m_admin->request(QStringLiteral("DELETE"), "/api/vhosts/" + m_path)); }

void ScratchVhost::declareQueue(const QString& name, const QByteArray& body)
{
    request(QStringLiteral("PUT"), "/api/queues/" + m_path + '/' + RabbitClient::percentEncoded(name), body);
}

void ScratchVhost::request(const QString& method, const QString& path, std::optional<QByteArray> body)
{
    const auto outcome = outcomeOf(m_admin->request(method, path, body));
    if (outcome.error)
        throw std::runtime_error(QString(method + ' ' + path + ": " + outcome.error->message()).toStdString());
}

} // namespace tessaron::testing
