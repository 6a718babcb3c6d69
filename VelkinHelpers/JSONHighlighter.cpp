#include "VelkinHelpers/JSONHighlighter.h"

#include "VelkinHelpers/JSONTree.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/VelkinPalette.h"

#include <QTextBoundaryFinder>

#include <vector>

namespace tessaron::JSONHighlighter {

namespace {

// The text as user-perceived characters: boundaries[k] is where character k starts.
class Characters {
public:
    explicit Characters(const QString& text)
        : m_text(text)
    {
        // Plain ASCII without a CR LF pair has one character per code unit.
        bool simple = true;
        const char16_t* d = reinterpret_cast<const char16_t*>(text.constData());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (d[i] >= 0x80 || (d[i] == u'\r' && i + 1 < text.size() && d[i + 1] == u'\n')) {
                simple = false;
                break;
            }
        }
        if (simple) {
            m_count = text.size();
            return;
        }
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        m_bounds.push_back(0);
        while (finder.toNextBoundary() != -1)
            m_bounds.push_back(finder.position());
        if (m_bounds.back() != text.size())
            m_bounds.push_back(text.size());
        m_count = qsizetype(m_bounds.size()) - 1;
    }

    qsizetype count() const { return m_count; }
    qsizetype start(qsizetype k) const { return m_bounds.empty() ? k : m_bounds[size_t(k)]; }
    qsizetype end(qsizetype k) const { return m_bounds.empty() ? k + 1 : m_bounds[size_t(k) + 1]; }
    // Whether character k is exactly the single code unit `c`.
    bool is(qsizetype k, char16_t c) const { return end(k) - start(k) == 1 && m_text.at(start(k)).unicode() == c; }
    uint firstScalar(qsizetype k) const
    {
        const qsizetype s = start(k);
        const QChar c = m_text.at(s);
        if (c.isHighSurrogate() && s + 1 < m_text.size() && m_text.at(s + 1).isLowSurrogate())
            return QChar::surrogateToUcs4(c, m_text.at(s + 1));
        return c.unicode();
    }
    bool isSpace(qsizetype k) const { return QChar::isSpace(firstScalar(k)); }
    bool isNumeric(qsizetype k) const { return QChar::isNumber(firstScalar(k)); }
    bool isLetter(qsizetype k) const { return QChar::isLetter(firstScalar(k)); }

private:
    const QString& m_text;
    std::vector<qsizetype> m_bounds;
    qsizetype m_count = 0;
};

bool isPunctuation(const Characters& chars, qsizetype k)
{
    for (char16_t c : {u'{', u'}', u'[', u']', u':', u','}) {
        if (chars.is(k, c))
            return true;
    }
    return false;
}

// The keyword starting at character i, if any: its length in characters.
qsizetype keywordAt(const Characters& chars, qsizetype i)
{
    static const char16_t* const words[] = {u"true", u"false", u"null"};
    for (const char16_t* word : words) {
        qsizetype n = 0;
        bool fits = true;
        for (; word[n]; ++n) {
            if (i + n >= chars.count() || !chars.is(i + n, word[n])) {
                fits = false;
                break;
            }
        }
        if (!fits)
            continue;
        const qsizetype after = i + n;
        if (after < chars.count() && (chars.isLetter(after) || chars.isNumeric(after) || chars.is(after, u'_')))
            continue;
        return n;
    }
    return 0;
}

bool continuesNumber(const Characters& chars, qsizetype k)
{
    return chars.is(k, u'-') || chars.is(k, u'+') || chars.is(k, u'.') || chars.is(k, u'e') || chars.is(k, u'E')
        || chars.isNumeric(k);
}

} // namespace

QList<Token> tokens(const QString& text)
{
    QList<Token> out;
    if (text.isEmpty())
        return out;
    const Characters chars(text);
    const qsizetype n = chars.count();
    out.reserve(n / 2 + 1);
    auto push = [&](qsizetype from, qsizetype to, TokenClass kind) { // characters [from, to)
        const qsizetype s = chars.start(from);
        out.append(Token{s, chars.start(to - 1) + (chars.end(to - 1) - chars.start(to - 1)) - s, kind});
    };
    qsizetype i = 0;
    while (i < n) {
        if (chars.is(i, u'"')) {
            qsizetype j = i + 1;
            qsizetype e = n - 1; // an unterminated string runs to the end
            while (j < n) {
                if (chars.is(j, u'\\') && j + 1 < n) {
                    j += 2;
                } else if (chars.is(j, u'"')) {
                    e = j;
                    break;
                } else {
                    ++j;
                }
            }
            qsizetype k = e + 1;
            while (k < n && chars.isSpace(k))
                ++k;
            const bool key = k < n && chars.is(k, u':');
            push(i, e + 1, key ? TokenClass::key : TokenClass::stringValue);
            i = e + 1;
        } else if (chars.is(i, u'-') || chars.isNumeric(i)) {
            qsizetype j = i + 1;
            while (j < n && continuesNumber(chars, j))
                ++j;
            push(i, j, TokenClass::number);
            i = j;
        } else if (const qsizetype len = chars.isLetter(i) ? keywordAt(chars, i) : 0) {
            push(i, i + len, TokenClass::keyword);
            i += len;
        } else {
            push(i, i + 1, isPunctuation(chars, i) ? TokenClass::punctuation : TokenClass::other);
            ++i;
        }
    }
    return out;
}

QColor color(TokenClass kind)
{
    switch (kind) {
    case TokenClass::key:
        return Brand::palette().at(0);
    case TokenClass::keyword:
        return Brand::palette().at(1);
    case TokenClass::stringValue:
        return VelkinPalette::jsonString();
    case TokenClass::number:
        return VelkinPalette::jsonNumber();
    case TokenClass::punctuation:
        return VelkinPalette::jsonPunctuation();
    case TokenClass::other:
        break;
    }
    return VelkinPalette::jsonText();
}

AttributedText highlight(const QString& text)
{
    AttributedText out;
    const QList<Token> all = tokens(text);
    // The palette is resolved once per call rather than once per token: same colours, far less work.
    QColor colors[6];
    for (int k = 0; k < 6; ++k)
        colors[k] = color(TokenClass(k));
    // Neighbouring tokens of one colour share a run, as attributed text coalesces equal runs.
    // Counted first so the list is allocated once: on a large payload regrowth dominates the cost.
    qsizetype count = 0;
    for (qsizetype i = 0, last = -1; i < all.size(); ++i) {
        const int kind = int(all[i].kind);
        if (last < 0 || (kind != last && colors[kind] != colors[last]))
            ++count;
        last = kind;
    }
    out.runs.reserve(count);
    // A deep copy that this value owns: the runs below are views into it, whatever becomes of `text`.
    out.storage = QString(text.constData(), text.size());
    qsizetype runStart = 0;
    int runKind = -1;
    auto close = [&](qsizetype end) {
        if (runKind >= 0)
            out.runs.append(AttributedText::Run{out.viewing(runStart, end - runStart), colors[runKind], std::nullopt});
    };
    for (const Token& t : all) {
        const int kind = int(t.kind);
        if (kind != runKind && (runKind < 0 || colors[kind] != colors[runKind])) {
            close(t.start);
            runStart = t.start;
            runKind = kind;
        }
    }
    close(text.size());
    return out;
}

QString prettyPrint(const QString& text) { return JSONTree::prettyPrinted(text).value_or(text); }

bool isJSON(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(QLatin1Char('{')) && !trimmed.startsWith(QLatin1Char('[')))
        return false;
    return JSONTree::isValid(trimmed);
}

} // namespace tessaron::JSONHighlighter
