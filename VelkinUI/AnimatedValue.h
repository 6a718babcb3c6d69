#pragma once

#include "VelkinUI/Motion.h"

#include <QObject>

namespace tessaron {

class MotionAnimation;

// One animatable number (a scale, an opacity, a hover amount) that views read while painting.
// animateTo() with Motion::none() jumps at once, which is how reduced motion is honoured.
class AnimatedValue : public QObject {
    Q_OBJECT
public:
    explicit AnimatedValue(double initial = 0.0, QObject* parent = nullptr);

    double value() const { return m_value; }
    double target() const { return m_target; }
    bool isAnimating() const;

    void animateTo(double target, const Motion& motion);
    void setImmediately(double value);

signals:
    void valueChanged(double value);
    void finished();

private:
    void apply(double value);

    MotionAnimation* m_animation;
    double m_value;
    double m_target;
};

} // namespace tessaron
