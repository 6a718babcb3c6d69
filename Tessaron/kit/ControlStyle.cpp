#include "Tessaron/kit/ControlStyle.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AccessibilitySettings.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaron {

namespace {
using TessaronPalette::white;
} // namespace

ControlStyle::ControlStyle(const QColor& tint, bool selected, bool drawsSurface, QMarginsF insets)
    : m_tint(tint)
    , m_selected(selected)
    , m_drawsSurface(drawsSurface)
    , m_insets(insets)
{ }

QColor ControlStyle::fill(const ButtonState& s) const
{
    if (!m_drawsSurface)
        return white(lerp(0.0, 0.035, s.hover));
    if (m_selected)
        return TessaronPalette::withOpacity(m_tint, 0.1);
    return white(lerp(0.025, 0.065, s.hover));
}

std::optional<QColor> ControlStyle::border(const ButtonState& s) const
{
    if (!m_drawsSurface)
        return std::nullopt;
    if (m_selected)
        return TessaronPalette::withOpacity(m_tint, 0.6);
    if (AccessibilitySettings::instance().increaseContrast())
        return white(0.6);
    return white(lerp(0.09, 0.23, s.hover));
}

std::optional<QColor> ControlStyle::labelColor(const ButtonState&) const { return TessaronPalette::ink(); }

void ControlStyle::paintBackground(QPainter& painter, const QRectF& rect, const ButtonState& s) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, cornerRadius, cornerRadius);
    painter.fillPath(shape, fill(s));
    if (const auto b = border(s)) {
        painter.setPen(QPen(*b, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);
    }
    painter.restore();
}

double ControlStyle::scale(const ButtonState& s) const
{
    if (motionReduced())
        return 1.0;
    return lerp(1.0, 0.98, s.press);
}

double ControlStyle::opacity(const ButtonState& s) const
{
    if (!s.enabled)
        return 0.4;
    return lerp(1.0, 0.72, s.press);
}

Motion ControlStyle::pressMotion(const ButtonState& s) const { return decorativeMotion(s, Motion::easeOut(0.12)); }

Motion ControlStyle::hoverMotion(const ButtonState& s) const { return decorativeMotion(s, Motion::easeOut(0.16)); }

} // namespace tessaron
