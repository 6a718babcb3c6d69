#include "TessaronCore/avro/AvroDecoder.h"
#include "bench/avro/AvroBenchRecords.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

// Largest single allocation made through operator new while armed: hostile input must never make the
// decoder reserve memory for what a header claims.
static std::atomic<bool> g_armed{false};
static std::atomic<size_t> g_largest{0};

static void* tracked(size_t size)
{
    if (g_armed && size > g_largest)
        g_largest = size;
    return std::malloc(size ? size : 1);
}

// Every plain form is replaced, so that each allocation meets its own kind of release.
void* operator new(size_t size)
{
    if (void* p = tracked(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return tracked(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return tracked(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

using namespace tessaron;
using Error = AvroDecoder::DecodeError;
using avrobench::zigzag;

namespace {

QByteArray decode(const char* schema, const QByteArray& body)
{
    return AvroDecoder::decode(body, AvroSchema::parse(schema));
}

// The error a decode fails with; a decode that succeeds fails the test.
Error failure(const char* schema, const QByteArray& body)
{
    try {
        QByteArray json = decode(schema, body);
        qWarning() << "decoded unexpectedly:" << json.left(200);
    } catch (const Error& error) {
        return error;
    }
    return Error::unknownNamedType(QStringLiteral("no failure"));
}

} // namespace

class TestAvroDecoder : public QObject {
    Q_OBJECT
private slots:
    void goldenVectors()
    {
        QFile file(qEnvironmentVariable("TESSARON_TEST_DATA") + "/avro/golden.json");
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        const QJsonArray vectors = QJsonDocument::fromJson(file.readAll()).array();
        QVERIFY(vectors.size() > 20);
        for (const QJsonValue& vector : vectors) {
            QJsonObject v = vector.toObject();
            const QString name = v["name"].toString();
            AvroSchema::Parsed schema = AvroSchema::parse(v["schema"].toString().toUtf8());
            QByteArray body = QByteArray::fromHex(v["hex"].toString().toLatin1());
            QByteArray json;
            try {
                json = AvroDecoder::decode(body, schema);
            } catch (const Error& error) {
                QFAIL(qPrintable(name + ": " + error.text()));
            }
            if (json != v["json"].toString().toUtf8())
                QFAIL(qPrintable(name + "\n got:      " + QString::fromUtf8(json)
                                 + "\n expected: " + v["json"].toString()));
        }
    }

    // Every strict prefix of a valid body ends inside a value; random bytes either decode or fail
    // with a decode error. Run under the sanitizers, this is where a stray read would show.
    void prefixesAndNoise()
    {
        QFile file(qEnvironmentVariable("TESSARON_TEST_DATA") + "/avro/golden.json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray vectors = QJsonDocument::fromJson(file.readAll()).array();
        uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return seed >> 24;
        };
        for (const QJsonValue& vector : vectors) {
            AvroSchema::Parsed schema = AvroSchema::parse(vector["schema"].toString().toUtf8());
            const QByteArray body = QByteArray::fromHex(vector["hex"].toString().toLatin1());
            AvroDecoder whole(schema, body);
            whole.read(schema.root);
            for (qsizetype length = 0; length < whole.cursor(); ++length) {
                try {
                    AvroDecoder::decode(QByteArrayView(body).first(length), schema);
                    QFAIL(qPrintable(vector["name"].toString() + " decoded a prefix of " + QString::number(length)));
                } catch (const Error& error) {
                    QCOMPARE(error.kind(), Error::Kind::Truncated);
                }
            }
            for (int round = 0; round < 300; ++round) {
                QByteArray noise(qsizetype(next() % 64), 0);
                for (char& c : noise)
                    c = char(next());
                try {
                    AvroDecoder::decode(noise, schema);
                } catch (const Error&) { }
            }
        }
    }

    void confluentFrame()
    {
        auto frame = AvroDecoder::splitConfluentFrame(QByteArray::fromHex("000000002a02"));
        QVERIFY(frame);
        QCOMPARE(frame->schemaID, 42);
        QCOMPARE(frame->body, QByteArray::fromHex("02"));
        frame = AvroDecoder::splitConfluentFrame(QByteArray::fromHex("00ffffffff"));
        QVERIFY(frame);
        QCOMPARE(frame->schemaID, -1);
        QVERIFY(frame->body.isEmpty());
        QVERIFY(!AvroDecoder::splitConfluentFrame(QByteArray::fromHex("0000002a")));
        QVERIFY(!AvroDecoder::splitConfluentFrame(QByteArray::fromHex("010000002a02")));
        QVERIFY(!AvroDecoder::splitConfluentFrame({}));
    }

    void integersAndBooleans()
    {
        QCOMPARE(decode("\"long\"", QByteArray::fromHex("8001")), QByteArray("64"));
        QCOMPARE(decode("\"long\"", QByteArray::fromHex("01")), QByteArray("-1"));
        QCOMPARE(decode("\"long\"", QByteArray::fromHex("feffffffffffffffff01")), QByteArray("9223372036854775807"));
        // int keeps the low 32 bits of what was read.
        QCOMPARE(decode("\"int\"", zigzag((int64_t(1) << 32) + 5)), QByteArray("5"));
        QCOMPARE(decode("\"boolean\"", QByteArray::fromHex("02")), QByteArray("true"));
        QCOMPARE(failure("\"long\"", QByteArray(10, char(0xFF))), Error::truncated());
        QCOMPARE(failure("\"long\"", QByteArray::fromHex("80")), Error::truncated());
        QCOMPARE(failure("\"boolean\"", {}), Error::truncated());
        QCOMPARE(failure("\"double\"", QByteArray(7, 0)), Error::truncated());
        // Bits past the 64th of a ten-byte integer are lost, as with any reader of the format.
        QCOMPARE(decode("\"long\"", QByteArray::fromHex("ffffffffffffffffff7f")), QByteArray("-9223372036854775808"));
    }

    void bytesAndStrings()
    {
        QCOMPARE(decode("\"string\"", zigzag(3) + "abc"), QByteArray("\"abc\""));
        QCOMPARE(decode("\"string\"", zigzag(2) + QByteArray::fromHex("c328")), QByteArray("\"0xc328\""));
        // Overlong forms and encoded surrogates are not UTF-8.
        QCOMPARE(decode("\"string\"", zigzag(2) + QByteArray::fromHex("c0af")), QByteArray("\"0xc0af\""));
        QCOMPARE(decode("\"string\"", zigzag(3) + QByteArray::fromHex("eda080")), QByteArray("\"0xeda080\""));
        QByteArray sixteen;
        for (int i = 0; i < 16; ++i)
            sixteen.append(char(i));
        QCOMPARE(decode("\"bytes\"", zigzag(16) + sixteen), QByteArray("\"0x000102030405060708090a0b0c0d0e0f\""));
        QCOMPARE(failure("\"bytes\"", zigzag(-1)), Error::negativeLength());
        QCOMPARE(failure("\"string\"", zigzag(5) + "abc"), Error::truncated());
        QCOMPARE(decode(R"({"type":"fixed","name":"F","size":0})", {}), QByteArray("\"\""));
    }

    void unionsEnumsAndNames()
    {
        QCOMPARE(decode(R"(["null","string"])", zigzag(1) + zigzag(1) + "x"), QByteArray("\"x\""));
        QCOMPARE(failure(R"(["null","string"])", zigzag(2)), Error::badUnionIndex(2));
        QCOMPARE(failure(R"(["null","string"])", QByteArray::fromHex("01")), Error::badUnionIndex(-1));
        QCOMPARE(failure("[]", zigzag(0)), Error::badUnionIndex(0));
        QCOMPARE(failure(R"({"type":"enum","name":"E","symbols":["A","B","C"]})", zigzag(3)), Error::badEnumIndex(3));
        QCOMPARE(failure(R"({"type":"record","name":"R","fields":[{"name":"x","type":"X"}]})", {}),
                 Error::unknownNamedType("X"));
        // A record with a repeated field name keeps the value read last.
        QCOMPARE(
            decode(
                R"({"type":"record","name":"R","fields":[{"name":"a","type":"int"},{"name":"b","type":"int"},{"name":"a","type":"string"}]})",
                zigzag(1) + zigzag(2) + zigzag(1) + "z"),
            QByteArray("{\"a\":\"z\",\"b\":2}"));
        QCOMPARE(decode(R"({"type":"array","items":"int"})", zigzag(0)), QByteArray("[]"));
        QCOMPARE(decode(R"({"type":"map","values":"int"})",
                        zigzag(1) + zigzag(2) + QByteArray::fromHex("ff00") + zigzag(4) + zigzag(0)),
                 QByteArray("{\"0xff00\":4}"));
    }

    void logicalTypes()
    {
        const char* money = R"({"type":"fixed","name":"M","size":2,"logicalType":"decimal","scale":0})";
        QCOMPARE(decode(money, QByteArray::fromHex("ffff")), QByteArray("\"-1\""));
        const char* dec = R"({"type":"bytes","logicalType":"decimal","scale":2})";
        QCOMPARE(decode(dec, zigzag(0)), QByteArray("\"0\""));
        QCOMPARE(decode(dec, zigzag(1) + QByteArray(1, 0)), QByteArray("\"0.00\""));
        QCOMPARE(decode(dec, zigzag(2) + QByteArray::fromHex("fb2e")), QByteArray("\"-12.34\""));
        QCOMPARE(decode(R"({"type":"bytes","logicalType":"decimal","scale":-3})", zigzag(1) + "\x05"),
                 QByteArray("\"5\""));
        // Seventeen bytes take the long-division road; the most negative value has no positive twin.
        QCOMPARE(decode(R"({"type":"bytes","logicalType":"decimal"})",
                        zigzag(17) + QByteArray::fromHex("ff") + QByteArray(16, 0)),
                 QByteArray("\"-340282366920938463463374607431768211456\""));
        QCOMPARE(
            decode(R"({"type":"bytes","logicalType":"decimal"})", zigzag(8) + QByteArray::fromHex("8000000000000000")),
            QByteArray("\"-9223372036854775808\""));

        // What is read follows the logical type, not its base, also when a block count is checked
        // against the bytes left.
        QCOMPARE(decode(R"({"type":"array","items":{"type":"double","logicalType":"date"}})",
                        zigzag(2) + zigzag(0) + zigzag(-1) + zigzag(0)),
                 QByteArray(R"(["1970-01-01","1969-12-31"])"));
        QCOMPARE(decode(R"({"type":"array","items":{"type":"double","logicalType":"decimal","scale":1}})",
                        zigzag(1) + zigzag(1) + "\x05" + zigzag(0)),
                 QByteArray(R"(["0.5"])"));
        QCOMPARE(decode(R"({"type":"map","values":{"type":"fixed","name":"T","size":8,"logicalType":"time-millis"}})",
                        zigzag(1) + zigzag(1) + "k" + zigzag(1000) + zigzag(0)),
                 QByteArray(R"({"k":"00:00:01"})"));

        QByteArray id = QByteArray::fromHex("00112233445566778899aabbccddeeff");
        QCOMPARE(decode(R"({"type":"fixed","name":"U","size":16,"logicalType":"uuid"})", id),
                 QByteArray("\"0x00112233445566778899aabbccddeeff\""));

        // Moments outside the four-digit years and negative times of day get a defined text.
        QCOMPARE(decode(R"({"type":"int","logicalType":"date"})", zigzag(3000000)),
                 QByteArray("\"out of range: 3000000 days\""));
        QCOMPARE(decode(R"({"type":"int","logicalType":"date"})", zigzag(-719162)), QByteArray("\"0001-01-01\""));
        QCOMPARE(decode(R"({"type":"int","logicalType":"date"})", zigzag(2932896)), QByteArray("\"9999-12-31\""));
        QCOMPARE(decode(R"({"type":"long","logicalType":"timestamp-millis"})", zigzag(INT64_MAX)),
                 QByteArray("\"out of range: 9223372036854775807 ms\""));
        QCOMPARE(decode(R"({"type":"long","logicalType":"timestamp-micros"})", zigzag(INT64_MIN)),
                 QByteArray("\"out of range: -9223372036854775808 \u00b5s\""));
        QCOMPARE(decode(R"({"type":"long","logicalType":"timestamp-micros"})", zigzag(-1)),
                 QByteArray("\"1969-12-31T23:59:59.999Z\""));
        QCOMPARE(decode(R"({"type":"int","logicalType":"time-millis"})", zigzag(-1)),
                 QByteArray("\"out of range: -1 ms\""));
        QCOMPARE(decode(R"({"type":"int","logicalType":"time-millis"})", zigzag(90000000)), QByteArray("\"25:00:00\""));
        QCOMPARE(decode(R"({"type":"long","logicalType":"time-micros"})", zigzag(INT64_MAX)),
                 QByteArray("\"2562047788:00:54.775\""));
    }

    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("schema");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("kind");
        using K = Error::Kind;
        const QByteArray nulls = R"({"type":"array","items":"null"})";
        QTest::newRow("huge string length")
            << QByteArray("\"string\"") << zigzag(int64_t(1) << 62) << int(K::Truncated);
        QTest::newRow("overlong varint") << QByteArray("\"long\"") << QByteArray(11, char(0x80)) << int(K::Truncated);
        QTest::newRow("huge block of nulls") << nulls << zigzag(int64_t(1) << 62) << int(K::TooManyItems);
        QTest::newRow("many small blocks of nulls")
            << nulls << (zigzag(600000) + zigzag(600000) + zigzag(0)) << int(K::TooManyItems);
        QTest::newRow("block count without its minimum") << nulls << (zigzag(INT64_MIN)) << int(K::TooManyItems);
        QTest::newRow("huge block of longs")
            << QByteArray(R"({"type":"array","items":"long"})") << zigzag(int64_t(1) << 40) << int(K::Truncated);
        QTest::newRow("huge block of empty records")
            << QByteArray(R"({"type":"array","items":{"type":"record","name":"E","fields":[]}})")
            << zigzag(-(int64_t(1) << 61)) + zigzag(0) << int(K::TooManyItems);
        QTest::newRow("huge map") << QByteArray(R"({"type":"map","values":"null"})") << zigzag(int64_t(1) << 50)
                                  << int(K::Truncated);
        QTest::newRow("self-containing record")
            << QByteArray(R"({"type":"record","name":"R","fields":[{"name":"r","type":"R"}]})") << QByteArray()
            << int(K::TooDeep);
        QTest::newRow("record containing itself twice")
            << QByteArray(R"({"type":"record","name":"R","fields":[{"name":"a","type":"R"},{"name":"b","type":"R"}]})")
            << QByteArray() << int(K::TooDeep);
        QTest::newRow("record branching through arrays") << QByteArray(
            R"({"type":"record","name":"R","fields":[{"name":"a","type":{"type":"array","items":"null"}},{"name":"b","type":"R"},{"name":"c","type":"R"}]})")
                                                         << QByteArray(4096, 0) << int(K::TooDeep);
        QByteArray deepArrays;
        for (int i = 0; i < 300; ++i)
            deepArrays += R"({"type":"array","items":)";
        deepArrays += "\"int\"" + QByteArray(300, '}');
        QTest::newRow("arrays nested 300 deep") << deepArrays << QByteArray(300, char(0x02)) << int(K::TooDeep);
        QTest::newRow("huge decimal") << QByteArray(R"({"type":"bytes","logicalType":"decimal","scale":2})")
                                      << zigzag(4000) + QByteArray(4000, char(0x7F)) << int(K::DecimalTooLarge);
        QTest::newRow("huge fixed decimal")
            << QByteArray(R"({"type":"fixed","name":"F","size":2147483647,"logicalType":"decimal"})")
            << QByteArray(8, 1) << int(K::Truncated);
        QTest::newRow("huge decimal scale")
            << QByteArray(R"({"type":"bytes","logicalType":"decimal","scale":2000000000})") << zigzag(1) + "\x05"
            << int(K::DecimalScaleTooLarge);
        QTest::newRow("huge fixed") << QByteArray(R"({"type":"fixed","name":"F","size":2147483647})")
                                    << QByteArray(8, 0) << int(K::Truncated);
    }

    void hostileInput()
    {
        QFETCH(QByteArray, schema);
        QFETCH(QByteArray, body);
        QFETCH(int, kind);
        AvroSchema::Parsed parsed = AvroSchema::parse(schema);
        g_largest = 0;
        g_armed = true;
        Error::Kind got = Error::Kind::UnknownNamedType;
        try {
            AvroDecoder::decode(body, parsed);
            g_armed = false;
            QFAIL("decoded hostile input");
        } catch (const Error& error) {
            got = error.kind();
        }
        g_armed = false;
        QCOMPARE(int(got), kind);
        // What was read may cost a few megabytes of text before a cap stops it; what a header merely
        // claims costs nothing.
        QVERIFY2(g_largest < 8 << 20, qPrintable(QString::number(g_largest)));
    }

    void errorTexts()
    {
        QCOMPARE(Error::truncated().text(), QStringLiteral("truncated"));
        QCOMPARE(Error::negativeLength().text(), QStringLiteral("negativeLength"));
        QCOMPARE(Error::badUnionIndex(5).text(), QStringLiteral("badUnionIndex(5)"));
        QCOMPARE(Error::badEnumIndex(-1).text(), QStringLiteral("badEnumIndex(-1)"));
        QCOMPARE(Error::unknownNamedType("a.B").text(), QStringLiteral("unknownNamedType(\"a.B\")"));
        QCOMPARE(Error::tooDeep().text(), QStringLiteral("tooDeep"));
        QCOMPARE(Error::tooManyItems().text(), QStringLiteral("tooManyItems"));
        QCOMPARE(QString::fromUtf8(Error::decimalTooLarge().what()), QStringLiteral("decimalTooLarge"));
        QCOMPARE(Error::decimalScaleTooLarge().text(), QStringLiteral("decimalScaleTooLarge"));
    }
};

QTEST_GUILESS_MAIN(TestAvroDecoder)
#include "tst_AvroDecoder.moc"
