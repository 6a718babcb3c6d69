#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaron {

// The texts the decoder gives Avro's logical types. Each appends the bare text (no quotes) to `out`.
// Moments outside the years 0001 to 9999, and negative times of day, cannot be written in the usual
// form; they read "out of range: " followed by the raw number and its unit.
struct AvroLogicalText {
    // Days since 1970-01-01: 2023-11-14.
    static void date(std::string& out, int64_t days);
    // Milliseconds since midnight: 12:34:56 or 12:34:56.789; hours are not reduced modulo 24.
    static void timeOfDay(std::string& out, int64_t millis, int64_t raw, std::string_view unit);
    // Milliseconds since the epoch, in UTC: 2023-11-14T22:13:20.123Z.
    static void timestamp(std::string& out, int64_t millis, int64_t raw, std::string_view unit);
    // A big-endian two's-complement unscaled value with its scale: 12.34, -0.005, 0.
    static void decimal(std::string& out, std::string_view bytes, int32_t scale);
};

} // namespace tessaron
