#pragma once

#include "TessaronCore/analysis/SkewVerdict.h"
#include "TessaronCore/model/Topic.h"

namespace tessaron {

// The partition-skew verdict of one topic, from its partitions' watermarks alone.
namespace PartitionSkew {

// Below this many retained messages per partition on average, no verdict is given.
inline constexpr int64_t minimumPerPartition = 10;
// A partition holding at least this many times its fair share crowds the topic.
inline constexpr double skewFactor = 2.0;
// A partition holding at most this fraction of its fair share is idle.
inline constexpr double idleFraction = 0.1;

// Reads only the partitions' id, low and high; the declared depth of a queue plays no part.
// Counts saturate at the 64-bit limit instead of overflowing.
SkewVerdict verdict(const Topic& topic);

} // namespace PartitionSkew

} // namespace tessaron
