#include "VelkinUI/Animation.h"

namespace tessaron::Animation::velkin {

const Spring& standard()
{
    static const Spring spring{0.4, 0.78, 0.0};
    return spring;
}

const Spring& bouncy()
{
    static const Spring spring{0.55, 0.7, 0.0};
    return spring;
}

const Spring& snappy()
{
    static const Spring spring{0.25, 0.85, 0.0};
    return spring;
}

} // namespace tessaron::Animation::velkin
