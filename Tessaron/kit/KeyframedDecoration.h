#pragma once

#include "VelkinUI/KeyframeTrack.h"

#include <QColor>
#include <QList>
#include <QString>
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

// A symbol `size` across in `tint`, centred in a square a fifth larger, that its keyframes move.
class KeyframedSymbol : public KeyframedDecoration {
    Q_OBJECT
public:
    QSize sizeHint() const override;

protected:
    KeyframedSymbol(const QString& symbol, double size, const QColor& tint, QList<KeyframeTrack> tracks, int trigger,
                    QWidget* parent);

    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    double m_size;
    QColor m_tint;
};

} // namespace tessaron
