#include "Tessaron/kit/WelcomePalette.h"

#include "Tessaron/kit/SettingsPalette.h"
#include "VelkinUI/Brand.h"

namespace tessaron::WelcomePalette {

const QColor& accent()
{
    static const QColor c = Brand::palette().at(2);
    return c;
}

const QColor& muted() { return SettingsPalette::muted(); }
const QColor& mint() { return SettingsPalette::mint(); }
const QColor& lavender() { return SettingsPalette::lavender(); }

} // namespace tessaron::WelcomePalette
