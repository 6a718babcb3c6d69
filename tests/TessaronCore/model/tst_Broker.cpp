#include "TessaronCore/model/Broker.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QtTest>

using namespace tessaron;

namespace {

const QString kId = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");

std::optional<Broker> decode(const QByteArray& json)
{
    return Broker::fromJson(QJsonDocument::fromJson(json).object());
}

QByteArray minimalWith(const QByteArray& extra)
{
    return "{\"id\":\"" + kId.toUtf8() + "\",\"name\":\"n\"" + extra + "}";
}

Broker sample()
{
    return Broker{QUuid::fromString(kId),        QStringLiteral("prod"),    BrokerKind::rabbitmq,
                  QStringLiteral("h:9092"),      BrokerSecurity::saslSSL,   QStringLiteral("SCRAM-SHA-512"),
                  QStringLiteral("u"),           QStringLiteral("/ca.pem"), QStringLiteral("/c.pem"),
                  QStringLiteral("/k.pem"),      QStringLiteral("/v"),      true,
                  QStringLiteral("https://reg"), QStringLiteral("ru")};
}

} // namespace

class TestBroker : public QObject {
    Q_OBJECT
private slots:
    void enumerationTables()
    {
        QCOMPARE(BrokerKind::allCases().size(), 4);
        QCOMPARE(BrokerKind(BrokerKind::sqs).label(), QStringLiteral("Amazon SQS"));
        QCOMPARE(BrokerKind(BrokerKind::rabbitmq).label(), QStringLiteral("RabbitMQ"));
        QCOMPARE(BrokerSecurity(BrokerSecurity::saslSSL).securityProtocol(), QStringLiteral("sasl_ssl"));
        QCOMPARE(BrokerSecurity(BrokerSecurity::saslSSL).badge(), QStringLiteral("SASL+TLS"));
        QCOMPARE(BrokerSecurity(BrokerSecurity::ssl).badge(), QStringLiteral("TLS"));
        QVERIFY(BrokerSecurity(BrokerSecurity::saslPlaintext).needsCredentials());
        QVERIFY(!BrokerSecurity(BrokerSecurity::saslPlaintext).usesTLS());
        QVERIFY(!BrokerSecurity(BrokerSecurity::ssl).needsCredentials());
        QVERIFY(BrokerSecurity(BrokerSecurity::ssl).usesTLS());
        QCOMPARE(BrokerSecurity::fromRawValue(QStringLiteral("saslSSL")), BrokerSecurity(BrokerSecurity::saslSSL));
        QVERIFY(!BrokerSecurity::fromRawValue(QStringLiteral("sasl_ssl")));
        QVERIFY(!BrokerKind::fromRawValue(QStringLiteral("Kafka")));
    }

    void minimalObjectTakesDefaults()
    {
        const auto b = decode(minimalWith(""));
        QVERIFY(b);
        QCOMPARE(b->name, QStringLiteral("n"));
        QCOMPARE(b->kind, BrokerKind(BrokerKind::kafka));
        QCOMPARE(b->security, BrokerSecurity(BrokerSecurity::plaintext));
        QCOMPARE(b->saslMechanism, QStringLiteral("PLAIN"));
        QVERIFY(b->bootstrap.isEmpty() && b->username.isEmpty() && b->vhost.isEmpty()
                && b->schemaRegistryURL.isEmpty());
        QVERIFY(!b->isFavorite);
    }

    void nullsTakeDefaults()
    {
        const auto b = decode(minimalWith(",\"kind\":null,\"security\":null,\"saslMechanism\":null,\"isFavorite\":null,"
                                          "\"bootstrap\":null,\"future\":[1,2]"));
        QVERIFY(b);
        QCOMPARE(b->kind, BrokerKind(BrokerKind::kafka));
        QCOMPARE(b->saslMechanism, QStringLiteral("PLAIN"));
        QCOMPARE(decode(minimalWith(",\"kind\":\"sqs\""))->kind, BrokerKind(BrokerKind::sqs));
        // An empty mechanism is a stored value, not an absent one.
        QCOMPARE(decode(minimalWith(",\"saslMechanism\":\"\""))->saslMechanism, QString());
    }

    void badRecordsFail_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("no id") << QByteArray("{\"name\":\"n\"}");
        QTest::newRow("no name") << QByteArray("{\"id\":\"" + kId.toUtf8() + "\"}");
        QTest::newRow("null name") << minimalWith("").replace("\"n\"", "null");
        QTest::newRow("braced id") << QByteArray("{\"id\":\"{" + kId.toUtf8() + "}\",\"name\":\"n\"}");
        QTest::newRow("short id") << QByteArray("{\"id\":\"6F9619FF\",\"name\":\"n\"}");
        QTest::newRow("library protocol name") << minimalWith(",\"security\":\"sasl_ssl\"");
        QTest::newRow("unknown kind") << minimalWith(",\"kind\":\"kinesis\"");
        QTest::newRow("kind as number") << minimalWith(",\"kind\":1");
        QTest::newRow("favourite as text") << minimalWith(",\"isFavorite\":\"true\"");
        QTest::newRow("favourite as number") << minimalWith(",\"isFavorite\":1");
        QTest::newRow("bootstrap as number") << minimalWith(",\"bootstrap\":9092");
        QTest::newRow("vhost as object") << minimalWith(",\"vhost\":{}");
    }
    void badRecordsFail()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!decode(json));
    }

    void nilUuidIsValid()
    {
        const auto b = decode("{\"id\":\"00000000-0000-0000-0000-000000000000\",\"name\":\"n\"}");
        QVERIFY(b);
        QVERIFY(b->id.isNull());
    }

    void roundTripWithEveryKeyUpperCaseId()
    {
        const Broker b = sample();
        const QJsonObject o = b.toJson();
        QCOMPARE(o.size(), 14);
        QCOMPARE(o.value("id").toString(), kId);
        QCOMPARE(o.value("security").toString(), QStringLiteral("saslSSL"));
        QCOMPARE(o.value("kind").toString(), QStringLiteral("rabbitmq"));
        QVERIFY(o.value("isFavorite").isBool());
        QCOMPARE(Broker::fromJson(o), std::optional<Broker>(b));

        Broker lower = b;
        lower.id = QUuid::fromString(kId.toLower());
        QCOMPARE(lower.toJson().value("id").toString(), kId);

        Broker empty{QUuid::createUuid(), {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, false, {}, {}};
        QCOMPARE(empty.toJson().size(), 14);
        QCOMPARE(Broker::fromJson(empty.toJson()), std::optional<Broker>(empty));
    }

    void derivedFacts()
    {
        Broker b = sample();
        b.security = BrokerSecurity::ssl;
        b.clientKeyPath.clear();
        QVERIFY(!b.usesClientCertificate());
        b.clientKeyPath = QStringLiteral("/k.pem");
        QVERIFY(b.usesClientCertificate());
        b.security = BrokerSecurity::plaintext;
        QVERIFY(!b.usesClientCertificate());

        b.schemaRegistryURL = QStringLiteral("   ");
        QVERIFY(!b.hasSchemaRegistry());
        b.schemaRegistryURL = QStringLiteral(" \t ");
        QVERIFY(!b.hasSchemaRegistry());
        b.schemaRegistryURL = QStringLiteral("\n");
        QVERIFY(b.hasSchemaRegistry());
    }

    void favouriteMakesAnotherValueSameIdentity()
    {
        Broker a = sample();
        Broker b = a;
        b.isFavorite = !a.isFavorite;
        QVERIFY(a != b);
        QCOMPARE(a.id, b.id);
        QCOMPARE(QSet<Broker>({a, b}).size(), 2);
        QCOMPARE(qHash(a), qHash(sample()));
    }
};

QTEST_GUILESS_MAIN(TestBroker)
#include "tst_Broker.moc"
