#include "Tessaron/kit/TessaronMascot.h"

#include "Tessaron/kit/HopEffect.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/LogoMark.h"

#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

TessaronMascot::TessaronMascot(double size, int boops, QWidget* parent)
    : QWidget(parent), m_size(size), m_boops(boops), m_mark(new LogoMark(size, this))
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_mark, 0, Qt::AlignCenter);
    const int side = int(std::ceil(size));
    setFixedSize(side, side);
    // Under reduced motion the trigger is a constant, so nothing ever plays.
    m_hop = new HopEffect(this, AccessibilitySettings::instance().reduceMotion() ? 0 : boops);
}

void TessaronMascot::setBoops(int boops)
{
    m_boops = boops;
    if (!AccessibilitySettings::instance().reduceMotion())
        m_hop->setTrigger(boops);
}

} // namespace tessaron
