#include "VelkinHelpers/AttributedText.h"

namespace tessaron {

QString AttributedText::text() const
{
    qsizetype total = 0;
    for (const Run& r : runs)
        total += r.text.size();
    QString out;
    out.reserve(total);
    for (const Run& r : runs)
        out += r.text;
    return out;
}

QList<QTextLayout::FormatRange> AttributedText::formats() const
{
    QList<QTextLayout::FormatRange> out;
    int start = 0;
    for (const Run& r : runs) {
        if (r.foreground || r.background) {
            QTextLayout::FormatRange range;
            range.start = start;
            range.length = int(r.text.size());
            if (r.foreground)
                range.format.setForeground(*r.foreground);
            if (r.background)
                range.format.setBackground(*r.background);
            out.append(range);
        }
        start += int(r.text.size());
    }
    return out;
}

QString AttributedText::toHtml() const
{
    auto css = [](const QColor& c) {
        return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alphaF(), 0, 'f', 3);
    };
    QString html;
    for (const Run& r : runs) {
        QString escaped = r.text.toHtmlEscaped();
        escaped.replace(QLatin1Char('\n'), QLatin1String("<br/>"));
        if (!r.foreground && !r.background) {
            html += escaped;
            continue;
        }
        QString style;
        if (r.foreground)
            style += QStringLiteral("color:%1;").arg(css(*r.foreground));
        if (r.background)
            style += QStringLiteral("background-color:%1;").arg(css(*r.background));
        html += QStringLiteral("<span style=\"%1\">%2</span>").arg(style, escaped);
    }
    return html;
}

} // namespace tessaron
