#include "TessaronCore/l10n/InterfaceLocale.h"

#include "TessaronCore/l10n/L10n.h"

namespace tessaron::L10n {

QLocale interfaceLocale()
{
    return effective() == AppLanguage::pt ? QLocale(QLocale::Portuguese, QLocale::Brazil)
                                          : QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace tessaron::L10n
