#include "Tessaron/kit/PopoverFrame.h"
#include "Tessaron/kit/FocusReturn.h"

#include "Tessaron/kit/TessaronPalette.h"

#include <QLayout>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRegion>
#include <QScreen>

#include <algorithm>

namespace tessaron {

PopoverFrame::PopoverFrame(QWidget* parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
{
    // A compositor blends the corners and the arrow's sides with what lies beneath; without one
    // the mask (shape()) keeps them off the screen.
    setAttribute(Qt::WA_TranslucentBackground);
    // A click on the control that opened the popover closes it and goes no further, so the
    // control does not open it again at once.
    setAttribute(Qt::WA_NoMouseReplay);
    QPalette own = palette();
    own.setColor(QPalette::WindowText, TessaronPalette::ink());
    own.setColor(QPalette::Window, TessaronPalette::canvas());
    setPalette(own);
    pointArrow(true);
}

void PopoverFrame::pointArrow(bool up)
{
    m_arrowUp = up;
    setContentsMargins(0, up ? arrowHeight : 0, 0, up ? 0 : arrowHeight);
}

void PopoverFrame::fit()
{
    // Wrapped texts decide the height at the popover's width.
    if (!layout()) {
        adjustSize();
        return;
    }
    layout()->activate();
    const int width = minimumWidth() == maximumWidth() ? minimumWidth() : sizeHint().width();
    resize(width, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height());
}

void PopoverFrame::popUp(QWidget* anchor)
{
    FocusReturn::track(this, anchor);
    pointArrow(true);
    fit();
    const QPoint below = anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height() + 2));
    QPoint at(below.x() - width() / 2, below.y());
    if (QScreen* screen = anchor->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left() + 4, std::max(room.left() + 4, room.right() - width() - 4)));
        if (at.y() + height() > room.bottom()) {
            pointArrow(false);
            fit();
            at.setY(std::max(room.top(), anchor->mapToGlobal(QPoint(0, 0)).y() - height() - 2));
        }
    }
    // The arrow keeps pointing at the control when the body is pushed back onto the screen.
    constexpr int arrowRoom = 10 + 8;
    m_arrowX = std::clamp(below.x() - at.x(), arrowRoom, std::max(arrowRoom, width() - arrowRoom));
    shape();
    move(at);
    show();
}

QPoint PopoverFrame::arrowTip() const { return {m_arrowX, m_arrowUp ? 0 : height()}; }

QPainterPath PopoverFrame::outline() const
{
    constexpr double radius = 10, half = 8;
    const QRectF all = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QRectF body = m_arrowUp ? all.adjusted(0, arrowHeight, 0, 0) : all.adjusted(0, 0, 0, -arrowHeight);
    QPainterPath path;
    path.addRoundedRect(body, radius, radius);
    QPainterPath arrow;
    const double x = m_arrowX;
    if (m_arrowUp) {
        arrow.moveTo(x - half, body.top() + 1);
        arrow.lineTo(x, all.top());
        arrow.lineTo(x + half, body.top() + 1);
    } else {
        arrow.moveTo(x - half, body.bottom() - 1);
        arrow.lineTo(x, all.bottom());
        arrow.lineTo(x + half, body.bottom() - 1);
    }
    arrow.closeSubpath();
    return path.united(arrow).simplified();
}

void PopoverFrame::shape()
{
    if (m_arrowX == 0)
        m_arrowX = width() / 2;
    // The outline and its rim's half pixel outside it: the rim's smoothed edge stays whole.
    QPainterPathStroker rim;
    rim.setWidth(2);
    const QPainterPath inside = outline();
    const QPainterPath whole = inside.united(rim.createStroke(inside));
    setMask(QRegion(whole.toFillPolygon().toPolygon(), Qt::WindingFill));
}

void PopoverFrame::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    shape();
}

void PopoverFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(TessaronPalette::white(0.1), 1));
    painter.setBrush(TessaronPalette::canvas());
    painter.drawPath(outline());
}

void PopoverFrame::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    emit closed();
}

} // namespace tessaron
