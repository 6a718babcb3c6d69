#pragma once

// The records the Avro decoder benchmark decodes, shared with the test that pins their JSON text;
// the decoder's test encodes its own values with the same helpers.
#include <QByteArray>

#include <cstdint>

namespace tessaron::avrobench {

inline QByteArray zigzag(int64_t n)
{
    uint64_t v = (uint64_t(n) << 1) ^ uint64_t(n >> 63);
    QByteArray out;
    do {
        char byte = char(v & 0x7F);
        v >>= 7;
        out.append(v ? char(byte | 0x80) : byte);
    } while (v);
    return out;
}

inline QByteArray text(const char* s) { return zigzag(qstrlen(s)) + s; }
inline QByteArray float32(float f) { return QByteArray(reinterpret_cast<const char*>(&f), 4); }
inline QByteArray float64(double d) { return QByteArray(reinterpret_cast<const char*>(&d), 8); }

// Ten primitive fields.
inline const char* const kSimpleSchema = R"({"type":"record","name":"Click","namespace":"bench","fields":[
  {"name":"userId","type":"long"},{"name":"session","type":"string"},{"name":"page","type":"string"},
  {"name":"x","type":"int"},{"name":"y","type":"int"},{"name":"ratio","type":"float"},
  {"name":"score","type":"double"},{"name":"active","type":"boolean"},{"name":"referrer","type":"string"},
  {"name":"count","type":"long"}]})";

inline QByteArray simpleBody()
{
    return zigzag(1234567890) + text("a1b2c3d4e5") + text("/products/42") + zigzag(640) + zigzag(-480) + float32(0.75f)
        + float64(98.25) + QByteArray(1, 1) + text("https://example.org/") + zigzag(17);
}

// Thirty fields with nested records, arrays, a map, unions and logical types.
inline const char* const kRichSchema = R"({"type":"record","name":"Order","namespace":"bench","fields":[
  {"name":"id","type":{"type":"string","logicalType":"uuid"}},
  {"name":"created","type":{"type":"long","logicalType":"timestamp-millis"}},
  {"name":"updated","type":{"type":"long","logicalType":"timestamp-micros"}},
  {"name":"day","type":{"type":"int","logicalType":"date"}},
  {"name":"at","type":{"type":"int","logicalType":"time-millis"}},
  {"name":"total","type":{"type":"bytes","logicalType":"decimal","precision":12,"scale":2}},
  {"name":"tax","type":{"type":"fixed","name":"Money","size":8,"logicalType":"decimal","precision":18,"scale":4}},
  {"name":"status","type":{"type":"enum","name":"Status","symbols":["NEW","PAID","SHIPPED","DONE"]}},
  {"name":"customer","type":{"type":"record","name":"Customer","fields":[
    {"name":"id","type":"long"},{"name":"name","type":"string"},{"name":"email","type":["null","string"]},
    {"name":"address","type":{"type":"record","name":"Address","fields":[
      {"name":"street","type":"string"},{"name":"city","type":"string"},{"name":"zip","type":"string"},
      {"name":"country","type":"string"}]}}]}},
  {"name":"lines","type":{"type":"array","items":{"type":"record","name":"Line","fields":[
    {"name":"sku","type":"string"},{"name":"qty","type":"int"},
    {"name":"price","type":{"type":"bytes","logicalType":"decimal","precision":9,"scale":2}}]}}},
  {"name":"tags","type":{"type":"array","items":"string"}},
  {"name":"attributes","type":{"type":"map","values":"string"}},
  {"name":"note","type":["null","string"]},
  {"name":"coupon","type":["null","string"]},
  {"name":"priority","type":"int"},
  {"name":"weight","type":"float"},
  {"name":"distance","type":"double"},
  {"name":"gift","type":"boolean"},
  {"name":"channel","type":"string"},
  {"name":"region","type":"string"},
  {"name":"warehouse","type":"int"},
  {"name":"carrier","type":["null","string"]},
  {"name":"tracking","type":"string"},
  {"name":"attempts","type":"int"},
  {"name":"version","type":"long"},
  {"name":"source","type":"string"},
  {"name":"billing","type":"Address"},
  {"name":"discount","type":{"type":"bytes","logicalType":"decimal","precision":6,"scale":2}},
  {"name":"flags","type":{"type":"array","items":"boolean"}},
  {"name":"checksum","type":{"type":"fixed","name":"Sum","size":8}}]})";

inline QByteArray richBody()
{
    QByteArray b;
    b += text("0b6f8d2e-4a0c-4f4e-9d55-7d3f2c1b0a99");
    b += zigzag(1700000000123) + zigzag(1700000000123456) + zigzag(19675) + zigzag(45296789);
    b += zigzag(3) + QByteArray::fromHex("01e240");
    b += QByteArray::fromHex("00000000000f4240");
    b += zigzag(1);
    b += zigzag(42) + text("Ana Lima") + zigzag(1) + text("ana@example.org");
    b += text("Rua Augusta 100") + text("Lisboa") + text("1100-053") + text("PT");
    b += zigzag(2);
    b += text("SKU-1") + zigzag(2) + zigzag(2) + QByteArray::fromHex("04d2");
    b += text("SKU-22") + zigzag(1) + zigzag(2) + QByteArray::fromHex("2710");
    b += zigzag(0);
    b += zigzag(2) + text("express") + text("fragile") + zigzag(0);
    b += zigzag(2) + text("gate") + text("B") + text("floor") + text("3") + zigzag(0);
    b += zigzag(1) + text("leave at door") + zigzag(0);
    b += zigzag(5) + float32(1.25f) + float64(12.5) + QByteArray(1, 0);
    b += text("web") + text("eu-west") + zigzag(7) + zigzag(1) + text("DHL") + text("JD0146000012345");
    b += zigzag(1) + zigzag(3) + text("checkout");
    b += text("Rua Augusta 100") + text("Lisboa") + text("1100-053") + text("PT");
    b += zigzag(2) + QByteArray::fromHex("01f4");
    b += zigzag(3) + QByteArray::fromHex("010001") + zigzag(0);
    b += QByteArray::fromHex("0123456789abcdef");
    return b;
}

} // namespace tessaron::avrobench
