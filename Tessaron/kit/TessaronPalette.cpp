#include "Tessaron/kit/TessaronPalette.h"

#include "VelkinUI/Brand.h"

namespace tessaron::TessaronPalette {

const QColor& canvas()
{
    static const QColor c = QColor::fromRgbF(0.067f, 0.063f, 0.071f);
    return c;
}

const QColor& ink()
{
    static const QColor c = QColor::fromRgbF(0.95f, 0.94f, 0.91f);
    return c;
}

const QColor& muted()
{
    static const QColor c = QColor::fromRgbF(0.64f, 0.63f, 0.66f);
    return c;
}

const QColor& mint()
{
    static const QColor c = QColor::fromRgbF(0.59f, 0.81f, 0.70f);
    return c;
}

const QColor& lavender()
{
    static const QColor c = QColor::fromRgbF(0.75f, 0.70f, 0.88f);
    return c;
}

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

QColor accent() { return Brand::palette().value(2, Brand::accent()); }

QColor withOpacity(const QColor& color, double opacity)
{
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * opacity));
    return c;
}

QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }

} // namespace tessaron::TessaronPalette
