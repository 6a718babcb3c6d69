#pragma once

#include <QPointF>
#include <QWidget>

#include <memory>

namespace tessaron {

class AnimatedValue;
class EffectSlot;

// Content on a glass panel of radius 18 with insets. When interactive, the pointer lights a spot
// under it in the accent colour, the card lifts a little and tilts towards the pointer (at most
// 1.5 degrees about each axis). A card the pointer has left settles back flat.
class GlassCard : public QWidget {
    Q_OBJECT
public:
    static constexpr double cornerRadius = 18.0;

    GlassCard(double padding, bool interactive, Qt::Alignment alignment, bool fillsWidth, QWidget* content,
              QWidget* parent = nullptr);
    ~GlassCard() override;

    QWidget* content() const { return m_content; }
    void setPadding(double padding);
    void setInteractive(bool interactive);
    void setAlignment(Qt::Alignment alignment);
    void setFillsWidth(bool fillsWidth);
    bool isHovering() const { return m_hover; }

    // Tilt in degrees about the horizontal and vertical axes for the pointer at `local`.
    static QPointF tiltFor(const QPointF& local, const QSizeF& size);
    QPointF currentTilt() const;
    double currentScale() const;
    // For tests and the gallery: the pointer at `local`, or gone.
    void setPointer(const std::optional<QPointF>& local);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();
    void apply();

    QWidget* m_content;
    double m_padding;
    bool m_interactive;
    Qt::Alignment m_alignment;
    bool m_fillsWidth;
    bool m_hover = false;
    QPointF m_mouse;
    AnimatedValue* m_lift;   // 0 at rest, 1 hovered
    AnimatedValue* m_mouseX; // pointer as fractions of the size, 0.5 at rest
    AnimatedValue* m_mouseY;
    std::unique_ptr<EffectSlot> m_effect;
};

} // namespace tessaron
