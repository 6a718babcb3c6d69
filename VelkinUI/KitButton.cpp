#include "VelkinUI/KitButton.h"
#include "VelkinUI/PaintedText.h"

#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/ButtonStyle.h"
#include "VelkinUI/EffectSlot.h"
#include "VelkinUI/KitButtonAccessible.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/TransformEffect.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <cmath>

namespace tessaron {

KitButton::KitButton(const QString& text, std::unique_ptr<ButtonStyle> style, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(std::move(style))
    , m_press(new AnimatedValue(0.0, this))
    , m_hover(new AnimatedValue(0.0, this))
    , m_effect(std::make_unique<EffectSlot>(this))
{
    KitButtonAccessible::install();
    setText(text);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(m_press, &AnimatedValue::valueChanged, this, &KitButton::refresh);
    connect(m_hover, &AnimatedValue::valueChanged, this, &KitButton::refresh);
    connect(this, &QAbstractButton::pressed, this, &KitButton::refresh);
    connect(this, &QAbstractButton::released, this, &KitButton::refresh);
    refresh();
}

KitButton::~KitButton() = default;

void KitButton::setButtonStyle(std::unique_ptr<ButtonStyle> style)
{
    m_style = std::move(style);
    applyLayout();
    updateGeometry();
    refresh();
}

void KitButton::setSelected(bool selected)
{
    if (m_selectable && selected == m_selected)
        return;
    m_selectable = true;
    m_selected = selected;
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void KitButton::setLeadingSymbol(const QString& name)
{
    m_leading = name;
    updateGeometry();
    update();
}

void KitButton::setTrailingSymbol(const QString& name)
{
    m_trailing = name;
    updateGeometry();
    update();
}

void KitButton::setSymbolSpacing(double spacing)
{
    m_symbolSpacing = spacing;
    updateGeometry();
}

void KitButton::setContent(QWidget* content)
{
    delete layout();
    delete m_content;
    m_content = content;
    if (!content)
        return;
    auto* box = new QHBoxLayout(this);
    box->addWidget(content);
    content->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Under a button a label would draw in the button's text colour and ignore its own; on the
    // window's role it keeps the colour it was given and inherits the style's label colour otherwise.
    content->setBackgroundRole(QPalette::Window);
    applyLayout();
    updateGeometry();
}

void KitButton::applyLayout()
{
    if (!layout())
        return;
    const QMarginsF m = m_style->insets();
    layout()->setContentsMargins(int(std::lround(m.left())), int(std::lround(m.top())), int(std::lround(m.right())),
                                 int(std::lround(m.bottom())));
}

bool KitButton::windowActive() const { return window() && window()->isActiveWindow(); }

void KitButton::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    refresh();
}

ButtonState KitButton::state() const
{
    ButtonState s;
    s.pressed = isDown();
    s.hovered = m_hovered;
    s.enabled = isEnabled();
    s.windowActive = windowActive();
    s.busy = m_busy;
    s.press = m_press->value();
    s.hover = m_hover->value();
    return s;
}

void KitButton::setHovering(bool hovering)
{
    m_pointerInside = hovering;
    applyHover(hovering, true);
}

void KitButton::showPressed(bool pressed)
{
    setDown(pressed);
    refresh();
}

void KitButton::applyHover(bool hovering, bool animate)
{
    ButtonState s = state();
    const bool effective = hovering && m_style->acceptsHover(s);
    if (effective == m_hovered && m_hover->target() == (effective ? 1.0 : 0.0))
        return;
    m_hovered = effective;
    s.hovered = effective;
    m_hover->animateTo(effective ? 1.0 : 0.0, animate ? m_style->hoverMotion(s) : Motion::none());
    refresh();
}

void KitButton::refresh()
{
    ButtonState s = state();
    if (s.pressed != m_lastPressed) {
        m_lastPressed = s.pressed;
        m_press->animateTo(s.pressed ? 1.0 : 0.0, m_style->pressMotion(s));
        s = state();
    }
    const double k = m_style->scale(s);
    const QPointF centre = QRectF(rect()).center();
    m_effect->apply(k == 1.0 ? QTransform() : Transforms::scaleAbout(k, k, centre), m_style->opacity(s),
                    m_style->shadow(s), 0.0, m_style->overflow());
    if (const auto color = m_style->labelColor(s)) {
        QPalette p = palette();
        if (p.color(QPalette::WindowText) != *color) {
            p.setColor(QPalette::WindowText, *color);
            p.setColor(QPalette::ButtonText, *color);
            p.setColor(QPalette::Text, *color);
            setPalette(p);
        }
    }
    update();
}

QSize KitButton::sizeHint() const
{
    const QMarginsF m = m_style->insets();
    if (m_content) {
        const QSize c = m_content->sizeHint();
        return QSize(int(std::ceil(c.width() + m.left() + m.right())),
                     int(std::ceil(c.height() + m.top() + m.bottom())));
    }
    const QFontMetricsF fm(m_style->font(font()));
    double w = fm.horizontalAdvance(text());
    const double symbol = fm.height() * 0.9;
    if (!m_leading.isEmpty())
        w += symbol + (text().isEmpty() ? 0 : m_symbolSpacing);
    if (!m_trailing.isEmpty())
        w += symbol + (text().isEmpty() ? 0 : m_symbolSpacing);
    return QSize(int(std::ceil(w + m.left() + m.right())), int(std::ceil(fm.height() + m.top() + m.bottom())));
}

void KitButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const ButtonState s = state();
    const QRectF r = QRectF(rect());
    m_style->paintBackground(painter, r, s);
    if (!m_content) {
        const QFont f = m_style->font(font());
        const QColor color = m_style->labelColor(s).value_or(palette().color(QPalette::ButtonText));
        const QMarginsF m = m_style->insets();
        const QRectF inner = r.marginsRemoved(m);
        const QFontMetricsF fm(f);
        const double symbol = fm.height() * 0.9;
        double w = fm.horizontalAdvance(text());
        const double gap = text().isEmpty() ? 0 : m_symbolSpacing;
        if (!m_leading.isEmpty())
            w += symbol + gap;
        if (!m_trailing.isEmpty())
            w += symbol + gap;
        double x = inner.center().x() - w / 2;
        const double cy = inner.center().y();
        if (!m_leading.isEmpty()) {
            Symbols::paint(painter, m_leading, Symbols::boxForSize({x + symbol / 2, cy}, fm.height() * 0.8), color);
            x += symbol + gap;
        }
        painter.setFont(f);
        painter.setPen(color);
        const double tw = fm.horizontalAdvance(text());
        PaintedText::draw(painter, QRectF(x, inner.top(), tw + 1, inner.height()), Qt::AlignVCenter | Qt::AlignLeft,
                          text());
        x += tw + gap;
        if (!m_trailing.isEmpty())
            Symbols::paint(painter, m_trailing, Symbols::boxForSize({x + symbol / 2, cy}, fm.height() * 0.8), color);
    }
    m_style->paintOverlay(painter, r, s);
    // The focus ring comes from the application's style, once the keyboard has moved focus.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        QStyleOptionFocusRect ring;
        ring.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &ring, &painter, this);
    }
}

void KitButton::enterEvent(QEnterEvent* event)
{
    m_pointerInside = true;
    applyHover(true, true);
    QAbstractButton::enterEvent(event);
}

void KitButton::leaveEvent(QEvent* event)
{
    m_pointerInside = false;
    applyHover(false, true);
    QAbstractButton::leaveEvent(event);
}

void KitButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        if (!windowActive() && m_style->clearsHoverOnDeactivation())
            applyHover(false, false);
        refresh();
    } else if (event->type() == QEvent::EnabledChange) {
        applyHover(m_pointerInside && isEnabled(), false);
        refresh();
    }
    QAbstractButton::changeEvent(event);
}

bool KitButton::event(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        refresh();
    } else if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::WindowActivate) {
        // Qt tells every widget of a window when the window's activity changes.
        if (event->type() == QEvent::WindowDeactivate && m_style->clearsHoverOnDeactivation())
            applyHover(false, false);
        refresh();
    }
    return QAbstractButton::event(event);
}

} // namespace tessaron
