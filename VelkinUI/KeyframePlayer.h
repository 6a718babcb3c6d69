#pragma once

#include "VelkinUI/KeyframeTrack.h"

#include <QList>
#include <QObject>

class QVariantAnimation;

namespace tessaron {

// Plays several keyframe tracks side by side (a hop's lift and tilt, a slam's scale and opacity).
// play() always restarts from the first keyframe; at rest every track holds its initial value.
class KeyframePlayer : public QObject {
    Q_OBJECT
public:
    explicit KeyframePlayer(QList<KeyframeTrack> tracks, QObject* parent = nullptr);

    void play();
    void stop();
    // Holds every track at `seconds` into the animation (the gallery shows moments this way).
    void freezeAt(double seconds);
    bool isRunning() const;
    // Seconds of the longest track.
    double duration() const;
    double value(int track) const;
    const QList<KeyframeTrack>& tracks() const { return m_tracks; }

signals:
    void valuesChanged();
    void finished();

private:
    void setTime(double seconds);

    QList<KeyframeTrack> m_tracks;
    QVariantAnimation* m_clock;
    double m_time = 0.0;
    bool m_running = false;
};

} // namespace tessaron
