#include "VelkinHelpers/MarkdownInline.h"

#include <QUrl>

namespace tessaron::MarkdownInline {

namespace {

bool isAsciiPunctuation(QChar c) { return c.unicode() < 128 && (c.isPunct() || c.isSymbol()); }

class Renderer {
public:
    Renderer(const QString& source, const QColor& link, const QString& mono)
        : s(source)
        , linkColour(link)
        , monoFamily(mono)
    { }

    QString render(qsizetype from, qsizetype to) const
    {
        // Nesting this deep is no longer formatting: the rest is shown as it stands rather than
        // followed, one stack frame per level, until the stack runs out.
        if (m_nesting >= maxNesting)
            return escape(s.mid(from, to - from));
        ++m_nesting;
        QString out;
        qsizetype i = from;
        while (i < to) {
            const QChar c = s.at(i);
            if (c == u'\\' && i + 1 < to && isAsciiPunctuation(s.at(i + 1))) {
                out += escape(s.mid(i + 1, 1));
                i += 2;
            } else if (c == u'`') {
                i = codeSpan(i, to, out);
            } else if (c == u'[') {
                i = link(i, to, out);
            } else if (c == u'*' || c == u'_') {
                i = emphasis(i, to, out);
            } else {
                out += escape(s.mid(i, 1));
                ++i;
            }
        }
        --m_nesting;
        return out;
    }

private:
    static QString escape(const QString& text) { return text.toHtmlEscaped(); }

    qsizetype runLength(qsizetype i, qsizetype to, QChar c) const
    {
        qsizetype j = i;
        while (j < to && s.at(j) == c)
            ++j;
        return j - i;
    }

    // The position of a backtick run of exactly `n` after `from`, or -1.
    qsizetype closingTicks(qsizetype from, qsizetype to, qsizetype n) const
    {
        qsizetype j = from;
        while (j < to) {
            if (s.at(j) == u'`') {
                const qsizetype m = runLength(j, to, u'`');
                if (m == n)
                    return j;
                j += m;
            } else {
                ++j;
            }
        }
        return -1;
    }

    qsizetype codeSpan(qsizetype i, qsizetype to, QString& out) const
    {
        const qsizetype n = runLength(i, to, u'`');
        const qsizetype close = closingTicks(i + n, to, n);
        if (close < 0) {
            out += s.mid(i, n);
            return i + n;
        }
        QString code = s.mid(i + n, close - i - n);
        if (code.size() >= 2 && code.startsWith(u' ') && code.endsWith(u' ') && !code.trimmed().isEmpty())
            code = code.mid(1, code.size() - 2);
        out += QStringLiteral("<span style=\"font-family:'%1'\">%2</span>").arg(escape(monoFamily), escape(code));
        return close + n;
    }

    // Skips an escape or a whole code span at `j`; returns the position after it, or `j` itself.
    qsizetype skipAtom(qsizetype j, qsizetype to) const
    {
        if (s.at(j) == u'\\' && j + 1 < to)
            return j + 2;
        if (s.at(j) == u'`') {
            const qsizetype n = runLength(j, to, u'`');
            const qsizetype close = closingTicks(j + n, to, n);
            return close < 0 ? j + n : close + n;
        }
        return j;
    }

    qsizetype link(qsizetype i, qsizetype to, QString& out) const
    {
        // The label's closing bracket, nested brackets balanced.
        qsizetype j = i + 1;
        int depth = 1;
        while (j < to && depth > 0) {
            const qsizetype skipped = skipAtom(j, to);
            if (skipped != j) {
                j = skipped;
                continue;
            }
            if (s.at(j) == u'[')
                ++depth;
            else if (s.at(j) == u']')
                --depth;
            ++j;
        }
        const qsizetype labelEnd = j - 1;
        if (depth != 0 || j >= to || s.at(j) != u'(')
            return literal(i, out);
        // The destination: up to the parenthesis that closes it, with an optional quoted title.
        qsizetype k = j + 1;
        int parens = 1;
        while (k < to && parens > 0) {
            if (s.at(k) == u'\\' && k + 1 < to) {
                k += 2;
                continue;
            }
            if (s.at(k) == u'(')
                ++parens;
            else if (s.at(k) == u')')
                --parens;
            ++k;
        }
        if (parens != 0)
            return literal(i, out);
        QString target = s.mid(j + 1, k - j - 2).trimmed();
        const qsizetype space = target.indexOf(u' ');
        if (space >= 0) {
            const QString title = target.mid(space).trimmed();
            const bool quoted = title.size() >= 2
                && ((title.startsWith(u'"') && title.endsWith(u'"'))
                    || (title.startsWith(u'\'') && title.endsWith(u'\'')));
            if (!quoted)
                return literal(i, out);
            target = target.left(space);
        }
        if (target.startsWith(u'<') && target.endsWith(u'>'))
            target = target.mid(1, target.size() - 2);
        const QString label = render(i + 1, labelEnd);
        const QString style = QStringLiteral("color:%1;text-decoration:underline").arg(linkColour.name());
        const QUrl url(target);
        const QString scheme = url.scheme().toLower();
        if (url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"mailto"))
            out += QStringLiteral("<a href=\"%1\" style=\"%2\">%3</a>")
                       .arg(escape(QString::fromUtf8(url.toEncoded())), style, label);
        else
            out += QStringLiteral("<span style=\"%1\">%2</span>").arg(style, label);
        return k;
    }

    qsizetype literal(qsizetype i, QString& out) const
    {
        out += escape(s.mid(i, 1));
        return i + 1;
    }

    bool wordChar(qsizetype j, qsizetype to) const { return j >= 0 && j < to && s.at(j).isLetterOrNumber(); }
    bool space(qsizetype j, qsizetype to) const { return j < 0 || j >= to || s.at(j).isSpace(); }

    // A closing run of `c` after `from` that can close `need` delimiters; the position where those
    // last `need` delimiters start, or -1.
    qsizetype closer(qsizetype from, qsizetype to, QChar c, qsizetype need) const
    {
        qsizetype j = from;
        while (j < to) {
            const qsizetype skipped = skipAtom(j, to);
            if (skipped != j) {
                j = skipped;
                continue;
            }
            if (s.at(j) != c) {
                ++j;
                continue;
            }
            const qsizetype m = runLength(j, to, c);
            const bool fits = need == 2 ? m >= 2 : (m == 1 || m >= 3);
            const bool rightFlanking = !space(j - 1, to);
            const bool intraword = c == u'_' && wordChar(j + m, to);
            if (fits && rightFlanking && !intraword)
                return j + m - need;
            j += m;
        }
        return -1;
    }

    qsizetype emphasis(qsizetype i, qsizetype to, QString& out) const
    {
        const QChar c = s.at(i);
        const qsizetype n = runLength(i, to, c);
        const bool leftFlanking = !space(i + n, to);
        const bool intraword = c == u'_' && wordChar(i - 1, to);
        if (leftFlanking && !intraword) {
            for (const qsizetype need : {qsizetype(2), qsizetype(1)}) {
                if (n < need)
                    continue;
                const qsizetype end = closer(i + n, to, c, need);
                if (end < 0)
                    continue;
                // Delimiters beyond the pair belong to the inside ("***x***" nests).
                const QString inner = render(i + need, end);
                out += need == 2 ? QStringLiteral("<b>%1</b>").arg(inner) : QStringLiteral("<i>%1</i>").arg(inner);
                return end + need;
            }
        }
        out += s.mid(i, n);
        return i + n;
    }

    static constexpr int maxNesting = 32;

    const QString& s;
    QColor linkColour;
    QString monoFamily;
    mutable int m_nesting = 0;
};

} // namespace

QString html(const QString& text, const QColor& linkColour, const QString& monospaceFamily)
{
    const Renderer renderer(text, linkColour, monospaceFamily);
    return QStringLiteral("<span style=\"white-space:pre-wrap\">%1</span>").arg(renderer.render(0, text.size()));
}

} // namespace tessaron::MarkdownInline
