#include "VelkinUI/MotionAnimation.h"

#include <algorithm>
#include <cmath>

namespace tessaron {

MotionAnimation::MotionAnimation(QObject* parent)
    : QVariantAnimation(parent)
{
    setEasingCurve(QEasingCurve::Linear);
    setMotion(Motion::easeOut(0.2));
}

void MotionAnimation::setMotion(const Motion& motion)
{
    m_motion = motion;
    setDuration(std::max(1, int(std::lround(motion.totalDuration() * 1000.0))));
}

QVariant MotionAnimation::interpolated(const QVariant& from, const QVariant& to, qreal progress) const
{
    const double seconds = progress * duration() / 1000.0;
    const double p = progress >= 1.0 ? 1.0 : m_motion.progress(seconds);
    if (from.typeId() == QMetaType::Double && to.typeId() == QMetaType::Double) {
        const double a = from.toDouble();
        return a + (to.toDouble() - a) * p;
    }
    // Colours and the like cannot overshoot; keep them in range.
    return QVariantAnimation::interpolated(from, to, std::clamp(p, 0.0, 1.0));
}

} // namespace tessaron
