#include "Tessaron/browser/RelativeTime.h"

#include "TessaronCore/l10n/L10n.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace tessaron::RelativeTime {

namespace {

Clock& clock()
{
    static Clock installed;
    return installed;
}

struct Unit {
    int64_t seconds;
    const char* en; // singular and plural are the same in the short form
    const char* ptOne;
    const char* ptMany;
};

// Largest unit first; a figure is the whole number of that unit, never rounded up.
constexpr Unit units[] = {
    {365 * 86400, "yr", "ano", "anos"},
    {30 * 86400, "mo", "mês", "meses"},
    {7 * 86400, "wk", "sem.", "sem."},
    {86400, "day", "dia", "dias"},
    {3600, "hr", "h", "h"},
    {60, "min", "min", "min"},
    {1, "sec", "s", "s"},
};

} // namespace

void setClock(Clock c) { clock() = std::move(c); }

QDateTime now() { return clock() ? clock()() : QDateTime::currentDateTimeUtc(); }

QString format(const QDateTime& moment, const QDateTime& reference, AppLanguage language)
{
    const bool pt = language == AppLanguage::pt;
    const int64_t delta = moment.msecsTo(reference) / 1000; // positive: in the past
    const int64_t magnitude = delta < 0 ? -delta : delta;
    if (magnitude < 1)
        return pt ? QStringLiteral("agora") : QStringLiteral("now");
    for (const Unit& unit : units) {
        if (magnitude < unit.seconds)
            continue;
        const int64_t n = magnitude / unit.seconds;
        QString amount;
        if (pt) {
            amount = QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? unit.ptOne : unit.ptMany);
            return delta > 0 ? QStringLiteral("há ") + amount : QStringLiteral("em ") + amount;
        }
        amount = QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(unit.en);
        if (n != 1 && std::string_view(unit.en) == "day")
            amount += QLatin1Char('s');
        return delta > 0 ? amount + QStringLiteral(" ago") : QStringLiteral("in ") + amount;
    }
    return {};
}

QString sinceNow(const QDateTime& moment) { return format(moment, now(), L10n::effective()); }

} // namespace tessaron::RelativeTime
