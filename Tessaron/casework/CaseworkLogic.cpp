#include "Tessaron/casework/CaseworkLogic.h"

#include "TessaronCore/l10n/InterfaceLocale.h"

#include <QLocale>

#include <cmath>

namespace tessaron::CaseworkLogic {

int wholePercent(double share)
{
    if (!std::isfinite(share))
        return 0;
    // std::round rounds halves away from zero; a tiny nudge keeps 0.625 * 100 (62.4999…) at 63.
    const double scaled = share * 100.0;
    const double nudged = scaled + std::copysign(1e-9, scaled);
    return int(std::round(nudged));
}

QString groupedCount(int64_t count)
{
    // As the interface's language writes it ("48,210", "48.210"), not the system's.
    QLocale locale = L10n::interfaceLocale();
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(qlonglong(count));
}

QString partitionName(int32_t partition) { return QLatin1Char('p') + QString::number(partition); }

} // namespace tessaron::CaseworkLogic
