// AvroSchema::parse: schema JSON text to the model. Lenient on purpose: only what the decoder needs is
// checked, unknown attributes are ignored and named references stay unresolved.
#include "TessaronCore/avro/AvroSchema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>
#include <optional>

namespace tessaron {

namespace {

using Type = AvroSchema::Type;
using Kind = AvroSchema::LogicalType::Kind;

const QHash<QString, Type>& primitiveNames()
{
    static const QHash<QString, Type> table = {
        {QStringLiteral("null"), Type::Null},   {QStringLiteral("boolean"), Type::Boolean},
        {QStringLiteral("int"), Type::Int},     {QStringLiteral("long"), Type::Long},
        {QStringLiteral("float"), Type::Float}, {QStringLiteral("double"), Type::Double},
        {QStringLiteral("bytes"), Type::Bytes}, {QStringLiteral("string"), Type::String},
    };
    return table;
}

const QHash<QString, Kind>& logicalNames()
{
    static const QHash<QString, Kind> table = {
        {QStringLiteral("decimal"), Kind::Decimal},
        {QStringLiteral("uuid"), Kind::Uuid},
        {QStringLiteral("date"), Kind::Date},
        {QStringLiteral("time-millis"), Kind::TimeMillis},
        {QStringLiteral("time-micros"), Kind::TimeMicros},
        {QStringLiteral("timestamp-millis"), Kind::TimestampMillis},
        {QStringLiteral("timestamp-micros"), Kind::TimestampMicros},
        {QStringLiteral("local-timestamp-millis"), Kind::LocalTimestampMillis},
        {QStringLiteral("local-timestamp-micros"), Kind::LocalTimestampMicros},
    };
    return table;
}

QString qualified(const QString& name, const std::optional<QString>& space)
{
    if (name.contains(QLatin1Char('.')) || !space || space->isEmpty())
        return name;
    return *space + QLatin1Char('.') + name;
}

// A whole number that fits in 32 bits; a fraction counts as absent (0). A whole number too large for
// 32 bits is refused rather than silently wrapped.
int32_t wholeNumber(const QJsonValue& value, const char* what)
{
    if (!value.isDouble())
        return 0;
    double d = value.toDouble();
    if (!std::isfinite(d) || std::floor(d) != d)
        return 0;
    if (d < std::numeric_limits<int32_t>::min() || d > std::numeric_limits<int32_t>::max())
        throw AvroSchema::ParseError::malformed(QString::fromLatin1(what));
    return int32_t(d);
}

class Parser {
public:
    QHash<QString, AvroSchema> names;

    AvroSchema parse(const QJsonValue& value, const std::optional<QString>& space)
    {
        if (value.isString()) {
            QString text = value.toString();
            auto primitive = primitiveNames().constFind(text);
            if (primitive != primitiveNames().constEnd())
                return AvroSchema::primitive(*primitive);
            return AvroSchema::named(qualified(text, space));
        }
        if (value.isArray()) {
            QList<AvroSchema> branches;
            for (const QJsonValue& element : value.toArray())
                branches.append(parse(element, space));
            return AvroSchema::unionOf(std::move(branches));
        }
        if (value.isObject()) {
            QJsonObject object = value.toObject();
            auto typeMember = object.constFind(QLatin1String("type"));
            if (typeMember != object.constEnd())
                return parseTyped(object, *typeMember, space);
        }
        throw AvroSchema::ParseError::malformed(QStringLiteral("expected a type"));
    }

private:
    AvroSchema parseTyped(const QJsonObject& object, const QJsonValue& typeValue, const std::optional<QString>& space)
    {
        if (!typeValue.isString())
            return parse(typeValue, space);
        QString type = typeValue.toString();
        auto primitive = primitiveNames().constFind(type);
        if (primitive != primitiveNames().constEnd())
            return withLogicalType(AvroSchema::primitive(*primitive), object);
        if (type == QLatin1String("record") || type == QLatin1String("error"))
            return parseRecord(object, space);
        if (type == QLatin1String("enum")) {
            auto [fullName, ownSpace] = namedType(object, space);
            QStringList symbols;
            QJsonValue symbolsValue = object.value(QLatin1String("symbols"));
            if (symbolsValue.isArray()) {
                for (const QJsonValue& symbol : symbolsValue.toArray()) {
                    if (!symbol.isString()) {
                        symbols.clear();
                        break;
                    }
                    symbols.append(symbol.toString());
                }
            }
            AvroSchema result = AvroSchema::enumeration(fullName, std::move(symbols));
            names.insert(fullName, result);
            return result;
        }
        if (type == QLatin1String("array")) {
            auto items = object.constFind(QLatin1String("items"));
            if (items == object.constEnd())
                throw AvroSchema::ParseError::malformed(QStringLiteral("array without items"));
            return AvroSchema::array(parse(*items, space));
        }
        if (type == QLatin1String("map")) {
            auto values = object.constFind(QLatin1String("values"));
            if (values == object.constEnd())
                throw AvroSchema::ParseError::malformed(QStringLiteral("map without values"));
            return AvroSchema::map(parse(*values, space));
        }
        if (type == QLatin1String("fixed")) {
            auto [fullName, ownSpace] = namedType(object, space);
            int32_t size = wholeNumber(object.value(QLatin1String("size")), "fixed size out of range");
            if (size < 0)
                throw AvroSchema::ParseError::malformed(QStringLiteral("fixed size out of range"));
            AvroSchema result = withLogicalType(AvroSchema::fixed(fullName, size), object);
            names.insert(fullName, result);
            return result;
        }
        return AvroSchema::named(qualified(type, space));
    }

    // Full name and the namespace the type itself declares or inherits.
    std::pair<QString, std::optional<QString>> namedType(const QJsonObject& object, const std::optional<QString>& space)
    {
        QJsonValue name = object.value(QLatin1String("name"));
        if (!name.isString())
            throw AvroSchema::ParseError::malformed(QStringLiteral("named type without a name"));
        QJsonValue ownSpace = object.value(QLatin1String("namespace"));
        std::optional<QString> effective = ownSpace.isString() ? std::optional<QString>(ownSpace.toString()) : space;
        return {qualified(name.toString(), effective), effective};
    }

    AvroSchema parseRecord(const QJsonObject& object, const std::optional<QString>& space)
    {
        auto [fullName, effective] = namedType(object, space);
        std::optional<QString> fieldSpace = effective;
        if (!fieldSpace) {
            qsizetype dot = fullName.lastIndexOf(QLatin1Char('.'));
            if (dot >= 0)
                fieldSpace = fullName.left(dot);
        }
        // A placeholder first, so that a field may refer to the record that holds it.
        names.insert(fullName, AvroSchema::named(fullName));

        QList<AvroSchema::Field> fields;
        QJsonValue fieldsValue = object.value(QLatin1String("fields"));
        QJsonArray fieldArray = fieldsValue.toArray();
        bool allObjects = fieldsValue.isArray();
        for (const QJsonValue& field : fieldArray)
            allObjects = allObjects && field.isObject();
        if (allObjects) {
            for (const QJsonValue& fieldValue : fieldArray) {
                QJsonObject field = fieldValue.toObject();
                QJsonValue name = field.value(QLatin1String("name"));
                auto fieldType = field.constFind(QLatin1String("type"));
                if (!name.isString() || fieldType == field.constEnd())
                    throw AvroSchema::ParseError::malformed(QStringLiteral("field without name or type in ")
                                                            + fullName);
                fields.append({name.toString(), parse(*fieldType, fieldSpace)});
            }
        }
        AvroSchema result = AvroSchema::record(fullName, std::move(fields));
        names.insert(fullName, result);
        return result;
    }

    AvroSchema withLogicalType(AvroSchema base, const QJsonObject& object)
    {
        QJsonValue logical = object.value(QLatin1String("logicalType"));
        if (!logical.isString())
            return base;
        auto kind = logicalNames().constFind(logical.toString());
        if (kind == logicalNames().constEnd())
            return base;
        if (*kind == Kind::Decimal) {
            int32_t scale = wholeNumber(object.value(QLatin1String("scale")), "decimal scale out of range");
            return AvroSchema::logical(AvroSchema::LogicalType::decimal(scale), std::move(base));
        }
        return AvroSchema::logical(AvroSchema::LogicalType::of(*kind), std::move(base));
    }
};

} // namespace

AvroSchema::Parsed AvroSchema::parse(QByteArrayView text)
{
    // Qt's reader wants an object or an array at the top; a schema may be a bare string such as "int".
    // Wrapping the text in an array and insisting on exactly one element accepts any single value
    // and nothing more.
    QByteArray wrapped;
    wrapped.reserve(text.size() + 2);
    wrapped.append('[').append(text.data(), text.size()).append(']');
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() || document.array().size() != 1)
        throw ParseError::notJSON();

    Parser parser;
    AvroSchema root = parser.parse(document.array().first(), std::nullopt);
    return Parsed{std::move(root), std::move(parser.names)};
}

} // namespace tessaron
