#pragma once

#include "VelkinUI/ButtonStyle.h"

namespace tessaron {

// The introduction's primary button: a solid accent tile with dark bold rounded text that grows
// a little under the pointer and glows; also the primary button of the broker form and the sheets.
class PrimaryButtonStyle : public ButtonStyle {
public:
    QMarginsF insets() const override { return QMarginsF(19, 14, 19, 14); }
    QFont font(const QFont& inherited) const override;
    std::optional<QColor> labelColor(const ButtonState&) const override;
    void paintBackground(QPainter& painter, const QRectF& rect, const ButtonState& state) const override;
    double scale(const ButtonState& state) const override;
    double opacity(const ButtonState& state) const override { return state.enabled || state.busy ? 1.0 : 0.4; }
    TransformEffect::Shadow shadow(const ButtonState& state) const override;
    Motion pressMotion(const ButtonState& state) const override;
    Motion hoverMotion(const ButtonState& state) const override;
    double overflow() const override { return 24.0; }
};

} // namespace tessaron
