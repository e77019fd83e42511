// The decimal text of a double rounded to d decimals: the exact binary value
// rounded to nearest, ties to even, written as std::to_chars writes it in
// fixed notation with precision d ("12.500", "0.062", "3" for d = 0).
#pragma once

#include <cstdint>

namespace marvist {

// Longest text fixed_decimal writes: 309 integer digits, the point and 99
// decimals.
inline constexpr int kFixedDecimalMax = 448;

// |v| * 10^d rounded to an integer, ties to even, computed exactly from the
// binary value. False, leaving scaled alone, when the value is outside what
// this computes: |v| of 2^52 and more, d above 19, a result of 2^64 or more.
//   v       a finite value; its sign is ignored
//   d       decimals, >= 0
//   scaled  the rounded integer
bool scaled_decimal(double v, int d, std::uint64_t& scaled);

// Writes the text of |v| and returns one past its end.
//   first  room for kFixedDecimalMax characters
//   v      a finite value; its sign is ignored
//   d      decimals, 0..99
// zero is set when every digit written is 0.
char* fixed_decimal(char* first, double v, int d, bool& zero);

}  // namespace marvist
