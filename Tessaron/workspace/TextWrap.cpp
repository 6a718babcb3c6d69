#include "Tessaron/workspace/TextWrap.h"

#include <QFontMetricsF>

namespace tessaron::TextWrap {

QStringList lines(const QString& text, const QFont& font, double width, int maxLines, Qt::TextElideMode elide)
{
    const QFontMetricsF fm(font);
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty() && lines.size() < maxLines) {
        if (lines.size() == maxLines - 1 || fm.horizontalAdvance(rest) <= width) {
            lines << fm.elidedText(rest, elide, width);
            break;
        }
        qsizetype cut = rest.size();
        while (cut > 1 && fm.horizontalAdvance(rest.left(cut)) > width)
            --cut;
        const qsizetype space = rest.left(cut + 1).lastIndexOf(u' ');
        if (space > 0)
            cut = space;
        lines << rest.left(cut).trimmed();
        rest = rest.mid(cut).trimmed();
    }
    return lines;
}

} // namespace tessaron::TextWrap
