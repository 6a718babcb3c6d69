#include "Tessaron/browser/Capsule.h"

#include "Tessaron/kit/FocusRing.h"

#include <QPainter>

namespace tessaron {

Capsule::Capsule(const QColor& fill, QMargins padding, int spacing, double radius, QWidget* parent)
    : QWidget(parent)
    , m_fill(fill)
    , m_radius(radius)
    , m_row(new QHBoxLayout(this))
{
    m_row->setContentsMargins(padding);
    m_row->setSpacing(spacing);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Capsule::setFill(const QColor& fill)
{
    m_fill = fill;
    update();
}

void Capsule::setRim(std::optional<QColor> rim)
{
    m_rim = rim;
    update();
}

void Capsule::ringFocusOf(QWidget* inside) { m_ring = new FocusRing(inside, FocusRing::Shown::always, this); }

void Capsule::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = m_radius < 0 ? r.height() / 2 : m_radius;
    painter.setBrush(m_fill);
    painter.setPen(m_rim ? QPen(*m_rim, 1) : Qt::NoPen);
    painter.drawRoundedRect(r, radius, radius);
    if (m_ring && m_ring->shown())
        FocusRing::draw(painter, QRectF(rect()), radius + 0.5);
}

} // namespace tessaron
