#include "TessaronCore/analysis/JsonShapeScanner.h"

#include "VelkinInfra/json/JsonLexis.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace tessaron {

namespace {

inline void skipSpace(const unsigned char*& p, const unsigned char* end)
{
    while (p < end && JsonLexis::isSpace(*p))
        ++p;
}

// Whether the eight bytes at p are all printable ASCII other than a quotation mark or a reverse
// solidus: string text that needs no look at all.
inline bool plainAscii8(const unsigned char* p)
{
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t highs = 0x8080808080808080ull;
    uint64_t w;
    std::memcpy(&w, p, 8);
    const auto hasZero = [](uint64_t v) { return (v - ones) & ~v & highs; };
    const uint64_t special =
        (w & highs) | ((w - ones * 0x20) & ~w & highs) | hasZero(w ^ (ones * '"')) | hasZero(w ^ (ones * '\\'));
    return special == 0;
}

inline bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// One multi-byte UTF-8 sequence starting at p (whose first byte is 0x80 or above). Overlong forms,
// surrogates and code points above U+10FFFF are refused.
inline bool skipUtf8Sequence(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char c = *p;
    const ptrdiff_t left = end - p;
    if (c >= 0xC2 && c <= 0xDF) {
        if (left < 2 || !isContinuation(p[1]))
            return false;
        p += 2;
        return true;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !isContinuation(p[1]) || !isContinuation(p[2]))
            return false;
        if (c == 0xE0 && p[1] < 0xA0)
            return false;
        if (c == 0xED && p[1] > 0x9F)
            return false;
        p += 3;
        return true;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
            return false;
        if (c == 0xF0 && p[1] < 0x90)
            return false;
        if (c == 0xF4 && p[1] > 0x8F)
            return false;
        p += 4;
        return true;
    }
    return false;
}

void appendUtf8(std::string* out, char32_t cp)
{
    if (cp < 0x80) {
        out->push_back(char(cp));
    } else if (cp < 0x800) {
        out->push_back(char(0xC0 | (cp >> 6)));
        out->push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out->push_back(char(0xE0 | (cp >> 12)));
        out->push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (cp >> 18)));
        out->push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(char(0x80 | (cp & 0x3F)));
    }
}

// A number a double cannot hold (beyond its range, or so small it would read as zero) is refused,
// as the platform parser refuses it.
bool outOfRange(const unsigned char* start, const unsigned char* end)
{
    double value = 0;
    const auto result =
        std::from_chars(reinterpret_cast<const char*>(start), reinterpret_cast<const char*>(end), value);
    return result.ec == std::errc::result_out_of_range;
}

} // namespace

bool JsonShapeScanner::scanString(const unsigned char*& p, const unsigned char* end, std::string* out)
{
    // p stands just after the opening quote.
    const unsigned char* run = p;
    while (p < end) {
        while (end - p >= 8 && plainAscii8(p))
            p += 8;
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c == '"') {
            if (out)
                out->append(reinterpret_cast<const char*>(run), size_t(p - run));
            ++p;
            return true;
        }
        if (c < 0x20)
            return false;
        if (c == '\\') {
            if (out)
                out->append(reinterpret_cast<const char*>(run), size_t(p - run));
            ++p;
            if (p >= end)
                return false;
            const unsigned char e = *p++;
            char32_t cp = 0;
            if (e == 'u') {
                if (!JsonLexis::readHex4(p, end, &cp))
                    return false;
                if (cp >= 0xDC00 && cp <= 0xDFFF)
                    return false; // a low surrogate without its high half
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    char32_t low = 0;
                    if (end - p < 2 || p[0] != '\\' || p[1] != 'u')
                        return false;
                    p += 2;
                    if (!JsonLexis::readHex4(p, end, &low) || low < 0xDC00 || low > 0xDFFF)
                        return false;
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
            } else {
                const int simple = JsonLexis::simpleEscape(e);
                if (simple < 0)
                    return false;
                cp = char32_t(simple);
            }
            if (out)
                appendUtf8(out, cp);
            run = p;
            continue;
        }
        if (c >= 0x80) {
            if (!skipUtf8Sequence(p, end))
                return false;
            continue;
        }
        ++p;
    }
    return false;
}

bool JsonShapeScanner::scanNumber(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char* start = p;
    bool mayOverflow = false;
    if (!JsonLexis::skipNumber(p, end, &mayOverflow))
        return false;
    return !(mayOverflow && outOfRange(start, p));
}

bool JsonShapeScanner::scan(QByteArrayView json, int64_t maxDepth)
{
    m_entries.clear();
    m_paths.clear();
    m_prefix.clear();
    m_stack.clear();

    // Every nested path repeats its parent's key, so a long key over many short members would make
    // the paths outgrow the text many times over (gigabytes from one message). No real document
    // comes near this; the entries address the buffer with 32-bit offsets besides.
    const size_t pathBudget =
        std::min<size_t>(size_t(json.size()) * pathBytesPerTextByte + minimumPathBudget, UINT32_MAX);

    const auto* p = reinterpret_cast<const unsigned char*>(json.data());
    const auto* end = p + json.size();
    if (end - p >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        p += 3;
    skipSpace(p, end);
    if (p >= end || *p != '{')
        return false;
    ++p;
    m_stack.push_back(Frame{true, true, 0, 0});

    // At the top of this loop we stand inside the innermost container, just after its opening
    // bracket (first == true) or just after a value.
    bool first = true;
    while (!m_stack.empty()) {
        Frame& frame = m_stack.back();
        skipSpace(p, end);
        if (p >= end)
            return false;

        bool listing = false;
        uint32_t pathStart = 0;
        uint32_t pathLength = 0;
        if (first) {
            if (*p == (frame.isObject ? '}' : ']')) {
                ++p;
                m_stack.pop_back();
                first = false;
                continue;
            }
        } else {
            if (*p == (frame.isObject ? '}' : ']')) {
                ++p;
                m_stack.pop_back();
                continue;
            }
            if (*p != ',')
                return false;
            ++p;
            skipSpace(p, end);
            if (p >= end)
                return false;
        }
        first = false;

        if (frame.isObject) {
            if (*p != '"')
                return false;
            ++p;
            if (frame.records) {
                m_key.clear();
                if (!scanString(p, end, &m_key))
                    return false;
                m_prefix.resize(frame.prefixLength);
                if (!m_prefix.empty())
                    m_prefix.push_back('.');
                m_prefix.append(m_key);
                if (m_paths.size() + m_prefix.size() > pathBudget)
                    return false;
                pathStart = uint32_t(m_paths.size());
                pathLength = uint32_t(m_prefix.size());
                m_paths.append(m_prefix);
                listing = true;
            } else if (!scanString(p, end, nullptr)) {
                return false;
            }
            skipSpace(p, end);
            if (p >= end || *p != ':')
                return false;
            ++p;
            skipSpace(p, end);
            if (p >= end)
                return false;
        }

        JSONKind kind;
        const unsigned char c = *p;
        if (c == '{' || c == '[') {
            ++p;
            const bool isObject = c == '{';
            kind = isObject ? JSONKind::object : JSONKind::array;
            if (listing)
                m_entries.push_back(Entry{pathStart, pathLength, kind});
            if (m_stack.size() >= size_t(nestingLimit))
                return false;
            const bool enter = listing && isObject && frame.depth + 1 < maxDepth;
            const int64_t depth = frame.depth + 1;
            // `frame` may dangle once the stack grows.
            m_stack.push_back(Frame{isObject, enter, depth, enter ? pathLength : 0});
            if (enter)
                m_prefix.resize(pathLength);
            first = true;
            continue;
        }
        if (c == '"') {
            ++p;
            if (!scanString(p, end, nullptr))
                return false;
            kind = JSONKind::string;
        } else if (c == 't' || c == 'f') {
            if (!JsonLexis::skipWord(p, end, c == 't' ? "true" : "false"))
                return false;
            kind = JSONKind::boolean;
        } else if (c == 'n') {
            if (!JsonLexis::skipWord(p, end, "null"))
                return false;
            kind = JSONKind::null;
        } else {
            if (!scanNumber(p, end))
                return false;
            kind = JSONKind::number;
        }
        if (listing)
            m_entries.push_back(Entry{pathStart, pathLength, kind});
    }

    skipSpace(p, end);
    return p == end;
}

} // namespace tessaron
