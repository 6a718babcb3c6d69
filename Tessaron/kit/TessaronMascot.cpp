#include "Tessaron/kit/TessaronMascot.h"

#include "Tessaron/kit/HopEffect.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/LogoMark.h"
#include "VelkinUI/TransformEffect.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

TessaronMascot::TessaronMascot(double size, int boops, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_boops(boops)
{
    const int side = int(std::ceil(size));
    setFixedSize(side, side);
    setAttribute(Qt::WA_TranslucentBackground);
    // Under reduced motion the trigger is a constant, so nothing ever plays.
    m_hop = new HopEffect(this, motionReduced() ? 0 : boops);
    // The mark's glow travels with the hop: one effect carries both.
    QColor glow = Brand::accent();
    glow.setAlphaF(0.5f);
    m_hop->setShadow(glow, size * 0.25);
    // The mark never changes: its glow is blurred once, not each time the mascot is drawn.
    if (auto* effect = qobject_cast<TransformEffect*>(graphicsEffect()))
        effect->setKeepsSource(true);
}

void TessaronMascot::setBoops(int boops)
{
    m_boops = boops;
    if (!motionReduced())
        m_hop->setTrigger(boops);
}

void TessaronMascot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    LogoMark::paintMark(painter, QRectF((width() - m_size) / 2, (height() - m_size) / 2, m_size, m_size));
}

} // namespace tessaron
