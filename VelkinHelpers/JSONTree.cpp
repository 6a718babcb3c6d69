#include "VelkinHelpers/JSONTree.h"

#include "VelkinInfra/json/JsonLexis.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace tessaron::JSONTree {

namespace {

struct Node {
    enum class Kind { object, array, string, number, literal } kind = Kind::literal;
    QString scalar; // decoded string, number lexeme or literal word
    std::vector<std::pair<QString, std::unique_ptr<Node>>> members;
    std::vector<std::unique_ptr<Node>> elements;
};

class Reader {
public:
    explicit Reader(QStringView text)
        : m_s(text)
    { }

    std::unique_ptr<Node> document()
    {
        skipSpace();
        auto root = value(0);
        if (!root)
            return nullptr;
        skipSpace();
        return m_i == m_s.size() ? std::move(root) : nullptr;
    }

private:
    bool atEnd() const { return m_i >= m_s.size(); }
    const char16_t* at() const { return m_s.utf16() + m_i; }
    const char16_t* end() const { return m_s.utf16() + m_s.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_s[m_i]; }

    void skipSpace()
    {
        while (!atEnd()) {
            if (!JsonLexis::isSpace(m_s[m_i].unicode()))
                break;
            ++m_i;
        }
    }

    // `depth` counts the containers around the value.
    std::unique_ptr<Node> value(int depth)
    {
        if (atEnd())
            return nullptr;
        const char16_t c = peek().unicode();
        if ((c == u'{' || c == u'[') && depth >= JsonLexis::maxNesting)
            return nullptr;
        if (c == u'{')
            return object(depth);
        if (c == u'[')
            return array(depth);
        if (c == u'"') {
            auto node = std::make_unique<Node>();
            node->kind = Node::Kind::string;
            if (!string(node->scalar))
                return nullptr;
            return node;
        }
        if (c == u'-' || (c >= u'0' && c <= u'9'))
            return number();
        for (const char* word : {"true", "false", "null"}) {
            const char16_t* p = at();
            if (JsonLexis::skipWord(p, end(), word)) {
                m_i = p - m_s.utf16();
                auto node = std::make_unique<Node>();
                node->scalar = QLatin1StringView(word);
                return node;
            }
        }
        return nullptr;
    }

    std::unique_ptr<Node> object(int depth)
    {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::object;
        ++m_i;
        skipSpace();
        if (peek() == u'}') {
            ++m_i;
            return node;
        }
        while (true) {
            skipSpace();
            QString key;
            if (peek() != u'"' || !string(key))
                return nullptr;
            skipSpace();
            if (peek() != u':')
                return nullptr;
            ++m_i;
            skipSpace();
            auto child = value(depth + 1);
            if (!child)
                return nullptr;
            // A repeated key keeps its last value, as the platform's readers do.
            auto same =
                std::find_if(node->members.begin(), node->members.end(), [&](const auto& m) { return m.first == key; });
            if (same != node->members.end())
                same->second = std::move(child);
            else
                node->members.emplace_back(std::move(key), std::move(child));
            skipSpace();
            if (peek() == u',') {
                ++m_i;
                continue;
            }
            if (peek() == u'}') {
                ++m_i;
                return node;
            }
            return nullptr;
        }
    }

    std::unique_ptr<Node> array(int depth)
    {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::array;
        ++m_i;
        skipSpace();
        if (peek() == u']') {
            ++m_i;
            return node;
        }
        while (true) {
            skipSpace();
            auto child = value(depth + 1);
            if (!child)
                return nullptr;
            node->elements.push_back(std::move(child));
            skipSpace();
            if (peek() == u',') {
                ++m_i;
                continue;
            }
            if (peek() == u']') {
                ++m_i;
                return node;
            }
            return nullptr;
        }
    }

    bool string(QString& out)
    {
        ++m_i; // opening quote
        const qsizetype start = m_i;
        // Fast path: no escapes.
        while (!atEnd()) {
            const char16_t c = m_s[m_i].unicode();
            if (c == u'"') {
                out = m_s.mid(start, m_i - start).toString();
                ++m_i;
                return true;
            }
            if (c == u'\\' || c < 0x20)
                break;
            ++m_i;
        }
        out = m_s.mid(start, m_i - start).toString();
        while (!atEnd()) {
            const char16_t c = m_s[m_i].unicode();
            if (c == u'"') {
                ++m_i;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c != u'\\') {
                out += QChar(c);
                ++m_i;
                continue;
            }
            if (m_i + 1 >= m_s.size())
                return false;
            const char16_t e = m_s[m_i + 1].unicode();
            m_i += 2;
            if (e == u'u') {
                const char16_t* p = at();
                char32_t code = 0;
                if (!JsonLexis::readHex4(p, end(), &code))
                    return false;
                m_i = p - m_s.utf16();
                out += QChar(char16_t(code));
                continue;
            }
            const int simple = JsonLexis::simpleEscape(e);
            if (simple < 0)
                return false;
            out += QChar(char16_t(simple));
        }
        return false;
    }

    std::unique_ptr<Node> number()
    {
        const char16_t* p = at();
        if (!JsonLexis::skipNumber(p, end()))
            return nullptr;
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::number;
        node->scalar = m_s.mid(m_i, p - at()).toString();
        m_i = p - m_s.utf16();
        return node;
    }

    QStringView m_s;
    qsizetype m_i = 0;
};

void writeString(QString& out, const QString& s)
{
    out += QLatin1Char('"');
    for (QChar ch : s) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case 0x08:
            out += QLatin1String("\\b");
            break;
        case 0x0C:
            out += QLatin1String("\\f");
            break;
        default:
            if (c < 0x20)
                out += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
            else
                out += ch;
        }
    }
    out += QLatin1Char('"');
}

void write(QString& out, const Node& node, int indent)
{
    const auto pad = [&](int level) { out += QString(level * 2, QLatin1Char(' ')); };
    switch (node.kind) {
    case Node::Kind::string:
        writeString(out, node.scalar);
        return;
    case Node::Kind::number:
    case Node::Kind::literal:
        out += node.scalar;
        return;
    case Node::Kind::array:
        if (node.elements.empty()) {
            out += QLatin1String("[]");
            return;
        }
        out += QLatin1String("[\n");
        for (size_t i = 0; i < node.elements.size(); ++i) {
            pad(indent + 1);
            write(out, *node.elements[i], indent + 1);
            out += i + 1 < node.elements.size() ? QLatin1String(",\n") : QLatin1String("\n");
        }
        pad(indent);
        out += QLatin1Char(']');
        return;
    case Node::Kind::object: {
        if (node.members.empty()) {
            out += QLatin1String("{}");
            return;
        }
        std::vector<const std::pair<QString, std::unique_ptr<Node>>*> sorted;
        sorted.reserve(node.members.size());
        for (const auto& m : node.members)
            sorted.push_back(&m);
        std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->first < b->first; });
        out += QLatin1String("{\n");
        for (size_t i = 0; i < sorted.size(); ++i) {
            pad(indent + 1);
            writeString(out, sorted[i]->first);
            out += QLatin1String(" : ");
            write(out, *sorted[i]->second, indent + 1);
            out += i + 1 < sorted.size() ? QLatin1String(",\n") : QLatin1String("\n");
        }
        pad(indent);
        out += QLatin1Char('}');
        return;
    }
    }
}

} // namespace

bool hasUnpairedSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

bool isValid(QStringView text)
{
    if (hasUnpairedSurrogate(text))
        return false;
    return Reader(text).document() != nullptr;
}

std::optional<QString> prettyPrinted(QStringView text)
{
    if (hasUnpairedSurrogate(text))
        return std::nullopt;
    const auto root = Reader(text).document();
    if (!root || (root->kind != Node::Kind::object && root->kind != Node::Kind::array))
        return std::nullopt;
    QString out;
    out.reserve(text.size() + text.size() / 2);
    write(out, *root, 0);
    // A \u escape may have produced half a surrogate pair, which UTF-8 cannot carry.
    if (hasUnpairedSurrogate(out))
        return std::nullopt;
    return out;
}

} // namespace tessaron::JSONTree
