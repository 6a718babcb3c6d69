#include "TessaronCore/l10n/L10nFormat.h"

#include <QLocale>

#include <cmath>

namespace tessaron::L10nFormat {

namespace {

QString asText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return v.toString();
    }
}

QString asInteger(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UInt:
        return QString::number(v.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        return std::isfinite(d) ? QString::number(std::trunc(d), 'f', 0) : QString::number(d);
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        // Text where a number was expected is shown as it is rather than as a made-up number.
        return ok ? QString::number(n) : v.toString();
    }
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return QString::number(v.toLongLong());
    }
}

} // namespace

QString apply(QStringView format, const QList<QVariant>& args)
{
    QString out;
    out.reserve(format.size() + 16 * args.size());
    qsizetype next = 0;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%') || i + 1 >= n) {
            out += c;
            continue;
        }
        const QChar d = format[i + 1];
        if (d == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        if (d == QLatin1Char('@')) {
            if (next < args.size())
                out += asText(args[next++]);
            else
                out += QStringLiteral("%@");
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        int longs = 0;
        while (j < n && format[j] == QLatin1Char('l') && longs < 2) {
            ++longs;
            ++j;
        }
        if (j < n
            && (format[j] == QLatin1Char('d') || format[j] == QLatin1Char('i') || format[j] == QLatin1Char('u'))) {
            if (next < args.size())
                out += asInteger(args[next++]);
            else
                out += format.mid(i, j - i + 1);
            i = j;
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace tessaron::L10nFormat
