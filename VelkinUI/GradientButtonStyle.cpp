#include "VelkinUI/GradientButtonStyle.h"

#include "VelkinUI/Animation.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/VelkinPalette.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaron {

QFont GradientButtonStyle::font(const QFont&) const { return KitFont::font(13, QFont::DemiBold); }

void GradientButtonStyle::paintBackground(QPainter& painter, const QRectF& rect, const ButtonState&) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, 12, 12);
    QLinearGradient fill(rect.topLeft(), rect.topRight());
    const QList<QColor> palette = Brand::palette();
    fill.setColorAt(0.0, palette.at(0));
    fill.setColorAt(1.0, palette.at(2));
    painter.fillPath(shape, fill);
    painter.restore();
}

void GradientButtonStyle::paintOverlay(QPainter& painter, const QRectF& rect, const ButtonState&) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(VelkinPalette::gradientRim(), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 11.5, 11.5);
    painter.restore();
}

TransformEffect::Shadow GradientButtonStyle::shadow(const ButtonState&) const
{
    QColor glow = Brand::accent();
    glow.setAlphaF(0.5f);
    return {glow, 18.0, QPointF(0, 8)};
}

Motion GradientButtonStyle::pressMotion(const ButtonState&) const
{
    return Motion::withSpring(Animation::velkin::snappy());
}

} // namespace tessaron
