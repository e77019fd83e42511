// Decimal digits written from the right, two at a time.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace marvist {

// "00" "01" ... "99".
inline constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> t{};
    for (int k = 0; k < 100; ++k) {
        t[static_cast<std::size_t>(2 * k)] = static_cast<char>('0' + k / 10);
        t[static_cast<std::size_t>(2 * k + 1)] = static_cast<char>('0' + k % 10);
    }
    return t;
}();

// Number of decimal digits of v (1 for 0).
inline int count_digits(std::uint64_t v) {
    int n = 1;
    for (std::uint64_t power = 10; n < 20 && v >= power; power *= 10) ++n;
    return n;
}

// Writes the last `count` digits of v (leading zeros included) so that they
// end just before `end`; moves `end` back over them and returns v without them.
inline std::uint64_t put_digits(char*& end, std::uint64_t v, int count) {
    for (; count >= 2; count -= 2) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[static_cast<std::size_t>(v % 100) * 2], 2);
        v /= 100;
    }
    if (count == 1) {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return v;
}

}  // namespace marvist
