#include "Tessaron/browser/PayloadLines.h"

namespace tessaron::PayloadLines {

bool isSuspect(QStringView content, const QSet<QString>& suspects)
{
    if (suspects.isEmpty() || !content.contains(QLatin1Char(':')))
        return false;
    QString quoted;
    for (const QString& path : suspects) {
        quoted.clear();
        quoted.reserve(path.size() + 2);
        quoted += QLatin1Char('"');
        quoted += path;
        quoted += QLatin1Char('"');
        if (content.contains(quoted))
            return true;
    }
    return false;
}

QList<PayloadLine> split(const QString& text, const QSet<QString>& suspects)
{
    QList<PayloadLine> lines;
    lines.reserve(text.count(QLatin1Char('\n')) + 1);
    qsizetype start = 0;
    qsizetype index = 0;
    const QStringView all(text);
    while (true) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const bool last = end < 0;
        qsizetype stop = last ? text.size() : end;
        if (!last && stop > start && text.at(stop - 1) == QLatin1Char('\r'))
            --stop;
        const QStringView piece = all.mid(start, stop - start);
        lines.append({index++, piece.toString(), isSuspect(piece, suspects)});
        if (last)
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace tessaron::PayloadLines
