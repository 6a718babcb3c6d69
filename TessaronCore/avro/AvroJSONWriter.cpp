#include "TessaronCore/avro/AvroJSONWriter.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tessaron {

namespace {

constexpr char kHex[] = "0123456789abcdef";

// Bytes that need an escape: control characters, quotation mark, reverse solidus, solidus.
constexpr bool needsEscape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\' || c == '/'; }

// Whether any of the eight bytes at p may need an escape (a byte below 0x20, or one equal to a
// quotation mark, reverse solidus or solidus). Bytes of 0x80 and above never do.
inline bool wordNeedsEscape(const char* p)
{
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t highs = 0x8080808080808080ull;
    uint64_t w;
    std::memcpy(&w, p, 8);
    const auto hasZero = [](uint64_t v) { return (v - ones) & ~v & highs; };
    const uint64_t below20 = (w - ones * 0x20) & ~w & highs;
    return (below20 | hasZero(w ^ (ones * '"')) | hasZero(w ^ (ones * '\\')) | hasZero(w ^ (ones * '/'))) != 0;
}

template <typename T> void appendNumber(std::string& out, T value)
{
    if (std::isnan(value)) {
        out.append("\"NaN\"");
        return;
    }
    if (std::isinf(value)) {
        out.append(value > 0 ? "\"Infinity\"" : "\"-Infinity\"");
        return;
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace

void AvroJSONWriter::integer(int64_t value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AvroJSONWriter::number(double value) { appendNumber(out, value); }
void AvroJSONWriter::number(float value) { appendNumber(out, value); }

void AvroJSONWriter::appendQuoted(std::string& out, std::string_view utf8)
{
    out.push_back('"');
    const char* run = utf8.data();
    const char* end = run + utf8.size();
    for (const char* p = run; p < end; ++p) {
        // Runs of plain text go eight bytes at a time.
        while (end - p >= 8 && !wordNeedsEscape(p))
            p += 8;
        if (p == end)
            break;
        unsigned char c = static_cast<unsigned char>(*p);
        if (!needsEscape(c))
            continue;
        out.append(run, p);
        run = p + 1;
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '/':
            out.append("\\/");
            break;
        case '\b':
            out.append("\\b");
            break;
        case '\f':
            out.append("\\f");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default: {
            char escape[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            out.append(escape, 6);
        }
        }
    }
    out.append(run, end);
    out.push_back('"');
}

bool AvroJSONWriter::isValidUTF8(std::string_view bytes, bool* hasNul)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    bool nul = false;
    while (p < end) {
        // Plain ASCII goes eight bytes at a time.
        if (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                // A zero byte inside the word: (w - 0x01..) & ~w & 0x80..
                if ((word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull)
                    nul = true;
                p += 8;
                continue;
            }
        }
        unsigned char c = *p;
        if (c < 0x80) {
            if (c == 0)
                nul = true;
            ++p;
            continue;
        }
        int extra;
        uint32_t min;
        uint32_t cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            cp = c & 0x07;
        } else
            return false;
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not UTF-8.
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += extra + 1;
    }
    if (hasNul)
        *hasNul = nul;
    return true;
}

void AvroJSONWriter::bytesText(std::string_view bytes)
{
    bool nul = false;
    if (isValidUTF8(bytes, &nul) && !nul) {
        appendQuoted(out, bytes);
        return;
    }
    out.append("\"0x");
    size_t shown = bytes.size() < 16 ? bytes.size() : 16;
    for (size_t i = 0; i < shown; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 15]);
    }
    if (bytes.size() > 16) {
        out.append("\u2026 (");
        integer(static_cast<int64_t>(bytes.size()));
        out.append(" bytes)");
    }
    out.push_back('"');
}

void AvroJSONWriter::stringText(std::string_view bytes)
{
    if (isValidUTF8(bytes))
        appendQuoted(out, bytes);
    else
        bytesText(bytes);
}

} // namespace tessaron
