#include "TessaronCore/model/TextRules.h"

#include <QChar>
#include <QStringDecoder>

#include <cstring>

namespace tessaron::TextRules {

bool isTrimmable(char32_t codePoint)
{
    return codePoint == U'\t' || QChar::category(codePoint) == QChar::Separator_Space;
}

QString trimmed(QStringView text)
{
    // Every space separator lies in the Basic Multilingual Plane, so no surrogate pair is ever cut.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmable(text[begin].unicode()))
        ++begin;
    while (end > begin && isTrimmable(text[end - 1].unicode()))
        --end;
    return text.sliced(begin, end - begin).toString();
}

static inline char16_t codePointOrderUnit(char16_t u)
{
    // UTF-16 code-unit order differs from code-point order only where surrogates (which stand for
    // code points above U+FFFF) meet U+E000..U+FFFF; lift the surrogates above that range.
    if (u >= 0xD800) {
        if (u >= 0xE000)
            return char16_t(u - 0x800);
        return char16_t(u + 0x2000);
    }
    return u;
}

int compareCodePoints(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    // Names sorted together share long prefixes: step over equal runs four units at a time.
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        uint64_t x;
        uint64_t y;
        std::memcpy(&x, pa + i, 8);
        std::memcpy(&y, pb + i, 8);
        if (x != y)
            break;
    }
    for (; i < n; ++i) {
        if (pa[i] != pb[i]) {
            const char16_t ua = codePointOrderUnit(pa[i]);
            const char16_t ub = codePointOrderUnit(pb[i]);
            return ua < ub ? -1 : 1;
        }
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

static inline bool isLatin1Composed(QStringView text)
{
    // Text made only of characters below U+0300 is already in canonical composed form: nothing
    // there composes with a neighbour (combining marks start at U+0300).
    for (QChar c : text) {
        if (c.unicode() >= 0x300)
            return false;
    }
    return true;
}

QString orderKey(QStringView text)
{
    if (isLatin1Composed(text))
        return text.toString();
    return text.toString().normalized(QString::NormalizationForm_C);
}

QString orderKey(const QString& text)
{
    if (isLatin1Composed(text))
        return text;
    return text.normalized(QString::NormalizationForm_C);
}

int compare(QStringView a, QStringView b)
{
    if (isLatin1Composed(a) && isLatin1Composed(b))
        return compareCodePoints(a, b);
    return compareCodePoints(orderKey(a), orderKey(b));
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    // Keys and header values are mostly short ASCII, which needs no decoder.
    bool ascii = true;
    for (char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes.data(), bytes.size());
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString searchForm(QStringView text)
{
    QString folded = text.toString().toCaseFolded();
    if (isLatin1Composed(folded))
        return folded;
    return folded.normalized(QString::NormalizationForm_C);
}

bool containsIgnoringCase(QStringView text, QStringView term) { return searchForm(text).contains(searchForm(term)); }

} // namespace tessaron::TextRules
