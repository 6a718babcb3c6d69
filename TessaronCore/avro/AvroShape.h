#pragma once

#include "TessaronCore/avro/AvroSchema.h"
#include "TessaronCore/model/MessageShape.h"

#include <cstdint>
#include <optional>

namespace tessaron {

// The message shape an Avro record schema promises, by the depth rule of ShapeWalk (the walk over
// a JSON payload) and within its depthLimit.
namespace AvroShape {

// Nothing when the root (a named root resolved through the names table) is not a record, or the
// record gives no path. Only records are entered; a field whose type is a name the table does not
// hold is left out.
std::optional<MessageShape> fromSchema(const AvroSchema::Parsed& schema, int64_t maxDepth);

} // namespace AvroShape

} // namespace tessaron
