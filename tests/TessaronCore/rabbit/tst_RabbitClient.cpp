// Against the real RabbitMQ node that scripts/test starts (TESSARON_TEST_RABBITMQ_URL). Every run
// works in a virtual host of its own, created here and deleted at the end.
#include "support/RabbitTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QUuid>

using namespace tessaron;
using testing::outcomeOf;

class TestRabbitClient : public QObject {
    Q_OBJECT

    QString m_url;
    QString m_vhost;
    std::unique_ptr<OpenRabbitClient> m_admin; // in our virtual host
    std::unique_ptr<RabbitClient> m_client;    // in our virtual host

    QString vhostPath() const { return RabbitClient::percentEncoded(m_vhost); }

    bool admin(const QString& method, const QString& path, const QJsonObject& body = QJsonObject())
    {
        const auto outcome =
            outcomeOf(m_admin->request(method, path, QJsonDocument(body).toJson(QJsonDocument::Compact)));
        if (outcome.error)
            qWarning() << method << path << outcome.error->code() << outcome.error->message();
        return !outcome.error;
    }

    bool declare(const QString& queue)
    {
        return admin("PUT", "/api/queues/" + vhostPath() + '/' + RabbitClient::percentEncoded(queue),
                     QJsonObject{{"durable", false}});
    }

    // Publishes through the API itself, so that properties of any JSON type can be sent.
    bool publishRaw(const QString& queue, const QJsonObject& properties, const QString& payload)
    {
        return admin("POST", "/api/exchanges/" + vhostPath() + "/amq.default/publish",
                     QJsonObject{{"properties", properties},
                                 {"routing_key", queue},
                                 {"payload", payload},
                                 {"payload_encoding", "string"}});
    }

    std::optional<int64_t> listedDepth(const QString& queue)
    {
        const auto outcome = outcomeOf(m_client->queues());
        if (!outcome.value)
            return std::nullopt;
        for (const Topic& topic : *outcome.value)
            if (topic.name == queue)
                return topic.declaredDepth;
        return std::nullopt;
    }

    // The payload bytes the node's statistics count in a queue; they can lag its depth under load.
    std::optional<int64_t> listedBytes(const QString& queue)
    {
        const auto outcome = outcomeOf(
            m_admin->request("GET", "/api/queues/" + vhostPath() + '/' + RabbitClient::percentEncoded(queue)));
        if (!outcome.value)
            return std::nullopt;
        const QJsonValue bytes = QJsonDocument::fromJson(*outcome.value).object().value("message_bytes");
        return bytes.isDouble() ? std::optional<int64_t>(bytes.toInteger()) : std::nullopt;
    }

    static QList<Message::Header> headersOf(const Message& message) { return message.headers(); }

private slots:
    void initTestCase()
    {
        m_url = qEnvironmentVariable("TESSARON_TEST_RABBITMQ_URL");
        if (m_url.isEmpty())
            QSKIP("TESSARON_TEST_RABBITMQ_URL is not set: no RabbitMQ node to test against (scripts/test starts one)");
        // A slash and a blank in the name put the encoding of every path to the test.
        m_vhost = "tessaron test/" + QUuid::createUuid().toString(QUuid::WithoutBraces);
        // The admin client only prepares the node; a busy node may take long to import definitions.
        m_admin = std::make_unique<OpenRabbitClient>(rabbitBroker(m_url, m_vhost), std::nullopt, 60000);
        QVERIFY(admin("PUT", "/api/vhosts/" + vhostPath()));
        m_client = std::make_unique<RabbitClient>(rabbitBroker(m_url, m_vhost), std::nullopt, 10000);
    }

    void cleanupTestCase()
    {
        if (m_admin && !m_vhost.isEmpty())
            QVERIFY(admin("DELETE", "/api/vhosts/" + vhostPath()));
    }

    void brandNewQueueListsWithZeroes()
    {
        QVERIFY(declare("fresh"));
        QVERIFY(declare("Amq.not-internal"));
        const auto outcome = outcomeOf(m_client->queuesWithConsumers());
        QVERIFY2(!outcome.error, qPrintable(outcome.error ? outcome.error->message() : QString()));
        QStringList names;
        for (const Topic& queue : outcome.value->queues) {
            names << queue.name;
            QVERIFY(!queue.isInternal);
            QCOMPARE(queue.declaredDepth, std::optional<int64_t>(0));
        }
        QVERIFY(names.indexOf("Amq.not-internal") < names.indexOf("fresh"));
        QCOMPARE(outcome.value->consumers.value("fresh", -1), 0);
    }

    void encodedNameWorksEndToEnd()
    {
        const QString queue = "a/b c é";
        QVERIFY(declare(queue));
        const auto published = outcomeOf(m_client->publish(queue, "olá", {{"trace", "t-1"}}, "checking names"));
        QVERIFY2(published.done, qPrintable(published.error ? published.error->message() : QString()));

        const auto read = outcomeOf(m_client->read(queue, 10));
        QVERIFY(read.value);
        QCOMPARE(read.value->size(), 1);
        const Message& message = read.value->first();
        QCOMPARE(message.topic(), queue);
        QCOMPARE(*message.payload(), QString("olá").toUtf8());
        QCOMPARE(*message.key(), queue.toUtf8());

        const auto bindings = outcomeOf(m_client->bindings(queue));
        QVERIFY(bindings.value);
        QCOMPARE(*bindings.value, QList<QueueBinding>({{"", queue}}));

        const auto listing = outcomeOf(m_client->queues());
        QVERIFY(listing.value);
        QVERIFY(
            std::any_of(listing.value->begin(), listing.value->end(), [&](const Topic& t) { return t.name == queue; }));
    }

    void bindingsIncludeTheDefaultExchange()
    {
        QVERIFY(declare("bound"));
        QVERIFY(admin("POST", "/api/bindings/" + vhostPath() + "/e/amq.direct/q/bound",
                      QJsonObject{{"routing_key", "rk.1"}}));
        const auto outcome = outcomeOf(m_client->bindings("bound"));
        QVERIFY(outcome.value);
        QCOMPARE(outcome.value->size(), 2);
        QVERIFY(outcome.value->contains(QueueBinding{"", "bound"}));
        QVERIFY(outcome.value->contains(QueueBinding{"amq.direct", "rk.1"}));
        // The server answers for a queue that does not exist with its default binding alone.
        const auto ghost = outcomeOf(m_client->bindings("ghost"));
        QVERIFY(ghost.value);
        QCOMPARE(*ghost.value, QList<QueueBinding>({{"", "ghost"}}));
    }

    void readingRequeues()
    {
        const QString queue = "requeue";
        QVERIFY(declare(queue));
        for (const char* payload : {"one", "two", "three"})
            QVERIFY(outcomeOf(m_client->publish(queue, payload, {}, "seeding")).done);

        const auto first = outcomeOf(m_client->read(queue, 10));
        QVERIFY(first.value);
        QCOMPARE(first.value->size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(first.value->at(i).offset(), i);
            QCOMPARE(first.value->at(i).partition(), 0);
            QVERIFY(!first.value->at(i).headers().contains(Message::Header{"redelivered", "true"}));
        }
        QCOMPARE(*first.value->at(0).payload(), QByteArray("one"));

        const auto second = outcomeOf(m_client->read(queue, 2));
        QVERIFY(second.value);
        QCOMPARE(second.value->size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(second.value->at(i).offset(), i);
            QCOMPARE(second.value->at(i).headers().last(), (Message::Header{"redelivered", "true"}));
        }

        // A negative limit must not hand over the whole queue.
        const auto negative = outcomeOf(m_client->read(queue, -1));
        QVERIFY(negative.value);
        QVERIFY(negative.value->isEmpty());

        // Nothing was taken away: the queue still declares its three messages.
        QTRY_COMPARE_WITH_TIMEOUT(listedDepth(queue), std::optional<int64_t>(3), 15000);
        const auto third = outcomeOf(m_client->read(queue, 10));
        QCOMPARE(third.value->size(), 3);
    }

    void publishedReasonOverridesCallerHeader()
    {
        const QString queue = "reasons";
        QVERIFY(declare(queue));
        QVERIFY(outcomeOf(m_client->publish(queue, "{\"a\":1}", {{"tessaron-reason", "caller's"}, {"trace", "t-9"}},
                                            "fix the typo"))
                    .done);
        const auto read = outcomeOf(m_client->read(queue, 1));
        QVERIFY(read.value);
        QCOMPARE(read.value->size(), 1);
        const QList<Message::Header> headers = read.value->first().headers();
        QVERIFY(headers.contains(Message::Header{"tessaron-reason", "fix the typo"}));
        QVERIFY(headers.contains(Message::Header{"trace", "t-9"}));
        QCOMPARE(headers.size(), 2);
    }

    void payloadBytesSurvive()
    {
        const QString queue = "bytes";
        QVERIFY(declare(queue));
        const QList<QByteArray> payloads = {QByteArray("\xff\x00\xfe\x80", 4),
                                            QByteArray("\xEF\xBB\xBFtext with a mark"), QByteArray("nul\0inside", 10),
                                            QByteArray()};
        for (const QByteArray& payload : payloads)
            QVERIFY(outcomeOf(m_client->publish(queue, payload, {}, "bytes")).done);
        const auto read = outcomeOf(m_client->read(queue, 10));
        QVERIFY(read.value);
        QCOMPARE(read.value->size(), payloads.size());
        for (int i = 0; i < payloads.size(); ++i)
            QCOMPARE(*read.value->at(i).payload(), payloads[i]);
    }

    void headerValuesKeepTheirTypes()
    {
        const QString queue = "typed";
        QVERIFY(declare(queue));
        const QJsonObject headers{{"flag", true},
                                  {"count", 7},
                                  {"ratio", 1.5},
                                  {"list", QJsonArray{1, "x"}},
                                  {"nested", QJsonObject{{"k", "v"}}}};
        QVERIFY(publishRaw(queue, QJsonObject{{"headers", headers}}, "typed"));
        QVERIFY(publishRaw(queue, QJsonObject(), "bare")); // comes back with "properties": []
        const auto read = outcomeOf(m_client->read(queue, 10));
        QVERIFY(read.value);
        QCOMPARE(read.value->size(), 2);
        const QList<Message::Header> expected = {
            {"count", "7"}, {"flag", "true"}, {"list", "[1,\"x\"]"}, {"nested", "{\"k\":\"v\"}"}, {"ratio", "1.5"}};
        QCOMPARE(read.value->at(0).headers(), expected);
        QVERIFY(read.value->at(1).headers().isEmpty());
        QCOMPARE(*read.value->at(1).payload(), QByteArray("bare"));
    }

    void readsRefuseWhatMoreThanRequeues()
    {
        // A quorum queue with a delivery limit of 2: three reads would drop every message.
        QVERIFY(admin("PUT", "/api/queues/" + vhostPath() + "/limited",
                      QJsonObject{{"durable", true},
                                  {"arguments", QJsonObject{{"x-queue-type", "quorum"}, {"x-delivery-limit", 2}}}}));
        for (const char* payload : {"one", "two", "three"})
            QVERIFY(outcomeOf(m_client->publish("limited", payload, {}, "seeding")).done);
        for (int i = 0; i < 3; ++i) {
            const auto read = outcomeOf(m_client->read("limited", 10));
            QVERIFY(read.error);
            QCOMPARE(read.error->code(), -1);
            QVERIFY2(read.error->message().contains("delivery limit of 2"), qPrintable(read.error->message()));
        }
        QTRY_COMPARE_WITH_TIMEOUT(listedDepth("limited"), std::optional<int64_t>(3), 15000);

        // A limit set by policy counts too, and the smaller one wins.
        QVERIFY(admin("PUT", "/api/policies/" + vhostPath() + "/limit-by-policy",
                      QJsonObject{{"pattern", "^policed$"},
                                  {"apply-to", "queues"},
                                  {"definition", QJsonObject{{"delivery-limit", 5}}}}));
        QVERIFY(admin("PUT", "/api/queues/" + vhostPath() + "/policed",
                      QJsonObject{{"durable", true}, {"arguments", QJsonObject{{"x-queue-type", "quorum"}}}}));
        QTRY_COMPARE_WITH_TIMEOUT(outcomeOf(m_client->readCost("policed")).value->deliveryLimit,
                                  std::optional<int64_t>(5), 15000);
        QVERIFY(outcomeOf(m_client->read("policed", 1)).error);

        // Streams cannot be read through the management API at all.
        QVERIFY(admin("PUT", "/api/queues/" + vhostPath() + "/stream",
                      QJsonObject{{"durable", true}, {"arguments", QJsonObject{{"x-queue-type", "stream"}}}}));
        const auto stream = outcomeOf(m_client->read("stream", 1));
        QVERIFY(stream.error);
        QCOMPARE(stream.error->code(), -1);
        QVERIFY2(stream.error->message().contains("stream"), qPrintable(stream.error->message()));

        // A quorum queue without a limit reads as before (this server's version applies none),
        // and says that each read counts a delivery.
        QVERIFY(admin("PUT", "/api/queues/" + vhostPath() + "/unlimited",
                      QJsonObject{{"durable", true}, {"arguments", QJsonObject{{"x-queue-type", "quorum"}}}}));
        QVERIFY(outcomeOf(m_client->publish("unlimited", "kept", {}, "seeding")).done);
        const auto cost = outcomeOf(m_client->readCost("unlimited"));
        QVERIFY(cost.value);
        QCOMPARE(cost.value->type, QString("quorum"));
        QVERIFY(cost.value->raisesDeliveryCount());
        const auto read = outcomeOf(m_client->read("unlimited", 10));
        QVERIFY2(read.value, qPrintable(read.error ? read.error->message() : QString()));
        QCOMPARE(read.value->size(), 1);
    }

    void publishIsPersistent()
    {
        QVERIFY(admin("PUT", "/api/queues/" + vhostPath() + "/durable", QJsonObject{{"durable", true}}));
        QVERIFY(outcomeOf(m_client->publish("durable", "keep me", {}, "restart-proof")).done);
        const auto raw = outcomeOf(m_admin->request(
            "POST", "/api/queues/" + vhostPath() + "/durable/get",
            QJsonDocument(QJsonObject{{"count", 1}, {"ackmode", "ack_requeue_true"}, {"encoding", "auto"}})
                .toJson(QJsonDocument::Compact)));
        QVERIFY(raw.value);
        const QJsonObject properties =
            QJsonDocument::fromJson(*raw.value).array().first().toObject().value("properties").toObject();
        QCOMPARE(properties.value("delivery_mode").toInt(), 2);
    }

    void largeAnswersReadWhole()
    {
        // Twenty messages that compress very well, 8 MB in all: each within its share of the
        // bound, so all arrive whole.
        const QString queue = "large";
        QVERIFY(declare(queue));
        const QByteArray payload(400 * 1024, 'a');
        for (int i = 0; i < 20; ++i)
            QVERIFY(outcomeOf(m_client->publish(queue, payload, {}, "large")).done);
        const auto read = outcomeOf(m_client->read(queue, 20));
        QVERIFY2(read.value, qPrintable(read.error ? read.error->message() : QString()));
        QCOMPARE(read.value->size(), 20);
        QCOMPARE(*read.value->last().payload(), payload);
    }

    void publishToMissingQueue()
    {
        const auto outcome = outcomeOf(m_client->publish("nowhere-queue", "x", {}, "reason"));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(),
                 QString("the broker accepted the message but routed it nowhere — is nowhere-queue still declared?"));
    }

    void readMissingQueueSaysWhy()
    {
        const auto outcome = outcomeOf(m_client->read("ghost", 1));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), RabbitClient::goneCode);
        QCOMPARE(outcome.error->message(), QString("the queue \u201cghost\u201d no longer exists on the broker"));
    }

    void missingVirtualHostIsNotAMissingPlugin()
    {
        RabbitClient client(rabbitBroker(m_url, m_vhost + "-absent"), std::nullopt, 10000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(), "the broker has no virtual host \u201c" + m_vhost + "-absent\u201d");
        // In a virtual host that exists, the queue is what is missing.
        const auto queue = outcomeOf(m_client->readCost("ghost"));
        QCOMPARE(queue.error->code(), RabbitClient::goneCode);
    }

    void dotNamedQueuesAreReachedWithoutTheirPath()
    {
        // The server drops "." and ".." from a path even as %2E; such queues can only be declared
        // through definitions, in a virtual host whose own name needs encoding.
        const QString vhost = "tessaron dots é/" + QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString vhostPath = "/api/vhosts/" + RabbitClient::percentEncoded(vhost);
        QVERIFY(admin("PUT", vhostPath));
        auto queueDefinition = [&](const QString& name) {
            return QJsonObject{{"name", name},
                               {"vhost", vhost},
                               {"durable", false},
                               {"auto_delete", false},
                               {"arguments", QJsonObject()}};
        };
        const QJsonObject definitions{
            {"queues", QJsonArray{queueDefinition("."), queueDefinition(".."), queueDefinition("a")}},
            {"bindings",
             QJsonArray{QJsonObject{{"source", "amq.direct"},
                                    {"vhost", vhost},
                                    {"destination", ".."},
                                    {"destination_type", "queue"},
                                    {"routing_key", "rk"},
                                    {"arguments", QJsonObject()}}}}};
        QVERIFY(admin("POST", "/api/definitions", definitions));
        RabbitClient client(rabbitBroker(m_url, vhost), std::nullopt, 10000);

        const auto listing = outcomeOf(client.queues());
        QVERIFY(listing.value);
        QStringList names;
        for (const Topic& topic : *listing.value)
            names << topic.name;
        QCOMPARE(names, QStringList({".", "..", "a"}));

        QCOMPARE(*outcomeOf(client.bindings(".")).value, QList<QueueBinding>({{"", "."}}));
        QCOMPARE(*outcomeOf(client.bindings("..")).value, QList<QueueBinding>({{"", ".."}, {"amq.direct", "rk"}}));
        const auto cost = outcomeOf(client.readCost(".."));
        QVERIFY2(cost.value, qPrintable(cost.error ? cost.error->message() : QString()));
        QCOMPARE(cost.value->type, QString("classic"));

        const auto filed = outcomeOf(client.publish(".", "to the dot", {}, "names"));
        QVERIFY2(filed.done, qPrintable(filed.error ? filed.error->message() : QString()));
        // Reading has no other address: refused with the reason, and nothing was taken.
        const auto read = outcomeOf(client.read(".", 5));
        QVERIFY(read.error);
        QCOMPARE(read.error->code(), -1);
        QCOMPARE(read.error->message(),
                 QString("The RabbitMQ management API cannot address a queue named \u201c.\u201d: "
                         "its web server drops that name from the request's address, so I can't "
                         "read it here."));
        const auto depth = [&] {
            const auto again = outcomeOf(client.queues());
            return again.value ? again.value->first().declaredDepth : std::nullopt;
        };
        QTRY_COMPARE_WITH_TIMEOUT(depth(), std::optional<int64_t>(1), 10000);

        QVERIFY(admin("DELETE", vhostPath));

        // A virtual host of such a name cannot be addressed at all; nothing is sent.
        RabbitClient dotted(rabbitBroker(m_url, ".."), std::nullopt, 10000);
        const auto refused = outcomeOf(dotted.queues());
        QVERIFY(refused.error);
        QVERIFY2(refused.error->message().startsWith(
                     "The RabbitMQ management API cannot address a virtual host named \u201c..\u201d"),
                 qPrintable(refused.error->message()));
    }

    void refusalKeepsTheServersReason()
    {
        // A user without the management tag passes the login but not the management API.
        const QString user = "tessaron-plain-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString userPath = "/api/users/" + RabbitClient::percentEncoded(user);
        QVERIFY(admin("PUT", userPath, QJsonObject{{"password", "pw"}, {"tags", ""}}));
        RabbitClient client(rabbitBroker(m_url, m_vhost, user), QStringLiteral("pw"), 10000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(admin("DELETE", userPath));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(), QString("the broker refused these credentials: Not management user"));
    }

    void longPayloadsAreCutSoTheReadFits()
    {
        // Six payloads of 3 MB: whole, the answer would pass the 16 MB bound after the server had
        // already taken them. Cut, the read fits and keeps their real size apart from the headers,
        // where a header of the same name is the message's own.
        const QString queue = "cut";
        QVERIFY(declare(queue));
        const QString big(3 * 1024 * 1024, QLatin1Char('x'));
        for (int i = 0; i < 6; ++i)
            QVERIFY(publishRaw(queue, QJsonObject{{"headers", QJsonObject{{"truncated", "mine"}}}}, big));
        QVERIFY(publishRaw(queue, QJsonObject(), "small"));
        const auto read = outcomeOf(m_client->read(queue, 7));
        QVERIFY2(read.value, qPrintable(read.error ? read.error->message() : QString()));
        QCOMPARE(read.value->size(), 7);
        for (int i = 0; i < 6; ++i) {
            const Message& message = read.value->at(i);
            QVERIFY(message.payload()->size() < big.size());
            QCOMPARE(*message.payload(), big.toLatin1().left(message.payload()->size()));
            QCOMPARE(message.wholePayloadSize(), std::optional<int64_t>(big.size()));
            QCOMPARE(headersOf(message), QList<Message::Header>({{"truncated", "mine"}}));
        }
        QCOMPARE(*read.value->at(6).payload(), QByteArray("small"));
        QVERIFY(!read.value->at(6).isPayloadCut());
    }

    void payloadsThatFitTogetherComeWhole()
    {
        // Ten payloads of 1 MiB fit the bound together: none is cut, whatever the read's limit.
        const QString queue = "whole";
        QVERIFY(declare(queue));
        const QByteArray payload(1024 * 1024, 'y');
        for (int i = 0; i < 10; ++i)
            QVERIFY(outcomeOf(m_client->publish(queue, payload, {}, "whole")).done);
        QTRY_COMPARE_WITH_TIMEOUT(listedDepth(queue), std::optional<int64_t>(10), 15000);
        // Whether they fit is judged from the counted bytes, which may follow the depth a moment later.
        QTRY_COMPARE_WITH_TIMEOUT(listedBytes(queue), std::optional<int64_t>(10 * payload.size()), 15000);
        const auto read = outcomeOf(m_client->read(queue, 100));
        QVERIFY2(read.value, qPrintable(read.error ? read.error->message() : QString()));
        QCOMPARE(read.value->size(), 10);
        for (const Message& message : *read.value) {
            QVERIFY(!message.isPayloadCut());
            QCOMPARE(*message.payload(), payload);
        }
    }

    void controlBytesCannotPassTheBound()
    {
        // Valid UTF-8 made of control bytes costs six characters a byte as JSON text: a hundred
        // such payloads of 100,000 bytes would make an answer of 60 MB.
        const QString queue = "controls";
        QVERIFY(declare(queue));
        const QByteArray payload(100000, '\x01');
        for (int i = 0; i < 100; ++i)
            QVERIFY(outcomeOf(m_client->publish(queue, payload, {}, "controls")).done);
        const auto read = outcomeOf(m_client->read(queue, 100));
        QVERIFY2(read.value, qPrintable(read.error ? read.error->message() : QString()));
        QCOMPARE(read.value->size(), 100);
        QCOMPARE(*read.value->last().payload(), payload);
        // The queue's depth follows the node's statistics.
        QTRY_COMPARE_WITH_TIMEOUT(outcomeOf(m_client->depth(queue)).value.value_or(std::nullopt),
                                  std::optional<int64_t>(100), 15000);
    }

    void manyQueuesListAcrossPages()
    {
        // More queues than one page holds: every one listed once, in name order.
        QStringList declared;
        for (int i = 0; i < RabbitClient::listingPageSize + 5; ++i) {
            declared << QString("many-%1").arg(i, 3, 10, QLatin1Char('0'));
            QVERIFY(declare(declared.last()));
        }
        const auto listing = outcomeOf(m_client->queuesWithConsumers());
        QVERIFY2(listing.value, qPrintable(listing.error ? listing.error->message() : QString()));
        QStringList many;
        for (const Topic& queue : listing.value->queues) {
            if (queue.name.startsWith("many-"))
                many << queue.name;
        }
        QCOMPARE(many, declared);
    }

    void refusedCredentials_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<std::optional<QString>>("password");
        QTest::newRow("wrong password") << "guest" << std::optional<QString>("wrong");
        QTest::newRow("empty password") << QString() << std::optional<QString>("");
        QTest::newRow("unknown user") << "nobody" << std::optional<QString>();
    }

    void refusedCredentials()
    {
        QFETCH(QString, user);
        QFETCH(std::optional<QString>, password);
        RabbitClient client(rabbitBroker(m_url, m_vhost, user), password, 10000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(), QString("the broker refused these credentials"));
    }

    void clientGoneBeforeTheAnswer()
    {
        // The request outlives its client and still settles.
        auto client = std::make_unique<RabbitClient>(rabbitBroker(m_url, m_vhost), std::nullopt, 10000);
        QCoro::Task<QList<Topic>> task = client->queues();
        client.reset();
        const auto outcome = outcomeOf(std::move(task));
        QVERIFY(outcome.value);
    }
};

QTEST_GUILESS_MAIN(TestRabbitClient)
#include "tst_RabbitClient.moc"
