#include "Tessaron/reception/ReceptionColors.h"

#include "Tessaron/kit/SettingsPalette.h"
#include "VelkinUI/Brand.h"

namespace tessaron::ReceptionColors {

const QColor& amber()
{
    static const QColor c = QColor::fromRgbF(0.98f, 0.58f, 0.26f);
    return c;
}

const QColor& jade()
{
    static const QColor c = QColor::fromRgbF(0.33f, 0.80f, 0.56f);
    return c;
}

const QColor& slate() { return SettingsPalette::muted(); }
const QColor& mint() { return SettingsPalette::mint(); }
const QColor& ink() { return SettingsPalette::ink(); }
const QColor& windowBackground() { return SettingsPalette::canvas(); }

QColor accent() { return Brand::palette().at(2); }

QColor withOpacity(const QColor& color, double opacity) { return SettingsPalette::withOpacity(color, opacity); }

} // namespace tessaron::ReceptionColors
