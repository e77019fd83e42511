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

// 10^0 .. 10^19.
inline constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10;
    return p;
}();

// Number of decimal digits of v (1 for 0), without a loop: with b the bit
// length, t = floor(b log10 2) (1233 / 4096 for log10 2, exact for b <= 64)
// is the count of digits or one more. v | 1 has the digits of v, and of 1 for 0.
inline int count_digits(std::uint64_t v) {
    const std::uint64_t u = v | 1;
    const int t = ((64 - __builtin_clzll(u)) * 1233) >> 12;
    return t + 1 - (u < kPowersOfTen[static_cast<std::size_t>(t)] ? 1 : 0);
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
