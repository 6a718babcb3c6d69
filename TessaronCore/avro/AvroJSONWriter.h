#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaron {

// The compact JSON text the Avro decoder writes straight from the bytes: strings escaped as the
// registry client promises (quotation mark, reverse solidus, solidus and control characters; everything
// else as UTF-8), integers exactly, floating-point numbers in their shortest round-trip form, and the
// values JSON has no number for (NaN, infinities) as the strings "NaN", "Infinity" and "-Infinity".
class AvroJSONWriter {
public:
    std::string out;

    void raw(std::string_view text) { out.append(text); }
    void raw(char c) { out.push_back(c); }
    // `utf8` must already be valid UTF-8.
    void quoted(std::string_view utf8) { appendQuoted(out, utf8); }
    void integer(int64_t value);
    void number(double value);
    void number(float value);
    // The byte-rendering rule: UTF-8 text without NUL as itself, otherwise "0x" and the first 16 bytes
    // in hexadecimal, with the total count when there are more.
    void bytesText(std::string_view bytes);
    // A string or map key: UTF-8 text as itself (NUL included), otherwise the byte rendering.
    void stringText(std::string_view bytes);

    static void appendQuoted(std::string& out, std::string_view utf8);
    static bool isValidUTF8(std::string_view bytes, bool* hasNul = nullptr);
};

} // namespace tessaron
