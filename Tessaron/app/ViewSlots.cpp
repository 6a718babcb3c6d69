#include "Tessaron/app/ViewSlots.h"

namespace tessaron {

ViewSlots& ViewSlots::installed()
{
    static ViewSlots views;
    return views;
}

} // namespace tessaron
