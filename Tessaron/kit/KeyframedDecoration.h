#pragma once

#include "VelkinUI/KeyframeTrack.h"

#include <QList>
#include <QWidget>

namespace tessaron {

class KeyframePlayer;
class TransformEffect;

// A decorative widget whose drawing a KeyframePlayer moves through a TransformEffect. The
// animation plays each time the trigger count changes, never under reduced motion.
class KeyframedDecoration : public QWidget {
    Q_OBJECT
public:
    KeyframePlayer* player() const { return m_player; }

protected:
    KeyframedDecoration(QList<KeyframeTrack> tracks, int trigger, QWidget* parent);

    // Fixes the widget at `size`, lets the effect draw `margin` beyond it and shows the first
    // frame; the subclass's constructor ends with it.
    void settle(QSize size, double margin);
    // Takes a new trigger count and plays when it differs.
    void retrigger(int trigger);
    int triggerCount() const { return m_trigger; }
    TransformEffect* effect() const { return m_effect; }
    // Puts the player's current values into the effect.
    virtual void apply() = 0;

private:
    int m_trigger;
    KeyframePlayer* m_player;
    TransformEffect* m_effect;
};

} // namespace tessaron
