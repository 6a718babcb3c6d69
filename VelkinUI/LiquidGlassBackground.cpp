#include "VelkinUI/LiquidGlassBackground.h"

#include "VelkinUI/NoiseOverlay.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tessaron {

LiquidGlassBackground::LiquidGlassBackground(double cornerRadius, QWidget* parent)
    : QWidget(parent)
    , m_radius(cornerRadius)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void LiquidGlassBackground::setCornerRadius(double radius)
{
    m_radius = radius;
    update();
}

void LiquidGlassBackground::paintGlass(QPainter& painter, const QRectF& rect, double cornerRadius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect, cornerRadius, cornerRadius);
    painter.setClipPath(shape);
    // Ultra-thin material: mostly what lies behind, lightened a little.
    painter.fillPath(shape, QColor::fromRgbF(1, 1, 1, 0.055f));
    QLinearGradient sheen(rect.topLeft(), rect.bottomLeft());
    sheen.setColorAt(0.0, QColor::fromRgbF(1, 1, 1, 0.05f));
    sheen.setColorAt(0.35, QColor::fromRgbF(1, 1, 1, 0.0f));
    painter.fillPath(shape, sheen);
    painter.setOpacity(painter.opacity() * 0.5);
    NoiseOverlay::paintGrain(painter, rect);
    painter.restore();
}

void LiquidGlassBackground::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintGlass(painter, QRectF(rect()), m_radius);
}

QWidget* liquidGlass(QWidget* content, double cornerRadius)
{
    auto* glass = new LiquidGlassBackground(cornerRadius);
    auto* box = new QVBoxLayout(glass);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(content);
    return glass;
}

} // namespace tessaron
