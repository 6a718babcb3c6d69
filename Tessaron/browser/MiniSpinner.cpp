#include "Tessaron/browser/MiniSpinner.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

MiniSpinner::MiniSpinner(double diameter, QWidget* parent)
    : QWidget(parent)
    , m_diameter(diameter)
    , m_color(QColor::fromRgbF(1, 1, 1, 0.6f))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_timer.setInterval(1000 / 12);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 12;
        update();
    });
}

void MiniSpinner::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QSize MiniSpinner::sizeHint() const
{
    const int side = int(std::ceil(m_diameter)) + 2;
    return {side, side};
}

void MiniSpinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double pen = std::max(1.0, m_diameter / 8);
    const QRectF box(QRectF(rect()).center() - QPointF(m_diameter / 2 - pen / 2, m_diameter / 2 - pen / 2),
                     QSizeF(m_diameter - pen, m_diameter - pen));
    QColor faint = m_color;
    faint.setAlphaF(m_color.alphaF() * 0.25f);
    painter.setPen(QPen(faint, pen));
    painter.drawEllipse(box);
    painter.setPen(QPen(m_color, pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(box, -m_step * 30 * 16, 100 * 16);
}

void MiniSpinner::showEvent(QShowEvent*) { m_timer.start(); }
void MiniSpinner::hideEvent(QHideEvent*) { m_timer.stop(); }

} // namespace tessaron
