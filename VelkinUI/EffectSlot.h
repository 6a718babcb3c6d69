#pragma once

#include "VelkinUI/TransformEffect.h"

#include <QPointer>

class QWidget;

namespace tessaron {

// Gives a widget a TransformEffect only while it has something to do (a transform, partial
// opacity, a blur or a shadow) and removes it at rest. Qt paints a widget with an effect inside a
// parent with an effect unreliably, so effects must not stay on widgets that merely rest.
class EffectSlot {
public:
    explicit EffectSlot(QWidget* widget)
        : m_widget(widget)
    { }

    void apply(const QTransform& transform, double opacity, const TransformEffect::Shadow& shadow = {},
               double blurRadius = 0.0, double margin = 0.0);
    TransformEffect* effect() const { return m_effect; }
    bool isInstalled() const { return !m_effect.isNull(); }

private:
    QWidget* m_widget;
    QPointer<TransformEffect> m_effect;
};

} // namespace tessaron
