#pragma once

#include "Tessaron/kit/KeyframedDecoration.h"

#include <QColor>

namespace tessaron {

// A raised hand that swings about its lower centre, with a small sideways shove, each time
// `count` changes (never under reduced motion). Decorative only.
class Slap : public KeyframedSymbol {
    Q_OBJECT
public:
    struct Swing {
        double angle = 0.0; // degrees
        double shift = 0.0; // points
    };

    Slap(double size, int count, const QColor& tint, QWidget* parent = nullptr);

    void setCount(int count);
    int count() const { return triggerCount(); }
    Swing current() const;

protected:
    void apply() override;
};

} // namespace tessaron
