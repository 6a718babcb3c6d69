#include "VelkinHelpers/SearchHighlight.h"

#include "TessaronCore/model/TextRules.h"
#include "VelkinUI/Brand.h"

#include <charconv>

namespace tessaron::SearchHighlight {

namespace {

// Fixed-point text of `value` rounded as printf rounds, independent of the C and Qt locales.
QString fixed(double value, int decimals)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return QString::number(value, 'f', decimals);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace

AttributedText attributed(const QString& text, const QString& query)
{
    AttributedText result;
    const QString term = TextRules::trimmed(query);
    if (term.isEmpty()) {
        if (!text.isEmpty())
            result.runs.append({text, std::nullopt, std::nullopt});
        return result;
    }
    QColor mark = Brand::accent();
    mark.setAlphaF(0.45);
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(term, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        if (at > from)
            result.runs.append({text.mid(from, at - from), std::nullopt, std::nullopt});
        result.runs.append({text.mid(at, term.size()), QColor(Qt::white), mark});
        from = at + term.size();
    }
    if (from < text.size())
        result.runs.append({text.mid(from), std::nullopt, std::nullopt});
    return result;
}

QString elapsed(double seconds)
{
    const double ms = seconds * 1000.0;
    if (!(ms >= 1.0))
        return QStringLiteral("<1ms"); // NaN lands here too
    if (ms < 10.0)
        return fixed(ms, 1) + QStringLiteral("ms");
    if (ms < 1000.0)
        return fixed(ms, 0) + QStringLiteral("ms");
    return fixed(seconds, 2) + QStringLiteral("s");
}

} // namespace tessaron::SearchHighlight
