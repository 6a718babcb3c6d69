#include "TessaronCore/model/Message.h"

#include <QSet>
#include <QTimeZone>
#include <QtTest>

using namespace tessaron;

namespace {

Message withPayload(std::optional<QByteArray> payload, std::optional<QByteArray> key = std::nullopt)
{
    return Message(QStringLiteral("orders"), 3, 1042, std::move(key), std::move(payload), std::nullopt, {});
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

} // namespace

Q_DECLARE_METATYPE(tessaron::PayloadKind)

class TestMessage : public QObject {
    Q_OBJECT
private slots:
    void identity()
    {
        QCOMPARE(withPayload("a").id(), QStringLiteral("orders/3/1042"));
        Message negative(QStringLiteral("q"), -1, -5, std::nullopt, std::nullopt, std::nullopt, {});
        QCOMPARE(negative.id(), QStringLiteral("q/-1/-5"));
        Message big(QStringLiteral("q"), 0, int64_t(1) << 40, std::nullopt, std::nullopt, std::nullopt, {});
        QCOMPARE(big.id(), QStringLiteral("q/0/1099511627776"));

        Message a = withPayload("one", QByteArray("k"));
        Message b(QStringLiteral("orders"), 3, 1042, std::nullopt, QByteArray("two"), QDateTime::currentDateTimeUtc(),
                  {{QStringLiteral("h"), "v"}});
        QCOMPARE(a, b);
        QCOMPARE(qHash(a), qHash(b));
        QCOMPARE(QSet<Message>({a, b}).size(), 1);
    }

    void tombstone()
    {
        Message m(QStringLiteral("t"), 0, 1, QByteArray("key"), std::nullopt, std::nullopt,
                  {{QStringLiteral("h"), "v"}});
        QVERIFY(m.isTombstone());
        QCOMPARE(m.payloadKind(), PayloadKind(PayloadKind::tombstone));
        QVERIFY(!m.payloadString());
        QVERIFY(!m.readablePayload());
        QCOMPARE(m.keyString(), std::optional<QString>(QStringLiteral("key")));
    }

    void textViews()
    {
        QVERIFY(!withPayload(bytes({0xff, 0xfe})).payloadString());
        QVERIFY(!withPayload("x", bytes({0xc3})).keyString());
        QCOMPARE(withPayload("ok", QByteArray("")).keyString(), std::optional<QString>(QString()));
        QCOMPARE(withPayload(QString::fromUtf8("ol\u00e1").toUtf8()).payloadString(),
                 std::optional<QString>(QString::fromUtf8("ol\u00e1")));
        // An encoded surrogate is not valid UTF-8.
        QVERIFY(!withPayload(bytes({0xed, 0xa0, 0x80})).rawPayloadString());
    }

    void decodedMessage()
    {
        Message m = withPayload(bytes({0, 0, 0, 0, 7, 0xff}));
        QVERIFY(!m.decoded() && !m.decodeFailure());
        QCOMPARE(m.payloadKind(), PayloadKind(PayloadKind::avroConfluent, 7));
        m.setDecoded(Message::Decoded{9, "{\"a\":1}", MessageShape({{QStringLiteral("a"), JSONKind::number}})});
        QCOMPARE(m.payloadKind(), PayloadKind(PayloadKind::avroDecoded, 9));
        QCOMPARE(m.payloadString(), std::optional<QString>(QStringLiteral("{\"a\":1}")));
        QCOMPARE(m.readablePayload(), std::optional<QByteArray>("{\"a\":1}"));
        QVERIFY(!m.rawPayloadString()); // the framed bytes are not UTF-8

        Message utf = withPayload(bytes({0, 0, 0, 0, 7, 'x'}));
        utf.setDecoded(Message::Decoded{7, "{}", std::nullopt});
        QCOMPARE(utf.rawPayloadString(), std::optional<QString>(QString::fromLatin1(bytes({0, 0, 0, 0, 7, 'x'}))));

        // A copy is a value of its own: changing its decoding leaves the original's alone, and
        // the failure and the decoding are kept and cleared independently.
        Message copy = m;
        copy.setDecodeFailure(QStringLiteral("schema 9 not found"));
        copy.setDecoded(std::nullopt);
        QCOMPARE(m.decoded()->schemaID, 9);
        QVERIFY(!m.decodeFailure());
        QVERIFY(!copy.decoded());
        QCOMPARE(copy.decodeFailure(), std::optional<QString>("schema 9 not found"));
        QCOMPARE(copy.payloadKind(), PayloadKind(PayloadKind::avroConfluent, 7));
        copy.setDecodeFailure(std::nullopt);
        QVERIFY(!copy.decoded() && !copy.decodeFailure());
    }

    void payloadKinds_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<PayloadKind>("kind");
        QTest::newRow("framed 42") << bytes({0, 0, 0, 0, 42, 'z', 'z'}) << PayloadKind(PayloadKind::avroConfluent, 42);
        QTest::newRow("framed exactly five") << bytes({0, 0, 0, 1, 0}) << PayloadKind(PayloadKind::avroConfluent, 256);
        QTest::newRow("framed -1") << bytes({0, 255, 255, 255, 255}) << PayloadKind(PayloadKind::avroConfluent, -1);
        QTest::newRow("four bytes not framed") << bytes({0, 0, 0, 42}) << PayloadKind(PayloadKind::text);
        QTest::newRow("json with blank lines") << QByteArray("\n\n  {\"a\":1}\n\n") << PayloadKind(PayloadKind::json);
        QTest::newRow("json array") << QByteArray("[1,2]") << PayloadKind(PayloadKind::json);
        QTest::newRow("brackets only") << QByteArray("{oops}") << PayloadKind(PayloadKind::text);
        QTest::newRow("mismatched brackets") << QByteArray("{\"a\":[1}") << PayloadKind(PayloadKind::text);
        QTest::newRow("two objects") << QByteArray("{} {}") << PayloadKind(PayloadKind::text);
        QTest::newRow("number") << QByteArray("42") << PayloadKind(PayloadKind::text);
        QTest::newRow("quoted string") << QByteArray("\"s\"") << PayloadKind(PayloadKind::text);
        QTest::newRow("empty") << QByteArray("") << PayloadKind(PayloadKind::text);
        QTest::newRow("binary") << bytes({255, 254}) << PayloadKind(PayloadKind::binary);
        QTest::newRow("binary json-ish") << bytes({'{', 0xff, '}'}) << PayloadKind(PayloadKind::binary);
    }
    void payloadKinds()
    {
        QFETCH(QByteArray, payload);
        QFETCH(PayloadKind, kind);
        QCOMPARE(withPayload(payload).payloadKind(), kind);
    }

    void payloadKindValues()
    {
        QCOMPARE(PayloadKind(PayloadKind::avroConfluent, 7).label(), QString::fromUtf8("Avro \u00b7 schema 7"));
        QCOMPARE(PayloadKind(PayloadKind::avroDecoded, 7).label(), QString::fromUtf8("Avro \u00b7 schema 7"));
        QCOMPARE(PayloadKind(PayloadKind::avroConfluent, -1).label(), QString::fromUtf8("Avro \u00b7 schema -1"));
        QCOMPARE(PayloadKind(PayloadKind::json).label(), QStringLiteral("JSON"));
        QVERIFY(PayloadKind(PayloadKind::avroConfluent, 1) != PayloadKind(PayloadKind::avroConfluent, 2));
        QVERIFY(PayloadKind(PayloadKind::avroConfluent, 1) != PayloadKind(PayloadKind::avroDecoded, 1));
        QCOMPARE(PayloadKind(PayloadKind::text).schemaID(), std::optional<int32_t>());
    }

    // The texts a timestamp is shown and sent with: the instant and its UTC text stay as they were
    // whatever zone object the reader stamped the message with.
    void timestampTexts()
    {
        for (const QDateTime& stamp : {QDateTime::fromMSecsSinceEpoch(1700000000123, QTimeZone::utc()),
                                       QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC)}) {
            const Message m(QStringLiteral("orders"), 0, 1, std::nullopt, QByteArray("{}"), stamp, {});
            QCOMPARE(m.timestamp()->toMSecsSinceEpoch(), 1700000000123);
            QCOMPARE(*m.timestamp(), stamp);
            QCOMPARE(m.timestamp()->timeSpec(), Qt::UTC);
            QCOMPARE(m.timestamp()->toString(Qt::ISODateWithMs), QStringLiteral("2023-11-14T22:13:20.123Z"));
            QCOMPARE(m.timestamp()->toUTC().toString(Qt::ISODate), QStringLiteral("2023-11-14T22:13:20Z"));
            QCOMPARE(m.timestamp()->toUTC().toString(Qt::ISODateWithMs), QStringLiteral("2023-11-14T22:13:20.123Z"));
            QCOMPARE(m.timestamp()->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz t")),
                     QStringLiteral("2023-11-14 22:13:20.123 UTC"));
            QCOMPARE(m.timestamp()->toString(Qt::RFC2822Date), QStringLiteral("14 Nov 2023 22:13:20 +0000"));
        }
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(5000, Qt::OffsetFromUTC, 3600);
        const Message offset(QStringLiteral("orders"), 0, 1, std::nullopt, std::nullopt, local, {});
        QCOMPARE(offset.timestamp()->toString(Qt::ISODate), QStringLiteral("1970-01-01T01:00:05+01:00"));
        QCOMPARE(offset.timestamp()->timeSpec(), Qt::OffsetFromUTC);
    }

    void shapes()
    {
        QMap<QString, JSONKind> one;
        one.insert(QStringLiteral("b"), JSONKind::boolean);
        one.insert(QStringLiteral("a.c"), JSONKind::string);
        QMap<QString, JSONKind> two;
        two.insert(QStringLiteral("a.c"), JSONKind::string);
        two.insert(QStringLiteral("b"), JSONKind::boolean);
        QCOMPARE(MessageShape(one), MessageShape(two));
        QCOMPARE(qHash(MessageShape(one)), qHash(MessageShape(two)));
        two[QStringLiteral("b")] = JSONKind::null;
        QVERIFY(MessageShape(one) != MessageShape(two));

        QCOMPARE(JSONKind(JSONKind::boolean).rawValue(), QStringLiteral("bool"));
        QCOMPARE(JSONKind::fromRawValue(QStringLiteral("bool")), std::optional<JSONKind>(JSONKind::boolean));
        QVERIFY(!JSONKind::fromRawValue(QStringLiteral("String")));
        QVERIFY(!JSONKind::fromRawValue(QStringLiteral("integer")));
        for (JSONKind k : JSONKind::allCases())
            QCOMPARE(JSONKind::fromRawValue(k.label()), std::optional<JSONKind>(k));
    }
};

QTEST_GUILESS_MAIN(TestMessage)
#include "tst_Message.moc"
