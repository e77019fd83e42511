// The decimal text of a double rounded to d decimals: the exact binary value
// rounded to nearest, ties to even, written as std::to_chars writes it in
// fixed notation with precision d ("12.500", "0.062", "3" for d = 0).
#pragma once

namespace marvist {

// Longest text fixed_decimal writes: 309 integer digits, the point and 99
// decimals.
inline constexpr int kFixedDecimalMax = 448;

// Writes the text of |v| and returns one past its end.
//   first  room for kFixedDecimalMax characters
//   v      a finite value; its sign is ignored
//   d      decimals, 0..99
// zero is set when every digit written is 0.
char* fixed_decimal(char* first, double v, int d, bool& zero);

}  // namespace marvist
