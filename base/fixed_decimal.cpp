#include "base/fixed_decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace marvist {
namespace {

using Wide = unsigned __int128;

constexpr int kMaxExactDecimals = 19;  // 10^19 still fits 64 bits

constexpr std::array<std::uint64_t, kMaxExactDecimals + 1> kPowersOfTen = [] {
    std::array<std::uint64_t, kMaxExactDecimals + 1> p{};
    p[0] = 1;
    for (std::size_t k = 1; k < p.size(); ++k) p[k] = p[k - 1] * 10;
    return p;
}();

// "00" "01" ... "99": two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> t{};
    for (int k = 0; k < 100; ++k) {
        t[static_cast<std::size_t>(2 * k)] = static_cast<char>('0' + k / 10);
        t[static_cast<std::size_t>(2 * k + 1)] = static_cast<char>('0' + k % 10);
    }
    return t;
}();

}  // namespace

// |v| = significand / 2^shift, so |v| * 10^d is the integer significand * 10^d
// shifted right by `shift`, and the bits shifted out decide the rounding.
bool scaled_decimal(double v, int d, std::uint64_t& result) {
    if (d > kMaxExactDecimals) return false;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased_exponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t significand = bits & ((std::uint64_t{1} << 52) - 1);
    int shift = 1074;  // subnormal
    if (biased_exponent != 0) {
        significand |= std::uint64_t{1} << 52;
        shift = 1075 - biased_exponent;
    }
    if (shift <= 0) return false;
    const Wide scaled = static_cast<Wide>(significand) * kPowersOfTen[static_cast<std::size_t>(d)];
    if (shift >= 128) {
        // scaled < 2^53 * 2^64 = 2^117, below half of 2^shift: rounds to 0.
        result = 0;
        return true;
    }
    Wide whole = scaled >> shift;
    const Wide rest = scaled - (whole << shift);
    const Wide half = Wide{1} << (shift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    if ((whole >> 64) != 0) return false;
    result = static_cast<std::uint64_t>(whole);
    return true;
}

namespace {

// The digits of scaled with the point before the last d of them and at
// least one digit before the point; no point when d is 0.
char* write_scaled(char* first, std::uint64_t scaled, int d) {
    char digits[32];  // right-aligned: up to 20 digits, or d + 1 <= 20 with zeros
    char* const end = digits + sizeof digits;
    char* p = end;
    while (scaled >= 100) {
        const auto pair = static_cast<std::size_t>(scaled % 100) * 2;
        scaled /= 100;
        p -= 2;
        std::memcpy(p, &kDigitPairs[pair], 2);
    }
    if (scaled >= 10) {
        p -= 2;
        std::memcpy(p, &kDigitPairs[static_cast<std::size_t>(scaled) * 2], 2);
    } else {
        *--p = static_cast<char>('0' + scaled);
    }
    while (end - p < d + 1) *--p = '0';
    const auto integer_digits = static_cast<std::size_t>(end - p - d);
    std::memcpy(first, p, integer_digits);
    first += integer_digits;
    if (d > 0) {
        *first++ = '.';
        std::memcpy(first, p + integer_digits, static_cast<std::size_t>(d));
        first += d;
    }
    return first;
}

}  // namespace

char* fixed_decimal(char* first, double v, int d, bool& zero) {
    std::uint64_t scaled = 0;
    if (scaled_decimal(v, d, scaled)) {
        zero = scaled == 0;
        return write_scaled(first, scaled, d);
    }
    // Large values and many decimals: the library's exact conversion.
    char* const end =
        std::to_chars(first, first + kFixedDecimalMax, std::fabs(v), std::chars_format::fixed, d).ptr;
    zero = std::all_of(first, end, [](char c) { return c == '0' || c == '.'; });
    return end;
}

}  // namespace marvist
