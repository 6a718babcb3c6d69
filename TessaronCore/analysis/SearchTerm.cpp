#include "TessaronCore/analysis/SearchTerm.h"

#include "TessaronCore/model/TextRules.h"

#include <cstdint>
#include <cstring>

namespace tessaron {

namespace {

bool isAsciiBytes(QByteArrayView bytes)
{
    const char* p = bytes.data();
    qsizetype n = bytes.size();
    uint64_t seen = 0;
    while (n >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        seen |= word;
        p += 8;
        n -= 8;
    }
    while (n-- > 0)
        seen |= uint64_t(uint8_t(*p++));
    return (seen & 0x8080808080808080ull) == 0;
}

bool isAsciiText(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

template <typename Unit> inline unsigned asciiFold(Unit c)
{
    const unsigned u = unsigned(c);
    return (u - 'A' < 26u) ? (u | 0x20u) : u;
}

// `haystack` holds only ASCII; `term` is ASCII in folded (lower-case) form and not empty.
template <typename Unit> bool asciiContains(const Unit* haystack, qsizetype n, const QByteArray& term)
{
    const qsizetype m = term.size();
    if (m > n)
        return false;
    const auto* t = reinterpret_cast<const unsigned char*>(term.constData());
    const unsigned first = t[0];
    const qsizetype last = n - m;
    for (qsizetype i = 0; i <= last; ++i) {
        if (asciiFold(haystack[i]) != first)
            continue;
        qsizetype k = 1;
        while (k < m && asciiFold(haystack[i + k]) == t[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

} // namespace

std::optional<SearchTerm> SearchTerm::prepare(QStringView text)
{
    const QString trimmed = TextRules::trimmed(text);
    if (trimmed.isEmpty())
        return std::nullopt;
    SearchTerm t;
    t.m_form = TextRules::searchForm(trimmed);
    t.m_isAscii = isAsciiText(t.m_form);
    if (t.m_isAscii)
        t.m_ascii = t.m_form.toLatin1();
    return t;
}

bool SearchTerm::matches(QStringView text) const
{
    // Folded ASCII text stays ASCII, so a term whose folded form is not ASCII cannot occur in it.
    if (isAsciiText(text))
        return m_isAscii && asciiContains(text.utf16(), text.size(), m_ascii);
    return TextRules::searchForm(text).contains(m_form);
}

std::optional<bool> SearchTerm::matchesUtf8(QByteArrayView bytes) const
{
    if (isAsciiBytes(bytes))
        return m_isAscii && asciiContains(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), m_ascii);
    const std::optional<QString> text = TextRules::strictUtf8(bytes);
    if (!text)
        return std::nullopt;
    return TextRules::searchForm(*text).contains(m_form);
}

} // namespace tessaron
