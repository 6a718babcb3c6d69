#include "TessaronCore/kafka/KafkaClient.h"
#include "TessaronCore/kafka/KafkaSupport.h"
#include "TessaronCore/kafka/KafkaWriter.h"

#include <QTest>
#include <QTimeZone>

using namespace tessaron;

namespace {

Broker broker(BrokerSecurity security)
{
    Broker b;
    b.id = QUuid::createUuid();
    b.name = QStringLiteral("b");
    b.bootstrap = QStringLiteral(" host:9092 ");
    b.security = security;
    b.saslMechanism = QStringLiteral("SCRAM-SHA-256");
    b.username = QStringLiteral("ana");
    return b;
}

QStringList keys(const KafkaPairs& pairs)
{
    QStringList out;
    for (const auto& pair : pairs)
        out << pair.first;
    return out;
}

QString value(const KafkaPairs& pairs, const QString& key)
{
    for (const auto& pair : pairs)
        if (pair.first == key)
            return pair.second;
    return QStringLiteral("<absent>");
}

template <typename F> KafkaError thrown(F make)
{
    try {
        make();
    } catch (const KafkaError& e) {
        return e;
    }
    return KafkaError(0, QStringLiteral("nothing thrown"));
}

} // namespace

class TestKafkaConfiguration : public QObject {
    Q_OBJECT
private slots:
    void plaintextReaderPairsInOrder()
    {
        const KafkaPairs pairs = KafkaClient::configurationPairs(broker(BrokerSecurity::plaintext),
                                                                 QStringLiteral("pw"), std::nullopt, 10000);
        const KafkaPairs expected{
            {"bootstrap.servers", " host:9092 "},
            {"security.protocol", "plaintext"},
            {"allow.auto.create.topics", "false"},
            {"enable.auto.commit", "false"},
            {"enable.partition.eof", "true"},
            {"socket.timeout.ms", "10000"},
            {"client.id", "tessaron"},
            // Not one of the seven: a fetch the broker holds back (500 ms by default) delays the
            // page that waits for the end and every request queued behind it.
            {"fetch.wait.max.ms", "1"},
        };
        QCOMPARE(pairs, expected);
        // Never a group: the reading handle cannot join one or commit.
        QVERIFY(!keys(pairs).contains("group.id"));
    }

    // Every pair, value and position for each security; the fetch wait (see above) follows the
    // SASL and TLS pairs and precedes the extra pairs.
    void readerPairsExactlyPerSecurity_data()
    {
        QTest::addColumn<Broker>("broker");
        QTest::addColumn<std::optional<QString>>("password");
        QTest::addColumn<std::optional<QString>>("keyPassword");
        QTest::addColumn<KafkaPairs>("expected");

        auto fixed = [](const char* protocol, const char* timeout) {
            return KafkaPairs{{"bootstrap.servers", " host:9092 "},
                              {"security.protocol", protocol},
                              {"allow.auto.create.topics", "false"},
                              {"enable.auto.commit", "false"},
                              {"enable.partition.eof", "true"},
                              {"socket.timeout.ms", timeout},
                              {"client.id", "tessaron"}};
        };
        const KafkaPairs fetch{{"fetch.wait.max.ms", "1"}};

        QTest::newRow("sasl_plaintext, no password")
            << broker(BrokerSecurity::saslPlaintext) << std::optional<QString>() << std::optional<QString>()
            << fixed("sasl_plaintext", "8000")
                + KafkaPairs{{"sasl.mechanism", "SCRAM-SHA-256"}, {"sasl.username", "ana"}, {"sasl.password", ""}}
                + fetch;

        Broker ssl = broker(BrokerSecurity::ssl);
        ssl.clientCertPath = QStringLiteral("/c.pem"); // without a key: no certificate pairs
        QTest::newRow("ssl, certificate without key")
            << ssl << std::optional<QString>("pw") << std::optional<QString>("kp")
            << fixed("ssl", "8000") + KafkaPairs{{"ssl.ca.location", "/etc/ssl/certs/ca-certificates.crt"}} + fetch;

        Broker sslFull = broker(BrokerSecurity::ssl);
        sslFull.caPath = QStringLiteral("/my/ca.pem");
        sslFull.clientCertPath = QStringLiteral("/c.pem");
        sslFull.clientKeyPath = QStringLiteral("/k.pem");
        QTest::newRow("ssl, certificate, key and passphrase")
            << sslFull << std::optional<QString>() << std::optional<QString>("kp")
            << fixed("ssl", "8000")
                + KafkaPairs{{"ssl.ca.location", "/my/ca.pem"},
                             {"ssl.certificate.location", "/c.pem"},
                             {"ssl.key.location", "/k.pem"},
                             {"ssl.key.password", "kp"}}
                + fetch;

        Broker saslSsl = broker(BrokerSecurity::saslSSL);
        saslSsl.clientCertPath = QStringLiteral("/c.pem");
        saslSsl.clientKeyPath = QStringLiteral("/k.pem");
        QTest::newRow("sasl_ssl, certificate and key, empty passphrase")
            << saslSsl << std::optional<QString>("pw") << std::optional<QString>("")
            << fixed("sasl_ssl", "8000")
                + KafkaPairs{{"sasl.mechanism", "SCRAM-SHA-256"},
                             {"sasl.username", "ana"},
                             {"sasl.password", "pw"},
                             {"ssl.ca.location", "/etc/ssl/certs/ca-certificates.crt"},
                             {"ssl.certificate.location", "/c.pem"},
                             {"ssl.key.location", "/k.pem"}}
                + fetch;
    }

    void readerPairsExactlyPerSecurity()
    {
        QFETCH(Broker, broker);
        QFETCH(std::optional<QString>, password);
        QFETCH(std::optional<QString>, keyPassword);
        QFETCH(KafkaPairs, expected);
        QCOMPARE(KafkaClient::configurationPairs(broker, password, keyPassword, 8000), expected);
        // The second handle of a group's committed offsets: the same pairs, its group last.
        QCOMPARE(KafkaClient::configurationPairs(broker, password, keyPassword, 8000, {{"group.id", "billing"}}),
                 (expected + KafkaPairs{{"group.id", "billing"}}));
    }

    // The producer: its own eight, then the same SASL and TLS pairs as the reader, nothing else
    // (no fetch wait, no commit or end-of-partition settings, never a group).
    void writerPairsExactly()
    {
        const KafkaPairs fixed{{"bootstrap.servers", " host:9092 "},
                               {"security.protocol", "sasl_ssl"},
                               {"allow.auto.create.topics", "false"},
                               {"socket.timeout.ms", "15000"},
                               {"client.id", "tessaron"},
                               {"acks", "all"},
                               {"enable.idempotence", "true"},
                               {"message.max.bytes", "52428800"}};
        Broker b = broker(BrokerSecurity::saslSSL);
        b.clientCertPath = QStringLiteral("/c.pem");
        b.clientKeyPath = QStringLiteral("/k.pem");
        QCOMPARE(KafkaWriter::configurationPairs(b, QStringLiteral("pw"), QStringLiteral("kp"), 15000),
                 (fixed
                  + KafkaPairs{{"sasl.mechanism", "SCRAM-SHA-256"},
                               {"sasl.username", "ana"},
                               {"sasl.password", "pw"},
                               {"ssl.ca.location", "/etc/ssl/certs/ca-certificates.crt"},
                               {"ssl.certificate.location", "/c.pem"},
                               {"ssl.key.location", "/k.pem"},
                               {"ssl.key.password", "kp"}}));

        KafkaPairs plain = fixed;
        plain[1].second = QStringLiteral("plaintext");
        plain[3].second = QStringLiteral("10000");
        QCOMPARE(KafkaWriter::configurationPairs(broker(BrokerSecurity::plaintext), QStringLiteral("pw"), std::nullopt,
                                                 10000),
                 plain);
    }

    void saslWithoutPasswordStillSetsAnEmptyOne()
    {
        const KafkaPairs pairs =
            KafkaClient::configurationPairs(broker(BrokerSecurity::saslPlaintext), std::nullopt, std::nullopt, 8000);
        QCOMPARE(keys(pairs).mid(7, 3), (QStringList{"sasl.mechanism", "sasl.username", "sasl.password"}));
        QCOMPARE(value(pairs, "sasl.password"), QString(""));
        QCOMPARE(value(pairs, "security.protocol"), QString("sasl_plaintext"));
        QCOMPARE(value(pairs, "sasl.mechanism"), QString("SCRAM-SHA-256"));
    }

    void tlsDefaultsToTheSystemBundleAndNeedsBothCertificateAndKey()
    {
        Broker b = broker(BrokerSecurity::ssl);
        b.clientCertPath = QStringLiteral("/c.pem");
        const KafkaPairs pairs = KafkaClient::configurationPairs(b, std::nullopt, QStringLiteral("secret"), 10000);
        QCOMPARE(keys(pairs).mid(7, 2), (QStringList{"ssl.ca.location", "fetch.wait.max.ms"}));
        QCOMPARE(value(pairs, "ssl.ca.location"), QString("/etc/ssl/certs/ca-certificates.crt"));

        b.caPath = QStringLiteral("/my/ca.pem");
        QCOMPARE(value(KafkaClient::tlsPairs(b, std::nullopt), "ssl.ca.location"), QString("/my/ca.pem"));
        QVERIFY(KafkaClient::tlsPairs(broker(BrokerSecurity::saslPlaintext), QStringLiteral("x")).isEmpty());
    }

    void saslSslWithCertificateAndEmptyPassphrase()
    {
        Broker b = broker(BrokerSecurity::saslSSL);
        b.clientCertPath = QStringLiteral("/c.pem");
        b.clientKeyPath = QStringLiteral("/k.pem");
        const KafkaPairs pairs = KafkaClient::configurationPairs(b, QStringLiteral("pw"), QStringLiteral(""), 10000);
        QCOMPARE(keys(pairs).mid(7, 6),
                 (QStringList{"sasl.mechanism", "sasl.username", "sasl.password", "ssl.ca.location",
                              "ssl.certificate.location", "ssl.key.location"}));
        QVERIFY(!keys(pairs).contains("ssl.key.password"));
        QCOMPARE(value(KafkaClient::tlsPairs(b, QStringLiteral("kp")), "ssl.key.password"), QString("kp"));
    }

    void extraPairsComeLast()
    {
        const KafkaPairs pairs = KafkaClient::configurationPairs(broker(BrokerSecurity::saslSSL), std::nullopt,
                                                                 std::nullopt, 10000, {{"group.id", "g"}});
        QCOMPARE(pairs.last(), (std::pair<QString, QString>("group.id", "g")));
    }

    void writerPairs()
    {
        const KafkaPairs pairs =
            KafkaWriter::configurationPairs(broker(BrokerSecurity::saslSSL), std::nullopt, std::nullopt, 10000);
        QCOMPARE(keys(pairs),
                 (QStringList{"bootstrap.servers", "security.protocol", "allow.auto.create.topics", "socket.timeout.ms",
                              "client.id", "acks", "enable.idempotence", "message.max.bytes", "sasl.mechanism",
                              "sasl.username", "sasl.password", "ssl.ca.location"}));
        QCOMPARE(value(pairs, "acks"), QString("all"));
        QCOMPARE(value(pairs, "enable.idempotence"), QString("true"));
        QCOMPARE(value(pairs, "sasl.password"), QString(""));
    }

    void refusedPairNamesItsKeyAndCarriesTheLibraryResult()
    {
        // 5 ms is below the library's minimum socket time-out: an invalid value.
        const KafkaError invalid =
            thrown([] { KafkaClient(broker(BrokerSecurity::plaintext), std::nullopt, std::nullopt, 5); });
        QCOMPARE(invalid.code(), -1);
        QVERIFY2(invalid.message().startsWith("socket.timeout.ms: "), qPrintable(invalid.message()));
        QVERIFY(invalid.message().size() > QString("socket.timeout.ms: ").size());

        const KafkaError writer =
            thrown([] { KafkaWriter(broker(BrokerSecurity::plaintext), std::nullopt, std::nullopt, 5); });
        QCOMPARE(writer.code(), -1);
        QVERIFY(writer.message().startsWith("socket.timeout.ms: "));

        const KafkaError unknown = thrown([] { kafka::createHandle(RD_KAFKA_CONSUMER, {{"no.such.property", "1"}}); });
        QCOMPARE(unknown.code(), -2);
        QVERIFY(unknown.message().startsWith("no.such.property: "));
    }

    void handleRefusedByTheLibraryGivesItsTextAlone()
    {
        Broker b = broker(BrokerSecurity::ssl);
        b.caPath = QStringLiteral("/nonexistent/tessaron-ca.pem");
        const KafkaError error = thrown([&] { KafkaClient(b, std::nullopt, std::nullopt, 10000); });
        QCOMPARE(error.code(), -1);
        QVERIFY(!error.message().isEmpty());
        QVERIFY2(!error.message().startsWith("ssl.ca.location: "), qPrintable(error.message()));
    }

    // A broker that took the connection and never answered (its process stopped) is said to be
    // silent, at its address; nothing points at its version.
    void aSilentBrokerIsSaidToBeSilentAtItsAddress()
    {
        QCOMPARE(kafka::connectionCause(RD_KAFKA_RESP_ERR__TRANSPORT,
                                        "127.0.0.1:40123/1: ApiVersionRequest failed: Local: Timed out: probably due "
                                        "to broker version < 0.10 (see api.version.request configuration) (after "
                                        "10009ms in state APIVERSION_QUERY)"),
                 QString("the broker at 127.0.0.1:40123 did not answer in time"));
        QCOMPARE(kafka::connectionCause(RD_KAFKA_RESP_ERR__TRANSPORT,
                                        "sasl_ssl://kafka.example:9093/bootstrap: ApiVersionRequest failed: Local: "
                                        "Timed out: probably due to broker version < 0.10 (see api.version.request "
                                        "configuration)"),
                 QString("the broker at kafka.example:9093 did not answer in time"));
        rd_kafka_t* rk = kafka::createHandle(RD_KAFKA_CONSUMER, {{"bootstrap.servers", "127.0.0.1:9"}});
        const KafkaError silent = kafka::unanswered(rk, QStringLiteral("describing g"), 10000);
        rd_kafka_destroy(rk);
        QVERIFY(silent.isTimeout());
        QCOMPARE(silent.message(), QString("describing g: the broker at 127.0.0.1:9 did not answer within 10 s"));
    }

    void errorRecord()
    {
        QVERIFY(KafkaError(-187, "x").isTimeout());
        QVERIFY(KafkaError(-195, "x").isTimeout());
        QVERIFY(KafkaError(-185, "x").isTimeout());
        QVERIFY(!KafkaError(-1, "x").isTimeout());
        QVERIFY(!KafkaError(-191, "x").isTimeout());
        QVERIFY(!KafkaError(-186, "x").isTimeout());
        QCOMPARE(KafkaError(3, "reading orders/3: x").description(), QString("reading orders/3: x"));
    }

    void errorBufferTextStopsAtTheFirstZeroAndReplacesBadBytes()
    {
        const char buffer[8] = {'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'};
        QCOMPARE(KafkaClient::errorBufferText(buffer, sizeof buffer), QString("ab"));
        const char full[3] = {'x', 'y', 'z'};
        QCOMPARE(KafkaClient::errorBufferText(full, sizeof full), QString("xyz"));
        const char bad[3] = {'o', '\xff', '\0'};
        QCOMPARE(KafkaClient::errorBufferText(bad, sizeof bad), QString("o") + QChar(0xFFFD));
    }

    void momentsAsTheLibraryAndTheMessagesWantThem()
    {
        QCOMPARE(kafka::momentMs(QDateTime::fromMSecsSinceEpoch(1999, QTimeZone::utc())), 1999);
        const QDateTime moment(QDate(2024, 5, 1), QTime(9, 30), QTimeZone::utc());
        QCOMPARE(kafka::momentText(moment), QString("2024-05-01 09:30:00 +0000"));
        QCOMPARE(kafka::momentText(moment.toTimeZone(QTimeZone(3600 * 2))), QString("2024-05-01 09:30:00 +0000"));
    }

    void startPositionsCompareByCaseAndPayload()
    {
        using P = KafkaClient::StartPosition;
        QVERIFY(P::atTail(100) == P::atTail(100));
        QVERIFY(!(P::atTail(100) == P::atOffset(100)));
        QVERIFY(P::atBeginning() == P::atBeginning());
        const QDateTime m = QDateTime::fromMSecsSinceEpoch(5000, QTimeZone::utc());
        QVERIFY(P::atTime(m) == P::atTime(m.toTimeZone(QTimeZone(3600))));
        QCOMPARE(P::atTail(7).which(), P::tail);
    }
};

QTEST_GUILESS_MAIN(TestKafkaConfiguration)
#include "tst_KafkaConfiguration.moc"
