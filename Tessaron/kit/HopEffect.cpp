#include "Tessaron/kit/HopEffect.h"

#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/EffectSlot.h"

#include <QEvent>
#include <QWidget>

namespace tessaron {

HopEffect::HopEffect(QWidget* target, int trigger)
    : QObject(target)
    , m_target(target)
    , m_effect(std::make_unique<EffectSlot>(target))
    , m_trigger(trigger)
{
    m_player = new KeyframePlayer(
        {
            KeyframeTrack(0.0, {Keyframe::withSpring(-7, 0.14, 0.5, 0.0), Keyframe::withSpring(0, 0.3, 0.5, 0.3)}),
            KeyframeTrack(
                0.0, {Keyframe::linear(-8, 0.1), Keyframe::linear(6, 0.12), Keyframe::withSpring(0, 0.25, 0.5, 0.0)}),
        },
        this);
    connect(m_player, &KeyframePlayer::valuesChanged, this, &HopEffect::apply);
}

HopEffect::~HopEffect() = default;

void HopEffect::setShadow(const QColor& color, double radius)
{
    m_shadowColor = color;
    m_shadowRadius = radius;
    apply();
}

void HopEffect::setTrigger(int trigger)
{
    if (trigger == m_trigger)
        return;
    m_trigger = trigger;
    m_player->play();
}

HopEffect::Hop HopEffect::current() const { return Hop{m_player->value(0), m_player->value(1)}; }

bool HopEffect::isPlaying() const { return m_player->isRunning(); }

void HopEffect::apply()
{
    const Hop hop = current();
    const QPointF centre = QRectF(m_target->rect()).center();
    const QTransform t = Transforms::translate(0, hop.lift) * Transforms::rotateAbout(hop.tilt, centre);
    m_effect->apply(t, 1.0, {m_shadowColor, m_shadowRadius, QPointF(0, 0)}, 0.0, 10.0);
}

} // namespace tessaron
