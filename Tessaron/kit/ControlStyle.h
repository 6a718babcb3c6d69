#pragma once

#include "VelkinUI/ButtonStyle.h"

namespace tessaron {

// The selectable pill or tile of the settings look. A bare control (no surface) shows only a faint
// wash while hovered; a tile has its own fill and border, tinted when selected.
class ControlStyle : public ButtonStyle {
public:
    ControlStyle(const QColor& tint, bool selected, bool drawsSurface, QMarginsF insets = QMarginsF(14, 9, 14, 9));

    static constexpr double cornerRadius = 11.0;

    QColor tint() const { return m_tint; }
    bool selected() const { return m_selected; }
    bool drawsSurface() const { return m_drawsSurface; }

    // The fill and border for a state, with hover as an amount from 0 to 1.
    QColor fill(const ButtonState& state) const;
    std::optional<QColor> border(const ButtonState& state) const;

    QMarginsF insets() const override { return m_insets; }
    std::optional<QColor> labelColor(const ButtonState&) const override;
    void paintBackground(QPainter& painter, const QRectF& rect, const ButtonState& state) const override;
    double scale(const ButtonState& state) const override;
    double opacity(const ButtonState& state) const override;
    Motion pressMotion(const ButtonState& state) const override;
    Motion hoverMotion(const ButtonState& state) const override;
    bool acceptsHover(const ButtonState& state) const override { return state.enabled; }
    bool clearsHoverOnDeactivation() const override { return true; }

private:
    QColor m_tint;
    bool m_selected;
    bool m_drawsSurface;
    QMarginsF m_insets;
};

} // namespace tessaron
