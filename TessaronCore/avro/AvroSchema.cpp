#include "TessaronCore/avro/AvroSchema.h"

#include "TessaronCore/avro/AvroJSONWriter.h"
#include "TessaronCore/avro/AvroSchemaNode.h"

#include <algorithm>

namespace tessaron {

namespace {

uint64_t saturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

const std::shared_ptr<const AvroSchema::Node>& primitiveNode(AvroSchema::Type type);

} // namespace

void AvroSchema::Node::prepare()
{
    switch (type) {
    case Type::Record: {
        for (const auto& field : fields) {
            minBytes = saturatingAdd(minBytes, field.schema.m_node->minBytes);
            std::string key;
            AvroJSONWriter::appendQuoted(key, field.name.toStdString());
            key.push_back(':');
            memberKeys.push_back(std::move(key));
        }
        // Sorted by the UTF-8 bytes of the name (code-point order); a repeated name keeps its last field.
        std::vector<int> order(fields.size());
        for (int i = 0; i < int(order.size()); ++i)
            order[i] = i;
        std::vector<std::string> utf8Names;
        for (const auto& field : fields)
            utf8Names.push_back(field.name.toStdString());
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return utf8Names[a] < utf8Names[b]; });
        for (size_t i = 0; i < order.size(); ++i) {
            if (i + 1 < order.size() && utf8Names[order[i]] == utf8Names[order[i + 1]])
                continue;
            outputOrder.push_back(order[i]);
        }
        declaredInOutputOrder = outputOrder.size() == size_t(fields.size());
        for (size_t i = 0; declaredInOutputOrder && i < outputOrder.size(); ++i)
            declaredInOutputOrder = outputOrder[i] == int(i);
        break;
    }
    case Type::Enum:
        minBytes = 1;
        for (const auto& symbol : symbols) {
            std::string quoted;
            AvroJSONWriter::appendQuoted(quoted, symbol.toStdString());
            quotedSymbols.push_back(std::move(quoted));
        }
        break;
    case Type::Fixed:
        minBytes = uint64_t(std::max<int32_t>(size, 0));
        break;
    case Type::Logical: {
        // What is read follows the logical type, not the base: a date over a double is one varint.
        const Node& base = *children.front().m_node;
        if (logical.kind == LogicalType::Kind::Uuid)
            minBytes = base.minBytes;
        else if (logical.kind == LogicalType::Kind::Decimal && base.type == Type::Fixed)
            minBytes = base.minBytes;
        else
            minBytes = 1; // a varint or a length
        break;
    }
    case Type::Null:
    case Type::Named:
        minBytes = 0;
        break; // a reference may name anything, so assume the least
    case Type::Float:
        minBytes = 4;
        break;
    case Type::Double:
        minBytes = 8;
        break;
    default:
        minBytes = 1;
        break; // union index, block count, length, varint or boolean byte
    }
}

AvroSchema::AvroSchema()
    : m_node(primitiveNode(Type::Null))
{ }
AvroSchema::AvroSchema(std::shared_ptr<const Node> node)
    : m_node(std::move(node))
{ }

AvroSchema AvroSchema::primitive(Type type)
{
    return AvroSchema(primitiveNode(type >= Type::Null ? type : Type::Null));
}

namespace {

std::shared_ptr<const AvroSchema::Node> finish(std::shared_ptr<AvroSchema::Node> node)
{
    node->prepare();
    return node;
}

const std::shared_ptr<const AvroSchema::Node>& primitiveNode(AvroSchema::Type type)
{
    // Built once, thread-safely, and only read afterwards.
    static const std::vector<std::shared_ptr<const AvroSchema::Node>> nodes = [] {
        std::vector<std::shared_ptr<const AvroSchema::Node>> all;
        for (int t = int(AvroSchema::Type::Null); t <= int(AvroSchema::Type::String); ++t) {
            auto node = std::make_shared<AvroSchema::Node>();
            node->type = AvroSchema::Type(t);
            all.push_back(finish(node));
        }
        return all;
    }();
    return nodes[size_t(type) - size_t(AvroSchema::Type::Null)];
}

} // namespace

AvroSchema AvroSchema::record(QString name, QList<Field> fields)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Record;
    node->name = std::move(name);
    node->fields = std::move(fields);
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::enumeration(QString name, QStringList symbols)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Enum;
    node->name = std::move(name);
    node->symbols = std::move(symbols);
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::array(AvroSchema items)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Array;
    node->children = {std::move(items)};
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::map(AvroSchema values)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Map;
    node->children = {std::move(values)};
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::unionOf(QList<AvroSchema> branches)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Union;
    node->children = std::move(branches);
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::fixed(QString name, int32_t size)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Fixed;
    node->name = std::move(name);
    node->size = size;
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::named(QString fullName)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Named;
    node->name = std::move(fullName);
    return AvroSchema(finish(node));
}

AvroSchema AvroSchema::logical(LogicalType logicalType, AvroSchema underlying)
{
    auto node = std::make_shared<Node>();
    node->type = Type::Logical;
    node->logical = logicalType;
    node->children = {std::move(underlying)};
    return AvroSchema(finish(node));
}

AvroSchema::Type AvroSchema::type() const { return m_node->type; }
const QString& AvroSchema::name() const { return m_node->name; }
const QList<AvroSchema::Field>& AvroSchema::fields() const { return m_node->fields; }
const QStringList& AvroSchema::symbols() const { return m_node->symbols; }
const QList<AvroSchema>& AvroSchema::branches() const
{
    static const QList<AvroSchema> none;
    return m_node->type == Type::Union ? m_node->children : none;
}
int32_t AvroSchema::size() const { return m_node->size; }
AvroSchema::LogicalType AvroSchema::logicalType() const { return m_node->logical; }

namespace {
const AvroSchema& onlyChild(const QList<AvroSchema>& children, bool present)
{
    static const AvroSchema null;
    return present && !children.isEmpty() ? children.front() : null;
}
} // namespace

const AvroSchema& AvroSchema::items() const { return onlyChild(m_node->children, m_node->type == Type::Array); }
const AvroSchema& AvroSchema::values() const { return onlyChild(m_node->children, m_node->type == Type::Map); }
const AvroSchema& AvroSchema::underlying() const { return onlyChild(m_node->children, m_node->type == Type::Logical); }

bool operator==(const AvroSchema& a, const AvroSchema& b)
{
    if (a.m_node == b.m_node)
        return true;
    const auto& x = *a.m_node;
    const auto& y = *b.m_node;
    if (x.type != y.type)
        return false;
    switch (x.type) {
    case AvroSchema::Type::Record:
        return x.name == y.name && x.fields == y.fields;
    case AvroSchema::Type::Enum:
        return x.name == y.name && x.symbols == y.symbols;
    case AvroSchema::Type::Fixed:
        return x.name == y.name && x.size == y.size;
    case AvroSchema::Type::Named:
        return x.name == y.name;
    case AvroSchema::Type::Logical:
        return x.logical == y.logical && x.children == y.children;
    case AvroSchema::Type::Array:
    case AvroSchema::Type::Map:
    case AvroSchema::Type::Union:
        return x.children == y.children;
    default:
        return true;
    }
}

AvroSchema::ParseError::ParseError(Kind kind, QString detail)
    : m_kind(kind)
    , m_detail(std::move(detail))
    , m_utf8(text().toUtf8())
{ }

QString AvroSchema::ParseError::text() const
{
    switch (m_kind) {
    case Kind::NotJSON:
        return QStringLiteral("notJSON");
    case Kind::Malformed:
        return QStringLiteral("malformed(\"%1\")").arg(m_detail);
    case Kind::UnknownType:
        return QStringLiteral("unknownType(\"%1\")").arg(m_detail);
    }
    return {};
}

} // namespace tessaron
