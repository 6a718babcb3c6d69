#pragma once

#include <QString>

#include <cstdint>

namespace tessaron::CaseworkLogic {

// What a text or mark is coloured as; the views map it to a colour, the sentences stay widget-free.
enum class Tone { warning, allClear, muted, ink, neutral, accent, lavender };

// A share from 0 to 1 as a whole percent, halves away from zero (0.625 gives 63).
int wholePercent(double share);

// A 64-bit count (retained messages, lag, offsets) in the current locale's integer format, with
// grouping; never narrowed.
QString groupedCount(int64_t count);

// "p3": the letter p and the partition in plain digits.
QString partitionName(int32_t partition);

} // namespace tessaron::CaseworkLogic
