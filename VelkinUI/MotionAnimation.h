#pragma once

#include "VelkinUI/Motion.h"

#include <QVariantAnimation>

namespace tessaron {

// A QVariantAnimation that follows a Motion (timing curve or spring) instead of an easing curve.
// Its duration is the motion's settling time; it ends exactly on its end value.
class MotionAnimation : public QVariantAnimation {
    Q_OBJECT
public:
    explicit MotionAnimation(QObject* parent = nullptr);

    void setMotion(const Motion& motion);
    const Motion& motion() const { return m_motion; }

protected:
    QVariant interpolated(const QVariant& from, const QVariant& to, qreal progress) const override;

private:
    Motion m_motion;
};

} // namespace tessaron
