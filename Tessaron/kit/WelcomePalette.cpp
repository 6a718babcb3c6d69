#include "Tessaron/kit/WelcomePalette.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/Brand.h"

namespace tessaron::WelcomePalette {

const QColor& accent()
{
    static const QColor c = Brand::palette().at(2);
    return c;
}

const QColor& muted() { return TessaronPalette::muted(); }
const QColor& mint() { return TessaronPalette::mint(); }
const QColor& lavender() { return TessaronPalette::lavender(); }

} // namespace tessaron::WelcomePalette
