#include "TessaronCore/avro/AvroDecoder.h"

#include "TessaronCore/avro/AvroLogicalText.h"
#include "TessaronCore/avro/AvroSchemaNode.h"

#include <algorithm>
#include <cstring>

namespace tessaron {

using Type = AvroSchema::Type;
using LogicalKind = AvroSchema::LogicalType::Kind;

std::optional<AvroDecoder::Frame> AvroDecoder::splitConfluentFrame(QByteArrayView payload)
{
    if (payload.size() < 5 || payload[0] != 0)
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(payload.data());
    uint32_t id = (uint32_t(p[1]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 8) | uint32_t(p[4]);
    return Frame{static_cast<int32_t>(id), payload.sliced(5).toByteArray()};
}

AvroDecoder::AvroDecoder(const AvroSchema::Parsed& schema, QByteArrayView data)
    : m_names(schema.names)
    , m_data(data.data())
    , m_size(data.size())
{ }

QByteArray AvroDecoder::decode(QByteArrayView body, const AvroSchema::Parsed& schema)
{
    // Messages are decoded one after another: each thread keeps its text and field buffers, so a
    // decode allocates only its result. A buffer grown by a huge message is let go afterwards.
    thread_local std::string text;
    thread_local std::vector<size_t> marks;
    thread_local std::vector<Skipped> skipped;
    AvroDecoder decoder(schema, body);
    struct Lend {
        AvroDecoder& decoder;
        Lend(AvroDecoder& d)
            : decoder(d)
        {
            std::swap(decoder.m_writer.out, text);
            std::swap(decoder.m_marks, marks);
            std::swap(decoder.m_skipped, skipped);
        }
        ~Lend()
        {
            std::swap(decoder.m_writer.out, text);
            std::swap(decoder.m_marks, marks);
            std::swap(decoder.m_skipped, skipped);
            if (text.capacity() > kKeptBufferBytes)
                std::string().swap(text);
            marks.clear();
            skipped.clear();
        }
    } lend(decoder);
    return decoder.read(schema.root);
}

QByteArray AvroDecoder::read(const AvroSchema& schema)
{
    m_writer.out.clear();
    m_marks.clear();
    m_skipped.clear();
    m_writer.out.reserve(size_t(m_size - m_cursor) * 2 + 16);
    value(*schema.m_node, 0);
    return QByteArray(m_writer.out.data(), qsizetype(m_writer.out.size()));
}

int64_t AvroDecoder::varint()
{
    // Most lengths, counts, indexes and small numbers take one byte.
    if (m_cursor < m_size) {
        const auto byte = static_cast<unsigned char>(m_data[m_cursor]);
        if (byte < 0x80) {
            ++m_cursor;
            return static_cast<int64_t>((byte >> 1) ^ (~(uint64_t(byte) & 1) + 1));
        }
    }
    return longVarint();
}

int64_t AvroDecoder::longVarint()
{
    uint64_t result = 0;
    for (int shift = 0; shift < 70; shift += 7) {
        if (m_cursor >= m_size)
            throw DecodeError::truncated();
        auto byte = static_cast<unsigned char>(m_data[m_cursor++]);
        if (shift < 64)
            result |= uint64_t(byte & 0x7F) << shift;
        if (byte < 0x80)
            return static_cast<int64_t>((result >> 1) ^ (~(result & 1) + 1));
    }
    throw DecodeError::truncated(); // the tenth byte still had its top bit set
}

std::string_view AvroDecoder::run(int64_t length)
{
    if (length < 0)
        throw DecodeError::negativeLength();
    if (length > m_size - m_cursor)
        throw DecodeError::truncated();
    std::string_view bytes(m_data + m_cursor, size_t(length));
    m_cursor += qsizetype(length);
    return bytes;
}

std::string_view AvroDecoder::lengthPrefixed() { return run(varint()); }

void AvroDecoder::countItems(int64_t count)
{
    if (count > kMaxItems - m_items)
        throw DecodeError::tooManyItems();
    m_items += count;
}

int64_t AvroDecoder::blockCount(uint64_t minBytesPerItem)
{
    int64_t count = varint();
    if (count < 0) {
        if (count == INT64_MIN)
            throw DecodeError::tooManyItems();
        count = -count;
        varint(); // the block's size in bytes, not needed
    }
    // Refuse at once what the data cannot hold or what would run too long, before any looping.
    if (minBytesPerItem > 0 && uint64_t(count) > uint64_t(m_size - m_cursor) / minBytesPerItem)
        throw DecodeError::truncated();
    if (count > kMaxItems - m_items)
        throw DecodeError::tooManyItems();
    return count;
}

size_t AvroDecoder::enumIndex(const AvroSchema::Node& node)
{
    const int64_t index = varint();
    if (index < 0 || index >= int64_t(node.quotedSymbols.size()))
        throw DecodeError::badEnumIndex(index);
    return size_t(index);
}

std::string_view AvroDecoder::decimalBytes(const AvroSchema::Node& node, const AvroSchema::Node& base)
{
    std::string_view bytes = base.type == Type::Fixed ? run(base.size) : lengthPrefixed();
    if (bytes.size() > size_t(kMaxDecimalBytes))
        throw DecodeError::decimalTooLarge();
    if (node.logical.scale > kMaxDecimalScale)
        throw DecodeError::decimalScaleTooLarge();
    return bytes;
}

const AvroSchema::Node& AvroDecoder::unionBranch(const AvroSchema::Node& node)
{
    const int64_t index = varint();
    if (index < 0 || index >= int64_t(node.children.size()))
        throw DecodeError::badUnionIndex(index);
    return *node.children[qsizetype(index)].m_node;
}

const AvroSchema::Node& AvroDecoder::named(const AvroSchema::Node& node) const
{
    auto found = m_names.constFind(node.name);
    if (found == m_names.constEnd() || found->type() == Type::Named)
        throw DecodeError::unknownNamedType(node.name);
    return *found->m_node;
}

void AvroDecoder::value(const AvroSchema::Node& node, int depth)
{
    std::string& out = m_writer.out;
    switch (node.type) {
    case Type::Null:
        out.append("null");
        return;
    case Type::Boolean:
        if (m_cursor >= m_size)
            throw DecodeError::truncated();
        out.append(m_data[m_cursor++] != 0 ? "true" : "false");
        return;
    case Type::Int:
        m_writer.integer(static_cast<int32_t>(static_cast<uint32_t>(varint())));
        return;
    case Type::Long:
        m_writer.integer(varint());
        return;
    case Type::Float: {
        float f;
        std::memcpy(&f, run(4).data(), 4); // little-endian host, as Avro writes it
        m_writer.number(f);
        return;
    }
    case Type::Double: {
        double d;
        std::memcpy(&d, run(8).data(), 8);
        m_writer.number(d);
        return;
    }
    case Type::Bytes:
        m_writer.bytesText(lengthPrefixed());
        return;
    case Type::String:
        m_writer.stringText(lengthPrefixed());
        return;
    case Type::Fixed:
        m_writer.bytesText(run(node.size));
        return;
    case Type::Enum:
        out.append(node.quotedSymbols[enumIndex(node)]);
        return;
    default:
        break;
    }

    // Everything below nests: a record that contains itself recurses without reading a byte.
    if (++depth > kMaxDepth)
        throw DecodeError::tooDeep();
    switch (node.type) {
    case Type::Record:
        return record(node, depth);
    case Type::Array:
        return array(node, depth);
    case Type::Map:
        return map(node, depth);
    case Type::Logical:
        return logical(node, depth);
    case Type::Union:
        return value(unionBranch(node), depth);
    case Type::Named:
        return value(named(node), depth);
    default:
        return;
    }
}

void AvroDecoder::record(const AvroSchema::Node& node, int depth)
{
    std::string& out = m_writer.out;
    const qsizetype fieldCount = node.fields.size();
    countItems(fieldCount);
    if (node.declaredInOutputOrder) {
        out.push_back('{');
        for (qsizetype i = 0; i < fieldCount; ++i) {
            if (i > 0)
                out.push_back(',');
            out.append(node.memberKeys[size_t(i)]);
            value(*node.fields[i].schema.m_node, depth);
        }
        out.push_back('}');
        return;
    }
    // Fields come in declaration order but are written sorted by name. A first pass skips over
    // the fields, checking everything reading would check and noting where each value starts;
    // then each value is read from its start in output order and written in place, so no member
    // text is ever moved. A fault is met in the first pass, in reading order. The pass notes the
    // fields of every record it skips over too, so a nested record is passed over only once.
    const int64_t itemsBefore = m_items;
    const Skipped* skipped = findSkipped(m_cursor, node);
    Skipped here;
    if (!skipped) {
        here = skipRecordFields(node, depth, true);
        skipped = &here;
    }
    // Copied out: writing the fields may remember more records and move the table.
    const size_t marks = skipped->marks;
    const bool remembered = skipped->remembered;
    const qsizetype end = qsizetype(m_marks[marks + size_t(fieldCount)]);
    const int64_t itemsAfter = itemsBefore + skipped->items;
    out.push_back('{');
    bool first = true;
    for (int index : node.outputOrder) {
        if (!first)
            out.push_back(',');
        first = false;
        out.append(node.memberKeys[size_t(index)]);
        m_cursor = qsizetype(m_marks[marks + size_t(index)]);
        value(*node.fields[index].schema.m_node, depth);
    }
    out.push_back('}');
    if (!remembered)
        m_marks.resize(marks);
    m_cursor = end;
    m_items = itemsAfter;
}

const AvroDecoder::Skipped* AvroDecoder::findSkipped(qsizetype start, const AvroSchema::Node& node) const
{
    auto it = std::lower_bound(m_skipped.begin(), m_skipped.end(), start,
                               [](const Skipped& s, qsizetype at) { return s.start < at; });
    // A record whose first field is a record starts where that one does.
    for (; it != m_skipped.end() && it->start == start; ++it) {
        if (it->node == &node)
            return &*it;
    }
    return nullptr;
}

AvroDecoder::Skipped AvroDecoder::skipRecordFields(const AvroSchema::Node& node, int depth, bool keepMarks)
{
    const size_t fieldCount = size_t(node.fields.size());
    // Within the cap every such record is remembered (in order of start, for the look-up); past
    // it, a nested record is passed over again when it is written, which costs time, not memory.
    const bool remember =
        m_marks.size() + fieldCount < kMaxRememberedFields && (m_skipped.empty() || m_skipped.back().start <= m_cursor);
    Skipped skipped{m_cursor, &node, m_marks.size(), 0, remember};
    const int64_t itemsBefore = m_items;
    if (!remember && !keepMarks) {
        for (const AvroSchema::Field& field : node.fields)
            skip(*field.schema.m_node, depth);
        return skipped;
    }
    const size_t index = m_skipped.size();
    m_marks.resize(m_marks.size() + fieldCount + 1);
    if (remember)
        m_skipped.push_back(skipped);
    for (size_t i = 0; i < fieldCount; ++i) {
        m_marks[skipped.marks + i] = size_t(m_cursor);
        skip(*node.fields[qsizetype(i)].schema.m_node, depth);
    }
    m_marks[skipped.marks + fieldCount] = size_t(m_cursor);
    skipped.items = m_items - itemsBefore;
    if (remember)
        m_skipped[index].items = skipped.items;
    return skipped;
}

void AvroDecoder::skip(const AvroSchema::Node& node, int depth)
{
    switch (node.type) {
    case Type::Null:
        return;
    case Type::Boolean:
        run(1);
        return;
    case Type::Int:
    case Type::Long:
        varint();
        return;
    case Type::Float:
        run(4);
        return;
    case Type::Double:
        run(8);
        return;
    case Type::Bytes:
    case Type::String:
        lengthPrefixed();
        return;
    case Type::Fixed:
        run(node.size);
        return;
    case Type::Enum:
        enumIndex(node);
        return;
    default:
        break;
    }

    if (++depth > kMaxDepth)
        throw DecodeError::tooDeep();
    switch (node.type) {
    case Type::Record:
        countItems(node.fields.size());
        if (node.declaredInOutputOrder) {
            for (const AvroSchema::Field& field : node.fields)
                skip(*field.schema.m_node, depth);
        } else {
            skipRecordFields(node, depth, false);
        }
        return;
    case Type::Array: {
        const AvroSchema::Node& items = *node.children.front().m_node;
        for (int64_t count = blockCount(items.minBytes); count != 0; count = blockCount(items.minBytes)) {
            countItems(count);
            for (int64_t i = 0; i < count; ++i)
                skip(items, depth);
        }
        return;
    }
    case Type::Map: {
        const AvroSchema::Node& values = *node.children.front().m_node;
        const uint64_t minEntry = values.minBytes == UINT64_MAX ? UINT64_MAX : values.minBytes + 1;
        for (int64_t count = blockCount(minEntry); count != 0; count = blockCount(minEntry)) {
            countItems(count);
            for (int64_t i = 0; i < count; ++i) {
                lengthPrefixed();
                skip(values, depth);
            }
        }
        return;
    }
    case Type::Logical: {
        const AvroSchema::Node& base = *node.children.front().m_node;
        switch (node.logical.kind) {
        case LogicalKind::Uuid:
            return skip(base, depth);
        case LogicalKind::Decimal:
            decimalBytes(node, base);
            return;
        default:
            varint();
            return;
        }
    }
    case Type::Union:
        return skip(unionBranch(node), depth);
    case Type::Named:
        return skip(named(node), depth);
    default:
        return;
    }
}

void AvroDecoder::array(const AvroSchema::Node& node, int depth)
{
    std::string& out = m_writer.out;
    const AvroSchema::Node& items = *node.children.front().m_node;
    out.push_back('[');
    bool first = true;
    for (int64_t count = blockCount(items.minBytes); count != 0; count = blockCount(items.minBytes)) {
        countItems(count);
        for (int64_t i = 0; i < count; ++i) {
            if (!first)
                out.push_back(',');
            first = false;
            value(items, depth);
        }
    }
    out.push_back(']');
}

void AvroDecoder::map(const AvroSchema::Node& node, int depth)
{
    std::string& out = m_writer.out;
    const AvroSchema::Node& values = *node.children.front().m_node;
    struct Entry {
        std::string_view key;
        qsizetype at;       // where the value starts
        qsizetype rendered; // offset into `renderedKeys` of a key that is not UTF-8, else -1
    };
    // As for records: a first pass checks the entries and notes where each value starts, then the
    // values are read again in key order straight into place.
    std::vector<Entry> entries;
    std::string renderedKeys; // such keys in their byte rendering, without quotes
    int64_t nestedItems = 0;  // counted by the values themselves, counted again when they are read
    const uint64_t minEntry = values.minBytes == UINT64_MAX ? UINT64_MAX : values.minBytes + 1;
    for (int64_t count = blockCount(minEntry); count != 0; count = blockCount(minEntry)) {
        countItems(count);
        for (int64_t i = 0; i < count; ++i) {
            std::string_view key = lengthPrefixed();
            qsizetype rendered = -1;
            if (!AvroJSONWriter::isValidUTF8(key)) {
                AvroJSONWriter rendering;
                rendering.bytesText(key);
                rendered = qsizetype(renderedKeys.size());
                renderedKeys.append(rendering.out, 1, rendering.out.size() - 2);
                key = std::string_view(nullptr, rendering.out.size() - 2);
            }
            const qsizetype at = m_cursor;
            const int64_t itemsBefore = m_items;
            skip(values, depth);
            nestedItems += m_items - itemsBefore;
            entries.push_back({key, at, rendered});
        }
    }
    const qsizetype end = m_cursor;
    const int64_t itemsAfter = m_items;
    m_items -= nestedItems;
    for (Entry& entry : entries) {
        if (entry.rendered >= 0)
            entry.key = std::string_view(renderedKeys.data() + entry.rendered, entry.key.size());
    }
    // Sorted by key; of repeated keys the one read last wins.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    out.push_back('{');
    bool first = true;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i + 1 < entries.size() && entries[i + 1].key == entries[i].key)
            continue;
        if (!first)
            out.push_back(',');
        first = false;
        AvroJSONWriter::appendQuoted(out, entries[i].key);
        out.push_back(':');
        m_cursor = entries[i].at;
        value(values, depth);
    }
    out.push_back('}');
    m_cursor = end;
    m_items = itemsAfter;
}

void AvroDecoder::logical(const AvroSchema::Node& node, int depth)
{
    std::string& out = m_writer.out;
    const AvroSchema::Node& base = *node.children.front().m_node;
    const auto kind = node.logical.kind;
    if (kind == LogicalKind::Uuid)
        return value(base, depth);
    out.push_back('"');
    switch (kind) {
    case LogicalKind::Decimal:
        AvroLogicalText::decimal(out, decimalBytes(node, base), node.logical.scale);
        break;
    case LogicalKind::Date:
        AvroLogicalText::date(out, varint());
        break;
    case LogicalKind::TimeMillis: {
        int64_t v = varint();
        AvroLogicalText::timeOfDay(out, v, v, "ms");
        break;
    }
    case LogicalKind::TimeMicros: {
        int64_t v = varint();
        AvroLogicalText::timeOfDay(out, v / 1000, v, "\u00b5s");
        break;
    }
    case LogicalKind::TimestampMillis:
    case LogicalKind::LocalTimestampMillis: {
        int64_t v = varint();
        AvroLogicalText::timestamp(out, v, v, "ms");
        break;
    }
    case LogicalKind::TimestampMicros:
    case LogicalKind::LocalTimestampMicros: {
        // Sub-millisecond parts are cut toward the past, so a moment never shows later than it was.
        int64_t v = varint();
        int64_t millis = v / 1000 - ((v % 1000 < 0) ? 1 : 0);
        AvroLogicalText::timestamp(out, millis, v, "\u00b5s");
        break;
    }
    case LogicalKind::Uuid:
        break;
    }
    out.push_back('"');
}

AvroDecoder::DecodeError::DecodeError(Kind kind, int64_t index, QString name)
    : m_kind(kind)
    , m_index(index)
    , m_name(std::move(name))
    , m_utf8(text().toUtf8())
{ }

QString AvroDecoder::DecodeError::text() const
{
    switch (m_kind) {
    case Kind::BadUnionIndex:
        return QStringLiteral("badUnionIndex(%1)").arg(m_index);
    case Kind::BadEnumIndex:
        return QStringLiteral("badEnumIndex(%1)").arg(m_index);
    case Kind::UnknownNamedType:
        return QStringLiteral("unknownNamedType(\"%1\")").arg(m_name);
    case Kind::Truncated:
        return QStringLiteral("truncated");
    case Kind::NegativeLength:
        return QStringLiteral("negativeLength");
    case Kind::TooDeep:
        return QStringLiteral("tooDeep");
    case Kind::TooManyItems:
        return QStringLiteral("tooManyItems");
    case Kind::DecimalTooLarge:
        return QStringLiteral("decimalTooLarge");
    case Kind::DecimalScaleTooLarge:
        return QStringLiteral("decimalScaleTooLarge");
    }
    return {};
}

} // namespace tessaron
