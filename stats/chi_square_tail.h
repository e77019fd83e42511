// Upper-tail probabilities of the chi-square distribution, the p-values of
// the chi-square statistics and approximations that a job reports.
#pragma once

#include <cstdint>
#include <optional>

namespace marvist {

// P(X >= statistic) for X chi-square with df degrees of freedom.
//   statistic  the observed value; 0 or below gives 1
//   df         degrees of freedom
// Nothing when the p-value does not exist: df of 0 or less, or a statistic
// that is not a number.
std::optional<double> chi_square_upper_tail(double statistic, std::int64_t df);

}  // namespace marvist
