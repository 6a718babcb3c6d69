#include "VelkinHelpers/JSONTree.h"

#include "VelkinInfra/json/JsonLexis.h"

#include <algorithm>
#include <vector>

namespace tessaron::JSONTree {

namespace {

// The document as a flat list of values in reading order (a container is followed by its
// children; an object's children are key, value, key, value...). Scalars are spans of the source
// text, so reading allocates one growing list and nothing per value.
struct Entry {
    enum class Kind : quint8 { object, array, string, number, literal };
    Kind kind = Kind::literal;
    bool escaped = false; // a string with backslash escapes, decoded when written
    qsizetype start = 0;  // of the scalar's text (a string's, inside its quotes)
    qsizetype length = 0;
    qsizetype count = 0; // the members or elements of a container
    qsizetype end = 0;   // one past the last entry of this value
};

class Reader {
public:
    explicit Reader(QStringView text)
        : m_s(text)
    { }

    // Fills `tape`; false when the text is not exactly one JSON value.
    bool document(std::vector<Entry>& tape)
    {
        m_tape = &tape;
        skipSpace();
        if (!value(0))
            return false;
        skipSpace();
        return m_i == m_s.size();
    }

    // Whether a \u escape stood for half a surrogate pair.
    bool escapedSurrogate() const { return m_escapedSurrogate; }

private:
    bool atEnd() const { return m_i >= m_s.size(); }
    const char16_t* at() const { return m_s.utf16() + m_i; }
    const char16_t* end() const { return m_s.utf16() + m_s.size(); }
    char16_t peek() const { return atEnd() ? u'\0' : m_s[m_i].unicode(); }

    void skipSpace()
    {
        while (!atEnd() && JsonLexis::isSpace(m_s[m_i].unicode()))
            ++m_i;
    }

    qsizetype push(Entry::Kind kind)
    {
        Entry entry;
        entry.kind = kind;
        entry.start = m_i;
        m_tape->push_back(entry);
        return qsizetype(m_tape->size()) - 1;
    }
    void close(qsizetype index, qsizetype count)
    {
        Entry& entry = (*m_tape)[index];
        entry.count = count;
        entry.end = qsizetype(m_tape->size());
    }

    // `depth` counts the containers around the value.
    bool value(int depth)
    {
        if (atEnd())
            return false;
        const char16_t c = peek();
        if ((c == u'{' || c == u'[') && depth >= JsonLexis::maxNesting)
            return false;
        if (c == u'{')
            return object(depth);
        if (c == u'[')
            return array(depth);
        if (c == u'"')
            return string();
        if (c == u'-' || (c >= u'0' && c <= u'9')) {
            const char16_t* p = at();
            if (!JsonLexis::skipNumber(p, end()))
                return false;
            const qsizetype index = push(Entry::Kind::number);
            m_i = p - m_s.utf16();
            (*m_tape)[index].length = m_i - (*m_tape)[index].start;
            close(index, 0);
            return true;
        }
        for (const char* word : {"true", "false", "null"}) {
            const char16_t* p = at();
            if (JsonLexis::skipWord(p, end(), word)) {
                const qsizetype index = push(Entry::Kind::literal);
                m_i = p - m_s.utf16();
                (*m_tape)[index].length = m_i - (*m_tape)[index].start;
                close(index, 0);
                return true;
            }
        }
        return false;
    }

    bool object(int depth)
    {
        const qsizetype index = push(Entry::Kind::object);
        ++m_i;
        skipSpace();
        qsizetype count = 0;
        if (peek() == u'}') {
            ++m_i;
            close(index, 0);
            return true;
        }
        while (true) {
            skipSpace();
            if (peek() != u'"' || !string())
                return false;
            skipSpace();
            if (peek() != u':')
                return false;
            ++m_i;
            skipSpace();
            // Repeated keys are resolved when the object is written (the last one wins), so
            // reading stays linear in the number of members.
            if (!value(depth + 1))
                return false;
            ++count;
            skipSpace();
            if (peek() == u',') {
                ++m_i;
                continue;
            }
            if (peek() == u'}') {
                ++m_i;
                close(index, count);
                return true;
            }
            return false;
        }
    }

    bool array(int depth)
    {
        const qsizetype index = push(Entry::Kind::array);
        ++m_i;
        skipSpace();
        qsizetype count = 0;
        if (peek() == u']') {
            ++m_i;
            close(index, 0);
            return true;
        }
        while (true) {
            skipSpace();
            if (!value(depth + 1))
                return false;
            ++count;
            skipSpace();
            if (peek() == u',') {
                ++m_i;
                continue;
            }
            if (peek() == u']') {
                ++m_i;
                close(index, count);
                return true;
            }
            return false;
        }
    }

    bool string()
    {
        ++m_i; // opening quote
        const qsizetype index = push(Entry::Kind::string);
        bool escaped = false;
        while (!atEnd()) {
            const char16_t c = m_s[m_i].unicode();
            if (c == u'"') {
                Entry& entry = (*m_tape)[index];
                entry.length = m_i - entry.start;
                entry.escaped = escaped;
                ++m_i;
                close(index, 0);
                return true;
            }
            if (c < 0x20)
                return false;
            if (c != u'\\') {
                ++m_i;
                continue;
            }
            escaped = true;
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
                if (QChar::isSurrogate(code))
                    m_escapedSurrogate = true;
                continue;
            }
            if (JsonLexis::simpleEscape(e) < 0)
                return false;
        }
        return false;
    }

    QStringView m_s;
    qsizetype m_i = 0;
    std::vector<Entry>* m_tape = nullptr;
    bool m_escapedSurrogate = false;
};

// The text of a string read with escapes (already checked by the reader).
QString decoded(QStringView raw)
{
    QString out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char16_t c = raw[i].unicode();
        if (c != u'\\') {
            out += QChar(c);
            continue;
        }
        const char16_t e = raw[++i].unicode();
        if (e == u'u') {
            const char16_t* p = raw.utf16() + i + 1;
            char32_t code = 0;
            JsonLexis::readHex4(p, raw.utf16() + raw.size(), &code);
            i = p - raw.utf16() - 1;
            out += QChar(char16_t(code));
            continue;
        }
        out += QChar(char16_t(JsonLexis::simpleEscape(e)));
    }
    return out;
}

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

class Writer {
public:
    Writer(QStringView text, const std::vector<Entry>& tape, QString& out)
        : m_s(text)
        , m_tape(tape)
        , m_out(out)
    { }

    // Writes the value at `index`; answers the index after it.
    qsizetype write(qsizetype index, int indent)
    {
        const Entry& entry = m_tape[index];
        switch (entry.kind) {
        case Entry::Kind::string:
            writeStringEntry(entry);
            break;
        case Entry::Kind::number:
        case Entry::Kind::literal:
            m_out += m_s.mid(entry.start, entry.length);
            break;
        case Entry::Kind::array: {
            if (entry.count == 0) {
                m_out += QLatin1String("[]");
                break;
            }
            m_out += QLatin1String("[\n");
            qsizetype next = index + 1;
            for (qsizetype i = 0; i < entry.count; ++i) {
                pad(indent + 1);
                next = write(next, indent + 1);
                m_out += i + 1 < entry.count ? QLatin1String(",\n") : QLatin1String("\n");
            }
            pad(indent);
            m_out += QLatin1Char(']');
            break;
        }
        case Entry::Kind::object:
            writeObject(index, indent);
            break;
        }
        return entry.end;
    }

private:
    struct Member {
        QStringView key;
        qsizetype keyIndex;
    };

    void pad(int level) { m_out.resize(m_out.size() + level * 2, QLatin1Char(' ')); }

    void writeStringEntry(const Entry& entry)
    {
        const QStringView raw = m_s.mid(entry.start, entry.length);
        if (entry.escaped) {
            writeString(m_out, decoded(raw));
            return;
        }
        // Without escapes the source text is already what would be written.
        m_out += QLatin1Char('"');
        m_out += raw;
        m_out += QLatin1Char('"');
    }

    void writeObject(qsizetype index, int indent)
    {
        const Entry& entry = m_tape[index];
        if (entry.count == 0) {
            m_out += QLatin1String("{}");
            return;
        }
        // Keys with escapes are compared by their text; a QString keeps its buffer when the
        // list grows, so the views stay valid.
        std::vector<QString> decodedKeys;
        std::vector<Member> members;
        members.reserve(size_t(entry.count));
        qsizetype next = index + 1;
        for (qsizetype i = 0; i < entry.count; ++i) {
            const Entry& key = m_tape[next];
            members.push_back({m_s.mid(key.start, key.length), next});
            if (key.escaped)
                members.back().key = decodedKeys.emplace_back(decoded(members.back().key));
            next = m_tape[next + 1].end;
        }
        // Stable, so of a repeated key the member read last comes last among its equals and is
        // the one kept, as the platform's readers do.
        std::stable_sort(members.begin(), members.end(),
                         [](const Member& a, const Member& b) { return a.key.compare(b.key) < 0; });
        const auto kept = std::unique(members.rbegin(), members.rend(),
                                      [](const Member& a, const Member& b) { return a.key == b.key; });
        members.erase(members.begin(), kept.base());
        m_out += QLatin1String("{\n");
        for (size_t i = 0; i < members.size(); ++i) {
            pad(indent + 1);
            writeStringEntry(m_tape[members[i].keyIndex]);
            m_out += QLatin1String(" : ");
            write(members[i].keyIndex + 1, indent + 1);
            m_out += i + 1 < members.size() ? QLatin1String(",\n") : QLatin1String("\n");
        }
        pad(indent);
        m_out += QLatin1Char('}');
    }

    QStringView m_s;
    const std::vector<Entry>& m_tape;
    QString& m_out;
};

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
    std::vector<Entry> tape;
    return Reader(text).document(tape);
}

std::optional<QString> prettyPrinted(QStringView text)
{
    if (hasUnpairedSurrogate(text))
        return std::nullopt;
    // Every value takes at least two characters but a container's first (an element and its
    // comma, a key and its colon), so this never grows: a growing tape copied itself into fresh
    // memory, and the pages of a large one first touched cost more than reading it (1.2 million
    // numbers: a 48 MB tape grown through 84 MB). Pages reserved but never written cost nothing.
    std::vector<Entry> tape;
    tape.reserve(size_t(text.size() / 2 + 2));
    Reader reader(text);
    if (!reader.document(tape) || (tape[0].kind != Entry::Kind::object && tape[0].kind != Entry::Kind::array))
        return std::nullopt;
    QString out;
    out.reserve(text.size() + text.size() / 2);
    Writer(text, tape, out).write(0, 0);
    // A \u escape may have produced half a surrogate pair, which UTF-8 cannot carry.
    if (reader.escapedSurrogate() && hasUnpairedSurrogate(out))
        return std::nullopt;
    return out;
}

} // namespace tessaron::JSONTree
