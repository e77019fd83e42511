#include "biplot/fixed_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace marvist {

std::string fixed_number(double v, int decimals) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
    decimals = std::clamp(decimals, 0, 12);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    // "-0.00": the value rounded to zero keeps its sign in to_chars.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

}  // namespace marvist
