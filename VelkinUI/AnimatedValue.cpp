#include "VelkinUI/AnimatedValue.h"

#include "VelkinUI/MotionAnimation.h"

namespace tessaron {

AnimatedValue::AnimatedValue(double initial, QObject* parent)
    : QObject(parent)
    , m_animation(new MotionAnimation(this))
    , m_value(initial)
    , m_target(initial)
{
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) { apply(v.toDouble()); });
    connect(m_animation, &QAbstractAnimation::finished, this, [this] {
        apply(m_target);
        emit finished();
    });
}

bool AnimatedValue::isAnimating() const { return m_animation->state() == QAbstractAnimation::Running; }

void AnimatedValue::animateTo(double target, const Motion& motion)
{
    if (isAnimating() && m_target == target && m_animation->motion() == motion)
        return;
    m_animation->stop();
    m_target = target;
    if (motion.isNone() || m_value == target) {
        apply(target);
        emit finished();
        return;
    }
    m_animation->setMotion(motion);
    m_animation->setStartValue(m_value);
    m_animation->setEndValue(target);
    m_animation->start();
}

void AnimatedValue::setImmediately(double value)
{
    m_animation->stop();
    m_target = value;
    apply(value);
}

void AnimatedValue::apply(double value)
{
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged(value);
}

} // namespace tessaron
