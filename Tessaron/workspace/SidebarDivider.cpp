#include "Tessaron/workspace/SidebarDivider.h"

#include "Tessaron/workspace/SidebarLogic.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QMouseEvent>

#include <cmath>

namespace tessaron {

DividerDrag::DividerDrag(UserDefaults& store)
    : m_store(store)
{ }

void DividerDrag::press(QPointF at)
{
    m_pressedAt = at;
    m_dragStart.reset();
}

std::optional<double> DividerDrag::move(QPointF to)
{
    if (!m_pressedAt)
        return std::nullopt;
    const QPointF travel = to - *m_pressedAt;
    if (!m_dragStart && std::hypot(travel.x(), travel.y()) < threshold)
        return std::nullopt;
    if (!m_dragStart)
        m_dragStart = Sidebar::storedWidth(m_store);
    const double width = Sidebar::clampWidth(*m_dragStart + travel.x());
    Sidebar::storeWidth(m_store, width);
    return width;
}

void DividerDrag::release()
{
    m_pressedAt.reset();
    m_dragStart.reset();
}

SidebarDivider::SidebarDivider(UserDefaults& store, QWidget* parent)
    : QWidget(parent)
    , m_drag(store)
{
    setCursor(Qt::SizeHorCursor);
    setFixedWidth(gripWidth);
    setAttribute(Qt::WA_TranslucentBackground);
}

// Window coordinates: the grip itself moves while it is dragged.
void SidebarDivider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_drag.press(event->scenePosition());
}

void SidebarDivider::mouseMoveEvent(QMouseEvent* event) { m_drag.move(event->scenePosition()); }

void SidebarDivider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_drag.release();
}

} // namespace tessaron
