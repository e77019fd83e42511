// Logarithms computed with + - * / only, so that they come out the same to
// the bit on every IEEE double platform (the system's log and lgamma differ
// between C libraries). The hypergeometric draws rest on them.
#pragma once

#include <cstdint>

namespace marvist {

// Natural logarithm of x > 0 (finite), within about two units in the last
// place.
double portable_log(double x);

// log(k!) for k >= 0: exact to the double for k < 126 (a table), Stirling's
// series with four terms above.
double log_factorial(std::int64_t k);

}  // namespace marvist
