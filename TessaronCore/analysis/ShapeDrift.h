#pragma once

#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/Message.h"

#include <QList>

namespace tessaron {

// The shape-drift verdict over the messages just read from one topic or queue.
namespace ShapeDrift {

// The smallest number of shaped messages that gets a verdict about agreement.
inline constexpr qsizetype minimumSample = 4;

// A message's shape is that of its Avro decoding when it carries one, else the shape of its decoded
// JSON, else of its raw payload (depth 2); messages without a shape take no part. Shapes are grouped
// by hash, so a sample costs one pass over the bytes.
ShapeVerdict verdict(const QList<Message>& messages);

} // namespace ShapeDrift

} // namespace tessaron
