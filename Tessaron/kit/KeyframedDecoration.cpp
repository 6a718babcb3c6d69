#include "Tessaron/kit/KeyframedDecoration.h"

#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/TransformEffect.h"

#include <QPainter>

#include <cmath>

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
    if (!motionReduced())
        m_player->play();
}

KeyframedSymbol::KeyframedSymbol(const QString& symbol, double size, const QColor& tint, QList<KeyframeTrack> tracks,
                                 int trigger, QWidget* parent)
    : KeyframedDecoration(std::move(tracks), trigger, parent)
    , m_symbol(symbol)
    , m_size(size)
    , m_tint(tint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    // The symbol never changes, only how it moves: it is drawn once, not on every frame.
    effect()->setKeepsSource(true);
}

QSize KeyframedSymbol::sizeHint() const
{
    const int side = int(std::ceil(m_size * 1.2));
    return {side, side};
}

void KeyframedSymbol::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Symbols::paint(painter, m_symbol, Symbols::boxForSize(QRectF(rect()).center(), m_size), m_tint);
}

} // namespace tessaron
