#include "TessaronCore/model/MessageShape.h"

namespace tessaron {

size_t qHash(const MessageShape& shape, size_t seed)
{
    // The map iterates in path order, so equal shapes hash alike whatever order they were built in.
    size_t h = ::qHash(shape.fields().size(), seed);
    for (auto it = shape.fields().cbegin(); it != shape.fields().cend(); ++it)
        h = qHashMulti(h, it.key(), it.value());
    return h;
}

} // namespace tessaron
