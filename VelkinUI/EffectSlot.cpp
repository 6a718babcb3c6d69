#include "VelkinUI/EffectSlot.h"

#include <QWidget>

namespace tessaron {

void EffectSlot::apply(const QTransform& transform, double opacity, const TransformEffect::Shadow& shadow,
                       double blurRadius, double margin)
{
    const bool needed = !transform.isIdentity() || opacity < 1.0 || shadow.color.alpha() > 0 || blurRadius > 0.0;
    if (!needed) {
        if (m_effect && m_widget->graphicsEffect() == m_effect)
            m_widget->setGraphicsEffect(nullptr); // deletes it
        m_effect = nullptr;
        return;
    }
    if (!m_effect || m_widget->graphicsEffect() != m_effect) {
        m_effect = new TransformEffect(m_widget);
        m_widget->setGraphicsEffect(m_effect);
    }
    m_effect->setMargin(margin);
    m_effect->setTransform(transform);
    m_effect->setOpacity(opacity);
    m_effect->setShadow(shadow);
    m_effect->setBlurRadius(blurRadius);
}

} // namespace tessaron
