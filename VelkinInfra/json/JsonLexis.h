#pragma once

#include <cstddef>

// The lexical rules of strict JSON (RFC 8259) that every strict reader shares: the byte-level shape
// scanner of the analyses over UTF-8 and the pretty printer over UTF-16 read the same grammar with
// the same limit. Templates over the code unit type, so each reader keeps its own fast loop.
namespace tessaron::JsonLexis {

// Containers nested deeper than this are refused, as Qt's own JSON parser refuses them; readers
// that recurse stay well within a thread's stack at this depth.
inline constexpr int maxNesting = 1024;

template <typename C> constexpr bool isSpace(C c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

template <typename C> constexpr int hexValue(C c)
{
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a') + 10;
    if (c >= 'A' && c <= 'F')
        return int(c - 'A') + 10;
    return -1;
}

// Four hexadecimal digits at p, moving past them; false (p unmoved) when there are not four.
template <typename C> bool readHex4(const C*& p, const C* end, char32_t* value)
{
    if (end - p < 4)
        return false;
    char32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const int h = hexValue(p[i]);
        if (h < 0)
            return false;
        v = (v << 4) | char32_t(h);
    }
    p += 4;
    *value = v;
    return true;
}

// The character a one-letter escape (the letter after the reverse solidus) stands for; -1 for a
// letter that is not one of them, "u" included, which callers read with readHex4.
template <typename C> constexpr int simpleEscape(C letter)
{
    switch (letter) {
    case '"':
        return '"';
    case '\\':
        return '\\';
    case '/':
        return '/';
    case 'b':
        return 0x08;
    case 'f':
        return 0x0C;
    case 'n':
        return 0x0A;
    case 'r':
        return 0x0D;
    case 't':
        return 0x09;
    default:
        return -1;
    }
}

// Moves p past the word ("true", "false", "null") when the text at p spells it.
template <typename C> bool skipWord(const C*& p, const C* end, const char* word)
{
    const C* q = p;
    for (; *word; ++word, ++q) {
        if (q == end || *q != C(static_cast<unsigned char>(*word)))
            return false;
    }
    p = q;
    return true;
}

// Moves p past one number of JSON's grammar; false when the text at p is not one. `mayOverflow`
// tells whether the number has an exponent or more than 300 digits in a part, so that a reader
// that needs a double knows when to check its range.
template <typename C> bool skipNumber(const C*& p, const C* end, bool* mayOverflow = nullptr)
{
    const C* q = p;
    const auto digit = [&] { return q < end && *q >= '0' && *q <= '9'; };
    // The digits after a '.' or an exponent: at least one, and how many.
    const auto digitRun = [&]() -> std::ptrdiff_t {
        const C* digits = q;
        while (digit())
            ++q;
        return q - digits;
    };
    const C* start = q;
    if (q < end && *q == '-')
        ++q;
    if (!digit())
        return false;
    if (*q == '0') {
        ++q;
    } else {
        while (digit())
            ++q;
    }
    bool longForm = (q - start) > 300;
    if (q < end && *q == '.') {
        ++q;
        const std::ptrdiff_t fraction = digitRun();
        if (fraction == 0)
            return false;
        longForm = longForm || fraction > 300;
    }
    if (q < end && (*q == 'e' || *q == 'E')) {
        ++q;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        if (digitRun() == 0)
            return false;
        longForm = true;
    }
    if (mayOverflow)
        *mayOverflow = longForm;
    p = q;
    return true;
}

} // namespace tessaron::JsonLexis
