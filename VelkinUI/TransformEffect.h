#pragma once

#include <QColor>
#include <QGraphicsEffect>
#include <QImage>
#include <QPointF>
#include <QTransform>

namespace tessaron {

// The one graphics effect a widget subtree carries: a transform (scale, rotation, offset about any
// anchor), opacity, blur and a hand-drawn drop shadow, combined because a widget holds only one effect.
class TransformEffect : public QGraphicsEffect {
    Q_OBJECT
public:
    struct Shadow {
        QColor color = Qt::transparent;
        double radius = 0.0;
        QPointF offset;
        friend bool operator==(const Shadow&, const Shadow&) = default;
    };

    explicit TransformEffect(QObject* parent = nullptr);

    // In the widget's own coordinates (see Transforms for building one about an anchor).
    void setTransform(const QTransform& transform);
    QTransform transform() const { return m_transform; }
    void setOpacity(double opacity);
    double opacity() const { return m_opacity; }
    void setBlurRadius(double radius);
    double blurRadius() const { return m_blur; }
    void setShadow(const Shadow& shadow);
    Shadow shadow() const { return m_shadow; }
    // Extra room around the widget that the effect may draw into (for shadows and overshoot).
    void setMargin(double margin);
    // For a widget that changes only when its owner says so: its picture is kept from one paint to
    // the next (a window shown again, a neighbour repainted) until `sourceChanged()` or a new size.
    void setKeepsSource(bool keeps);
    void sourceChanged();

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    QTransform m_transform;
    double m_opacity = 1.0;
    double m_blur = 0.0;
    Shadow m_shadow;
    double m_margin = 0.0;
    // The source as last padded, blurred and shaded, where it stood and at what size. Kept for the
    // next paint when the widget keeps its source (`setKeepsSource`) until it says it changed.
    QImage m_content;
    QImage m_shade;
    QPoint m_offset;
    QRectF m_bounds;
    bool m_keepsSource = false;
    bool m_composed = false;
};

namespace Transforms {
QTransform scaleAbout(double sx, double sy, const QPointF& anchor);
QTransform rotateAbout(double degrees, const QPointF& anchor);
QTransform translate(double dx, double dy);
} // namespace Transforms

} // namespace tessaron
