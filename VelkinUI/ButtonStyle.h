#pragma once

#include "VelkinUI/Motion.h"
#include "VelkinUI/TransformEffect.h"

#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QRectF>

#include <optional>

class QPainter;

namespace tessaron {

// What a button style sees when it draws: the real state, and the animated amounts (0 to 1) of
// press and hover that its fills and scales interpolate between.
struct ButtonState {
    bool pressed = false;
    bool hovered = false;
    bool enabled = true;
    bool windowActive = true;
    bool busy = false; // at work on what it was pressed for: not pressable, but not dimmed either
    double press = 0.0;
    double hover = 0.0;
};

// The look of a KitButton: background, label, insets, scale, opacity and the motion of its changes.
// Styles are small value-like objects; a button owns its own.
class ButtonStyle {
public:
    virtual ~ButtonStyle() = default;

    virtual QMarginsF insets() const { return {}; }
    virtual QFont font(const QFont& inherited) const { return inherited; }
    virtual std::optional<QColor> labelColor(const ButtonState&) const { return std::nullopt; }
    virtual void paintBackground(QPainter&, const QRectF&, const ButtonState&) const { }
    virtual void paintOverlay(QPainter&, const QRectF&, const ButtonState&) const { }
    virtual double scale(const ButtonState&) const { return 1.0; }
    virtual double opacity(const ButtonState&) const { return 1.0; }
    virtual TransformEffect::Shadow shadow(const ButtonState&) const { return {}; }
    // How a change of the pressed state, and of hover, moves.
    virtual Motion pressMotion(const ButtonState&) const { return Motion::none(); }
    virtual Motion hoverMotion(const ButtonState&) const { return Motion::none(); }
    // Whether the pointer counts as hovering (a disabled tile never hovers in some styles).
    virtual bool acceptsHover(const ButtonState&) const { return true; }
    // Whether losing window activation clears hover at once.
    virtual bool clearsHoverOnDeactivation() const { return false; }
    // Room the style may draw outside the button (shadows, growth when hovered).
    virtual double overflow() const { return 0.0; }
};

inline double lerp(double a, double b, double t) { return a + (b - a) * t; }

} // namespace tessaron
