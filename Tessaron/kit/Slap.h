#pragma once

#include <QColor>
#include <QWidget>

namespace tessaron {

class KeyframePlayer;
class TransformEffect;

// A raised hand that swings about its lower centre, with a small sideways shove, each time
// `count` changes (never under reduced motion). Decorative only.
class Slap : public QWidget {
    Q_OBJECT
public:
    struct Swing {
        double angle = 0.0; // degrees
        double shift = 0.0; // points
    };

    Slap(double size, int count, const QColor& tint, QWidget* parent = nullptr);

    void setCount(int count);
    int count() const { return m_count; }
    Swing current() const;
    KeyframePlayer* player() const { return m_player; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void apply();

    double m_size;
    int m_count;
    QColor m_tint;
    KeyframePlayer* m_player;
    TransformEffect* m_effect;
};

} // namespace tessaron
