#pragma once

#include "VelkinUI/Spring.h"

#include <QList>

namespace tessaron {

// One keyframe: move to `value` over `duration` seconds, linearly or on a spring.
struct Keyframe {
    double value = 0.0;
    double duration = 0.0;
    bool springy = false;
    Spring spring;

    static Keyframe linear(double value, double duration) { return Keyframe{value, duration, false, {}}; }
    // A spring given by its duration and bounce, compressed into the keyframe's own duration so that
    // the keyframe ends exactly on its value.
    static Keyframe withSpring(double value, double duration, double springDuration, double bounce)
    {
        return Keyframe{value, duration, true, Spring::withDuration(springDuration, bounce)};
    }
};

// A sequence of keyframes for one animated number, starting from `initial`.
class KeyframeTrack {
public:
    KeyframeTrack() = default;
    KeyframeTrack(double initial, QList<Keyframe> frames);

    double initial() const { return m_initial; }
    const QList<Keyframe>& frames() const { return m_frames; }
    // Seconds from the first keyframe's start to the last one's end.
    double duration() const;
    // The value `seconds` after the start; before it the initial value, after the end the last value.
    double valueAt(double seconds) const;
    double finalValue() const;

private:
    double m_initial = 0.0;
    QList<Keyframe> m_frames;
    QList<double> m_settle; // settling time of each spring keyframe, computed once
};

} // namespace tessaron
