// What a real server will not do on demand: a long error page, silence, a body that is not JSON,
// an oversized answer, a closed port. Everything else is tested against the real server.
#include "LocalHttpPeer.h"
#include "RabbitTestSupport.h"

#include <QTest>

using namespace tessaron;

class TestRabbitClientPeer : public QObject {
    Q_OBJECT

    static QString address(const LocalHttpPeer& peer, const QString& path = QString())
    {
        return QStringLiteral("http://127.0.0.1:") + QString::number(peer.port()) + path;
    }

private slots:
    void longErrorBodyIsCut()
    {
        const QByteArray page = "<html>" + QByteArray(5000, 'z') + "</html>";
        LocalHttpPeer peer(LocalHttpPeer::answer(503, "Service Unavailable", page, "text/html"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = settle(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), 503);
        QCOMPARE(outcome.error->message(), "the broker answered 503: " + QString::fromLatin1(page.left(200)));
        QVERIFY(!outcome.error->isTimeout());
    }

    void silentServerTimesOut()
    {
        LocalHttpPeer peer{QByteArray()};
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 300);
        const auto outcome = settle(client.queues());
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
        const auto outcome = settle(client.bindings("q"));
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -195);
        QVERIFY2(outcome.error->message().startsWith("127.0.0.1 did not answer: "),
                 qPrintable(outcome.error->message()));
    }

    void bodyThatIsNotJson()
    {
        const QByteArray answer = LocalHttpPeer::answer(200, "OK", "<html>hello</html>", "text/html");
        LocalHttpPeer peer(answer);
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);

        const auto listing = settle(client.queuesWithConsumers());
        QVERIFY(listing.error);
        QCOMPARE(listing.error->code(), -1);
        QCOMPARE(listing.error->message(), QString("the management API returned something unexpected"));

        const auto bindings = settle(client.bindings("q"));
        QVERIFY(!bindings.error);
        QVERIFY(bindings.value->isEmpty());

        const auto read = settle(client.read("q", 5));
        QVERIFY(!read.error);
        QVERIFY(read.value->isEmpty());

        const auto published = settle(client.publish("q", "x", {}, "why"));
        QVERIFY(published.done);
    }

    void emptyAnswerIsEmptyBytes()
    {
        LocalHttpPeer peer(LocalHttpPeer::answer(200, "OK", QByteArray()));
        OpenRabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = settle(client.request("GET", "/api/overview"));
        QVERIFY(!outcome.error);
        QCOMPARE(*outcome.value, QByteArray());
    }

    void oversizedAnswerFails()
    {
        // Announces more than the bound; the client gives up instead of buffering it.
        LocalHttpPeer peer("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 20000000\r\n\r\n[");
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = settle(client.queues());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->code(), -1);
        QCOMPARE(outcome.error->message(), QString("the broker's answer is larger than 16 MB"));
    }

    void notFoundWithoutReasonPointsAtThePlugin()
    {
        LocalHttpPeer peer(LocalHttpPeer::answer(404, "Not Found", "<html>nothing here</html>", "text/html"));
        RabbitClient client(rabbitBroker(address(peer)), std::nullopt, 5000);
        const auto outcome = settle(client.queues());
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

        QTest::newRow("defaults") << QString() << QString() << std::optional<QString>()
                                  << QByteArray("GET /api/queues/%2F HTTP/1.1") << QByteArray("guest:guest");
        QTest::newRow("kept path") << "/rabbit"
                                   << "ana" << std::optional<QString>("s3cret:é")
                                   << QByteArray("GET /rabbit/api/queues/%2F HTTP/1.1") << QByteArray("ana:s3cret:é");
        QTest::newRow("trailing slash") << "/" << QString() << std::optional<QString>("")
                                        << QByteArray("GET /api/queues/%2F HTTP/1.1") << QByteArray("guest:");
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
        const auto outcome = settle(client.queues());
        QVERIFY(!outcome.error);
        QCOMPARE(peer.requests().size(), 1);
        QList<QByteArray> head;
        for (const QByteArray& headLine : peer.requests().first().split('\n'))
            head << headLine.trimmed();
        QCOMPARE(head.first(), line);
        QVERIFY(head.contains("Authorization: Basic " + credentials.toBase64()));
        QVERIFY(head.contains(QByteArray("Accept: application/json")));
    }
};

QTEST_GUILESS_MAIN(TestRabbitClientPeer)
#include "tst_RabbitClientPeer.moc"
