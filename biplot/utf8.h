// Reading UTF-8 text one code point at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace marvist {

inline constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

// The code point that starts at text[i], and i moved past it. A byte that
// does not start a well-formed sequence (overlong forms and surrogates
// included) gives U+FFFD and i moves by that one byte. i < text.size().
std::uint32_t next_code_point(std::string_view text, std::size_t& i);

// Appends the UTF-8 form of code point c (at most U+10FFFF) to out.
void append_utf8(std::string& out, std::uint32_t c);

}  // namespace marvist
