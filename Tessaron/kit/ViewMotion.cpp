#include "Tessaron/kit/ViewMotion.h"

#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/ButtonStyle.h"

#include <QWidget>

namespace tessaron {

bool motionReduced() { return AccessibilitySettings::instance().reduceMotion(); }

bool motionAllowed(const QWidget* widget)
{
    if (motionReduced())
        return false;
    const QWidget* window = widget ? widget->window() : nullptr;
    return window && window->isActiveWindow();
}

Motion decorativeMotion(const QWidget* widget, const Motion& motion)
{
    return motionAllowed(widget) ? motion : Motion::none();
}

bool motionAllowed(const ButtonState& state) { return !motionReduced() && state.windowActive; }

Motion decorativeMotion(const ButtonState& state, const Motion& motion)
{
    return motionAllowed(state) ? motion : Motion::none();
}

HoverAmount::HoverAmount(QWidget* host, double seconds)
    : QObject(host)
    , m_host(host)
    , m_seconds(seconds)
    , m_amount(new AnimatedValue(0.0, this))
{
    connect(m_amount, &AnimatedValue::valueChanged, host, qOverload<>(&QWidget::update));
}

void HoverAmount::set(bool hovering)
{
    m_on = hovering;
    m_amount->animateTo(hovering ? 1.0 : 0.0, decorativeMotion(m_host, Motion::easeOut(m_seconds)));
    m_host->update();
}

void HoverAmount::clear()
{
    m_on = false;
    m_amount->setImmediately(0.0);
    m_host->update();
}

double HoverAmount::value() const { return m_amount->value(); }
bool HoverAmount::isAnimating() const { return m_amount->isAnimating(); }

} // namespace tessaron
