#include "stats/chi_square_tail.h"

#include <cmath>

#include <boost/math/policies/policy.hpp>
#include <boost/math/special_functions/gamma.hpp>

namespace marvist {
namespace {

// Computed in double throughout (no promotion to long double, whose width
// differs between platforms); errors are reported by exception, but the
// arguments are checked before the call.
using DoublePolicy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;

}  // namespace

std::optional<double> chi_square_upper_tail(double statistic, std::int64_t df) {
    if (df <= 0 || std::isnan(statistic)) return std::nullopt;
    if (statistic <= 0.0) return 1.0;
    if (std::isinf(statistic)) return 0.0;
    // The chi-square survival function is the regularised upper incomplete
    // gamma function Q(df/2, x/2).
    return boost::math::gamma_q(static_cast<double>(df) * 0.5, statistic * 0.5, DoublePolicy());
}

}  // namespace marvist
