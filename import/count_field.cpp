#include "import/count_field.h"

namespace marvist {

std::string_view name_of(std::string_view field) {
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
    return field;
}

CountStatus parse_count(std::string_view field, std::int32_t& value) {
    field = name_of(field);
    if (field.empty()) return CountStatus::Empty;
    bool negative = false;
    if (field.front() == '-' && field.size() > 1) {
        negative = true;
        field.remove_prefix(1);
    }
    std::int64_t v = 0;
    bool too_large = false;
    for (char c : field) {
        if (c < '0' || c > '9') return CountStatus::NotWhole;
        if (!too_large) {
            v = v * 10 + (c - '0');
            too_large = v > kMaxCount;
        }
    }
    if (negative && (too_large || v != 0)) return CountStatus::Negative;
    if (too_large) return CountStatus::TooLarge;
    value = static_cast<std::int32_t>(v);
    return CountStatus::Ok;
}

std::string quoted_for_message(std::string_view field) {
    constexpr std::size_t kShown = 40;
    std::size_t cut = field.size();
    if (cut > kShown) {
        cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80) --cut;
    }
    std::string quoted(1, '"');
    quoted.append(field.substr(0, cut));
    if (cut < field.size()) quoted.append("...");
    quoted.push_back('"');
    return quoted;
}

std::string count_problem(CountStatus status, std::string_view field) {
    const std::string expected = "expected a count (a whole number from 0 to 2147483647)";
    switch (status) {
        case CountStatus::Empty:
            return "an empty field; " + expected;
        case CountStatus::Negative:
            return "found " + quoted_for_message(field) + ", a negative number; " + expected;
        case CountStatus::TooLarge:
            return "found " + quoted_for_message(field) +
                   ", too large for the data file (32-bit counts); " + expected;
        case CountStatus::NotWhole:
        case CountStatus::Ok:
            break;
    }
    return "found " + quoted_for_message(field) + "; " + expected;
}

}  // namespace marvist
