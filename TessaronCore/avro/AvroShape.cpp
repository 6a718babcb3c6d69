#include "TessaronCore/avro/AvroShape.h"

#include "TessaronCore/analysis/ShapeWalk.h"

#include <QMap>

namespace tessaron::AvroShape {

namespace {

QString joined(const QString& prefix, const QString& key)
{
    return prefix.isEmpty() ? key : prefix + QLatin1Char('.') + key;
}

using ShapeWalk::depthLimit;

} // namespace

namespace {

struct SchemaWalk {
    const AvroSchema::Parsed& parsed;
    int64_t maxDepth;
    QMap<QString, JSONKind> fields;

    // A named schema the (non-empty) table holds becomes that schema; anything else stays.
    const AvroSchema& resolved(const AvroSchema& schema) const
    {
        if (schema.type() == AvroSchema::Type::Named && !parsed.names.isEmpty()) {
            const auto it = parsed.names.constFind(schema.name());
            if (it != parsed.names.constEnd())
                return *it;
        }
        return schema;
    }

    // Nothing for a name the table does not hold. `guard` stops a hand-made table whose entries
    // lead back to themselves.
    std::optional<JSONKind> kindOf(const AvroSchema& schema, int guard = 0) const
    {
        if (guard > 64)
            return std::nullopt;
        switch (schema.type()) {
        case AvroSchema::Type::Record:
        case AvroSchema::Type::Map:
            return JSONKind::object;
        case AvroSchema::Type::Array:
            return JSONKind::array;
        case AvroSchema::Type::Enum:
        case AvroSchema::Type::Fixed:
        case AvroSchema::Type::Logical:
        case AvroSchema::Type::Bytes:
        case AvroSchema::Type::String:
            return JSONKind::string;
        case AvroSchema::Type::Int:
        case AvroSchema::Type::Long:
        case AvroSchema::Type::Float:
        case AvroSchema::Type::Double:
            return JSONKind::number;
        case AvroSchema::Type::Boolean:
            return JSONKind::boolean;
        case AvroSchema::Type::Null:
            return JSONKind::null;
        case AvroSchema::Type::Union:
            for (const AvroSchema& branch : schema.branches()) {
                const AvroSchema& member = resolved(branch);
                if (member.type() != AvroSchema::Type::Null)
                    return kindOf(member, guard + 1);
            }
            return JSONKind::null;
        case AvroSchema::Type::Named: {
            const AvroSchema& target = resolved(schema);
            if (target.type() == AvroSchema::Type::Named)
                return std::nullopt;
            return kindOf(target, guard + 1);
        }
        }
        return std::nullopt;
    }

    void walkRecord(const AvroSchema& record, int64_t depth, const QString& prefix)
    {
        for (const AvroSchema::Field& field : record.fields()) {
            const QString path = joined(prefix, field.name);
            const AvroSchema& schema = resolved(field.schema);
            const std::optional<JSONKind> kind = kindOf(schema);
            if (!kind)
                continue;
            fields.insert(path, *kind);
            if (schema.type() == AvroSchema::Type::Record && depth + 1 < maxDepth && depth + 1 < depthLimit)
                walkRecord(schema, depth + 1, path);
        }
    }
};

} // namespace

std::optional<MessageShape> fromSchema(const AvroSchema::Parsed& schema, int64_t maxDepth)
{
    SchemaWalk walk{schema, maxDepth, {}};
    const AvroSchema& root = walk.resolved(schema.root);
    if (root.type() != AvroSchema::Type::Record)
        return std::nullopt;
    walk.walkRecord(root, 0, QString());
    if (walk.fields.isEmpty())
        return std::nullopt;
    return MessageShape(std::move(walk.fields));
}

} // namespace tessaron::AvroShape
