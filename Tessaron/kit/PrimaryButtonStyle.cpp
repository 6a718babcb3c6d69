#include "Tessaron/kit/PrimaryButtonStyle.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/KitFont.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaron {

QFont PrimaryButtonStyle::font(const QFont&) const { return KitFont::font(12, QFont::Bold, FontDesign::rounded); }

std::optional<QColor> PrimaryButtonStyle::labelColor(const ButtonState&) const { return TessaronPalette::canvas(); }

void PrimaryButtonStyle::paintBackground(QPainter& painter, const QRectF& rect, const ButtonState&) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, 12, 12);
    painter.fillPath(shape, TessaronPalette::introAccent());
    painter.restore();
}

double PrimaryButtonStyle::scale(const ButtonState& s) const
{
    if (motionReduced())
        return 1.0;
    return lerp(lerp(1.0, 1.025, s.hover), 0.96, s.press);
}

TransformEffect::Shadow PrimaryButtonStyle::shadow(const ButtonState& s) const
{
    return {TessaronPalette::withOpacity(TessaronPalette::introAccent(), 0.2 * s.hover), 15.0, QPointF(0, 4)};
}

Motion PrimaryButtonStyle::pressMotion(const ButtonState& s) const
{
    return decorativeMotion(s, Motion::withSpring(Spring{0.25, 0.75, 0.0}));
}

Motion PrimaryButtonStyle::hoverMotion(const ButtonState& s) const
{
    return decorativeMotion(s, Motion::easeOut(0.15));
}

} // namespace tessaron
