#include "Tessaron/browser/PayloadLines.h"

namespace tessaron::PayloadLines {

namespace {

QStringList quotedPaths(const QSet<QString>& suspects)
{
    QStringList quoted;
    quoted.reserve(suspects.size());
    for (const QString& path : suspects)
        quoted << QLatin1Char('"') + path + QLatin1Char('"');
    return quoted;
}

bool carriesOne(QStringView content, const QStringList& quoted)
{
    if (quoted.isEmpty() || !content.contains(QLatin1Char(':')))
        return false;
    for (const QString& q : quoted) {
        if (content.contains(q))
            return true;
    }
    return false;
}

} // namespace

bool isSuspect(QStringView content, const QSet<QString>& suspects)
{
    return carriesOne(content, quotedPaths(suspects));
}

QList<LineSpan> spans(const QString& text, const QSet<QString>& suspects)
{
    QList<LineSpan> lines;
    lines.reserve(text.count(QLatin1Char('\n')) + 1);
    const QStringList quoted = quotedPaths(suspects);
    const QStringView all(text);
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const bool last = end < 0;
        qsizetype stop = last ? text.size() : end;
        if (!last && stop > start && text.at(stop - 1) == QLatin1Char('\r'))
            --stop;
        lines.append({start, stop - start, carriesOne(all.mid(start, stop - start), quoted)});
        if (last)
            break;
        start = end + 1;
    }
    return lines;
}

QList<PayloadLine> split(const QString& text, const QSet<QString>& suspects)
{
    QList<PayloadLine> lines;
    qsizetype index = 0;
    for (const LineSpan& span : spans(text, suspects))
        lines.append({index++, text.mid(span.start, span.length), span.suspect});
    return lines;
}

} // namespace tessaron::PayloadLines
