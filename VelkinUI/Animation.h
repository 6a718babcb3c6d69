#pragma once

#include "VelkinUI/Spring.h"

namespace tessaron::Animation::velkin {

// The kit's three motion presets.
const Spring& standard();
const Spring& bouncy();
const Spring& snappy();

} // namespace tessaron::Animation::velkin
