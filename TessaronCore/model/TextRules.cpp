#include "TessaronCore/model/TextRules.h"

#include <QChar>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <iterator>

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

namespace {

// The characters whose full case folding is more than one character ("ß" → "ss", "ﬁ" → "fi");
// Qt folds only one character to one. Sorted; all of them and their foldings lie in the BMP.
struct Expansion {
    char16_t from;
    const char16_t* to;
};
constexpr Expansion kExpansions[] = {
    {0x00DF, u"ss"},
    {0x0130, u"i\x0307"},
    {0x0149, u"\x02BCn"},
    {0x01F0, u"j\x030C"},
    {0x0390, u"\x03B9\x0308\x0301"},
    {0x03B0, u"\x03C5\x0308\x0301"},
    {0x0587, u"\x0565\x0582"},
    {0x1E96, u"h\x0331"},
    {0x1E97, u"t\x0308"},
    {0x1E98, u"w\x030A"},
    {0x1E99, u"y\x030A"},
    {0x1E9A, u"a\x02BE"},
    {0x1E9E, u"ss"},
    {0x1F50, u"\x03C5\x0313"},
    {0x1F52, u"\x03C5\x0313\x0300"},
    {0x1F54, u"\x03C5\x0313\x0301"},
    {0x1F56, u"\x03C5\x0313\x0342"},
    {0x1F80, u"\x1F00\x03B9"},
    {0x1F81, u"\x1F01\x03B9"},
    {0x1F82, u"\x1F02\x03B9"},
    {0x1F83, u"\x1F03\x03B9"},
    {0x1F84, u"\x1F04\x03B9"},
    {0x1F85, u"\x1F05\x03B9"},
    {0x1F86, u"\x1F06\x03B9"},
    {0x1F87, u"\x1F07\x03B9"},
    {0x1F88, u"\x1F00\x03B9"},
    {0x1F89, u"\x1F01\x03B9"},
    {0x1F8A, u"\x1F02\x03B9"},
    {0x1F8B, u"\x1F03\x03B9"},
    {0x1F8C, u"\x1F04\x03B9"},
    {0x1F8D, u"\x1F05\x03B9"},
    {0x1F8E, u"\x1F06\x03B9"},
    {0x1F8F, u"\x1F07\x03B9"},
    {0x1F90, u"\x1F20\x03B9"},
    {0x1F91, u"\x1F21\x03B9"},
    {0x1F92, u"\x1F22\x03B9"},
    {0x1F93, u"\x1F23\x03B9"},
    {0x1F94, u"\x1F24\x03B9"},
    {0x1F95, u"\x1F25\x03B9"},
    {0x1F96, u"\x1F26\x03B9"},
    {0x1F97, u"\x1F27\x03B9"},
    {0x1F98, u"\x1F20\x03B9"},
    {0x1F99, u"\x1F21\x03B9"},
    {0x1F9A, u"\x1F22\x03B9"},
    {0x1F9B, u"\x1F23\x03B9"},
    {0x1F9C, u"\x1F24\x03B9"},
    {0x1F9D, u"\x1F25\x03B9"},
    {0x1F9E, u"\x1F26\x03B9"},
    {0x1F9F, u"\x1F27\x03B9"},
    {0x1FA0, u"\x1F60\x03B9"},
    {0x1FA1, u"\x1F61\x03B9"},
    {0x1FA2, u"\x1F62\x03B9"},
    {0x1FA3, u"\x1F63\x03B9"},
    {0x1FA4, u"\x1F64\x03B9"},
    {0x1FA5, u"\x1F65\x03B9"},
    {0x1FA6, u"\x1F66\x03B9"},
    {0x1FA7, u"\x1F67\x03B9"},
    {0x1FA8, u"\x1F60\x03B9"},
    {0x1FA9, u"\x1F61\x03B9"},
    {0x1FAA, u"\x1F62\x03B9"},
    {0x1FAB, u"\x1F63\x03B9"},
    {0x1FAC, u"\x1F64\x03B9"},
    {0x1FAD, u"\x1F65\x03B9"},
    {0x1FAE, u"\x1F66\x03B9"},
    {0x1FAF, u"\x1F67\x03B9"},
    {0x1FB2, u"\x1F70\x03B9"},
    {0x1FB3, u"\x03B1\x03B9"},
    {0x1FB4, u"\x03AC\x03B9"},
    {0x1FB6, u"\x03B1\x0342"},
    {0x1FB7, u"\x03B1\x0342\x03B9"},
    {0x1FBC, u"\x03B1\x03B9"},
    {0x1FC2, u"\x1F74\x03B9"},
    {0x1FC3, u"\x03B7\x03B9"},
    {0x1FC4, u"\x03AE\x03B9"},
    {0x1FC6, u"\x03B7\x0342"},
    {0x1FC7, u"\x03B7\x0342\x03B9"},
    {0x1FCC, u"\x03B7\x03B9"},
    {0x1FD2, u"\x03B9\x0308\x0300"},
    {0x1FD3, u"\x03B9\x0308\x0301"},
    {0x1FD6, u"\x03B9\x0342"},
    {0x1FD7, u"\x03B9\x0308\x0342"},
    {0x1FE2, u"\x03C5\x0308\x0300"},
    {0x1FE3, u"\x03C5\x0308\x0301"},
    {0x1FE4, u"\x03C1\x0313"},
    {0x1FE6, u"\x03C5\x0342"},
    {0x1FE7, u"\x03C5\x0308\x0342"},
    {0x1FF2, u"\x1F7C\x03B9"},
    {0x1FF3, u"\x03C9\x03B9"},
    {0x1FF4, u"\x03CE\x03B9"},
    {0x1FF6, u"\x03C9\x0342"},
    {0x1FF7, u"\x03C9\x0342\x03B9"},
    {0x1FFC, u"\x03C9\x03B9"},
    {0xFB00, u"ff"},
    {0xFB01, u"fi"},
    {0xFB02, u"fl"},
    {0xFB03, u"ffi"},
    {0xFB04, u"ffl"},
    {0xFB05, u"st"},
    {0xFB06, u"st"},
    {0xFB13, u"\x0574\x0576"},
    {0xFB14, u"\x0574\x0565"},
    {0xFB15, u"\x0574\x056B"},
    {0xFB16, u"\x057E\x0576"},
    {0xFB17, u"\x0574\x056D"},
};
constexpr char16_t kFirstExpanding = 0xDF;

const char16_t* expansionOf(char16_t c)
{
    if (c < kFirstExpanding)
        return nullptr;
    const auto* end = std::end(kExpansions);
    const auto* found = std::lower_bound(std::begin(kExpansions), end, c,
                                         [](const Expansion& e, char16_t key) { return e.from < key; });
    return found != end && found->from == c ? found->to : nullptr;
}

bool hasExpanding(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= kFirstExpanding && expansionOf(c.unicode()))
            return true;
    }
    return false;
}

} // namespace

QString fullCaseFolded(QStringView text, QList<qsizetype>* origins)
{
    if (!origins && !hasExpanding(text))
        return text.toString().toCaseFolded();
    QString folded;
    folded.reserve(text.size() + 8);
    if (origins) {
        origins->clear();
        origins->reserve(text.size() + 8);
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        char32_t c = text[i++].unicode();
        if (QChar::isHighSurrogate(c) && i < text.size() && text[i].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[i++].unicode());
        const char16_t* expansion = c <= 0xFFFF ? expansionOf(char16_t(c)) : nullptr;
        const qsizetype before = folded.size();
        if (expansion) {
            folded.append(QString::fromUtf16(expansion));
        } else {
            const char32_t f = QChar::toCaseFolded(c);
            folded.append(QString::fromUcs4(&f, 1));
        }
        if (origins) {
            for (qsizetype k = before; k < folded.size(); ++k)
                origins->append(start);
        }
    }
    return folded;
}

QString searchForm(QStringView text)
{
    QString folded = fullCaseFolded(text);
    if (isLatin1Composed(folded))
        return folded;
    return folded.normalized(QString::NormalizationForm_C);
}

bool containsIgnoringCase(QStringView text, QStringView term) { return searchForm(text).contains(searchForm(term)); }

} // namespace tessaron::TextRules
