#include "VelkinAI/AIText.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace tessaron {

namespace {

const QString fence = QStringLiteral("```");

QString trimSpacesAndTabs(const QString& text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    while (end > start && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.mid(start, end - start);
}

} // namespace

QString AIText::stripFences(const QString& text)
{
    QString result = text.trimmed();
    if (!result.startsWith(fence))
        return result;
    const qsizetype newline = result.indexOf(u'\n');
    if (newline >= 0)
        result = result.mid(newline + 1);
    const qsizetype closing = result.lastIndexOf(fence);
    if (closing >= 0)
        result = result.left(closing);
    return result.trimmed();
}

QString AIText::firstMeaningfulLine(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|[\n\v\f\r\u0085\u2028\u2029]"));
    const QStringList lines = text.split(breaks, Qt::SkipEmptyParts);
    QString pick = text;
    for (const QString& line : lines) {
        const QString trimmed = trimSpacesAndTabs(line);
        if (!trimmed.isEmpty() && !trimmed.startsWith(fence)) {
            pick = trimmed;
            break;
        }
    }
    pick = pick.trimmed();
    auto isMark = [](QChar c) { return c == u'#' || c == u'*' || c == u'`'; };
    qsizetype start = 0, end = pick.size();
    while (start < end && isMark(pick[start]))
        ++start;
    while (end > start && isMark(pick[end - 1]))
        --end;
    return pick.mid(start, end - start);
}

QString AIText::truncated(const QString& text, int limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    qsizetype cut = 0;
    while (finder.toNextBoundary() != -1) {
        ++count;
        if (count == limit)
            cut = finder.position();
        if (count > limit)
            return text.left(cut) + QStringLiteral("\n\u2026(truncated)\u2026");
    }
    return text;
}

} // namespace tessaron
