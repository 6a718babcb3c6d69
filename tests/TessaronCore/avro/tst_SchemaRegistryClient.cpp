#include "support/RegistryPeer.h"
#include "support/SyncWait.h"

#include "TessaronCore/avro/SchemaRegistryClient.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QTest>

using namespace tessaron;
using testing::syncWait;
using Failure = SchemaRegistryClient::Failure;

namespace {

const char* kOrderSchema = R"({"type":"record","name":"Order","namespace":"shop","fields":[
    {"name":"id","type":"long"},{"name":"amount","type":"double"},
    {"name":"customer","type":{"type":"record","name":"Customer","fields":[{"name":"name","type":"string"}]}}]})";

QByteArray registryAnswer(const QByteArray& schema, const QByteArray& type = {})
{
    QJsonObject object{{"schema", QString::fromUtf8(schema)}};
    if (!type.isEmpty())
        object.insert("schemaType", QString::fromUtf8(type));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray framed(int32_t id, const QByteArray& body)
{
    QByteArray out(5, 0);
    out[1] = char(uint32_t(id) >> 24);
    out[2] = char(uint32_t(id) >> 16);
    out[3] = char(uint32_t(id) >> 8);
    out[4] = char(uint32_t(id));
    return out + body;
}

QByteArray doubleBytes(double d) { return QByteArray(reinterpret_cast<const char*>(&d), 8); }

// id 42 (zigzag 84), amount, customer "Ana".
QByteArray orderBody(double amount)
{
    return QByteArray("\x54", 1) + doubleBytes(amount)
        + QByteArray("\x06"
                     "Ana",
                     4);
}

SchemaRegistryClient::Result decode(SchemaRegistryClient& client, const QByteArray& payload)
{
    return syncWait(client.decode(payload));
}

QString failureMessage(const SchemaRegistryClient::Result& result)
{
    if (const auto* failure = std::get_if<Failure>(&result))
        return failure->message();
    return QStringLiteral("decoded: ") + QString::fromUtf8(std::get<Message::Decoded>(result).json);
}

} // namespace

class TestSchemaRegistryClient : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UserDefaults::standard().setString(L10n::key, QStringLiteral("en")); }

    void addressRules()
    {
        auto client = SchemaRegistryClient::create(" \n registry.local:8081/ \t", {}, {}, 8000);
        QVERIFY(client);
        QCOMPARE(client->base().toString(), QStringLiteral("http://registry.local:8081"));
        QVERIFY(!client->credentials());
        QCOMPARE(SchemaRegistryClient::create("https://secure:8443//", {}, {}, 8000)->base().toString(),
                 QStringLiteral("https://secure:8443"));
        QVERIFY(!SchemaRegistryClient::create("///", {}, {}, 8000));
        QVERIFY(!SchemaRegistryClient::create(" \n ", {}, {}, 8000));
        QVERIFY(!SchemaRegistryClient::create("http://bad host", {}, {}, 8000));
        // A scheme in capitals is not recognised: it gets one of its own in front.
        auto upper = SchemaRegistryClient::create("HTTP://Registry:8081", {}, {}, 8000);
        QVERIFY(upper);
        QVERIFY(upper->base().toString().startsWith(QStringLiteral("http://")));
        QCOMPARE(upper->base().host(), QStringLiteral("http"));
        QCOMPARE(SchemaRegistryClient::describe("  x \n"), QStringLiteral("x"));
    }

    void foundSchemasAreFetchedOnce()
    {
        RegistryPeer peer;
        peer.answer("/registry/schemas/ids/7", {200, registryAnswer(kOrderSchema)});
        auto client = SchemaRegistryClient::create(peer.address() + "/registry/", {}, {}, 8000);
        QVERIFY(client);

        auto result = decode(*client, framed(7, orderBody(12.5)));
        const auto* decoded = std::get_if<Message::Decoded>(&result);
        QVERIFY2(decoded, qPrintable(failureMessage(result)));
        QCOMPARE(decoded->schemaID, 7);
        QCOMPARE(decoded->json, QByteArray(R"({"amount":12.5,"customer":{"name":"Ana"},"id":42})"));
        QVERIFY(decoded->shape);
        QCOMPARE(decoded->shape->fields().value("customer.name"), JSONKind(JSONKind::string));
        QCOMPARE(decoded->shape->fields().value("amount"), JSONKind(JSONKind::number));

        // A NaN field does not fail a valid record.
        result = decode(*client, framed(7, orderBody(std::nan(""))));
        QVERIFY2(std::holds_alternative<Message::Decoded>(result), qPrintable(failureMessage(result)));
        QCOMPARE(std::get<Message::Decoded>(result).json,
                 QByteArray(R"({"amount":"NaN","customer":{"name":"Ana"},"id":42})"));

        QCOMPARE(peer.count("/registry/schemas/ids/7"), 1);
        QCOMPARE(peer.requests.first().headers.value("accept"), QByteArray("application/vnd.schemaregistry.v1+json"));
        QVERIFY(!peer.requests.first().headers.contains("authorization"));

        // A short body is a decode error of that schema.
        result = decode(*client, framed(7, QByteArray("\x54", 1)));
        QCOMPARE(failureMessage(result), QStringLiteral("schema 7 could not be parsed: truncated"));
        QCOMPARE(peer.count("/registry/schemas/ids/7"), 1);
    }

    void primitiveRootsAreWrapped()
    {
        RegistryPeer peer;
        peer.answer("/schemas/ids/3", {200, registryAnswer("\"string\"")});
        peer.answer("/schemas/ids/4", {200, registryAnswer("\"double\"", "avro")});
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 8000);
        auto result = decode(*client, framed(3, QByteArray("\x04hi", 3)));
        QVERIFY2(std::holds_alternative<Message::Decoded>(result), qPrintable(failureMessage(result)));
        QCOMPARE(std::get<Message::Decoded>(result).json, QByteArray(R"({"value":"hi"})"));
        QVERIFY(!std::get<Message::Decoded>(result).shape);
        result = decode(*client, framed(4, doubleBytes(-INFINITY)));
        QVERIFY2(std::holds_alternative<Message::Decoded>(result), qPrintable(failureMessage(result)));
        QCOMPARE(std::get<Message::Decoded>(result).json, QByteArray(R"({"value":"-Infinity"})"));
    }

    void unionRootsAreWrappedOnlyWhenNotADocument()
    {
        RegistryPeer peer;
        // A schema type that is not a text means Avro.
        QByteArray answer =
            registryAnswer(R"(["null",{"type":"record","name":"R","fields":[{"name":"a","type":"int"}]}])");
        answer.chop(1);
        answer += R"(,"schemaType":5})";
        peer.answer("/schemas/ids/5", {200, answer});
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 8000);
        auto result = decode(*client, framed(5, QByteArray("\x02\x02", 2)));
        QVERIFY2(std::holds_alternative<Message::Decoded>(result), qPrintable(failureMessage(result)));
        QCOMPARE(std::get<Message::Decoded>(result).json, QByteArray(R"({"a":1})"));
        // The root is a union, not a record: no shape.
        QVERIFY(!std::get<Message::Decoded>(result).shape);
        result = decode(*client, framed(5, QByteArray(1, 0)));
        QVERIFY2(std::holds_alternative<Message::Decoded>(result), qPrintable(failureMessage(result)));
        QCOMPARE(std::get<Message::Decoded>(result).json, QByteArray(R"({"value":null})"));
        QCOMPARE(failureMessage(decode(*client, framed(5, QByteArray(1, 4)))),
                 QStringLiteral("schema 5 could not be parsed: badUnionIndex(2)"));
        QCOMPARE(peer.count("/schemas/ids/5"), 1);
    }

    void authorizationHeader()
    {
        RegistryPeer peer;
        peer.answer("/schemas/ids/1", {200, registryAnswer("\"int\"")});
        auto client = SchemaRegistryClient::create(peer.address(), "reader", std::nullopt, 8000);
        QCOMPARE(*client->credentials(), QByteArray("reader:").toBase64());
        decode(*client, framed(1, "\x02"));
        auto withPassword = SchemaRegistryClient::create(peer.address(), "r\u00e9", QStringLiteral("p:w"), 8000);
        decode(*withPassword, framed(1, "\x02"));
        QCOMPARE(peer.requests.size(), 2);
        QCOMPARE(peer.requests[0].headers.value("authorization"), "Basic " + QByteArray("reader:").toBase64());
        QCOMPARE(peer.requests[1].headers.value("authorization"), "Basic " + QByteArray("r\xc3\xa9:p:w").toBase64());
        // A password without a user name sends nothing.
        QVERIFY(!SchemaRegistryClient::create(peer.address(), {}, QStringLiteral("secret"), 8000)->credentials());
    }

    void missesAreRememberedOnlyWhenFinal()
    {
        RegistryPeer peer;
        peer.answer("/schemas/ids/12", {200, registryAnswer("\"int\"", "PROTOBUF")});
        peer.answer("/schemas/ids/13", {200, R"({"id":13})"});
        peer.answer("/schemas/ids/14", {200, registryAnswer("{")});
        peer.answer("/schemas/ids/15", {401, {}});
        peer.answer("/schemas/ids/16", {403, {}});
        const QByteArray longBody(1000, 'x');
        peer.answer("/schemas/ids/17", {503, "\xc3\xa9" + longBody});
        peer.answer("/schemas/ids/18", {500, "\xff\xfe"});
        peer.answer("/schemas/ids/19", {200, R"(["schema"])"});
        peer.answer("/schemas/ids/20", {200, R"({"schema":5})"});
        peer.answer("/schemas/ids/21", {200, "oops"});
        peer.answer("/schemas/ids/22", {204, {}});
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 8000);

        const QList<std::pair<int, QString>> expected = {
            {9, "the registry has no schema 9"},
            {12, "schema 12 could not be parsed: PROTOBUF is not supported yet \u2014 only Avro"},
            {13, "schema 13 could not be parsed: the registry's answer had no schema field"},
            {14, "schema 14 could not be parsed: notJSON"},
            {15, "the registry refused these credentials"},
            {16, "the registry refused these credentials"},
            {17, "the registry answered 503: \u00e9" + QString(longBody.left(199))},
            {18, "the registry answered 500: "},
            {19, "schema 19 could not be parsed: the registry's answer had no schema field"},
            {20, "schema 20 could not be parsed: the registry's answer had no schema field"},
            {21, "schema 21 could not be parsed: the registry's answer had no schema field"},
            {22, "schema 22 could not be parsed: the registry's answer had no schema field"},
        };
        for (int round = 1; round <= 2; ++round) {
            for (const auto& [id, sentence] : expected)
                QCOMPARE(failureMessage(decode(*client, framed(id, "\x02"))), sentence);
        }
        // Not found and unusable schemas are asked for once; refusals and outages every time.
        for (int id : {9, 12, 13, 14, 19, 20, 21, 22})
            QCOMPARE(peer.count("/schemas/ids/" + QByteArray::number(id)), 1);
        for (int id : {15, 16, 17, 18})
            QCOMPARE(peer.count("/schemas/ids/" + QByteArray::number(id)), 2);

        // Nothing is asked for a payload that is not framed.
        QCOMPARE(failureMessage(decode(*client, QByteArray(3, 0))),
                 QStringLiteral("schema -1 could not be parsed: not a Confluent-framed payload"));
        QCOMPARE(peer.requests.size(), 16);
    }

    void silenceAndAbsence()
    {
        RegistryPeer peer;
        peer.answer("/schemas/ids/5", {200, {}, true});
        peer.answer("/schemas/ids/6", {200, {}, false, true});
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 300);
        QCOMPARE(failureMessage(decode(*client, framed(5, "\x02"))),
                 QStringLiteral("the registry did not answer: The request timed out."));
        // Within one read an unreachable registry is asked once: the other schemas share its failure.
        QCOMPARE(failureMessage(decode(*client, framed(7, "\x02"))),
                 QStringLiteral("the registry did not answer: The request timed out."));
        QCOMPARE(peer.count("/schemas/ids/7"), 0);
        // The next read asks again.
        client->forgetOutage();
        decode(*client, framed(5, "\x02"));
        QCOMPARE(peer.count("/schemas/ids/5"), 2);
        client->forgetOutage();

        auto notHTTP = decode(*client, framed(6, "\x02"));
        QVERIFY(std::holds_alternative<Failure>(notHTTP));
        QCOMPARE(std::get<Failure>(notHTTP).kind(), Failure::Kind::Unreachable);

        // Nobody listening at all.
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        const quint16 port = closed.serverPort();
        closed.close();
        auto nobody = SchemaRegistryClient::create(QStringLiteral("127.0.0.1:%1").arg(port), {}, {}, 2000);
        auto result = decode(*nobody, framed(1, "\x02"));
        QVERIFY(std::holds_alternative<Failure>(result));
        QCOMPARE(std::get<Failure>(result).kind(), Failure::Kind::Unreachable);
        QVERIFY(failureMessage(result).startsWith(QStringLiteral("the registry did not answer: ")));
    }

    void anAnswerBrokenAfterItsStatusIsAnOutage()
    {
        // The same schema answers after the registry recovers: nothing about it was remembered.
        RegistryPeer peer;
        const QByteArray whole = registryAnswer("\"int\"");
        RegistryPeer::Answer cut{200, whole};
        cut.bodyBytes = 5;
        RegistryPeer::Answer stalled = cut;
        stalled.cut = false;
        peer.answer("/schemas/ids/1", cut);
        peer.answer("/schemas/ids/2", stalled);
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 500);
        for (int id : {1, 2}) {
            const auto broken = decode(*client, framed(id, "\x02"));
            QVERIFY(std::holds_alternative<Failure>(broken));
            QCOMPARE(std::get<Failure>(broken).kind(), Failure::Kind::Unreachable);
            client->forgetOutage();
            peer.answer("/schemas/ids/" + QByteArray::number(id), {200, whole});
            const auto recovered = decode(*client, framed(id, "\x02"));
            QVERIFY2(std::holds_alternative<Message::Decoded>(recovered), qPrintable(failureMessage(recovered)));
        }
    }

    void anEndlessAnswerIsRefusedPastItsBound()
    {
        RegistryPeer peer;
        RegistryPeer::Answer endless;
        endless.endless = true;
        peer.answer("/schemas/ids/1", endless);
        RegistryPeer::Answer huge{200, registryAnswer(QByteArray(2 * 1024 * 1024, ' ') + "\"int\"")};
        peer.answer("/schemas/ids/2", huge);
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 20000);
        QElapsedTimer clock;
        clock.start();
        for (int id : {1, 2}) {
            const auto result = decode(*client, framed(id, "\x02"));
            QCOMPARE(
                failureMessage(result),
                QStringLiteral("the registry answered 200: its answer passed 1 MiB, far more than any schema, so I "
                               "stopped reading it"));
        }
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
    }

    void aTricklingRegistryIsBoundedInTotal()
    {
        // A byte every 100 ms never lets the silence time-out fire; the whole request is bounded.
        RegistryPeer peer;
        peer.answer("/schemas/ids/1", {200, registryAnswer("\"int\""), false, false, 100});
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 600);
        QElapsedTimer clock;
        clock.start();
        const auto result = decode(*client, framed(1, "\x02"));
        QVERIFY(std::holds_alternative<Failure>(result));
        QCOMPARE(std::get<Failure>(result).kind(), Failure::Kind::Unreachable);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void redirectsStayWithinTheOrigin()
    {
        // Another port is another origin: the credentials must not follow.
        RegistryPeer elsewhere;
        elsewhere.answer("/schemas/ids/1", {200, registryAnswer("\"int\"")});
        RegistryPeer peer;
        peer.answer("/schemas/ids/1",
                    {307, {}, false, false, 0, "http://" + elsewhere.address().toUtf8() + "/schemas/ids/1"});
        peer.answer("/schemas/ids/2", {307, {}, false, false, 0, "/moved/2"});
        peer.answer("/moved/2", {200, registryAnswer("\"int\"")});
        auto client = SchemaRegistryClient::create(peer.address(), "reader", QStringLiteral("secret"), 5000);
        QVERIFY(std::holds_alternative<Failure>(decode(*client, framed(1, "\x02"))));
        QVERIFY(elsewhere.requests.isEmpty());
        // Within the same origin a redirect is followed.
        const auto moved = decode(*client, framed(2, "\x02"));
        QVERIFY2(std::holds_alternative<Message::Decoded>(moved), qPrintable(failureMessage(moved)));
    }

    void releasingTheClientEndsItsRequests()
    {
        RegistryPeer peer;
        peer.answer("/schemas/ids/5", {200, {}, true});
        auto client = SchemaRegistryClient::create(peer.address(), {}, {}, 8000);
        std::optional<SchemaRegistryClient::Result> outcome;
        auto task = [&]() -> QCoro::Task<> {
            auto decoding = client->decode(framed(5, "\x02"));
            outcome = co_await std::move(decoding);
        };
        auto running = task();
        QTRY_COMPARE(peer.requests.size(), 1);
        client.reset();
        QVERIFY(outcome);
        QCOMPARE(std::get<Failure>(*outcome).kind(), Failure::Kind::Unreachable);
    }

    void sentencesFollowTheLanguage()
    {
        const QList<Failure> failures = {
            Failure::unreachable("x"),        Failure::notFound(9),     Failure::badSchema(3, "truncated"),
            Failure::unexpected(503, "busy"), Failure::notConfigured(), Failure::unauthorized(),
        };
        const QStringList english = {
            "the registry did not answer: x",
            "the registry has no schema 9",
            "schema 3 could not be parsed: truncated",
            "the registry answered 503: busy",
            "no Schema Registry configured for this broker",
            "the registry refused these credentials",
        };
        const QStringList portuguese = {
            "o registry n\u00e3o respondeu: x",
            "o registry n\u00e3o tem o schema 9",
            "o schema 3 n\u00e3o p\u00f4de ser interpretado: truncated",
            "o registry respondeu 503: busy",
            "nenhum Schema Registry configurado para este broker",
            "o registry recusou estas credenciais",
        };
        QCOMPARE(QString::fromUtf8(Failure::notFound(9).what()), QStringLiteral("the registry has no schema 9"));
        for (qsizetype i = 0; i < failures.size(); ++i)
            QCOMPARE(failures[i].message(), english[i]);

        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        QCOMPARE(L10n::effective(), AppLanguage::pt);
        for (qsizetype i = 0; i < failures.size(); ++i)
            QCOMPARE(failures[i].message(), portuguese[i]);
        // A payload holding a format sequence is put in as it stands.
        QCOMPARE(Failure::badSchema(4, "%d %@").message(),
                 QStringLiteral("o schema 4 n\u00e3o p\u00f4de ser interpretado: %d %@"));
        // what() stays English whatever the language.
        QCOMPARE(QString::fromUtf8(Failure::unauthorized().what()),
                 QStringLiteral("the registry refused these credentials"));

        UserDefaults::standard().setString(L10n::key, QStringLiteral("en"));
        QCOMPARE(Failure::unauthorized().message(), QStringLiteral("the registry refused these credentials"));
    }
};

QTEST_GUILESS_MAIN(TestSchemaRegistryClient)
#include "tst_SchemaRegistryClient.moc"
