#include "Tessaron/kit/SettingsPalette.h"

namespace tessaron::SettingsPalette {

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

QColor withOpacity(const QColor& color, double opacity)
{
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * opacity));
    return c;
}

} // namespace tessaron::SettingsPalette
