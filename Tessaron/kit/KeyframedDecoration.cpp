#include "Tessaron/kit/KeyframedDecoration.h"

#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/TransformEffect.h"

namespace tessaron {

KeyframedDecoration::KeyframedDecoration(QList<KeyframeTrack> tracks, int trigger, QWidget* parent)
    : QWidget(parent)
    , m_trigger(trigger)
    , m_player(new KeyframePlayer(std::move(tracks), this))
    , m_effect(new TransformEffect(this))
{
    connect(m_player, &KeyframePlayer::valuesChanged, this, [this] { apply(); });
}

void KeyframedDecoration::settle(QSize size, double margin)
{
    setFixedSize(size);
    m_effect->setMargin(margin);
    setGraphicsEffect(m_effect);
    apply();
}

void KeyframedDecoration::retrigger(int trigger)
{
    if (trigger == m_trigger)
        return;
    m_trigger = trigger;
    if (!AccessibilitySettings::instance().reduceMotion())
        m_player->play();
}

} // namespace tessaron
