// Fixed-width number fields of the layout notation. Each routine fills
// exactly w characters at out, right-justified; a value that does not fit
// fills them with asterisks.
#pragma once

#include <cstdint>

namespace marvist {

// Iw (m < 0) or Iw.m: at least m digits, zero-padded; Iw.0 of 0 is w blanks.
//   out  w characters to fill
//   w    field width, >= 1
//   m    minimum digit count, or -1 for none
//   v    the value
void format_integer(char* out, int w, int m, std::int64_t v);

// Fw.d: v rounded to d decimals, ties to even on the exact binary value; a
// '0' before the point only when there is room; no '-' on a value that
// rounds to zero; NaN, Inf/-Inf or Infinity/-Infinity for special values.
//   out  w characters to fill
//   w    field width, >= 1
//   d    decimals, 0..99
//   v    the value
void format_real(char* out, int w, int d, double v);

}  // namespace marvist
