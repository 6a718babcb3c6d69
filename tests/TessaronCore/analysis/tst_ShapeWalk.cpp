#include "TessaronCore/analysis/ShapeWalk.h"
#include "TessaronCore/avro/AvroShape.h"

#include <QJsonDocument>
#include <QtTest>

#include <limits>

using namespace tessaron;

namespace {

using Fields = QMap<QString, JSONKind>;

std::optional<Fields> walk(const QByteArray& json, int64_t maxDepth = 2)
{
    const std::optional<MessageShape> shape = ShapeWalk::fromPayload(json, maxDepth);
    return shape ? std::optional<Fields>(shape->fields()) : std::nullopt;
}

std::optional<Fields> walkSchema(const QByteArray& schema, int64_t maxDepth = 2)
{
    const std::optional<MessageShape> shape = AvroShape::fromSchema(AvroSchema::parse(schema), maxDepth);
    return shape ? std::optional<Fields>(shape->fields()) : std::nullopt;
}

QByteArray nested(int arrays) { return "{\"a\":" + QByteArray(arrays, '[') + QByteArray(arrays, ']') + "}"; }

} // namespace

class TestShapeWalk : public QObject {
    Q_OBJECT
private slots:
    void appliesTheDepthRule()
    {
        const QByteArray json = "{\"a\":{\"b\":{\"c\":1}},\"d\":\"x\"}";
        QCOMPARE(walk(json, 2), (Fields{{"a", JSONKind::object}, {"a.b", JSONKind::object}, {"d", JSONKind::string}}));
        QCOMPARE(walk(json, 3),
                 (Fields{{"a", JSONKind::object},
                         {"a.b", JSONKind::object},
                         {"a.b.c", JSONKind::number},
                         {"d", JSONKind::string}}));
        for (int64_t depth : {int64_t(1), int64_t(0), int64_t(-5), std::numeric_limits<int64_t>::min()})
            QCOMPARE(walk(json, depth), (Fields{{"a", JSONKind::object}, {"d", JSONKind::string}}));
        QCOMPARE(walk(json, std::numeric_limits<int64_t>::max())->size(), 4);
    }

    void classifiesKinds()
    {
        QCOMPARE(walk("{\"on\":true,\"off\":false,\"n\":1,\"z\":0,\"f\":-2.5e3,\"s\":\"1\",\"nil\":null,\"tags\":[{"
                      "\"x\":1},[2]],\"o\":{}}"),
                 (Fields{{"on", JSONKind::boolean},
                         {"off", JSONKind::boolean},
                         {"n", JSONKind::number},
                         {"z", JSONKind::number},
                         {"f", JSONKind::number},
                         {"s", JSONKind::string},
                         {"nil", JSONKind::null},
                         {"tags", JSONKind::array},
                         {"o", JSONKind::object}}));
    }

    void takesKeysAsTheyAre()
    {
        // An empty top-level key gives the empty path, and its members their bare keys.
        QCOMPARE(walk("{\"\":{\"x\":1}}"), (Fields{{"", JSONKind::object}, {"x", JSONKind::number}}));
        QCOMPARE(walk("{\"a.b\":1}"), (Fields{{"a.b", JSONKind::number}}));
        QCOMPARE(walk("{\"\\u0061\\\"\\n\":1,\"caf\\u00e9\":2,\"\\ud83d\\ude00\":3}"),
                 (Fields{{QStringLiteral("a\"\n"), JSONKind::number},
                         {QStringLiteral("caf\u00E9"), JSONKind::number},
                         {QString::fromUcs4(U"\U0001F600"), JSONKind::number}}));
    }

    void keepsOnlyTheLastOfARepeatedKey()
    {
        QCOMPARE(walk("{\"a\":1,\"a\":\"x\"}"), (Fields{{"a", JSONKind::string}}));
        // The earlier object's members must not survive it.
        QCOMPARE(walk("{\"a\":{\"b\":1},\"a\":2}"), (Fields{{"a", JSONKind::number}}));
        QCOMPARE(walk("{\"a\":2,\"a\":{\"b\":1}}"), (Fields{{"a", JSONKind::object}, {"a.b", JSONKind::number}}));
    }

    void settlesADottedKeyBesideANestedOneAlike()
    {
        // Two members yield the path a.b; whichever order they come in, the dotted key wins.
        const Fields expected{{"a", JSONKind::object}, {"a.b", JSONKind::string}};
        QCOMPARE(walk("{\"a\":{\"b\":1},\"a.b\":\"x\"}"), expected);
        QCOMPARE(walk("{\"a.b\":\"x\",\"a\":{\"b\":1}}"), expected);
    }

    void givesNoShapeWithoutAnObjectWithPaths()
    {
        QVERIFY(!ShapeWalk::fromPayload(std::optional<QByteArray>(), 2));
        for (const QByteArray& json :
             {QByteArray("{}"), QByteArray(" { } "), QByteArray("[{\"a\":1}]"), QByteArray("42"),
              QByteArray("\"text\""), QByteArray("true"), QByteArray("plain text"), QByteArray(),
              QByteArray("\x00\x00\x00\x00\x01{\"a\":1}", 13)})
            QVERIFY2(!walk(json), json.constData());
    }

    void acceptsWhatThePlatformParserAccepts_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("spaces") << QByteArray(" \r\n\t{ \"a\" : 1 }\n");
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF{\"a\":1}");
        QTest::newRow("numbers") << QByteArray("{\"a\":[-0,0.5,1E5,-2.5e-3,1e+2,123456789012345678901234567890]}");
        QTest::newRow("subnormal") << QByteArray("{\"a\":[1e-320,1.7976931348623157e308]}");
        QTest::newRow("escapes") << QByteArray("{\"a\":\"\\\"\\\\\\/\\b\\f\\n\\r\\t\\u00e9\\ud83d\\ude00\"}");
        QTest::newRow("utf8") << QByteArray("{\"a\":\"ol\xC3\xA1 \xF0\x9F\x98\x80\"}");
        QTest::newRow("long numbers") << QByteArray("{\"a\":[1" + QByteArray(300, '0') + ",0." + QByteArray(300, '0')
                                                    + "1]}");
        QTest::newRow("nesting") << QByteArray(
            "{\"a\":[1,{\"b\":[[],{}]},\"]\"],\"c\":{\"d\":{\"e\":[{\"f\":null}]}}}");
    }
    void acceptsWhatThePlatformParserAccepts()
    {
        QFETCH(QByteArray, json);
        QVERIFY(QJsonDocument::fromJson(json).isObject());
        QVERIFY(walk(json));
    }

    void refusesWhatIsNotJson_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("trailing comma") << QByteArray("{\"a\":1,}");
        QTest::newRow("leading zero") << QByteArray("{\"a\":01}");
        QTest::newRow("bare point") << QByteArray("{\"a\":1.}");
        QTest::newRow("no integer") << QByteArray("{\"a\":.5}");
        QTest::newRow("plus") << QByteArray("{\"a\":+1}");
        QTest::newRow("empty exponent") << QByteArray("{\"a\":1e}");
        QTest::newRow("minus alone") << QByteArray("{\"a\":-}");
        QTest::newRow("overflow") << QByteArray("{\"a\":1e400}");
        QTest::newRow("underflow") << QByteArray("{\"a\":1e-400}");
        QTest::newRow("long underflow") << QByteArray("{\"a\":0." + QByteArray(400, '0') + "1}");
        QTest::newRow("long overflow") << QByteArray("{\"a\":1" + QByteArray(400, '0') + "}");
        QTest::newRow("negative overflow") << QByteArray("{\"a\":-1.5E+309}");
        QTest::newRow("unknown escape") << QByteArray("{\"a\":\"\\x\"}");
        QTest::newRow("lone high surrogate") << QByteArray("{\"a\":\"\\ud800\"}");
        QTest::newRow("lone low surrogate") << QByteArray("{\"a\":\"\\udc00x\"}");
        QTest::newRow("short unicode escape") << QByteArray("{\"a\":\"\\u12\"}");
        QTest::newRow("raw control") << QByteArray("{\"a\":\"tab\there\"}");
        QTest::newRow("invalid utf8") << QByteArray("{\"a\":\"\xFF\"}");
        QTest::newRow("overlong utf8") << QByteArray("{\"a\":\"\xC0\xAF\"}");
        QTest::newRow("surrogate utf8") << QByteArray("{\"\xED\xA0\x80\":1}");
        QTest::newRow("single quotes") << QByteArray("{'a':1}");
        QTest::newRow("bare key") << QByteArray("{a:1}");
        QTest::newRow("garbage after") << QByteArray("{\"a\":1}x");
        QTest::newRow("two documents") << QByteArray("{\"a\":1}{}");
        QTest::newRow("missing colon") << QByteArray("{\"a\" 1}");
        QTest::newRow("bad literal") << QByteArray("{\"a\":tru}");
        QTest::newRow("capital literal") << QByteArray("{\"a\":True}");
        QTest::newRow("unclosed array") << QByteArray("{\"a\":[1,2}");
        QTest::newRow("missing comma") << QByteArray("{\"a\":[1 2]}");
        QTest::newRow("unterminated") << QByteArray("{\"a\":{\"b\":1}");
        QTest::newRow("unterminated string") << QByteArray("{\"a\":\"b");
        QTest::newRow("missing value") << QByteArray("{\"a\":}");
        QTest::newRow("nul inside") << QByteArray("{\"a\":1}\0", 8);
    }
    void refusesWhatIsNotJson()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!walk(json));
    }

    void refusesNestingBeyondThePlatformLimit()
    {
        for (int arrays : {1022, 1023, 1024, 1025}) {
            const QByteArray json = nested(arrays);
            QCOMPARE(bool(walk(json)), QJsonDocument::fromJson(json).isObject());
        }
        QVERIFY(walk(nested(1023)));
        QVERIFY(!walk(nested(200000))); // refused without exhausting the stack
    }

    void refusesPathsThatOutgrowTheText()
    {
        // A long key above many short members: every member's path repeats the key.
        const auto above = [](qsizetype keyLength, int members) {
            QByteArray json = "{\"" + QByteArray(keyLength, 'k') + "\":{";
            for (int i = 0; i < members; ++i)
                json += (i ? ",\"" : "\"") + QByteArray::number(i) + "\":1";
            return json + "}}";
        };
        // 5,000 paths of 20,000 bytes each: a hundred megabytes of paths from a text of 60 KB.
        QVERIFY(!walk(above(20'000, 5'000)));
        const std::optional<Fields> ordinary = walk(above(100, 1'000));
        QVERIFY(ordinary);
        QCOMPARE(ordinary->size(), 1'001);
        QCOMPARE(ordinary->value(QByteArray(100, 'k') + ".999"), JSONKind(JSONKind::number));
    }

    void walksAvroRecords()
    {
        const QByteArray schema =
            "{\"type\":\"record\",\"name\":\"Order\",\"namespace\":\"shop\",\"fields\":[ "
            "{\"name\":\"id\",\"type\":\"long\"},{\"name\":\"ok\",\"type\":\"boolean\"},{\"name\":\"note\",\"type\":["
            "\"null\",\"string\"]}, "
            "{\"name\":\"nothing\",\"type\":\"null\"},{\"name\":\"price\",\"type\":{\"type\":\"bytes\",\"logicalType\":"
            "\"decimal\",\"scale\":2}}, "
            "{\"name\":\"day\",\"type\":{\"type\":\"int\",\"logicalType\":\"date\"}},{\"name\":\"state\",\"type\":{"
            "\"type\":\"enum\",\"name\":\"State\",\"symbols\":[\"A\"]}}, "
            "{\"name\":\"again\",\"type\":\"State\"},{\"name\":\"hash\",\"type\":{\"type\":\"fixed\",\"name\":\"H\","
            "\"size\":4}}, "
            "{\"name\":\"attrs\",\"type\":{\"type\":\"map\",\"values\":\"int\"}},{\"name\":\"lines\",\"type\":{"
            "\"type\":\"array\",\"items\":\"string\"}}, "
            "{\"name\":\"mixed\",\"type\":[\"null\",\"int\",\"string\"]},{\"name\":\"empty\",\"type\":[]},{\"name\":"
            "\"nulls\",\"type\":[\"null\"]}, "
            "{\"name\":\"ghost\",\"type\":\"Nowhere\"},{\"name\":\"maybeGhost\",\"type\":[\"null\",\"Nowhere\"]}, "
            "{\"name\":\"addr\",\"type\":{\"type\":\"record\",\"name\":\"Addr\",\"fields\":[{\"name\":\"city\","
            "\"type\":\"string\"}, "
            "{\"name\":\"geo\",\"type\":{\"type\":\"record\",\"name\":\"Geo\",\"fields\":[{\"name\":\"lat\",\"type\":"
            "\"double\"}]}}]}}, {\"name\":\"maybeAddr\",\"type\":[\"null\",\"Addr\"]}]}";
        const Fields expected{
            {"id", JSONKind::number},        {"ok", JSONKind::boolean},      {"note", JSONKind::string},
            {"nothing", JSONKind::null},     {"price", JSONKind::string},    {"day", JSONKind::string},
            {"state", JSONKind::string},     {"again", JSONKind::string},    {"hash", JSONKind::string},
            {"attrs", JSONKind::object},     {"lines", JSONKind::array},     {"mixed", JSONKind::number},
            {"empty", JSONKind::null},       {"nulls", JSONKind::null},      {"addr", JSONKind::object},
            {"addr.city", JSONKind::string}, {"addr.geo", JSONKind::object}, {"maybeAddr", JSONKind::object}};
        QCOMPARE(walkSchema(schema), expected);
        QCOMPARE(walkSchema(schema, 3)->value("addr.geo.lat"), JSONKind(JSONKind::number));
        QVERIFY(!walkSchema(schema, 1)->contains("addr.city"));
    }

    void resolvesANamedRoot()
    {
        AvroSchema::Parsed parsed;
        parsed.root = AvroSchema::named("R");
        parsed.names.insert(
            "R", AvroSchema::record("R", {AvroSchema::Field{"x", AvroSchema::primitive(AvroSchema::Type::Int)}}));
        QCOMPARE(AvroShape::fromSchema(parsed, 2)->fields(), (Fields{{"x", JSONKind::number}}));
        parsed.names.clear();
        QVERIFY(!AvroShape::fromSchema(parsed, 2));
    }

    void givesNoAvroShapeWithoutARecordWithPaths()
    {
        QVERIFY(!walkSchema("\"int\""));
        QVERIFY(!walkSchema("{\"type\":\"record\",\"name\":\"E\",\"fields\":[]}"));
        QVERIFY(!walkSchema("{\"type\":\"record\",\"name\":\"E\",\"fields\":[{\"name\":\"g\",\"type\":\"Nowhere\"}]}"));
        QVERIFY(!walkSchema("{\"type\":\"enum\",\"name\":\"S\",\"symbols\":[\"A\"]}"));
    }

    void endsARecordThatHoldsItself()
    {
        const QByteArray schema = "{\"type\":\"record\",\"name\":\"Node\",\"fields\":[{\"name\":\"v\",\"type\":\"int\"}"
                                  ",{\"name\":\"next\",\"type\":\"Node\"}]}";
        QCOMPARE(walkSchema(schema, 2),
                 (Fields{{"v", JSONKind::number},
                         {"next", JSONKind::object},
                         {"next.v", JSONKind::number},
                         {"next.next", JSONKind::object}}));
        const auto deep = walkSchema(schema, std::numeric_limits<int64_t>::max());
        QVERIFY(deep);
        QCOMPARE(deep->size(), qsizetype(2 * ShapeWalk::depthLimit));
    }
};

QTEST_GUILESS_MAIN(TestShapeWalk)
#include "tst_ShapeWalk.moc"
