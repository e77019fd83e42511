#include "base/fixed_decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/decimal_digits.h"

namespace marvist {
namespace {

using Wide = unsigned __int128;

constexpr int kMaxExactDecimals = 19;  // 10^19 still fits 64 bits (kPowersOfTen)

// scaled / 2^shift rounded to an integer, ties to even; 1 <= shift < the
// bits of U, so that the result plus one still fits.
template <class U>
U rounded_shift(U scaled, int shift) {
    U whole = scaled >> shift;
    const U rest = scaled - (whole << shift);
    const U half = U{1} << (shift - 1);
    if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    return whole;
}

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
    const std::uint64_t power = kPowersOfTen[static_cast<std::size_t>(d)];
    // In 64 bits where the product fits (always for d <= 3).
    if (std::uint64_t narrow = 0; shift < 64 && !__builtin_mul_overflow(significand, power, &narrow)) {
        result = rounded_shift(narrow, shift);
        return true;
    }
    if (shift >= 128) {
        // significand * 10^d < 2^53 * 2^64 = 2^117, below half of 2^shift: rounds to 0.
        result = 0;
        return true;
    }
    const Wide whole = rounded_shift(static_cast<Wide>(significand) * power, shift);
    if ((whole >> 64) != 0) return false;
    result = static_cast<std::uint64_t>(whole);
    return true;
}

namespace {

// The digits of scaled with the point before the last d of them and at
// least one digit before the point; no point when d is 0.
char* write_scaled(char* first, std::uint64_t scaled, int d) {
    const int digits = count_digits(scaled);
    const int integer_digits = digits > d ? digits - d : 1;
    char* end = first + integer_digits + (d > 0 ? 1 + d : 0);
    char* p = end;
    const std::uint64_t whole = put_digits(p, scaled, d);
    if (d > 0) *--p = '.';
    put_digits(p, whole, integer_digits);
    return end;
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
