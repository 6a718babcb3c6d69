#include "VelkinUI/KeyframeTrack.h"

namespace tessaron {

KeyframeTrack::KeyframeTrack(double initial, QList<Keyframe> frames)
    : m_initial(initial)
    , m_frames(std::move(frames))
{
    for (const Keyframe& k : m_frames)
        m_settle.append(k.springy ? k.spring.settlingDuration() : 0.0);
}

double KeyframeTrack::duration() const
{
    double total = 0.0;
    for (const Keyframe& k : m_frames)
        total += k.duration;
    return total;
}

double KeyframeTrack::finalValue() const { return m_frames.isEmpty() ? m_initial : m_frames.last().value; }

double KeyframeTrack::valueAt(double seconds) const
{
    if (seconds <= 0)
        return m_initial;
    double from = m_initial;
    double start = 0.0;
    for (qsizetype i = 0; i < m_frames.size(); ++i) {
        const Keyframe& k = m_frames[i];
        const double end = start + k.duration;
        if (seconds < end && k.duration > 0) {
            const double tau = (seconds - start) / k.duration;
            const double p = k.springy ? k.spring.value(tau * m_settle[i]) : tau;
            return from + (k.value - from) * p;
        }
        from = k.value;
        start = end;
    }
    return finalValue();
}

} // namespace tessaron
