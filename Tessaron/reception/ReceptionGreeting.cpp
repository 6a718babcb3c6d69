#include "Tessaron/reception/ReceptionGreeting.h"

#include "TessaronCore/l10n/L10n.h"

#include <QLocale>

namespace tessaron::ReceptionGreeting {

QString greetingForHour(const QDateTime& moment)
{
    const QDateTime local = moment.toLocalTime();
    const int hour = local.time().hour();
    if (hour < 5) {
        const QString time = QLocale().toString(local.time(), QLocale::ShortFormat);
        return L10n::t("It's %@. A queue filled up, didn't it? Come on. I don't judge. I sniff.", time);
    }
    if (hour < 12)
        return L10n::t("Morning. Already read the paper. It was all Kafka.");
    if (hour < 14)
        return L10n::t("Lunchtime. I don't eat. But I accept.");
    if (hour < 18)
        return L10n::t("Afternoon. Any queue need a lawyer?");
    return L10n::t("Evening. Brought the ball, just in case.");
}

QString boopReaction(int boops, const QDateTime& moment)
{
    if (boops <= 0)
        return greetingForHour(moment);
    switch (boops) {
    case 1:
        return L10n::t("Boop noted.");
    case 2:
        return L10n::t("Two boops. That's a pattern.");
    case 3:
        return L10n::t("Three. I'm going to need a chart.");
    default:
        break;
    }
    return boops < 10 ? L10n::t("There. I made a chart. Trend: up.")
                      : L10n::t("Ten. Okay, I love you too. Now open a broker.");
}

} // namespace tessaron::ReceptionGreeting
