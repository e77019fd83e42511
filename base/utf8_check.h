// Strict checks of UTF-8 text: overlong forms, surrogates and code points
// beyond U+10FFFF are not UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

namespace marvist {

// Length of the well-formed UTF-8 sequence of two to four bytes at p (at
// most `available` bytes there), or 0 when the bytes do not begin one.
// needs_more is set when the bytes there are a correct but cut beginning.
std::size_t utf8_sequence_length(const unsigned char* p, std::size_t available, bool& needs_more);

// True when text is well-formed UTF-8 from end to end.
bool is_utf8(std::string_view text);

}  // namespace marvist
