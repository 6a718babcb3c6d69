// What a real server will not do on demand: a long error page, silence, a body that is not JSON,
// an oversized answer, a closed port. Everything else is tested against the real server.
#include "LocalHttpPeer.h"
#include "support/RabbitTestSupport.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSslKey>
#include <QTemporaryDir>
#include <QTest>

using namespace tessaron;
using testing::outcomeOf;

class TestRabbitClientPeer : public QObject {
    Q_OBJECT

    static QString address(const LocalHttpPeer& peer, const QString& path = QString())
    {
        return QStringLiteral("http://127.0.0.1:") + QString::number(peer.port()) + path;
    }

    // A certificate authority of the test's own, and a certificate it signed for `name`
    // (`name`.pem, `name`.key), through the openssl tool.
    static bool openssl(const QString& dir, const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(dir);
        process.start(QStringLiteral("openssl"), arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }

    static bool signedCertificate(const QString& dir, const QString& name, const QString& extension)
    {
        QFile ext(dir + "/" + name + ".ext");
        if (!ext.open(QIODevice::WriteOnly) || ext.write(extension.toUtf8()) < 0)
            return false;
        ext.close();
        const QStringList key{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
        return openssl(dir,
                       QStringList{"req"} + key
                           + QStringList{"-keyout", name + ".key", "-out", name + ".csr", "-subj", "/CN=" + name})
            && openssl(dir,
                       {"x509", "-req", "-in", name + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                        "-days", "2", "-extfile", name + ".ext", "-out", name + ".pem"});
    }

    static QSslConfiguration serverTls(const QString& dir)
    {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificateChain(QSslCertificate::fromPath(dir + "/server.pem"));
        QFile key(dir + "/server.key");
        key.open(QIODevice::ReadOnly);
        tls.setPrivateKey(QSslKey(key.readAll(), QSsl::Ec));
        return tls;
    }

private slots:
    void longErrorBodyIsCut()
    {
        const QByteArray page = "<html>" + QByteArray(5000, 'z') + "</html>";
        LocalHttpPeer peer(LocalHttpPeer::answer(503, "Service Unavailable", page, "text/html"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), 503);
        QCOMPARE(outcome.error->message(), "the broker answered 503: " + QString::fromLatin1(page.left(200)));
        QVERIFY(!outcome.error->isTimeout());
    }

    void silentServerTimesOut()
    {
        LocalHttpPeer peer{QByteArray()};
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 300);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -195);
        QVERIFY(outcome.error->isTimeout());
        QVERIFY2(outcome.error->message().startsWith("127.0.0.1 did not answer: "),
                 qPrintable(outcome.error->message()));
        QCOMPARE(peer.requests().size(), 1);
    }

    void closedPortIsATransportFailure()
    {
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        RabbitClient client(rabbitBroker("127.0.0.1:" + QString::number(port)), std::nullopt, 2000);
        const auto outcome = outcomeOf(client.bindings("q"));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -195);
        QVERIFY2(outcome.error->message().startsWith("127.0.0.1 did not answer: "),
                 qPrintable(outcome.error->message()));
    }

    void answerThatIsNotTheManagementAPIFails()
    {
        // Another service on the port answers 200 with a page: nothing reads as empty or done.
        const QByteArray page = LocalHttpPeer::answer(200, "OK", "<html>hello</html>", "text/html");
        LocalHttpPeer peer(page);
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const QString sentence = "This port answers, but not like the RabbitMQ management API. Check the address and "
                                 "the port (15672 by default).";

        const auto listing = outcomeOf(client.queuesWithConsumers());
        QVERIFY(listing.error);
        QCOMPARE(listing.error->code(), -1);
        QCOMPARE(listing.error->message(), sentence);

        const auto bindings = outcomeOf(client.bindings("q"));
        QVERIFY(bindings.error);
        QCOMPARE(bindings.error->message(), sentence);

        // The queue itself answers like the API, its messages do not.
        peer.setScript({LocalHttpPeer::answer(200, "OK", R"({"name":"q","type":"classic"})"), page});
        const auto read = outcomeOf(client.read("q", 5));
        QVERIFY(read.error);
        QCOMPARE(read.error->message(), sentence);

        // JSON of another shape is no publish answer either.
        peer.setScript({LocalHttpPeer::answer(200, "OK", "[1,2]")});
        const auto published = outcomeOf(client.publish("q", "x", {}, "why"));
        QVERIFY(!published.done);
        QCOMPARE(published.error->message(), sentence);
    }

    void answerCutAfterTheStatusIsATransportFailure()
    {
        // A success status with half a body: the read must not come back as "no messages".
        LocalHttpPeer peer("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 4000\r\n\r\n"
                           "[{\"payload\":\"a\"}");
        peer.route("/api/queues/%2F/q", LocalHttpPeer::answer(200, "OK", R"({"name":"q","type":"classic"})"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);

        // The server received the read, so it has most likely taken the messages: uncertain, and
        // the connection is lost all the same.
        const auto read = outcomeOf(client.read("q", 5));
        QVERIFY(read.error);
        QVERIFY(read.error->isUncertain());
        QVERIFY(read.error->isTimeout());

        const auto bindings = outcomeOf(client.bindings("q"));
        QVERIFY(bindings.error);
        QCOMPARE(bindings.error->code(), -195);

        // A success status, then silence until the time-out: a failure too, not "no messages".
        LocalHttpPeer stalling(LocalHttpPeer::stallAfter(
            "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 4000\r\n\r\n[{\"payload\":"));
        stalling.route("/api/queues/%2F/q", LocalHttpPeer::answer(200, "OK", R"({"name":"q","type":"classic"})"));
        RabbitClient patient(rabbitBroker(address(stalling)), std::nullopt, 400);
        const auto stalled = outcomeOf(patient.read("q", 5));
        QVERIFY(stalled.error);
        QVERIFY(stalled.error->isUncertain());

        // A cut publish answer: the request went out, so it may have been filed.
        const auto published = outcomeOf(client.publish("q", "x", {}, "why"));
        QVERIFY(!published.done);
        QVERIFY(published.error->isUncertain());
    }

    void lostPublishAnswerIsUncertainAndNeverResent()
    {
        // The first connection drops after the request arrived; a resend would be answered.
        LocalHttpPeer peer{QByteArray()};
        peer.setScript({LocalHttpPeer::hangUp(), LocalHttpPeer::answer(200, "OK", R"({"routed":true})")});
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto published = outcomeOf(client.publish("q", "payload", {}, "why"));
        QVERIFY(!published.done);
        QVERIFY(published.error->isUncertain());
        QVERIFY(published.error->isTimeout()); // the connection is gone too
        QVERIFY2(published.error->message().contains("may have been filed"), qPrintable(published.error->message()));
        QVERIFY2(!published.error->message().contains("Unknown error"), qPrintable(published.error->message()));
        QCOMPARE(peer.requests().size(), 1);

        // Nothing reached a closed port: that is a plain transport failure, not an uncertain one.
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        RabbitClient closed(rabbitBroker("127.0.0.1:" + QString::number(port)), std::nullopt, 2000);
        const auto refused = outcomeOf(closed.publish("q", "payload", {}, "why"));
        QCOMPARE(refused.error->code(), -195);
        QVERIFY(!refused.error->isUncertain());
    }

    void lostReadAnswerIsUncertainAndNeverResent()
    {
        // Each time the server receives a read it takes and requeues the messages: a resend would
        // disturb them again. The first request asks the queue's type.
        LocalHttpPeer peer{QByteArray()};
        peer.setScript({LocalHttpPeer::answer(200, "OK", R"({"type":"classic"})"), LocalHttpPeer::hangUp(),
                        LocalHttpPeer::answer(200, "OK", "[]")});
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto read = outcomeOf(client.read("q", 7));
        QVERIFY(read.error);
        QVERIFY(read.error->isUncertain());
        QVERIFY(read.error->isTimeout());
        QVERIFY2(read.error->message().contains("marked redelivered"), qPrintable(read.error->message()));
        QVERIFY2(!read.error->message().contains("Unknown error"), qPrintable(read.error->message()));
        QCOMPARE(peer.requests().size(), 2);
        // The read asks the server to cut payloads so that the answer fits the bound.
        QVERIFY(peer.requests().last().startsWith("POST /api/queues/%2F/q/get "));
    }

    void aReadSharesTheBoundAmongEveryMessageItAsksFor()
    {
        // What the statistics counted fits whole; otherwise every message asked for gets its share,
        // those the statistics have not counted yet too, so the answer stays within the bound.
        const auto asked = [](const QByteArray& queue, int64_t limit) {
            LocalHttpPeer peer{QByteArray()};
            peer.setScript({LocalHttpPeer::answer(200, "OK", queue), LocalHttpPeer::answer(200, "OK", "[]")});
            RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
            const auto read = outcomeOf(client.read("q", limit));
            return read.error ? QJsonObject() : QJsonDocument::fromJson(peer.bodies().value(1)).object();
        };
        const QJsonObject few = asked(R"({"type":"classic","messages":2,"message_bytes":3000000})", 100);
        QCOMPARE(few.value("count").toInteger(), 100);
        QCOMPARE(few.value("truncate").toInteger(), RabbitClient::readPayloadBudget);
        const QJsonObject large = asked(R"({"type":"classic","messages":20,"message_bytes":40000000})", 100);
        QCOMPARE(large.value("count").toInteger(), 100);
        QCOMPARE(large.value("truncate").toInteger(), RabbitClient::readPayloadBudget / 100);
        const QJsonObject uncounted = asked(R"({"type":"classic"})", 7);
        QCOMPARE(uncounted.value("count").toInteger(), 7);
        QCOMPARE(uncounted.value("truncate").toInteger(), RabbitClient::readPayloadBudget / 7);
    }

    void tricklingAnswerIsBoundedInTotal()
    {
        // A byte every 20 ms never lets a silence time-out fire; the whole request is bounded.
        const QByteArray body = "[" + QByteArray(400, ' ') + "]";
        LocalHttpPeer peer(LocalHttpPeer::trickle(LocalHttpPeer::answer(200, "OK", body), 20));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 500);
        QElapsedTimer clock;
        clock.start();
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -195);
        QCOMPARE(outcome.error->message(), QString("127.0.0.1 did not answer: the request timed out after 500 ms"));
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void quorumDefaultLimitFollowsTheServerVersion_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("queue");
        QTest::addColumn<std::optional<int64_t>>("limit");
        QTest::newRow("4.0 applies 20") << QByteArray("4.0.5") << QByteArray(R"({"type":"quorum","arguments":{}})")
                                        << std::optional<int64_t>(20);
        QTest::newRow("3.13 has none") << QByteArray("3.13.7") << QByteArray(R"({"type":"quorum","arguments":{}})")
                                       << std::optional<int64_t>();
        QTest::newRow("4.1 lifted by -1")
            << QByteArray("4.1.0") << QByteArray(R"({"type":"quorum","arguments":{"x-delivery-limit":-1}})")
            << std::optional<int64_t>();
        QTest::newRow("smaller of argument and policy")
            << QByteArray("3.12.0")
            << QByteArray(
                   R"({"type":"quorum","arguments":{"x-delivery-limit":9},"effective_policy_definition":{"delivery-limit":4}})")
            << std::optional<int64_t>(4);
    }

    void quorumDefaultLimitFollowsTheServerVersion()
    {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, queue);
        QFETCH(std::optional<int64_t>, limit);
        LocalHttpPeer peer(LocalHttpPeer::answer(200, "OK", "[]"));
        peer.route("/api/overview", LocalHttpPeer::answer(200, "OK", "{\"rabbitmq_version\":\"" + version + "\"}"));
        peer.route("/api/queues/%2F/q", LocalHttpPeer::answer(200, "OK", queue));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto cost = outcomeOf(client.readCost("q"));
        QVERIFY(cost.value);
        QCOMPARE(cost.value->deliveryLimit, limit);
        QCOMPARE(cost.value->raisesDeliveryCount(), !limit);
        const auto read = outcomeOf(client.read("q", 3));
        QCOMPARE(bool(read.error), bool(limit));
        bool asked = false;
        for (const QByteArray& head : peer.requests())
            asked = asked || head.startsWith("POST");
        QCOMPARE(asked, !limit); // a refused read never reaches the queue
    }

    void emptyAnswerIsEmptyBytes()
    {
        LocalHttpPeer peer(LocalHttpPeer::answer(200, "OK", QByteArray()));
        OpenRabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = outcomeOf(client.request("GET", "/api/overview"));
        QVERIFY(!outcome.error);
        QCOMPARE(*outcome.value, QByteArray());
    }

    void oversizedAnswerFails()
    {
        // Announces more than the bound; the client gives up instead of buffering it.
        LocalHttpPeer peer("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 20000000\r\n\r\n[");
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(), QString("the broker's answer is larger than 16 MB"));
    }

    void notFoundWithoutReasonPointsAtThePlugin()
    {
        LocalHttpPeer peer(LocalHttpPeer::answer(404, "Not Found", "<html>nothing here</html>", "text/html"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(),
                 "no management API at " + address(peer)
                     + " — enable the plugin with `rabbitmq-plugins enable rabbitmq_management`,"
                       " or check the port (15672 by default)");
    }

    void requestCarriesPathVhostAndCredentials_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("user");
        QTest::addColumn<std::optional<QString>>("password");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("credentials");
        const QByteArray listing = "?columns=name,messages,messages_unacknowledged,consumers&page_size=500&page=1";

        QTest::newRow("defaults") << QString() << QString() << std::optional<QString>()
                                  << QByteArray("GET /api/queues/%2F" + listing + " HTTP/1.1")
                                  << QByteArray("guest:guest");
        QTest::newRow("kept path") << "/rabbit"
                                   << "ana" << std::optional<QString>("s3cret:é")
                                   << QByteArray("GET /rabbit/api/queues/%2F" + listing + " HTTP/1.1")
                                   << QByteArray("ana:s3cret:é");
        QTest::newRow("trailing slash") << "/" << QString() << std::optional<QString>("")
                                        << QByteArray("GET /api/queues/%2F" + listing + " HTTP/1.1")
                                        << QByteArray("guest:");
    }

    void requestCarriesPathVhostAndCredentials()
    {
        QFETCH(QString, path);
        QFETCH(QString, user);
        QFETCH(std::optional<QString>, password);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, credentials);

        LocalHttpPeer peer(LocalHttpPeer::answer(200, "OK", "[]"));
        RabbitClient client(rabbitBroker(address(peer, path), QString(), user), password, 5000);
        const auto outcome = outcomeOf(client.queues());
        QVERIFY(!outcome.error);
        QCOMPARE(peer.requests().size(), 1);
        QList<QByteArray> head;
        for (const QByteArray& headLine : peer.requests().first().split('\n'))
            head << headLine.trimmed();
        QCOMPARE(head.first(), line);
        QVERIFY(head.contains("Authorization: Basic " + credentials.toBase64()));
        QVERIFY(head.contains(QByteArray("Accept: application/json")));
    }

    void gatewayFailuresAfterSendingAreNoRefusal_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("publishing");
        QTest::newRow("502 publish") << 502 << true;
        QTest::newRow("503 publish") << 503 << true;
        QTest::newRow("504 read") << 504 << false;
        QTest::newRow("502 read") << 502 << false;
    }

    void gatewayFailuresAfterSendingAreNoRefusal()
    {
        QFETCH(int, status);
        QFETCH(bool, publishing);
        LocalHttpPeer peer(LocalHttpPeer::answer(status, "Gateway", "<html>upstream</html>", "text/html"));
        peer.route("/api/queues/%2F/q", LocalHttpPeer::answer(200, "OK", R"({"name":"q","type":"classic"})"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto failure =
            publishing ? outcomeOf(client.publish("q", "x", {}, "why")).error : outcomeOf(client.read("q", 3)).error;
        QVERIFY(failure);
        QVERIFY(failure->isUncertain());
        QCOMPARE(failure->code(), RabbitClient::uncertainCode);
        QVERIFY2(failure->message().contains(QString::number(status)), qPrintable(failure->message()));
        // A request that repeats nothing when resent is refused as answered.
        const auto listing = outcomeOf(client.queues());
        QCOMPARE(listing.error->code(), status);
        QVERIFY(!listing.error->isUncertain());
    }

    void listingIsPagedWithTheColumnsUsedOnly()
    {
        const QByteArray path =
            "/api/queues/%2F?columns=name,messages,messages_unacknowledged,consumers&page_size=500&page=";
        LocalHttpPeer peer(LocalHttpPeer::answer(500, "Unexpected", "{}"));
        peer.route(path + "1", LocalHttpPeer::answer(200, "OK", R"({"items":[{"name":"b","messages":4,"consumers":1}],
            "page":1,"page_count":2,"page_size":500,"total_count":2})"));
        peer.route(path + "2", LocalHttpPeer::answer(200, "OK", R"({"items":[{"name":"a","messages":2}],
            "page":2,"page_count":2,"page_size":500,"total_count":2})"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto listing = outcomeOf(client.queuesWithConsumers());
        QVERIFY2(listing.value, qPrintable(listing.error ? listing.error->message() : QString()));
        QCOMPARE(listing.value->queues.size(), 2);
        QCOMPARE(listing.value->queues.first().name, QString("a"));
        QCOMPARE(listing.value->queues.last().declaredDepth, std::optional<int64_t>(4));
        QCOMPARE(listing.value->consumers.value("b"), 1);
        QCOMPARE(peer.requests().size(), 2);

        // Queues deleted between pages leave fewer pages than the first one counted.
        LocalHttpPeer shrinking(
            LocalHttpPeer::answer(400, "Bad Request", R"({"error":"bad_request","reason":"page_out_of_range"})"));
        shrinking.route(path + "1", LocalHttpPeer::answer(200, "OK", R"({"items":[{"name":"b","messages":4}],
            "page":1,"page_count":3,"page_size":500,"total_count":3})"));
        RabbitClient shrunk(rabbitBroker(address(shrinking)), std::nullopt, 5000);
        const auto rest = outcomeOf(shrunk.queuesWithConsumers());
        QVERIFY2(rest.value, qPrintable(rest.error ? rest.error->message() : QString()));
        QCOMPARE(rest.value->queues.size(), 1);
    }

    void queueGoneSinceTheListingSaysSo()
    {
        LocalHttpPeer peer(
            LocalHttpPeer::answer(404, "Not Found", R"({"error":"Object Not Found","reason":"Not Found"})"));
        peer.route("/api/vhosts/%2F", LocalHttpPeer::answer(200, "OK", R"({"name":"/"})"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        for (const auto& failure : {outcomeOf(client.read("q", 3)).error, outcomeOf(client.readCost("q")).error}) {
            QVERIFY(failure);
            QCOMPARE(failure->code(), RabbitClient::goneCode);
            QCOMPARE(failure->message(), QString("the queue \u201cq\u201d no longer exists on the broker"));
        }
    }

    void tlsUsesTheFormsAuthorityAndClientCertificate()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString d = dir.path();
        if (!openssl(d,
                     {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                      "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Tessaron Test CA"}))
            QSKIP("the openssl tool could not make a certificate authority");
        QVERIFY(signedCertificate(d, "server", "subjectAltName=IP:127.0.0.1\n"));
        QVERIFY(signedCertificate(d, "client", "extendedKeyUsage=clientAuth\n"));

        // The peer asks for a client certificate signed by the same authority.
        QSslConfiguration tls = serverTls(d);
        tls.setCaCertificates(QSslCertificate::fromPath(d + "/ca.pem"));
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        LocalHttpPeer peer(LocalHttpPeer::answer(200, "OK", "[]"), tls);
        Broker broker = rabbitBroker("127.0.0.1:" + QString::number(peer.port()));
        broker.security = BrokerSecurity::ssl;

        // The system's trust alone does not know this authority: said as such, not as a lost connection.
        const auto untrusted = outcomeOf(RabbitClient(broker, std::nullopt, 5000).queues());
        QVERIFY(untrusted.error);
        QCOMPARE(untrusted.error->code(), -1);
        QVERIFY2(untrusted.error->message().startsWith("127.0.0.1 presented a certificate that can't be trusted: "),
                 qPrintable(untrusted.error->message()));

        // Trusted, but without the client certificate the peer asks for.
        broker.caPath = d + "/ca.pem";
        const auto anonymous = outcomeOf(RabbitClient(broker, std::nullopt, 5000).queues());
        QVERIFY(anonymous.error);
        QVERIFY(!anonymous.error->isUncertain());

        broker.clientCertPath = d + "/client.pem";
        broker.clientKeyPath = d + "/client.key";
        const auto listed = outcomeOf(RabbitClient(broker, std::nullopt, 5000).queues());
        QVERIFY2(listed.value, qPrintable(listed.error ? listed.error->message() : QString()));

        // A key kept under a passphrase opens with the one given on the form.
        QVERIFY(openssl(d, {"pkcs8", "-topk8", "-in", "client.key", "-out", "locked.key", "-passout", "pass:s3cret"}));
        broker.clientKeyPath = d + "/locked.key";
        const auto unlocked = outcomeOf(RabbitClient(broker, std::nullopt, 5000, QString("s3cret")).queues());
        QVERIFY2(unlocked.value, qPrintable(unlocked.error ? unlocked.error->message() : QString()));
        try {
            RabbitClient client(broker, std::nullopt, 5000);
            QFAIL("a locked key needs its passphrase");
        } catch (const KafkaError& error) {
            QVERIFY2(error.message().contains("give its passphrase"), qPrintable(error.message()));
        }
        broker.clientKeyPath = d + "/client.key";

        // A file that is no certificate fails the client, naming it.
        broker.caPath = d + "/client.key";
        try {
            RabbitClient client(broker, std::nullopt, 5000);
            QFAIL("a key is no certificate authority");
        } catch (const KafkaError& error) {
            QCOMPARE(error.message(), "the file " + broker.caPath + " (certificate authority) holds no certificate");
        }
    }
};

QTEST_GUILESS_MAIN(TestRabbitClientPeer)
#include "tst_RabbitClientPeer.moc"
