#include "Tessaron/actions/SheetSpinner.h"

#include "VelkinUI/AccessibilitySettings.h"

#include <QPainter>
#include <QTimer>

namespace tessaron {

SheetSpinner::SheetSpinner(const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_color(color)
    , m_timer(new QTimer(this))
{
    setFixedSize(12, 12);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 30) % 360;
        update();
    });
}

void SheetSpinner::showEvent(QShowEvent*)
{
    if (!AccessibilitySettings::instance().reduceMotion())
        m_timer->start();
}

void SheetSpinner::hideEvent(QHideEvent*) { m_timer->stop(); }

void SheetSpinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(m_color, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.drawArc(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), -m_angle * 16, 270 * 16);
}

} // namespace tessaron
