#include "VelkinHelpers/SearchHighlight.h"

#include "TessaronCore/model/TextRules.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/VelkinPalette.h"

#include <algorithm>
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
    // Matched in the fully folded text ("STRASSE" finds "Straße") and marked in the original: a
    // match that begins or ends inside a character's folding marks the whole character.
    QList<qsizetype> origins;
    const QString folded = TextRules::fullCaseFolded(text, &origins);
    const QString foldedTerm = TextRules::fullCaseFolded(term);
    qsizetype from = 0;
    qsizetype searchFrom = 0;
    while (true) {
        const qsizetype at = folded.indexOf(foldedTerm, searchFrom);
        if (at < 0)
            break;
        qsizetype after = at + foldedTerm.size();
        while (after < folded.size() && origins[after] == origins[after - 1])
            ++after;
        const qsizetype start = std::max(from, origins[at]);
        const qsizetype end = after < folded.size() ? origins[after] : text.size();
        searchFrom = after;
        if (end <= start)
            continue;
        if (start > from)
            result.runs.append({text.mid(from, start - from), std::nullopt, std::nullopt});
        result.runs.append({text.mid(start, end - start), VelkinPalette::onAccentText(), mark});
        from = end;
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
