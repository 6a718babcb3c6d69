#include "Tessaron/kit/PanelSurface.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/LiquidGlassBackground.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tessaron {

PanelSurface::PanelSurface(const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , m_tint(tint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    connect(&AccessibilitySettings::instance(), &AccessibilitySettings::changed, this, qOverload<>(&QWidget::update));
}

void PanelSurface::setTint(const QColor& tint)
{
    m_tint = tint;
    update();
}

void PanelSurface::paintSurface(QPainter& painter, const QRectF& rect, const QColor& tint)
{
    const AccessibilitySettings& a11y = AccessibilitySettings::instance();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (a11y.reduceTransparency()) {
        QPainterPath shape;
        shape.addRoundedRect(rect, cornerRadius, cornerRadius);
        painter.fillPath(shape, TessaronPalette::canvas());
    } else {
        LiquidGlassBackground::paintGlass(painter, rect, cornerRadius);
    }
    // A stroked border sits inside the edge.
    const QRectF edge = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(TessaronPalette::withOpacity(tint, a11y.increaseContrast() ? 0.6 : 0.12), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(edge, cornerRadius - 0.5, cornerRadius - 0.5);
    painter.restore();
}

void PanelSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintSurface(painter, QRectF(rect()), m_tint);
}

PanelSurface* panelSurface(QWidget* content, const QColor& tint)
{
    auto* surface = new PanelSurface(tint);
    auto* box = new QVBoxLayout(surface);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(content);
    return surface;
}

} // namespace tessaron
