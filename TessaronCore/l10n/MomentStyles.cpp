#include "TessaronCore/l10n/MomentStyles.h"

#include <QRegularExpression>

namespace tessaron::MomentStyles {

namespace {

// Rewrites the pattern letters of a format, leaving its quoted literals ('de', 'à') alone.
template <typename Edit> QString editPattern(const QString& format, Edit edit)
{
    QString out;
    QString pattern;
    const auto flush = [&] {
        out += edit(pattern);
        pattern.clear();
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('\'')) {
            pattern += format[i];
            continue;
        }
        flush();
        const qsizetype close = format.indexOf(QLatin1Char('\''), i + 1);
        const qsizetype end = close < 0 ? format.size() - 1 : close;
        out += format.mid(i, end - i + 1);
        i = end;
    }
    flush();
    return out;
}

QString trimmed(QString format)
{
    static const QRegularExpression ends(QStringLiteral("^[\\s,.]+|[\\s,]+$"));
    return format.remove(ends);
}

} // namespace

QString abbreviatedDateFormat(const QLocale& locale)
{
    static const QRegularExpression weekday(QStringLiteral("d{4}[,.]?\\s*|\\s*[,.]?\\s*d{4}"));
    static const QRegularExpression month(QStringLiteral("M{4}"));
    return trimmed(editPattern(locale.dateFormat(QLocale::LongFormat),
                               [](QString p) { return p.remove(weekday).replace(month, QStringLiteral("MMM")); }));
}

QString standardTimeFormat(const QLocale& locale)
{
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    return trimmed(editPattern(locale.timeFormat(QLocale::LongFormat), [](QString p) { return p.remove(zone); }));
}

QString shortTimeFormat(const QLocale& locale)
{
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?(?:[.,]z+)?|\\s*\\(?t+\\)?"));
    return trimmed(editPattern(locale.timeFormat(QLocale::ShortFormat), [](QString p) { return p.remove(seconds); }));
}

QString standard(const QDateTime& moment, const QLocale& locale)
{
    const QDateTime local = moment.toLocalTime();
    return locale.toString(local.date(), abbreviatedDateFormat(locale)) + QStringLiteral(", ")
        + locale.toString(local.time(), standardTimeFormat(locale));
}

QString shortened(const QDateTime& moment, const QLocale& locale)
{
    const QDateTime local = moment.toLocalTime();
    return locale.toString(local.date(), abbreviatedDateFormat(locale)) + QStringLiteral(", ")
        + locale.toString(local.time(), shortTimeFormat(locale));
}

} // namespace tessaron::MomentStyles
