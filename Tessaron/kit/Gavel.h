#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

class KeyframePlayer;
class TransformEffect;

// A gavel resting at -20 degrees that strikes, swinging about its lower trailing corner, each
// time `strikes` changes (never under reduced motion). Decorative only.
class Gavel : public QWidget {
    Q_OBJECT
public:
    static constexpr double restingAngle = -20.0;

    Gavel(double size, int strikes, const QColor& tint, QWidget* parent = nullptr);

    void setStrikes(int strikes);
    int strikes() const { return m_strikes; }
    double strikeAngle() const;
    // The whole transform in force: resting tilt, then the strike.
    QTransform currentTransform() const;
    KeyframePlayer* player() const { return m_player; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void apply();

    double m_size;
    int m_strikes;
    QColor m_tint;
    KeyframePlayer* m_player;
    TransformEffect* m_effect;
};

} // namespace tessaron
