#include "base/integer_text.h"

#include <limits>

namespace marvist {

bool parse_integer_field(std::string_view field, std::int64_t& value) {
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
    bool negative = false, sign = false, digits = false;
    std::uint64_t magnitude = 0;
    for (const char c : field) {
        if (c == ' ' || c == '\t') continue;
        if ((c == '+' || c == '-') && !sign && !digits) {
            sign = true;
            negative = c == '-';
            continue;
        }
        if (c < '0' || c > '9') return false;
        digits = true;
        const auto d = static_cast<std::uint64_t>(c - '0');
        // The most negative value has one more unit than the most positive.
        if (magnitude > (kMaxPositive + (negative ? 1 : 0) - d) / 10) return false;
        magnitude = magnitude * 10 + d;
    }
    if (sign && !digits) return false;
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

}  // namespace marvist
