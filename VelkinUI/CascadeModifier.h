#pragma once

#include <QObject>

#include <memory>

class QWidget;

namespace tessaron {

class AnimatedValue;
class EffectSlot;

// A staggered entrance: the first time the widget comes on screen it fades in, sharpens, grows from
// 98.5 % (anchored at its top centre) and rises `distance` points into place, on the bouncy spring,
// after `delay` seconds. It plays once per widget.
class CascadeModifier : public QObject {
    Q_OBJECT
public:
    CascadeModifier(QWidget* target, double delay, double distance);
    ~CascadeModifier() override;

    bool hasAppeared() const { return m_appeared; }
    // 0 before the entrance, 1 once in place (overshoots on the way).
    double progress() const;
    AnimatedValue* animation() const { return m_progress; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();

    QWidget* m_target;
    double m_delay;
    double m_distance;
    bool m_appeared = false;
    AnimatedValue* m_progress;
    std::unique_ptr<EffectSlot> m_effect;
};

// Applies the cascade to `widget` and returns it.
QWidget* cascade(QWidget* widget, double delay, double distance);

} // namespace tessaron
