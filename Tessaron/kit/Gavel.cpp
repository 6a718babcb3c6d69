#include "Tessaron/kit/Gavel.h"

#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/TransformEffect.h"

namespace tessaron {

Gavel::Gavel(double size, int strikes, const QColor& tint, QWidget* parent)
    : KeyframedSymbol(
        QStringLiteral("hammer.fill"), size, tint,
        {KeyframeTrack(0.0,
                       {Keyframe::withSpring(-26, 0.11, 0.5, 0.0), Keyframe::withSpring(10, 0.09, 0.5, 0.0),
                        Keyframe::withSpring(0, 0.3, 0.5, 0.3)})},
        strikes, parent)
{
    settle(sizeHint(), size * 0.5);
}

void Gavel::setStrikes(int strikes) { retrigger(strikes); }

double Gavel::strikeAngle() const { return player()->value(0); }

QTransform Gavel::currentTransform() const
{
    const QRectF frame(rect());
    return Transforms::rotateAbout(restingAngle, frame.center())
        * Transforms::rotateAbout(strikeAngle(), frame.bottomRight());
}

void Gavel::apply() { effect()->setTransform(currentTransform()); }

} // namespace tessaron
