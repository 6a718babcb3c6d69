#include "Tessaron/actions/Slap.h"

#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/TransformEffect.h"

namespace tessaron {

Slap::Slap(double size, int count, const QColor& tint, QWidget* parent)
    : KeyframedSymbol(
        QStringLiteral("hand.raised.fill"), size, tint,
        {
            KeyframeTrack(0.0,
                          {Keyframe::withSpring(-24, 0.1, 0.5, 0.0), Keyframe::withSpring(16, 0.07, 0.5, 0.0),
                           Keyframe::withSpring(0, 0.28, 0.5, 0.3)}),
            KeyframeTrack(
                0.0, {Keyframe::linear(-3, 0.1), Keyframe::linear(3, 0.07), Keyframe::withSpring(0, 0.28, 0.5, 0.0)}),
        },
        count, parent)
{
    settle(sizeHint(), size * 0.5);
}

void Slap::setCount(int count) { retrigger(count); }

Slap::Swing Slap::current() const { return Swing{player()->value(0), player()->value(1)}; }

void Slap::apply()
{
    const Swing s = current();
    const QRectF frame(rect());
    const QPointF bottomCentre(frame.center().x(), frame.bottom());
    effect()->setTransform(Transforms::rotateAbout(s.angle, bottomCentre) * Transforms::translate(s.shift, 0));
}

} // namespace tessaron
