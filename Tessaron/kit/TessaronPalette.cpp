#include "Tessaron/kit/TessaronPalette.h"

#include "VelkinUI/Brand.h"

#include <algorithm>
#include <cmath>

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

namespace {

double luminance(const QColor& c)
{
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

QColor over(const QColor& top, const QColor& ground)
{
    const double a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + ground.redF() * (1 - a)),
                            float(top.greenF() * a + ground.greenF() * (1 - a)),
                            float(top.blueF() * a + ground.blueF() * (1 - a)));
}

} // namespace

QColor legible(const QColor& text)
{
    if (luminance(QColor(text.red(), text.green(), text.blue())) < 0.18)
        return text; // dark text, meant for a light ground
    // The lightest ground text lies on: the canvas under a white wash of 14 % (a tinted card). The
    // margin above 4.5:1 is for small type, whose thin strokes never reach their full colour.
    const double ground = luminance(over(white(0.14), canvas()));
    auto reads = [&](const QColor& c) { return (luminance(over(c, canvas())) + 0.05) / (ground + 0.05) >= 6.2; };
    QColor c = text;
    while (!reads(c) && c.alphaF() < 1.0)
        c.setAlphaF(std::min(1.0f, float(c.alphaF() + 0.02)));
    for (double t = 0.05; !reads(c) && t <= 1.0; t += 0.05) {
        const QColor& to = ink();
        c = QColor::fromRgbF(float(text.redF() + (to.redF() - text.redF()) * t),
                             float(text.greenF() + (to.greenF() - text.greenF()) * t),
                             float(text.blueF() + (to.blueF() - text.blueF()) * t), c.alphaF());
    }
    return c;
}

} // namespace tessaron::TessaronPalette
