#include "DemoRabbit.h"

#include "AmqpConsumers.h"

#include "TessaronCore/rabbit/RabbitClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <stdexcept>

namespace tessaron::demo {

namespace {

// The client's one-request call, opened up for the calls the application itself never makes.
class Management : public RabbitClient {
public:
    using RabbitClient::RabbitClient;
    using RabbitClient::request;
};

QByteArray json(const QJsonObject& object) { return QJsonDocument(object).toJson(QJsonDocument::Compact); }

QCoro::Task<QByteArray> call(Management& api, QString method, QString path, std::optional<QByteArray> body = {})
{
    auto task = api.request(std::move(method), std::move(path), std::move(body));
    co_return co_await std::move(task);
}

struct Paths {
    QString vhost; // encoded
    QString queue(const QString& name) const
    {
        return "/api/queues/" + vhost + '/' + RabbitClient::percentEncoded(name);
    }
    QString exchange(const QString& name) const
    {
        return "/api/exchanges/" + vhost + '/' + RabbitClient::percentEncoded(name);
    }
    QString binding(const QString& exchange, const QString& queue) const
    {
        return "/api/bindings/" + vhost + "/e/" + RabbitClient::percentEncoded(exchange) + "/q/"
            + RabbitClient::percentEncoded(queue);
    }
};

QCoro::Task<> publish(Management& api, Paths paths, QString exchange, QString routingKey, QByteArray payload,
                      QJsonObject properties)
{
    const QByteArray body = json(QJsonObject{{"properties", properties},
                                             {"routing_key", routingKey},
                                             {"payload", QString::fromUtf8(payload)},
                                             {"payload_encoding", "string"}});
    const QString path = paths.exchange(exchange.isEmpty() ? QStringLiteral("amq.default") : exchange) + "/publish";
    auto task = call(api, QStringLiteral("POST"), path, body);
    const QByteArray answer = co_await std::move(task);
    if (!QJsonDocument::fromJson(answer).object().value("routed").toBool())
        throw std::runtime_error("rabbitmq routed a demo message nowhere (" + routingKey.toStdString() + ")");
}

QJsonObject headers(std::initializer_list<std::pair<const char*, QString>> pairs)
{
    QJsonObject h;
    for (const auto& [name, value] : pairs)
        h.insert(QString::fromUtf8(name), value);
    return QJsonObject{{"headers", h}, {"content_type", "application/json"}};
}

} // namespace

DemoRabbit::DemoRabbit(QString url, QString vhost, QString user, QString password)
    : m_url(std::move(url))
    , m_vhost(std::move(vhost))
    , m_user(std::move(user))
    , m_password(std::move(password))
    , m_id(QUuid::createUuid())
{ }

DemoRabbit::~DemoRabbit() = default;

Broker DemoRabbit::broker() const
{
    Broker broker;
    broker.id = m_id;
    broker.name = QStringLiteral("Demo RabbitMQ");
    broker.kind = BrokerKind::rabbitmq;
    broker.bootstrap = m_url;
    broker.security = BrokerSecurity::plaintext;
    broker.saslMechanism = QStringLiteral("PLAIN");
    broker.username = m_user;
    broker.vhost = m_vhost == QLatin1String("/") ? QString() : m_vhost;
    return broker;
}

QCoro::Task<std::unique_ptr<DemoRabbit>> DemoRabbit::seed(QString managementURL, QString vhost, QString user,
                                                          QString password)
{
    std::unique_ptr<DemoRabbit> demo(new DemoRabbit(managementURL, vhost.isEmpty() ? "/" : vhost, user, password));
    Management api(demo->broker(), password, 10000);
    const Paths paths{RabbitClient::percentEncoded(demo->m_vhost)};

    if (demo->m_vhost != QLatin1String("/")) {
        auto created = call(api, "PUT", "/api/vhosts/" + paths.vhost);
        co_await std::move(created);
    }

    const QList<std::pair<QString, QString>> exchanges = {{"orders", "topic"}, {"notifications.dlx", "fanout"}};
    for (const auto& exchange : exchanges) {
        auto declared =
            call(api, "PUT", paths.exchange(exchange.first), json({{"type", exchange.second}, {"durable", true}}));
        co_await std::move(declared);
    }
    const QList<std::pair<QString, QJsonObject>> queues = {
        {routedQueue, {}},
        {consumedQueue, {{"x-dead-letter-exchange", "notifications.dlx"}}},
        {deadLetterQueue, {}},
        {unboundQueue, {}},
    };
    for (const auto& queue : queues) {
        auto declared = call(api, "PUT", paths.queue(queue.first),
                             json({{"durable", true}, {"auto_delete", false}, {"arguments", queue.second}}));
        co_await std::move(declared);
    }
    const QList<QStringList> bindings = {
        {"orders", routedQueue, "order.created"},
        {"notifications.dlx", deadLetterQueue, ""},
    };
    for (const QStringList& binding : bindings) {
        auto bound = call(api, "POST", paths.binding(binding[0], binding[1]), json({{"routing_key", binding[2]}}));
        co_await std::move(bound);
    }

    for (int i = 0; i < routedMessages; ++i) {
        const QByteArray order = json({{"orderId", QString("ord-%1").arg(20001 + i)},
                                       {"customer", QString("cust-%1").arg(1 + (i * 7) % 40)},
                                       {"total", double(1200 + i * 377 % 9000) / 100.0},
                                       {"currency", i % 3 == 0 ? "USD" : "EUR"}});
        auto sent = publish(api, paths, "orders", "order.created", order, headers({{"source", "checkout-service"}}));
        co_await std::move(sent);
    }
    // Messages that expire on arrival are dead-lettered by the server itself, with its own
    // x-death record, so the dead-letter queue holds the real thing.
    static const char* const templates[] = {"order-shipped", "password-reset", "welcome", "invoice-ready"};
    for (int i = 0; i < deadLetters; ++i) {
        const QByteArray mail = json(
            {{"to", QString("customer%1@example.com").arg(i + 3)}, {"template", templates[i % 4]}, {"attempt", 1}});
        QJsonObject properties = headers({{"source", "notifier"}});
        properties.insert("expiration", "1");
        auto sent = publish(api, paths, {}, consumedQueue, mail, properties);
        co_await std::move(sent);
    }
    for (int i = 0; i < consumedMessages; ++i) {
        const QByteArray mail = json({{"to", QString("customer%1@example.com").arg(i + 10)},
                                      {"template", templates[(i + 1) % 4]},
                                      {"attempt", 1}});
        auto sent = publish(api, paths, {}, consumedQueue, mail, headers({{"source", "notifier"}}));
        co_await std::move(sent);
    }
    for (int i = 0; i < unboundMessages; ++i) {
        const QByteArray report = QString("2019-0%1-01;monthly-sales;region=%2;rows=%3")
                                      .arg(i + 1)
                                      .arg(i % 2 ? "south" : "north")
                                      .arg(120 + i * 13)
                                      .toUtf8();
        QJsonObject properties{{"content_type", "text/plain"}};
        auto sent = publish(api, paths, {}, unboundQueue, report, properties);
        co_await std::move(sent);
    }

    // The node's AMQP listener, as the management API reports it; always reached on loopback.
    auto overviewTask = call(api, "GET", "/api/overview");
    const QByteArray overview = co_await std::move(overviewTask);
    quint16 port = 0;
    for (const QJsonValue listener : QJsonDocument::fromJson(overview).object().value("listeners").toArray()) {
        if (listener.toObject().value("protocol").toString() == QLatin1String("amqp"))
            port = quint16(listener.toObject().value("port").toInt());
    }
    if (port == 0)
        throw std::runtime_error("the rabbitmq node reports no AMQP listener");
    demo->m_consumers = std::make_unique<AmqpConsumers>(QStringLiteral("127.0.0.1"), port, user, password,
                                                        demo->m_vhost, QStringList(consumers, consumedQueue));
    co_return demo;
}

QCoro::Task<> DemoRabbit::remove()
{
    m_consumers.reset();
    Management api(broker(), m_password, 10000);
    const Paths paths{RabbitClient::percentEncoded(m_vhost)};
    if (m_vhost != QLatin1String("/")) {
        auto removed = call(api, "DELETE", "/api/vhosts/" + paths.vhost);
        co_await std::move(removed);
        co_return;
    }
    const QStringList queues = {routedQueue, consumedQueue, deadLetterQueue, unboundQueue};
    for (const QString& queue : queues) {
        auto removed = call(api, "DELETE", paths.queue(queue));
        co_await std::move(removed);
    }
    const QStringList exchanges = {QStringLiteral("orders"), QStringLiteral("notifications.dlx")};
    for (const QString& exchange : exchanges) {
        auto removed = call(api, "DELETE", paths.exchange(exchange));
        co_await std::move(removed);
    }
}

} // namespace tessaron::demo
