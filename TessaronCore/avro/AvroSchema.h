#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <exception>
#include <memory>

namespace tessaron {

// An Avro writer schema as the decoder and the shape walk follow it. Nested schemas are shared,
// immutable boxes, so copies are cheap; references to named types stay unresolved (`Named`) and are
// looked up in `Parsed::names` when used.
class AvroSchema {
public:
    // In declaration order; the eight primitives come last.
    enum class Type {
        Record,
        Enum,
        Array,
        Map,
        Union,
        Fixed,
        Named,
        Logical,
        Null,
        Boolean,
        Int,
        Long,
        Float,
        Double,
        Bytes,
        String
    };

    struct Field;
    struct LogicalType;
    struct Parsed;
    class ParseError;

    // The `null` schema.
    AvroSchema();

    static AvroSchema primitive(Type type); // Null .. String; anything else gives Null
    static AvroSchema record(QString name, QList<Field> fields);
    static AvroSchema enumeration(QString name, QStringList symbols);
    static AvroSchema array(AvroSchema items);
    static AvroSchema map(AvroSchema values);
    static AvroSchema unionOf(QList<AvroSchema> branches);
    static AvroSchema fixed(QString name, int32_t size);
    static AvroSchema named(QString fullName);
    static AvroSchema logical(LogicalType logicalType, AvroSchema underlying);

    // Parses schema JSON text (a bare JSON string such as "int" included). Throws ParseError.
    static Parsed parse(QByteArrayView text);

    Type type() const;
    bool isPrimitive() const { return type() >= Type::Null; }

    // Full name of a record, enum, fixed or named reference; empty otherwise.
    const QString& name() const;
    const QList<Field>& fields() const;        // record
    const QStringList& symbols() const;        // enum
    const AvroSchema& items() const;           // array
    const AvroSchema& values() const;          // map
    const QList<AvroSchema>& branches() const; // union
    int32_t size() const;                      // fixed
    LogicalType logicalType() const;           // logical
    const AvroSchema& underlying() const;      // logical

    friend bool operator==(const AvroSchema& a, const AvroSchema& b);

    // The shared box; its layout is private to the avro folder (AvroSchemaNode.h).
    struct Node;

private:
    friend class AvroDecoder;
    explicit AvroSchema(std::shared_ptr<const Node> node);
    std::shared_ptr<const Node> m_node;
};

struct AvroSchema::Field {
    QString name;
    AvroSchema schema;
    friend bool operator==(const Field&, const Field&) = default;
};

struct AvroSchema::LogicalType {
    enum class Kind {
        Decimal,
        Uuid,
        Date,
        TimeMillis,
        TimeMicros,
        TimestampMillis,
        TimestampMicros,
        LocalTimestampMillis,
        LocalTimestampMicros
    };
    Kind kind = Kind::Uuid;
    int32_t scale = 0; // decimal only; precision is not kept

    static LogicalType decimal(int32_t scale) { return {Kind::Decimal, scale}; }
    static LogicalType of(Kind kind) { return {kind, 0}; }
    friend bool operator==(const LogicalType&, const LogicalType&) = default;
};

struct AvroSchema::Parsed {
    AvroSchema root;
    // Every record, error, enum and fixed the text defines, by full name (fixed with its logical wrapper).
    QHash<QString, AvroSchema> names;
};

class AvroSchema::ParseError : public std::exception {
public:
    enum class Kind { UnknownType, Malformed, NotJSON };

    static ParseError unknownType(QString name) { return ParseError(Kind::UnknownType, std::move(name)); }
    static ParseError malformed(QString reason) { return ParseError(Kind::Malformed, std::move(reason)); }
    static ParseError notJSON() { return ParseError(Kind::NotJSON, {}); }

    Kind kind() const { return m_kind; }
    const QString& detail() const { return m_detail; }
    // notJSON, malformed("reason"), unknownType("name")
    QString text() const;
    const char* what() const noexcept override { return m_utf8.constData(); }

    friend bool operator==(const ParseError& a, const ParseError& b)
    {
        return a.m_kind == b.m_kind && a.m_detail == b.m_detail;
    }

private:
    ParseError(Kind kind, QString detail);
    Kind m_kind;
    QString m_detail;
    QByteArray m_utf8;
};

} // namespace tessaron
