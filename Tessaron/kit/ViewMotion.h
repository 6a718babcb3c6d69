#pragma once

#include "VelkinUI/Motion.h"

#include <QObject>

class QWidget;

namespace tessaron {

class AnimatedValue;
struct ButtonState;

// Whether the user asked for reduced motion: the one place that setting is read. It chooses a still
// pose or the plainer shape of a change (a fade instead of a growth, no tilt); whether a change
// moves at all is motionAllowed's to say.
bool motionReduced();
// Decorative motion runs only while the user has not asked for reduced motion and the widget's
// window is the active one; otherwise changes land at once.
bool motionAllowed(const QWidget* widget);
// `motion` when motion is allowed for `widget`, otherwise Motion::none().
Motion decorativeMotion(const QWidget* widget, const Motion& motion);
// The same for a button style, which draws for a button it does not hold: the state the button
// filled in says whether its window is active.
bool motionAllowed(const ButtonState& state);
Motion decorativeMotion(const ButtonState& state, const Motion& motion);

// How far a control is into its hover look, 0 to 1, easing out over `seconds` and repainting its
// host on every step.
class HoverAmount : public QObject {
    Q_OBJECT
public:
    HoverAmount(QWidget* host, double seconds);

    void set(bool hovering);
    // Jumps, for a control that stops answering the pointer.
    void clear();
    bool on() const { return m_on; }
    double value() const;
    bool isAnimating() const;

private:
    QWidget* m_host;
    double m_seconds;
    bool m_on = false;
    AnimatedValue* m_amount;
};

} // namespace tessaron
