#include "VelkinUI/StatusDot.h"

#include "VelkinUI/AuroraBackground.h"

#include <QPainter>
#include <QRadialGradient>
#include <QTimer>

#include <cmath>

namespace tessaron {

StatusDot::StatusDot(const QColor& color, double size, QWidget* parent)
    : QWidget(parent)
    , m_color(color)
    , m_size(size)
    , m_timer(new QTimer(this))
{
    const int side = int(std::ceil(size * 3));
    setFixedSize(side, side);
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer->setInterval(1000 / 30);
    connect(m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_timer->start();
}

double StatusDot::pulse(double t) { return (0.5 * std::sin(2.0 * t) + 0.5) * 0.6 + 0.4; }

void StatusDot::paintAt(QPainter& painter, double t) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QPointF c(width() / 2.0, height() / 2.0);
    // The halo: a circle of three times the dot, softened by its blur; it fades out within the
    // widget's own square so no edge of it is cut.
    const double r = m_size * 1.5;
    QRadialGradient halo(c, r);
    QColor inner = m_color;
    inner.setAlphaF(float(0.5 * pulse(t)));
    QColor outer = m_color;
    outer.setAlphaF(0.0f);
    halo.setColorAt(0.0, inner);
    halo.setColorAt(std::max(0.0, (r - 12) / r), inner);
    halo.setColorAt(1.0, outer);
    painter.setBrush(halo);
    painter.drawEllipse(c, r, r);
    painter.setBrush(m_color);
    painter.drawEllipse(c, m_size / 2, m_size / 2);
    painter.restore();
}

void StatusDot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintAt(painter, AuroraBackground::referenceSeconds());
}

} // namespace tessaron
