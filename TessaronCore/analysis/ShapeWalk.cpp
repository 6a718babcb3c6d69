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

} // namespace tessaron::ShapeWalk
