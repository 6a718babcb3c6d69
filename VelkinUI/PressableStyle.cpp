#include "VelkinUI/PressableStyle.h"

#include "VelkinUI/Animation.h"

namespace tessaron {

Motion PressableStyle::pressMotion(const ButtonState&) const { return Motion::withSpring(Animation::velkin::snappy()); }

} // namespace tessaron
