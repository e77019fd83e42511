// Counts and names as fields of a CSV file hold them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace marvist {

// The largest count a data file holds (32-bit signed integers).
inline constexpr std::int64_t kMaxCount = 2147483647;

enum class CountStatus { Ok, Empty, NotWhole, Negative, TooLarge };

// A count: digits, with blanks before and after allowed. value is set when
// the status is Ok.
CountStatus parse_count(std::string_view field, std::int32_t& value);

// What is wrong with field as a count and what was expected, as a sentence
// for an error message (status not Ok).
std::string count_problem(CountStatus status, std::string_view field);

// field without the blanks before and after it: a category name.
std::string_view name_of(std::string_view field);

// field for a message: in double quotes, cut to 40 bytes (not inside a
// UTF-8 character) with "..." after a cut.
std::string quoted_for_message(std::string_view field);

}  // namespace marvist
