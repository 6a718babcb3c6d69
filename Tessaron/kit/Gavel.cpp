#include "Tessaron/kit/Gavel.h"

#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/TransformEffect.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

Gavel::Gavel(double size, int strikes, const QColor& tint, QWidget* parent)
    : KeyframedDecoration(
        {KeyframeTrack(0.0,
                       {Keyframe::withSpring(-26, 0.11, 0.5, 0.0), Keyframe::withSpring(10, 0.09, 0.5, 0.0),
                        Keyframe::withSpring(0, 0.3, 0.5, 0.3)})},
        strikes, parent)
    , m_size(size)
    , m_tint(tint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    settle(sizeHint(), size * 0.5);
}

QSize Gavel::sizeHint() const
{
    const int side = int(std::ceil(m_size * 1.2));
    return {side, side};
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

void Gavel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Symbols::paint(painter, QStringLiteral("hammer.fill"), Symbols::boxForSize(QRectF(rect()).center(), m_size),
                   m_tint);
}

} // namespace tessaron
