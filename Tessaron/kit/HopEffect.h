#pragma once

#include <QColor>
#include <QObject>

#include <memory>

class QWidget;

namespace tessaron {

class EffectSlot;
class KeyframePlayer;

// A little jump with a wobble, played on `target` each time the trigger changes: up 7 points
// while tipping left, then right, landing with a small bounce. Installs its own transform effect
// on the target.
class HopEffect : public QObject {
    Q_OBJECT
public:
    struct Hop {
        double lift = 0.0; // points; negative is up
        double tilt = 0.0; // degrees
    };

    HopEffect(QWidget* target, int trigger);
    ~HopEffect() override;

    // A shadow (a glow) the target keeps at rest and while hopping.
    void setShadow(const QColor& color, double radius);

    int trigger() const { return m_trigger; }
    // Plays the hop when the value differs from the last one.
    void setTrigger(int trigger);
    Hop current() const;
    bool isPlaying() const;
    KeyframePlayer* player() const { return m_player; }

private:
    void apply();

    QWidget* m_target;
    std::unique_ptr<EffectSlot> m_effect;
    QColor m_shadowColor = Qt::transparent;
    double m_shadowRadius = 0.0;
    KeyframePlayer* m_player;
    int m_trigger;
};

} // namespace tessaron
