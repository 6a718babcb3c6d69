#pragma once

#include "VelkinUI/ButtonStyle.h"

namespace tessaron {

// Leaves the label as it is and shrinks it to 96 % while pressed, on the snappy spring.
class PressableStyle : public ButtonStyle {
public:
    double scale(const ButtonState& state) const override { return lerp(1.0, 0.96, state.press); }
    Motion pressMotion(const ButtonState& state) const override;
};

} // namespace tessaron
