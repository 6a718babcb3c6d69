// The JSON text of the benchmark's records and of records whose members are written in another
// order than they are read, byte for byte: the decoder's speed work must not change one byte.
#include "TessaronCore/avro/AvroDecoder.h"

#include "bench/avro/AvroBenchRecords.h"

#include <QTest>

using namespace tessaron;
using namespace tessaron::avrobench;
using Error = AvroDecoder::DecodeError;

namespace {

QByteArray decode(const char* schema, const QByteArray& body)
{
    return AvroDecoder::decode(body, AvroSchema::parse(schema));
}

std::optional<Error> failure(const char* schema, const QByteArray& body)
{
    try {
        decode(schema, body);
    } catch (const Error& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class TestAvroPinnedOutput : public QObject {
    Q_OBJECT

private slots:
    void benchmarkRecords()
    {
        QCOMPARE(decode(kSimpleSchema, simpleBody()),
                 QByteArray(R"({"active":true,"count":17,"page":"\/products\/42","ratio":0.75,)"
                            R"("referrer":"https:\/\/example.org\/","score":98.25,"session":"a1b2c3d4e5",)"
                            R"("userId":1234567890,"x":640,"y":-480})"));
        QCOMPARE(
            decode(kRichSchema, richBody()),
            QByteArray(
                R"({"at":"12:34:56.789","attempts":1,"attributes":{"floor":"3","gate":"B"},)"
                R"("billing":{"city":"Lisboa","country":"PT","street":"Rua Augusta 100","zip":"1100-053"},)"
                R"("carrier":"DHL","channel":"web","checksum":"0x0123456789abcdef","coupon":null,)"
                R"("created":"2023-11-14T22:13:20.123Z","customer":{"address":{"city":"Lisboa","country":"PT",)"
                R"("street":"Rua Augusta 100","zip":"1100-053"},"email":"ana@example.org","id":42,"name":"Ana Lima"},)"
                R"("day":"2023-11-14","discount":"5.00","distance":12.5,"flags":[true,false,true],"gift":false,)"
                R"("id":"0b6f8d2e-4a0c-4f4e-9d55-7d3f2c1b0a99","lines":[{"price":"12.34","qty":2,"sku":"SKU-1"},)"
                R"({"price":"100.00","qty":1,"sku":"SKU-22"}],"note":"leave at door","priority":5,"region":"eu-west",)"
                R"("source":"checkout","status":"PAID","tags":["express","fragile"],"tax":"100.0000",)"
                R"("total":"1234.56","tracking":"JD0146000012345","updated":"2023-11-14T22:13:20.123Z","version":3,)"
                R"("warehouse":7,"weight":1.25})"));
    }

    // Members written out of the order they were read: nested records, a repeated field name
    // (the last field wins, the earlier one is still read), maps with repeated and non-UTF-8 keys.
    void reorderedMembers()
    {
        const char* nested = R"({"type":"record","name":"R","fields":[
            {"name":"z","type":{"type":"record","name":"In","fields":[{"name":"q","type":"int"},{"name":"b","type":"string"}]}},
            {"name":"a","type":{"type":"array","items":"In"}},
            {"name":"m","type":{"type":"map","values":"In"}},
            {"name":"a","type":"long"}]})";
        const QByteArray body = zigzag(1) + text("one") + zigzag(1) + zigzag(2) + text("two") + zigzag(0) + zigzag(2)
            + text("k") + zigzag(3) + text("x") + text("k") + zigzag(4) + text("y") + zigzag(0) + zigzag(-9);
        QCOMPARE(decode(nested, body), QByteArray(R"({"a":-9,"m":{"k":{"b":"y","q":4}},"z":{"b":"one","q":1}})"));

        const char* map = R"({"type":"map","values":"int"})";
        const QByteArray entries = zigzag(3) + zigzag(2) + QByteArray::fromHex("ff00") + zigzag(1) + text("b")
            + zigzag(2) + text("a") + zigzag(3) + zigzag(0);
        QCOMPARE(decode(map, entries), QByteArray(R"({"0xff00":1,"a":3,"b":2})"));
    }

    // More reordered records in one message than the decoder remembers the fields of: the later
    // ones are passed over again when written, with the same text.
    void manyReorderedRecords()
    {
        const char* schema = R"({"type":"record","name":"R","fields":[
            {"name":"z","type":{"type":"array","items":{"type":"record","name":"P","fields":[
                {"name":"y","type":"int"},{"name":"x","type":"string"}]}}},
            {"name":"a","type":"int"}]})";
        const int count = 40'000;
        QByteArray body = zigzag(count);
        QByteArray expected = R"({"a":7,"z":[)";
        for (int i = 0; i < count; ++i) {
            const QByteArray name = "n" + QByteArray::number(i % 97);
            body += zigzag(i) + text(name.constData());
            expected += (i ? ",{\"x\":\"" : "{\"x\":\"") + name + "\",\"y\":" + QByteArray::number(i) + "}";
        }
        body += zigzag(0) + zigzag(7);
        expected += "]}";
        QCOMPARE(decode(schema, body), expected);
    }

    // Fields are read in declaration order, so the first fault met in that order is the one
    // reported, whatever order the members are written in.
    void firstFaultInReadingOrder()
    {
        const char* schema = R"({"type":"record","name":"R","fields":[
            {"name":"z","type":{"type":"enum","name":"E","symbols":["A"]}},
            {"name":"a","type":"string"}]})";
        QCOMPARE(failure(schema, zigzag(4) + zigzag(50)), Error::badEnumIndex(4));
        QCOMPARE(failure(schema, zigzag(0) + zigzag(50)), Error::truncated());
        QCOMPARE(failure(schema, zigzag(0) + zigzag(-1)), Error::negativeLength());
        const char* unions = R"({"type":"record","name":"U","fields":[
            {"name":"y","type":["null","long"]},{"name":"b","type":{"type":"bytes","logicalType":"decimal","scale":2000}}]})";
        QCOMPARE(failure(unions, zigzag(7)), Error::badUnionIndex(7));
        QCOMPARE(failure(unions, zigzag(0) + zigzag(1) + "x"), Error::decimalScaleTooLarge());
    }
};

QTEST_GUILESS_MAIN(TestAvroPinnedOutput)
#include "tst_AvroPinnedOutput.moc"
