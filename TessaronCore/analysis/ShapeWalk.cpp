#include "TessaronCore/analysis/ShapeWalk.h"

#include "TessaronCore/analysis/JsonShapeScanner.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace tessaron::ShapeWalk {

namespace {

QString joined(const QString& prefix, const QString& key)
{
    return prefix.isEmpty() ? key : prefix + QLatin1Char('.') + key;
}

// The walk over a parsed document, used only when keys repeat: then what a repeated key held
// before its last occurrence must leave no path behind, as a parsed object keeps only the last.
void walkObject(const QJsonObject& object, int64_t depth, const QString& prefix, int64_t maxDepth,
                QMap<QString, JSONKind>& fields)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString path = joined(prefix, it.key());
        const QJsonValue value = it.value();
        switch (value.type()) {
        case QJsonValue::Null:
            fields.insert(path, JSONKind::null);
            break;
        case QJsonValue::Bool:
            fields.insert(path, JSONKind::boolean);
            break;
        case QJsonValue::Double:
            fields.insert(path, JSONKind::number);
            break;
        case QJsonValue::String:
            fields.insert(path, JSONKind::string);
            break;
        case QJsonValue::Array:
            fields.insert(path, JSONKind::array);
            break;
        case QJsonValue::Object:
            fields.insert(path, JSONKind::object);
            if (depth + 1 < maxDepth && depth + 1 < depthLimit)
                walkObject(value.toObject(), depth + 1, path, maxDepth, fields);
            break;
        case QJsonValue::Undefined:
            break;
        }
    }
}

} // namespace

std::optional<MessageShape> fromPayload(const std::optional<QByteArray>& payload, int64_t maxDepth)
{
    if (!payload)
        return std::nullopt;
    return fromPayload(QByteArrayView(*payload), maxDepth);
}

std::optional<MessageShape> fromPayload(QByteArrayView payload, int64_t maxDepth)
{
    JsonShapeScanner scanner;
    if (!scanner.scan(payload, std::min(maxDepth, depthLimit)))
        return std::nullopt;
    QMap<QString, JSONKind> fields;
    for (const JsonShapeScanner::Entry& e : scanner.entries()) {
        const std::string_view path = scanner.path(e);
        fields.insert(QString::fromUtf8(path.data(), qsizetype(path.size())), e.kind);
    }
    if (fields.size() != qsizetype(scanner.entries().size())) {
        const QJsonDocument doc = QJsonDocument::fromJson(payload.toByteArray());
        if (doc.isObject()) {
            fields.clear();
            walkObject(doc.object(), 0, QString(), maxDepth, fields);
        }
    }
    if (fields.isEmpty())
        return std::nullopt;
    return MessageShape(std::move(fields));
}

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

} // namespace tessaron::ShapeWalk
