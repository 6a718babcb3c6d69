#include "VelkinUI/Motion.h"

#include <QEasingCurve>

#include <algorithm>

namespace tessaron {

double Motion::totalDuration() const
{
    switch (kind) {
    case Kind::none:
        return 0.0;
    case Kind::spring:
        return delay + spring.settlingDuration();
    default:
        return delay + duration;
    }
}

double Motion::progress(double seconds) const
{
    if (kind == Kind::none)
        return 1.0;
    const double t = seconds - delay;
    if (t <= 0)
        return 0.0;
    if (seconds >= totalDuration())
        return 1.0;
    switch (kind) {
    case Kind::linear:
        return t / duration;
    case Kind::easeOut:
        return QEasingCurve(QEasingCurve::OutCubic).valueForProgress(t / duration);
    case Kind::easeInOut:
        return QEasingCurve(QEasingCurve::InOutCubic).valueForProgress(t / duration);
    case Kind::spring:
        return spring.value(t);
    case Kind::none:
        break;
    }
    return 1.0;
}

} // namespace tessaron
