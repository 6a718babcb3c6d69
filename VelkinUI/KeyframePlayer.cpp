#include "VelkinUI/KeyframePlayer.h"

#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace tessaron {

KeyframePlayer::KeyframePlayer(QList<KeyframeTrack> tracks, QObject* parent)
    : QObject(parent)
    , m_tracks(std::move(tracks))
    , m_clock(new QVariantAnimation(this))
{
    m_clock->setEasingCurve(QEasingCurve::Linear);
    m_clock->setStartValue(0.0);
    m_clock->setEndValue(duration());
    m_clock->setDuration(std::max(1, int(std::lround(duration() * 1000.0))));
    connect(m_clock, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        if (m_running)
            setTime(v.toDouble());
    });
    connect(m_clock, &QAbstractAnimation::finished, this, [this] {
        m_running = false;
        // Rest is the initial state: every track ends on the value it started from.
        m_time = 0.0;
        emit valuesChanged();
        emit finished();
    });
}

double KeyframePlayer::duration() const
{
    double longest = 0.0;
    for (const KeyframeTrack& t : m_tracks)
        longest = std::max(longest, t.duration());
    return longest;
}

void KeyframePlayer::play()
{
    m_clock->stop();
    m_running = true;
    setTime(0.0);
    m_clock->start();
}

void KeyframePlayer::stop()
{
    m_clock->stop();
    m_running = false;
    setTime(0.0);
}

void KeyframePlayer::freezeAt(double seconds)
{
    m_clock->stop();
    m_running = true;
    setTime(seconds);
}

bool KeyframePlayer::isRunning() const { return m_running; }

double KeyframePlayer::value(int track) const
{
    if (track < 0 || track >= m_tracks.size())
        return 0.0;
    return m_running ? m_tracks[track].valueAt(m_time) : m_tracks[track].initial();
}

void KeyframePlayer::setTime(double seconds)
{
    m_time = seconds;
    emit valuesChanged();
}

} // namespace tessaron
