#include "TessaronCore/avro/AvroSchema.h"

#include <QTest>

using namespace tessaron;
using Type = AvroSchema::Type;
using Kind = AvroSchema::LogicalType::Kind;

namespace {
AvroSchema prim(Type t) { return AvroSchema::primitive(t); }

AvroSchema::ParseError parseFailure(const char* text)
{
    try {
        AvroSchema::parse(text);
    } catch (const AvroSchema::ParseError& error) {
        return error;
    }
    return AvroSchema::ParseError::unknownType(QStringLiteral("parse succeeded"));
}
} // namespace

class TestAvroSchema : public QObject {
    Q_OBJECT
private slots:
    void bareValuesAndUnions()
    {
        auto parsed = AvroSchema::parse("\"int\"");
        QCOMPARE(parsed.root, prim(Type::Int));
        QVERIFY(parsed.names.isEmpty());
        QCOMPARE(AvroSchema::parse(" [\"null\", \"string\"] ").root,
                 AvroSchema::unionOf({prim(Type::Null), prim(Type::String)}));
        QCOMPARE(AvroSchema::parse("[]").root, AvroSchema::unionOf({}));
        QCOMPARE(AvroSchema::parse("\"Thing\"").root, AvroSchema::named("Thing"));
        // An object whose type is itself a schema takes that schema; the rest is ignored.
        QCOMPARE(AvroSchema::parse(R"({"type": {"type": "array", "items": "long"}, "logicalType": "date"})").root,
                 AvroSchema::array(prim(Type::Long)));
    }

    void logicalTypes()
    {
        QCOMPARE(AvroSchema::parse(R"({"type":"int","logicalType":"date"})").root,
                 AvroSchema::logical(AvroSchema::LogicalType::of(Kind::Date), prim(Type::Int)));
        QCOMPARE(AvroSchema::parse(R"({"type":"int","logicalType":"duration"})").root, prim(Type::Int));
        QCOMPARE(AvroSchema::parse(R"({"type":"int","logicalType":7})").root, prim(Type::Int));
        QCOMPARE(AvroSchema::parse(R"({"type":"bytes","logicalType":"decimal","precision":10,"scale":2})").root,
                 AvroSchema::logical(AvroSchema::LogicalType::decimal(2), prim(Type::Bytes)));
        QCOMPARE(AvroSchema::parse(R"({"type":"bytes","logicalType":"decimal","scale":2.5})").root,
                 AvroSchema::logical(AvroSchema::LogicalType::decimal(0), prim(Type::Bytes)));
        QCOMPARE(AvroSchema::parse(R"({"type":"bytes","logicalType":"decimal","scale":8.0})").root.logicalType().scale,
                 8);
        QCOMPARE(AvroSchema::parse(R"({"type":"string","logicalType":"date"})").root,
                 AvroSchema::logical(AvroSchema::LogicalType::of(Kind::Date), prim(Type::String)));
        // A logical type on a record or enum is ignored; arrays never take one.
        QCOMPARE(AvroSchema::parse(R"({"type":"array","items":"int","logicalType":"date"})").root.type(), Type::Array);

        auto uuid = AvroSchema::parse(R"({"type":"fixed","name":"Id","size":16,"logicalType":"uuid"})");
        auto expected = AvroSchema::logical(AvroSchema::LogicalType::of(Kind::Uuid), AvroSchema::fixed("Id", 16));
        QCOMPARE(uuid.root, expected);
        QCOMPARE(uuid.names.value("Id"), expected);
    }

    void namesAndNamespaces()
    {
        auto parsed = AvroSchema::parse(R"({"type":"record","name":"Order","namespace":"shop","fields":[
            {"name":"item","type":"Item"},
            {"name":"other","type":"other.Item"},
            {"name":"tag","type":{"type":"enum","name":"Tag","symbols":["A","B"]}},
            {"name":"code","type":{"type":"fixed","name":"Code","namespace":"x.y","size":4}}]})");
        QCOMPARE(parsed.root.name(), QStringLiteral("shop.Order"));
        const auto& fields = parsed.root.fields();
        QCOMPARE(fields.size(), 4);
        QCOMPARE(fields[0].schema, AvroSchema::named("shop.Item"));
        QCOMPARE(fields[1].schema, AvroSchema::named("other.Item"));
        QCOMPARE(fields[2].schema, AvroSchema::enumeration("shop.Tag", {"A", "B"}));
        QCOMPARE(fields[3].schema, AvroSchema::fixed("x.y.Code", 4));
        QCOMPARE(QSet<QString>(parsed.names.keyBegin(), parsed.names.keyEnd()),
                 (QSet<QString>{"shop.Order", "shop.Tag", "x.y.Code"}));
        QCOMPARE(parsed.names.value("shop.Order"), parsed.root);

        // A dotted top-level name gives its fields its namespace.
        auto dotted =
            AvroSchema::parse(R"({"type":"record","name":"a.b.Order","fields":[{"name":"i","type":"Item"}]})");
        QCOMPARE(dotted.root.fields()[0].schema, AvroSchema::named("a.b.Item"));
    }

    void recursiveRecordsAndLenientParts()
    {
        auto list = AvroSchema::parse(R"({"type":"record","name":"Node","fields":[
            {"name":"value","type":"long"},{"name":"next","type":["null","Node"],"default":null,"doc":"x"}]})");
        QCOMPARE(list.root.fields()[1].schema, AvroSchema::unionOf({prim(Type::Null), AvroSchema::named("Node")}));
        QCOMPARE(list.names.value("Node"), list.root);

        QVERIFY(AvroSchema::parse(R"({"type":"record","name":"E"})").root.fields().isEmpty());
        QVERIFY(AvroSchema::parse(R"({"type":"error","name":"E","fields":[1]})").root.fields().isEmpty());
        QCOMPARE(AvroSchema::parse(R"({"type":"error","name":"E","fields":[]})").root.type(), Type::Record);
        QVERIFY(AvroSchema::parse(R"({"type":"enum","name":"S","symbols":["a",1]})").root.symbols().isEmpty());
        QCOMPARE(AvroSchema::parse(R"({"type":"fixed","name":"F"})").root.size(), 0);
        QCOMPARE(AvroSchema::parse(R"({"type":"fixed","name":"F","size":true})").root.size(), 0);
        // Undefined names parse; the decoder reports them.
        QCOMPARE(AvroSchema::parse(R"({"type":"nowhere.Thing"})").root, AvroSchema::named("nowhere.Thing"));
        // A later definition of the same name replaces the earlier one.
        auto twice =
            AvroSchema::parse(R"([{"type":"fixed","name":"F","size":1},{"type":"fixed","name":"F","size":2}])");
        QCOMPARE(twice.names.value("F").size(), 2);
    }

    void failures()
    {
        QCOMPARE(parseFailure("{"), AvroSchema::ParseError::notJSON());
        QCOMPARE(parseFailure(""), AvroSchema::ParseError::notJSON());
        QCOMPARE(parseFailure("\"int\" \"long\""), AvroSchema::ParseError::notJSON());
        QCOMPARE(parseFailure("1],[2"), AvroSchema::ParseError::notJSON());
        QCOMPARE(parseFailure("5"), AvroSchema::ParseError::malformed("expected a type"));
        QCOMPARE(parseFailure("{}"), AvroSchema::ParseError::malformed("expected a type"));
        QCOMPARE(parseFailure("[\"int\", null]"), AvroSchema::ParseError::malformed("expected a type"));
        QCOMPARE(parseFailure(R"({"type":"record","fields":[]})"),
                 AvroSchema::ParseError::malformed("named type without a name"));
        QCOMPARE(parseFailure(R"({"type":"record","name":"R","namespace":"n","fields":[{"name":"a"}]})"),
                 AvroSchema::ParseError::malformed("field without name or type in n.R"));
        QCOMPARE(parseFailure(R"({"type":"array"})"), AvroSchema::ParseError::malformed("array without items"));
        QCOMPARE(parseFailure(R"({"type":"map"})"), AvroSchema::ParseError::malformed("map without values"));

        QCOMPARE(AvroSchema::ParseError::notJSON().text(), QStringLiteral("notJSON"));
        QCOMPARE(AvroSchema::ParseError::malformed("map without values").text(),
                 QStringLiteral("malformed(\"map without values\")"));
        QCOMPARE(AvroSchema::ParseError::unknownType("x").text(), QStringLiteral("unknownType(\"x\")"));
    }

    void hostileSchemas()
    {
        // Sizes and scales must stay representable; a negative size cannot be read.
        QCOMPARE(parseFailure(R"({"type":"fixed","name":"F","size":1e300})"),
                 AvroSchema::ParseError::malformed("fixed size out of range"));
        QCOMPARE(parseFailure(R"({"type":"fixed","name":"F","size":-1})"),
                 AvroSchema::ParseError::malformed("fixed size out of range"));
        QCOMPARE(parseFailure(R"({"type":"fixed","name":"F","size":4294967296})"),
                 AvroSchema::ParseError::malformed("fixed size out of range"));
        QCOMPARE(parseFailure(R"({"type":"bytes","logicalType":"decimal","scale":-1e19})"),
                 AvroSchema::ParseError::malformed("decimal scale out of range"));

        // JSON nested thousands deep is refused by the reader before any recursion of ours.
        QByteArray deep = QByteArray(5000, '[') + "\"int\"" + QByteArray(5000, ']');
        QCOMPARE(parseFailure(deep.constData()), AvroSchema::ParseError::notJSON());
        QByteArray deepObjects;
        for (int i = 0; i < 3000; ++i)
            deepObjects += "{\"type\":";
        deepObjects += "\"int\"" + QByteArray(3000, '}');
        QCOMPARE(parseFailure(deepObjects.constData()), AvroSchema::ParseError::notJSON());
        // Nesting the reader accepts parses without trouble.
        QByteArray nested = QByteArray(900, '[') + "\"int\"" + QByteArray(900, ']');
        QCOMPARE(AvroSchema::parse(nested).root.type(), Type::Union);
    }

    void equality()
    {
        QVERIFY(AvroSchema() == prim(Type::Null));
        QVERIFY(!(prim(Type::Int) == prim(Type::Long)));
        QVERIFY(!(AvroSchema::fixed("F", 1) == AvroSchema::fixed("F", 2)));
        QVERIFY(!(AvroSchema::logical(AvroSchema::LogicalType::decimal(1), prim(Type::Bytes))
                  == AvroSchema::logical(AvroSchema::LogicalType::decimal(2), prim(Type::Bytes))));
        QVERIFY(AvroSchema::record("R", {{"a", prim(Type::Int)}}) == AvroSchema::record("R", {{"a", prim(Type::Int)}}));
        QVERIFY(
            !(AvroSchema::record("R", {{"a", prim(Type::Int)}}) == AvroSchema::record("R", {{"b", prim(Type::Int)}})));
        // Accessors of another case read as empty rather than failing.
        QCOMPARE(prim(Type::Int).items(), AvroSchema());
        QVERIFY(prim(Type::Int).branches().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAvroSchema)
#include "tst_AvroSchema.moc"
