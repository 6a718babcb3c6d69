#pragma once

#include "VelkinUI/ButtonStyle.h"

namespace tessaron {

// A button that is only its label, in a given font and colour; dims a little while pressed.
class PlainButtonStyle : public ButtonStyle {
public:
    PlainButtonStyle(const QFont& font, const QColor& color)
        : m_font(font)
        , m_color(color)
    { }

    QFont font(const QFont&) const override { return m_font; }
    std::optional<QColor> labelColor(const ButtonState&) const override { return m_color; }
    double opacity(const ButtonState& state) const override { return !state.enabled ? 0.4 : state.pressed ? 0.6 : 1.0; }

private:
    QFont m_font;
    QColor m_color;
};

} // namespace tessaron
