#include "TessaronCore/avro/AvroLogicalText.h"

#include <charconv>
#include <vector>

namespace tessaron {

namespace {

// 0001-01-01 and 9999-12-31 as days since 1970-01-01.
constexpr int64_t kFirstDay = -719162;
constexpr int64_t kLastDay = 2932896;

void digits(std::string& out, int64_t value, int width)
{
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (int pad = width - int(end - buffer); pad > 0; --pad)
        out.push_back('0');
    out.append(buffer, end);
}

void outOfRange(std::string& out, int64_t raw, std::string_view unit)
{
    out.append("out of range: ");
    digits(out, raw, 0);
    out.push_back(' ');
    out.append(unit);
}

// Civil date of a day count in the proleptic Gregorian calendar (days within the four-digit years).
void civilDate(std::string& out, int64_t days)
{
    int64_t z = days + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t day = doy - (153 * mp + 2) / 5 + 1;
    int64_t month = mp < 10 ? mp + 3 : mp - 9;
    int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    digits(out, year, 4);
    out.push_back('-');
    digits(out, month, 2);
    out.push_back('-');
    digits(out, day, 2);
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

} // namespace

void AvroLogicalText::date(std::string& out, int64_t days)
{
    if (days < kFirstDay || days > kLastDay)
        return outOfRange(out, days, "days");
    civilDate(out, days);
}

void AvroLogicalText::timeOfDay(std::string& out, int64_t millis, int64_t raw, std::string_view unit)
{
    if (raw < 0)
        return outOfRange(out, raw, unit);
    digits(out, millis / 3600000, 2);
    out.push_back(':');
    digits(out, (millis / 60000) % 60, 2);
    out.push_back(':');
    digits(out, (millis / 1000) % 60, 2);
    if (millis % 1000 != 0) {
        out.push_back('.');
        digits(out, millis % 1000, 3);
    }
}

void AvroLogicalText::timestamp(std::string& out, int64_t millis, int64_t raw, std::string_view unit)
{
    int64_t days = floorDiv(millis, 86400000);
    if (days < kFirstDay || days > kLastDay)
        return outOfRange(out, raw, unit);
    int64_t ofDay = millis - days * 86400000;
    civilDate(out, days);
    out.push_back('T');
    digits(out, ofDay / 3600000, 2);
    out.push_back(':');
    digits(out, (ofDay / 60000) % 60, 2);
    out.push_back(':');
    digits(out, (ofDay / 1000) % 60, 2);
    out.push_back('.');
    digits(out, ofDay % 1000, 3);
    out.push_back('Z');
}

void AvroLogicalText::decimal(std::string& out, std::string_view bytes, int32_t scale)
{
    if (bytes.empty()) {
        out.push_back('0');
        return;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    bool negative = b[0] & 0x80;
    std::string text;
    if (bytes.size() <= 8) {
        // Fits a 64-bit magnitude: sign-extend and convert directly.
        uint64_t v = negative ? ~uint64_t(0) : 0;
        for (size_t i = 0; i < bytes.size(); ++i)
            v = (v << 8) | b[i];
        uint64_t magnitude = negative ? ~v + 1 : v;
        char buffer[24];
        text.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr);
    } else {
        std::vector<unsigned char> m(b, b + bytes.size());
        if (negative) {
            for (auto& byte : m)
                byte = static_cast<unsigned char>(~byte);
            for (size_t i = m.size(); i-- > 0;)
                if (++m[i] != 0)
                    break;
        }
        size_t first = 0;
        while (first < m.size()) {
            unsigned remainder = 0;
            for (size_t i = first; i < m.size(); ++i) {
                unsigned current = remainder * 256 + m[i];
                m[i] = static_cast<unsigned char>(current / 10);
                remainder = current % 10;
            }
            text.push_back(char('0' + remainder));
            while (first < m.size() && m[first] == 0)
                ++first;
        }
        if (text.empty())
            text.push_back('0'); // not `= "0"`: GCC 12 warns falsely (-Wrestrict) on that
        text.assign(text.rbegin(), text.rend());
    }
    if (scale > 0) {
        if (text.size() <= size_t(scale))
            text.insert(0, size_t(scale) + 1 - text.size(), '0');
        text.insert(text.size() - size_t(scale), 1, '.');
    }
    if (negative)
        out.push_back('-');
    out.append(text);
}

} // namespace tessaron
