#include "VelkinUI/LiquidGlassBackground.h"

#include "VelkinUI/NoiseOverlay.h"
#include "VelkinUI/VelkinPalette.h"

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
    painter.fillPath(shape, VelkinPalette::glassFill());
    QLinearGradient sheen(rect.topLeft(), rect.bottomLeft());
    sheen.setColorAt(0.0, VelkinPalette::glassSheen());
    sheen.setColorAt(0.35, VelkinPalette::light(0.0f));
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
