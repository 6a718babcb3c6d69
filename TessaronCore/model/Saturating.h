#pragma once

#include <cstdint>
#include <limits>

namespace tessaron {

// 64-bit arithmetic on figures brokers report (watermarks, offsets, lags): a result beyond the range
// sticks at its end instead of overflowing.
namespace Saturating {

inline int64_t add(int64_t a, int64_t b)
{
    int64_t r;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return r;
}

inline int64_t subtract(int64_t a, int64_t b)
{
    int64_t r;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return r;
}

// end - start, taken as 0 when negative: a partition's retained count, a position's lag.
inline int64_t span(int64_t start, int64_t end) { return end > start ? subtract(end, start) : 0; }

} // namespace Saturating

} // namespace tessaron
