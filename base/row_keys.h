// Key characters: category i is marked with character ((i - 1) mod 35) + 1
// of the cycle below, in printed matrices and in plots alike.
#pragma once

#include <cstdint>
#include <string_view>

namespace marvist {

inline constexpr std::string_view kKeyCharacters = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The key of category i (i >= 1), as a one-character view into kKeyCharacters.
inline std::string_view row_key(std::int64_t i) { return kKeyCharacters.substr(static_cast<std::size_t>((i - 1) % 35), 1); }

}  // namespace marvist
