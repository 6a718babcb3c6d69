#include "VelkinUI/CascadeModifier.h"

#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Animation.h"
#include "VelkinUI/EffectSlot.h"

#include <QEvent>
#include <QWidget>

namespace tessaron {

CascadeModifier::CascadeModifier(QWidget* target, double delay, double distance)
    : QObject(target)
    , m_target(target)
    , m_delay(delay)
    , m_distance(distance)
    , m_progress(new AnimatedValue(0.0, this))
    , m_effect(std::make_unique<EffectSlot>(target))
{
    connect(m_progress, &AnimatedValue::valueChanged, this, &CascadeModifier::apply);
    target->installEventFilter(this);
    apply();
    if (target->isVisible()) {
        m_appeared = true;
        m_progress->animateTo(1.0, Motion::withSpring(Animation::velkin::bouncy()).delayed(delay));
    }
}

CascadeModifier::~CascadeModifier() = default;

double CascadeModifier::progress() const { return m_progress->value(); }

bool CascadeModifier::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target && event->type() == QEvent::Show && !m_appeared) {
        m_appeared = true; // never set back: the entrance plays once
        m_progress->animateTo(1.0, Motion::withSpring(Animation::velkin::bouncy()).delayed(m_delay));
    } else if (watched == m_target && event->type() == QEvent::Resize) {
        apply();
    }
    return false;
}

void CascadeModifier::apply()
{
    const double v = m_progress->value();
    const double scale = 0.985 + 0.015 * v;
    const QPointF topCentre(m_target->width() / 2.0, 0);
    const QTransform t = v >= 1.0 && scale == 1.0
        ? QTransform()
        : Transforms::translate(0, m_distance * (1.0 - v)) * Transforms::scaleAbout(scale, scale, topCentre);
    const bool done = v == 1.0 && !m_progress->isAnimating();
    m_effect->apply(done ? QTransform() : t, done ? 1.0 : std::clamp(v, 0.0, 1.0), {},
                    done ? 0.0 : 4.0 * std::max(0.0, 1.0 - v), std::abs(m_distance) + 8);
}

QWidget* cascade(QWidget* widget, double delay, double distance)
{
    new CascadeModifier(widget, delay, distance);
    return widget;
}

} // namespace tessaron
