#include "Tessaron/kit/Slap.h"

#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/TransformEffect.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

Slap::Slap(double size, int count, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_count(count)
    , m_tint(tint)
    , m_effect(new TransformEffect(this))
{
    m_player = new KeyframePlayer(
        {
            KeyframeTrack(0.0,
                          {Keyframe::withSpring(-24, 0.1, 0.5, 0.0), Keyframe::withSpring(16, 0.07, 0.5, 0.0),
                           Keyframe::withSpring(0, 0.28, 0.5, 0.3)}),
            KeyframeTrack(
                0.0, {Keyframe::linear(-3, 0.1), Keyframe::linear(3, 0.07), Keyframe::withSpring(0, 0.28, 0.5, 0.0)}),
        },
        this);
    m_effect->setMargin(size * 0.5);
    setGraphicsEffect(m_effect);
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TranslucentBackground);
    connect(m_player, &KeyframePlayer::valuesChanged, this, &Slap::apply);
}

QSize Slap::sizeHint() const
{
    const int side = int(std::ceil(m_size * 1.2));
    return {side, side};
}

void Slap::setCount(int count)
{
    if (count == m_count)
        return;
    m_count = count;
    if (!AccessibilitySettings::instance().reduceMotion())
        m_player->play();
}

Slap::Swing Slap::current() const { return Swing{m_player->value(0), m_player->value(1)}; }

void Slap::apply()
{
    const Swing s = current();
    const QRectF frame(rect());
    const QPointF bottomCentre(frame.center().x(), frame.bottom());
    m_effect->setTransform(Transforms::rotateAbout(s.angle, bottomCentre) * Transforms::translate(s.shift, 0));
}

void Slap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Symbols::paint(painter, QStringLiteral("hand.raised.fill"), Symbols::boxForSize(QRectF(rect()).center(), m_size),
                   m_tint);
}

} // namespace tessaron
