#include "Tessaron/actions/SheetSpinner.h"

#include "VelkinUI/AccessibilitySettings.h"

#include <QPainter>

namespace tessaron {

SheetSpinner::SheetSpinner(const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_color(color)
{
    setFixedSize(12, 12);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SheetSpinner::showEvent(QShowEvent*)
{
    if (!m_timer && !AccessibilitySettings::instance().reduceMotion())
        m_timer = startTimer(50);
}

void SheetSpinner::hideEvent(QHideEvent*)
{
    if (m_timer)
        killTimer(m_timer);
    m_timer = 0;
}

void SheetSpinner::timerEvent(QTimerEvent*)
{
    m_angle = (m_angle + 30) % 360;
    update();
}

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
