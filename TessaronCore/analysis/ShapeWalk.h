#pragma once

#include "TessaronCore/model/MessageShape.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace tessaron {

// A message shape made by walking a JSON payload (the walk over an Avro record schema is
// AvroShape, beside the schema). Both give nothing rather than a shape without paths.
//
// Depth rule: the top level is walked at depth 0; a nested object (record) is recorded as `object`
// and its members are walked at d + 1 only when d + 1 < maxDepth. maxDepth 2 records a and a.b but
// not a.b.c.
namespace ShapeWalk {

// Nothing for an absent payload, text that is not JSON, a top level other than an object, or an
// object that gives no path. Arrays are never entered; true and false are `bool`, 0 and 1 `number`.
// A text whose paths would outgrow it many times over (a huge key above many members) is refused too.
std::optional<MessageShape> fromPayload(const std::optional<QByteArray>& payload, int64_t maxDepth);
std::optional<MessageShape> fromPayload(QByteArrayView payload, int64_t maxDepth);
inline std::optional<MessageShape> fromPayload(const QByteArray& payload, int64_t maxDepth)
{
    return fromPayload(QByteArrayView(payload), maxDepth);
}

// The deepest level either walk enters, whatever maxDepth asks: a record that holds itself would
// otherwise be walked without end.
inline constexpr int64_t depthLimit = 1024;

} // namespace ShapeWalk

} // namespace tessaron
