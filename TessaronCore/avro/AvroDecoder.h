#pragma once

#include "TessaronCore/avro/AvroJSONWriter.h"
#include "TessaronCore/avro/AvroSchema.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <cstdint>
#include <exception>
#include <optional>

namespace tessaron {

// Reads one Avro binary value with its writer's schema and writes it straight out as compact JSON
// text: object members sorted by name, unions without a wrapper, logical types rendered as text.
// The bytes come from the network, so every length is checked against the bytes left before
// anything is allocated or looped over, and nesting, item counts and decimals are capped.
class AvroDecoder {
public:
    class DecodeError;

    struct Frame {
        int32_t schemaID = 0; // big-endian unsigned on the wire, kept with the same bits
        QByteArray body;
        friend bool operator==(const Frame&, const Frame&) = default;
    };

    // Caps on what hostile data can make the decoder do.
    static constexpr int kMaxDepth = 256;           // nested values (records, arrays, maps, unions, references)
    static constexpr int64_t kMaxItems = 1'000'000; // values of one message, every field, item and entry counted
    static constexpr int kMaxDecimalBytes = 128;    // unscaled value of a decimal (about 308 digits)
    static constexpr int kMaxDecimalScale = 1000;
    // The largest text buffer a thread keeps between messages.
    static constexpr size_t kKeptBufferBytes = size_t(1) << 20;
    // Field starts remembered per message, so that hostile data cannot make the decoder hold more.
    static constexpr size_t kMaxRememberedFields = size_t(1) << 16;

    // Magic byte 0, a four-byte schema identifier, then the body; nothing when the payload is not framed.
    static std::optional<Frame> splitConfluentFrame(QByteArrayView payload);

    // A decoder over the names table of `schema` and `data`, which must outlive it.
    AvroDecoder(const AvroSchema::Parsed& schema, QByteArrayView data);

    // The value of the parsed schema's root as JSON text; bytes after it are ignored. Throws DecodeError.
    static QByteArray decode(QByteArrayView body, const AvroSchema::Parsed& schema);

    // Reads one value of `schema` at the cursor. Throws DecodeError.
    QByteArray read(const AvroSchema& schema);
    qsizetype cursor() const { return m_cursor; }

private:
    void value(const AvroSchema::Node& node, int depth);
    void record(const AvroSchema::Node& node, int depth);
    void array(const AvroSchema::Node& node, int depth);
    void map(const AvroSchema::Node& node, int depth);
    void logical(const AvroSchema::Node& node, int depth);
    // Moves past one value of `node`, checking it as reading it would, without writing anything.
    void skip(const AvroSchema::Node& node, int depth);
    // A record value passed over: where its fields start (in m_marks, its end after them) and how
    // many items it counted.
    struct Skipped {
        qsizetype start;
        const AvroSchema::Node* node;
        size_t marks;
        int64_t items;
        bool remembered;
    };
    // `keepMarks`: note the field starts even when the record cannot be remembered, for writing it.
    Skipped skipRecordFields(const AvroSchema::Node& node, int depth, bool keepMarks);
    const Skipped* findSkipped(qsizetype start, const AvroSchema::Node& node) const;
    int64_t blockCount(uint64_t minBytesPerItem);
    void countItems(int64_t count);
    inline int64_t varint();
    int64_t longVarint();
    std::string_view run(int64_t length);
    std::string_view lengthPrefixed();
    // The checked reads that writing and skipping share.
    size_t enumIndex(const AvroSchema::Node& node);
    std::string_view decimalBytes(const AvroSchema::Node& node, const AvroSchema::Node& base);
    // The node a union's branch index or a named reference stands for.
    const AvroSchema::Node& unionBranch(const AvroSchema::Node& node);
    const AvroSchema::Node& named(const AvroSchema::Node& node) const;

    QHash<QString, AvroSchema> m_names;
    const char* m_data;
    qsizetype m_size;
    qsizetype m_cursor = 0;
    int64_t m_items = 0;
    AvroJSONWriter m_writer;
    std::vector<size_t> m_marks;    // where each field of the records passed over starts
    std::vector<Skipped> m_skipped; // records passed over, by start
};

class AvroDecoder::DecodeError : public std::exception {
public:
    enum class Kind {
        BadUnionIndex,
        BadEnumIndex,
        UnknownNamedType,
        Truncated,
        NegativeLength,
        TooDeep,
        TooManyItems,
        DecimalTooLarge,
        DecimalScaleTooLarge,
    };

    static DecodeError badUnionIndex(int64_t index) { return DecodeError(Kind::BadUnionIndex, index, {}); }
    static DecodeError badEnumIndex(int64_t index) { return DecodeError(Kind::BadEnumIndex, index, {}); }
    static DecodeError unknownNamedType(QString name)
    {
        return DecodeError(Kind::UnknownNamedType, 0, std::move(name));
    }
    static DecodeError truncated() { return DecodeError(Kind::Truncated, 0, {}); }
    static DecodeError negativeLength() { return DecodeError(Kind::NegativeLength, 0, {}); }
    static DecodeError tooDeep() { return DecodeError(Kind::TooDeep, 0, {}); }
    static DecodeError tooManyItems() { return DecodeError(Kind::TooManyItems, 0, {}); }
    static DecodeError decimalTooLarge() { return DecodeError(Kind::DecimalTooLarge, 0, {}); }
    static DecodeError decimalScaleTooLarge() { return DecodeError(Kind::DecimalScaleTooLarge, 0, {}); }

    Kind kind() const { return m_kind; }
    int64_t index() const { return m_index; }
    const QString& name() const { return m_name; }
    // truncated, badUnionIndex(5), unknownNamedType("a.B")
    QString text() const;
    const char* what() const noexcept override { return m_utf8.constData(); }

    friend bool operator==(const DecodeError& a, const DecodeError& b)
    {
        return a.m_kind == b.m_kind && a.m_index == b.m_index && a.m_name == b.m_name;
    }

private:
    DecodeError(Kind kind, int64_t index, QString name);
    Kind m_kind;
    int64_t m_index;
    QString m_name;
    QByteArray m_utf8;
};

} // namespace tessaron
