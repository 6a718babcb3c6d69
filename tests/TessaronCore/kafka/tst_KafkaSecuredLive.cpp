// Signing in and TLS against a real broker: its SASL and TLS listeners and a user whose ACLs let it
// see one topic. Skipped unless scripts/services/kafka.service.sh started the broker.
#include "support/LiveKafka.h"
#include "support/SyncWait.h"

#include "TessaronCore/kafka/KafkaClient.h"

#include <QElapsedTimer>
#include <QTest>

using namespace tessaron;
using namespace tessaron::testing;

namespace {

QString env(const char* name) { return qEnvironmentVariable(name); }

Broker secured(BrokerSecurity security, const char* bootstrapVariable)
{
    Broker broker = LiveKafka(env(bootstrapVariable).toUtf8()).broker();
    broker.security = security;
    return broker;
}

Broker signingIn(const QString& mechanism, const QString& user, bool overTls = false)
{
    Broker broker = overTls ? secured(BrokerSecurity::saslSSL, "TESSARON_TEST_KAFKA_SASL_SSL_BOOTSTRAP")
                            : secured(BrokerSecurity::saslPlaintext, "TESSARON_TEST_KAFKA_SASL_BOOTSTRAP");
    if (overTls)
        broker.caPath = env("TESSARON_TEST_KAFKA_CA_FILE");
    broker.saslMechanism = mechanism;
    broker.username = user;
    return broker;
}

const QStringList scram{QStringLiteral("SCRAM-SHA-256"), QStringLiteral("SCRAM-SHA-512")};

QStringList namesOf(const QList<Topic>& topics)
{
    QStringList names;
    for (const Topic& topic : topics)
        names << topic.name;
    return names;
}

// The listing's failure and how long it took to come.
std::pair<KafkaError, qint64> refusal(const Broker& broker, const std::optional<QString>& password)
{
    KafkaClient client(broker, password, std::nullopt, 8000);
    QElapsedTimer clock;
    clock.start();
    const KafkaError error = failureOf(client.topics(8000));
    return {error, clock.elapsed()};
}

} // namespace

class TestKafkaSecuredLive : public QObject {
    Q_OBJECT

    QString topicName;

private slots:
    void initTestCase()
    {
        if (env("TESSARON_TEST_KAFKA_SASL_BOOTSTRAP").isEmpty() || env("TESSARON_TEST_KAFKA_SSL_BOOTSTRAP").isEmpty()
            || env("TESSARON_TEST_KAFKA_SASL_SSL_BOOTSTRAP").isEmpty())
            QSKIP("the broker's SASL and TLS listeners are not named (scripts/services/kafka.service.sh names them)");
        LiveKafka live(LiveKafka::bootstrapFromEnvironment());
        topicName = LiveKafka::uniqueName(QStringLiteral("tessaron-secured-"));
        live.createTopic(topicName, 1, {});
        live.createTopic(env("TESSARON_TEST_KAFKA_READER_TOPIC"), 1, {});
        live.createTopic(env("TESSARON_TEST_KAFKA_GLIMPSE_TOPIC"), 1, {});
    }

    void signingInWithTheRightAndAWrongPassword_data()
    {
        QTest::addColumn<QString>("mechanism");
        QTest::addColumn<bool>("overTls");
        for (const QString& mechanism : scram) {
            QTest::newRow(qPrintable(mechanism + " over plaintext")) << mechanism << false;
            QTest::newRow(qPrintable(mechanism + " over TLS")) << mechanism << true;
        }
    }

    // Every broker line signs in with SCRAM (4.0 and later check the client's final nonce, which
    // older libraries got wrong, so the right password was refused).
    void signingInWithTheRightAndAWrongPassword()
    {
        QFETCH(QString, mechanism);
        QFETCH(bool, overTls);
        const QString admin = env("TESSARON_TEST_KAFKA_ADMIN_USER");
        KafkaClient client(signingIn(mechanism, admin, overTls), env("TESSARON_TEST_KAFKA_ADMIN_PASSWORD"),
                           std::nullopt, 10000);
        QVERIFY(namesOf(syncWait(client.topics(10000))).contains(topicName));

        // Refused as soon as the broker says so, not after the whole wait; the session reads it as
        // a connection that cannot be used, and says why.
        const auto [error, ms] = refusal(signingIn(mechanism, admin, overTls), QStringLiteral("not-the-password"));
        QVERIFY2(error.message().startsWith("listing topics: the broker refused the user name or password ("),
                 qPrintable(error.message()));
        QVERIFY(error.isTimeout());
        QVERIFY2(ms < 4000, qPrintable(QString::number(ms)));
    }

    void tlsTrustsTheNamedAuthorityOnly()
    {
        Broker broker = secured(BrokerSecurity::ssl, "TESSARON_TEST_KAFKA_SSL_BOOTSTRAP");
        broker.caPath = env("TESSARON_TEST_KAFKA_CA_FILE");
        KafkaClient client(broker, std::nullopt, std::nullopt, 10000);
        QVERIFY(namesOf(syncWait(client.topics(10000))).contains(topicName));

        // Without it the system's authorities are asked, and none of them signed the run's certificate.
        broker.caPath.clear();
        const auto [error, ms] = refusal(broker, std::nullopt);
        QVERIFY2(error.message().startsWith("listing topics: the broker's certificate is not trusted"),
                 qPrintable(error.message()));
        QVERIFY(error.isTimeout());
        QVERIFY2(ms < 4000, qPrintable(QString::number(ms)));
    }

    void aRestrictedUserSeesWhatItMayAndIsRefusedTheRest()
    {
        KafkaClient client(signingIn(QStringLiteral("SCRAM-SHA-512"), env("TESSARON_TEST_KAFKA_READER_USER")),
                           env("TESSARON_TEST_KAFKA_READER_PASSWORD"), std::nullopt, 10000);
        // What its ACLs let it describe, and nothing else; and the broker says so when asked.
        QCOMPARE(namesOf(syncWait(client.topics(10000))),
                 (QStringList{env("TESSARON_TEST_KAFKA_GLIMPSE_TOPIC"), env("TESSARON_TEST_KAFKA_READER_TOPIC")}));
        QCOMPARE(syncWait(client.clusterOperations(10000)), std::optional<QStringList>(QStringList{}));
        // A refusal of the broker's, never a lost connection.
        const KafkaError described = failureOf(client.describe(QStringLiteral("tessaron-secured-group"), 10000));
        QCOMPARE(described.code(), int32_t(RD_KAFKA_RESP_ERR_GROUP_AUTHORIZATION_FAILED));
        QVERIFY(!described.isTimeout());
    }
};

QTEST_GUILESS_MAIN(TestKafkaSecuredLive)
#include "tst_KafkaSecuredLive.moc"
