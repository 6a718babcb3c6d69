#pragma once

#include "VelkinUI/ButtonStyle.h"
#include "VelkinUI/VelkinPalette.h"

namespace tessaron {

// A bold white label on the theme gradient, with a light rim and an accent glow below; shrinks to
// 96 % while pressed, on the snappy spring.
class GradientButtonStyle : public ButtonStyle {
public:
    QMarginsF insets() const override { return QMarginsF(18, 11, 18, 11); }
    QFont font(const QFont& inherited) const override;
    std::optional<QColor> labelColor(const ButtonState&) const override { return VelkinPalette::onAccentText(); }
    void paintBackground(QPainter& painter, const QRectF& rect, const ButtonState& state) const override;
    void paintOverlay(QPainter& painter, const QRectF& rect, const ButtonState& state) const override;
    double scale(const ButtonState& state) const override { return lerp(1.0, 0.96, state.press); }
    TransformEffect::Shadow shadow(const ButtonState& state) const override;
    Motion pressMotion(const ButtonState& state) const override;
    double overflow() const override { return 30.0; }
};

} // namespace tessaron
