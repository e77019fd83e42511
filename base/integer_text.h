// Integer values in input text, shared by the layout and free-format readers.
#pragma once

#include <cstdint>
#include <string_view>

namespace marvist {

// Parses an optional sign and decimal digits; blanks and tabs anywhere are
// ignored and a text of blanks only is 0. False on a sign without digits,
// any other character, or a value outside the 64-bit range.
bool parse_integer_field(std::string_view field, std::int64_t& value);

}  // namespace marvist
