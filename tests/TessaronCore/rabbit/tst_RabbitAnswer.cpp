#include "TessaronCore/rabbit/RabbitAnswer.h"
#include "TessaronCore/rabbit/RabbitClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace tessaron;

class TestRabbitAnswer : public QObject {
    Q_OBJECT

private slots:
    void managementURL_data()
    {
        QTest::addColumn<QString>("bootstrap");
        QTest::addColumn<bool>("tls");
        QTest::addColumn<QString>("expected"); // empty: no URL

        QTest::newRow("bare host, plaintext") << "rabbit.local" << false << "http://rabbit.local:15672";
        QTest::newRow("bare host, TLS") << "rabbit.local" << true << "https://rabbit.local:15672";
        QTest::newRow("host with port keeps it") << "rabbit.local:8080" << true << "https://rabbit.local:8080";
        QTest::newRow("https kept for plaintext") << "https://mq.example:443" << false << "https://mq.example:443";
        QTest::newRow("path kept") << "http://h:15672/rabbit" << true << "http://h:15672/rabbit";
        QTest::newRow("blanks trimmed") << " \t localhost \t" << false << "http://localhost:15672";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("blank") << " \t " << false << "";
        QTest::newRow("line break is not a blank") << "\nhost" << false << "";
        QTest::newRow("space inside") << "my host" << false << "";
        QTest::newRow("no host") << "http://" << false << "";
    }

    void managementURL()
    {
        QFETCH(QString, bootstrap);
        QFETCH(bool, tls);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = RabbitClient::managementURL(bootstrap, tls);
        if (expected.isEmpty()) {
            QVERIFY2(!url, qPrintable(url ? url->toString() : QString()));
        } else {
            QVERIFY(url);
            QCOMPARE(url->toString(), expected);
        }
    }

    void percentEncoded()
    {
        QCOMPARE(RabbitClient::percentEncoded("/"), QString("%2F"));
        QCOMPARE(RabbitClient::percentEncoded("a/b c é"), QString("a%2Fb%20c%20é"));
        QCOMPARE(RabbitClient::percentEncoded("50%-off_x.y~z"), QString("50%25-off_x.y~z"));
        QCOMPARE(RabbitClient::percentEncoded("amq.default"), QString("amq.default"));
        QCOMPARE(RabbitClient::percentEncoded("Ωμέγα٣"), QString("Ωμέγα٣"));
        QCOMPARE(RabbitClient::percentEncoded("a?b#c&d+e"), QString("a%3Fb%23c%26d%2Be"));
        QCOMPARE(RabbitClient::percentEncoded(QString::fromUtf8("\xF0\x9F\x90\x87")), QString("%F0%9F%90%87"));
        QCOMPARE(RabbitClient::percentEncoded(""), QString(""));
    }

    void clientCreationNeedsAnAddress()
    {
        Broker broker;
        broker.bootstrap = "  ";
        try {
            RabbitClient client(broker, std::nullopt, 1000);
            QFAIL("created a client without an address");
        } catch (const KafkaError& error) {
            QCOMPARE(error.code(), -1);
            QCOMPARE(error.message(), QString("could not read a management URL from   "));
        }
    }

    void queues()
    {
        const QByteArray answer = R"([
            {"name":"zeta","messages":4,"messages_unacknowledged":1,"consumers":2},
            {"name":"Zeta"},
            {"name":"amq.gen-1","messages":"many","consumers":null},
            {"name":"Amq.x","messages":1.5},
            {"name":"x.amq.y","messages":-0},
            {"messages":9},
            {"name":7},
            {"name":"zeta","consumers":5}
        ])";
        const auto parsed = RabbitAnswer::queues(answer);
        QVERIFY(parsed);
        QStringList names;
        for (const Topic& queue : parsed->queues) {
            names << queue.name;
            QVERIFY(queue.partitions.isEmpty());
            QVERIFY(!queue.error);
            QVERIFY(queue.declaredDepth.has_value());
            QCOMPARE(queue.isInternal, queue.name == "amq.gen-1");
        }
        QCOMPARE(names, QStringList({"Amq.x", "Zeta", "amq.gen-1", "x.amq.y", "zeta", "zeta"}));
        QCOMPARE(*parsed->queues[0].declaredDepth, 0); // 1.5 is not a whole number
        QCOMPARE(*parsed->queues[1].declaredDepth, 0); // not counted yet
        QCOMPARE(*parsed->queues[2].declaredDepth, 0); // wrong type
        QCOMPARE(*parsed->queues[4].declaredDepth, 4);
        // Held by its consumers: within the depth, out of a read's reach.
        QCOMPARE(parsed->queues[4].unacknowledged, std::optional<int64_t>(1));
        QCOMPARE(parsed->queues[1].unacknowledged, std::nullopt);
        QCOMPARE(parsed->consumers.value("zeta"), 5); // the later entry wins
        QCOMPARE(parsed->consumers.value("Zeta"), 0);
        QCOMPARE(parsed->consumers.value("amq.gen-1"), 0);
        QCOMPARE(parsed->consumers.size(), 5);
    }

    void queueNamesSortByCodePoint()
    {
        // "e" + combining acute equals "é" once composed; U+1F407 sorts after U+FF21.
        const QString decomposed = QString::fromUtf8("e\xCC\x81z");
        const QString precomposed = QString::fromUtf8("\xC3\xA9y");
        const QString astral = QString::fromUtf8("\xF0\x9F\x90\x87");
        const QString fullwidth = QString::fromUtf8("\xEF\xBC\xA1");
        QJsonArray array;
        for (const QString& name : {astral, decomposed, fullwidth, precomposed})
            array.append(QJsonObject{{"name", name}});
        const auto parsed = RabbitAnswer::queues(QJsonDocument(array).toJson());
        QVERIFY(parsed);
        QStringList names;
        for (const Topic& queue : parsed->queues)
            names << queue.name;
        QCOMPARE(names, QStringList({precomposed, decomposed, fullwidth, astral}));
    }

    void unexpectedShapes()
    {
        for (const QByteArray& answer : {QByteArray(), QByteArray("<html>"), QByteArray("{}"), QByteArray("[1]"),
                                         QByteArray("[{\"name\":\"a\"}, []]"), QByteArray("null")}) {
            QVERIFY2(!RabbitAnswer::queues(answer), answer.constData());
            QVERIFY(RabbitAnswer::bindings(answer).isEmpty());
            QVERIFY(RabbitAnswer::messages(answer, "q").isEmpty());
        }
        QVERIFY(RabbitAnswer::queues("[]"));
    }

    void bindings()
    {
        const QByteArray answer = R"([
            {"source":"","routing_key":"orders"},
            {"source":"amq.direct","routing_key":7},
            {"source":null,"routing_key":"x"},
            {"routing_key":"y"},
            {"source":"events"}
        ])";
        QCOMPARE(RabbitAnswer::bindings(answer),
                 QList<QueueBinding>({{"", "orders"}, {"amq.direct", ""}, {"events", ""}}));
    }

    void messages()
    {
        const QByteArray answer = R"([
            {"payload":"aGVsbG8=","payload_encoding":"base64","routing_key":"orders","redelivered":true,
             "properties":{"headers":{"b":true,"f":false,"i":7,"n":1.5,"s":"text","a":[1,"x"],"o":{"k":"v"},"z":null}}},
            {"payload":"plain é","payload_encoding":"string","properties":[],"redelivered":false},
            {"payload":"%%%","payload_encoding":"base64","routing_key":12,"redelivered":"true"},
            {"properties":{"headers":[]}},
            {"payload":"x","payload_encoding":"gzip","properties":{"headers":"nope"}}
        ])";
        const QList<Message> read = RabbitAnswer::messages(answer, "orders");
        QCOMPARE(read.size(), 5);
        for (int i = 0; i < read.size(); ++i) {
            QCOMPARE(read[i].topic(), QString("orders"));
            QCOMPARE(read[i].partition(), 0);
            QCOMPARE(read[i].offset(), i);
            QVERIFY(read[i].payload());
            QVERIFY(!read[i].timestamp());
        }
        QCOMPARE(*read[0].payload(), QByteArray("hello"));
        QCOMPARE(*read[0].key(), QByteArray("orders"));
        const QList<Message::Header> expected = {{"a", "[1,\"x\"]"}, {"b", "true"}, {"f", "false"},
                                                 {"i", "7"},         {"n", "1.5"},  {"o", "{\"k\":\"v\"}"},
                                                 {"s", "text"},      {"z", "null"}, {"redelivered", "true"}};
        QCOMPARE(read[0].headers(), expected);

        QCOMPARE(*read[1].payload(), QString("plain é").toUtf8());
        QVERIFY(!read[1].key());
        QVERIFY(read[1].headers().isEmpty());

        QCOMPARE(*read[2].payload(), QByteArray()); // Base64 that does not decode
        QVERIFY(!read[2].key());
        QVERIFY(read[2].headers().isEmpty()); // "true" as text is not a redelivery

        QCOMPARE(*read[3].payload(), QByteArray());
        QCOMPARE(*read[4].payload(), QByteArray("x"));
        QVERIFY(read[4].headers().isEmpty());
    }

    void byteOrderMarkInsideTextSurvives()
    {
        const QByteArray answer = "[{\"payload\":\"\xEF\xBB\xBF"
                                  "body\",\"payload_encoding\":\"string\","
                                  "\"properties\":{\"headers\":{\"h\":\"\xEF\xBB\xBF"
                                  "v\"}}}]";
        const QList<Message> read = RabbitAnswer::messages(answer, "q");
        QCOMPARE(read.size(), 1);
        QCOMPARE(*read[0].payload(),
                 QByteArray("\xEF\xBB\xBF"
                            "body"));
        QCOMPARE(read[0].headers(),
                 QList<Message::Header>({{"h",
                                          "\xEF\xBB\xBF"
                                          "v"}}));
        // A mark before the document itself is still allowed.
        QCOMPARE(RabbitAnswer::messages("\xEF\xBB\xBF"
                                        "[{}]",
                                        "q")
                     .size(),
                 1);
    }

    void headerNumbers()
    {
        QCOMPARE(RabbitAnswer::headerText(QJsonValue(qint64(9007199254740993LL))), QString("9007199254740993"));
        QCOMPARE(RabbitAnswer::headerText(QJsonValue(-3.0)), QString("-3"));
        QCOMPARE(RabbitAnswer::headerText(QJsonValue(0.1)), QString("0.1"));
        QCOMPARE(RabbitAnswer::headerText(QJsonValue(1e300)), QString("1e+300"));
    }

    void routedNowhere()
    {
        QVERIFY(RabbitAnswer::routedNowhere(R"({"routed":false})"));
        QVERIFY(!RabbitAnswer::routedNowhere(R"({"routed":true})"));
        QVERIFY(!RabbitAnswer::routedNowhere(R"({"routed":"false"})"));
        QVERIFY(!RabbitAnswer::routedNowhere(R"({"routed":0})"));
        QVERIFY(!RabbitAnswer::routedNowhere(R"({})"));
        QVERIFY(!RabbitAnswer::routedNowhere(R"([{"routed":false}])"));
        QVERIFY(!RabbitAnswer::routedNowhere(""));
    }

    void statusErrors()
    {
        const QUrl base("http://h:15672");
        const KafkaError denied = RabbitAnswer::statusError(401, R"({"reason":"Login failed"})", base);
        QCOMPARE(denied.code(), -1);
        QCOMPARE(denied.message(), QString("the broker refused these credentials"));

        const KafkaError noPlugin = RabbitAnswer::statusError(404, "<html>Not Found</html>", base);
        QCOMPARE(noPlugin.code(), -1);
        QCOMPARE(noPlugin.message(),
                 QString("no management API at http://h:15672 — enable the plugin with "
                         "`rabbitmq-plugins enable rabbitmq_management`, or check the port (15672 by default)"));

        const KafkaError noQueue = RabbitAnswer::statusError(
            404, R"({"error":"not_found","reason":"NOT_FOUND - no queue 'q' in vhost 'v'"})", base);
        QCOMPARE(noQueue.code(), -1);
        QCOMPARE(noQueue.message(), QString("the broker answered 404: NOT_FOUND - no queue 'q' in vhost 'v'"));

        const KafkaError busy = RabbitAnswer::statusError(503, QByteArray(5000, 'x'), base);
        QCOMPARE(busy.code(), 503);
        QCOMPARE(busy.message(), "the broker answered 503: " + QString(200, 'x'));

        QCOMPARE(RabbitAnswer::statusError(500, "\xff\xfe", base).message(), QString("the broker answered 500: "));
    }

    void excerptCountsCharactersNotBytes()
    {
        // Each "é" written as e + combining accent is one character of two code points.
        QString decomposed;
        for (int i = 0; i < 300; ++i)
            decomposed += QString::fromUtf8("e\xCC\x81");
        QCOMPARE(RabbitAnswer::excerpt(decomposed.toUtf8()), decomposed.left(400));
        QCOMPARE(RabbitAnswer::excerpt(QByteArray("short")), QString("short"));
        QCOMPARE(RabbitAnswer::excerpt(QByteArray()), QString());
        // A leading byte-order mark is part of the body.
        QCOMPARE(RabbitAnswer::excerpt("\xEF\xBB\xBFok").size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestRabbitAnswer)
#include "tst_RabbitAnswer.moc"
