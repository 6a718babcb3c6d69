#pragma once

#include "VelkinUI/ButtonStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace tessaron {

// A label on a tinted capsule with a hairline rim: "Read further", "File a corrected copy".
class CapsuleButtonStyle : public ButtonStyle {
public:
    CapsuleButtonStyle(const QFont& font, const QColor& label, const QColor& tint, double fill, double rim,
                       QMarginsF insets)
        : m_font(font)
        , m_label(label)
        , m_tint(tint)
        , m_fill(fill)
        , m_rim(rim)
        , m_insets(insets)
    { }

    QMarginsF insets() const override { return m_insets; }
    QFont font(const QFont&) const override { return m_font; }
    std::optional<QColor> labelColor(const ButtonState&) const override { return m_label; }
    double opacity(const ButtonState& state) const override { return !state.enabled ? 0.4 : state.pressed ? 0.7 : 1.0; }
    void paintBackground(QPainter& painter, const QRectF& rect, const ButtonState& state) const override
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
        QColor fill = m_tint;
        fill.setAlphaF(float(m_fill + (state.hovered ? 0.05 : 0.0)));
        QColor rim = m_tint;
        rim.setAlphaF(float(m_rim));
        painter.setBrush(fill);
        painter.setPen(QPen(rim, 1));
        painter.drawRoundedRect(r, r.height() / 2, r.height() / 2);
        painter.restore();
    }

private:
    QFont m_font;
    QColor m_label;
    QColor m_tint;
    double m_fill;
    double m_rim;
    QMarginsF m_insets;
};

} // namespace tessaron
