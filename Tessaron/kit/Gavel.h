#pragma once

#include "Tessaron/kit/KeyframedDecoration.h"

#include <QColor>

namespace tessaron {

// A gavel resting at -20 degrees that strikes, swinging about its lower trailing corner, each
// time `strikes` changes (never under reduced motion). Decorative only.
class Gavel : public KeyframedSymbol {
    Q_OBJECT
public:
    static constexpr double restingAngle = -20.0;

    Gavel(double size, int strikes, const QColor& tint, QWidget* parent = nullptr);

    void setStrikes(int strikes);
    int strikes() const { return triggerCount(); }
    double strikeAngle() const;
    // The whole transform in force: resting tilt, then the strike.
    QTransform currentTransform() const;

protected:
    void apply() override;
};

} // namespace tessaron
