#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/kit/TessaronPalette.h"

#include <QFocusEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace tessaron {

namespace {

// Covers its parent, above its children, takes no input and draws nothing but the ring. Shown only
// while the ring is, so it is never an empty pane to assistive technology.
class RingOverlay : public QWidget {
public:
    RingOverlay(QWidget* focused, QWidget* over, double radius)
        : QWidget(over)
        , m_focused(focused)
        , m_ring(new FocusRing(focused, FocusRing::Shown::byKeyboard, this))
        , m_radius(radius)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
        over->installEventFilter(this);
        focused->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parentWidget() && event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        // After the ring has taken in how the focus came.
        const QEvent::Type type = event->type();
        if (watched == m_focused
            && (type == QEvent::FocusIn || type == QEvent::FocusOut || type == QEvent::KeyPress
                || type == QEvent::MouseButtonPress))
            QMetaObject::invokeMethod(
                this, [this] { follow(); }, Qt::QueuedConnection);
        return false;
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        FocusRing::draw(painter, QRectF(rect()), m_radius);
    }

private:
    void follow()
    {
        setGeometry(parentWidget()->rect());
        setVisible(m_ring->shown());
        raise();
    }

    QWidget* m_focused;
    FocusRing* m_ring;
    double m_radius;
};

} // namespace

FocusRing::FocusRing(QWidget* focused, Shown when, QWidget* painter)
    : QObject(focused)
    , m_focused(focused)
    , m_painter(painter ? painter : focused)
    , m_when(when)
{
    focused->installEventFilter(this);
    focused->setProperty(ownRing, true);
}

bool FocusRing::shown() const { return m_focused->hasFocus() && (m_when == Shown::always || m_byKeyboard); }

bool FocusRing::shownOn(const QWidget* focused)
{
    const auto* ring = focused->findChild<FocusRing*>(QString(), Qt::FindDirectChildrenOnly);
    return ring && ring->shown();
}

bool FocusRing::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            m_byKeyboard = true;
            break;
        case Qt::MouseFocusReason:
            m_byKeyboard = false;
            break;
        default:
            break; // the window coming back, a popup closing: the focus is where it was, and so is the ring
        }
    }
    // A key pressed where the focus is says the keyboard is in use (Tab in a window of one stop
    // moves nothing); a click says it is not.
    if (event->type() == QEvent::KeyPress && !m_byKeyboard) {
        m_byKeyboard = true;
        m_painter->update();
    }
    if (event->type() == QEvent::MouseButtonPress && m_byKeyboard) {
        m_byKeyboard = false;
        m_painter->update();
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        m_painter->update();
    return false;
}

void FocusRing::overlay(QWidget* focused, QWidget* over, double radius)
{
    if (!focused->property(ownRing).toBool())
        new RingOverlay(focused, over, radius);
}

void FocusRing::draw(QPainter& painter, const QRectF& rect, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(TessaronPalette::withOpacity(TessaronPalette::accent(), 0.95), 2.0));
    painter.drawRoundedRect(rect.adjusted(1, 1, -1, -1), radius, radius);
    // A dark line just inside the accent one: on a control filled with the accent colour (the
    // primary buttons) the accent line alone would not show.
    painter.setPen(QPen(TessaronPalette::canvas(), 1.5));
    const double inner = std::max(0.0, radius - 1.75);
    painter.drawRoundedRect(rect.adjusted(2.75, 2.75, -2.75, -2.75), inner, inner);
    painter.restore();
}

} // namespace tessaron
