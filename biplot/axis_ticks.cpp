#include "biplot/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace marvist {

namespace {

// 10 to the power e by exact products (and one division for e < 0), the same
// on every IEEE machine.
double power_of_ten(int e) {
    double p = 1.0;
    for (int k = 0; k < (e < 0 ? -e : e); ++k) p *= 10.0;
    return e < 0 ? 1.0 / p : p;
}

}  // namespace

TickStep round_step(double at_least) {
    if (!(at_least > 0.0) || !std::isfinite(at_least) || at_least < 1e-290 || at_least > 1e290) return {};
    // The power of ten at or below at_least: log10 guesses, comparisons decide.
    int exponent = static_cast<int>(std::floor(std::log10(at_least)));
    while (power_of_ten(exponent) > at_least) --exponent;
    while (power_of_ten(exponent + 1) <= at_least) ++exponent;
    const double power = power_of_ten(exponent);
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * power >= at_least) return {multiple * power, std::max(0, -exponent)};
    }
    return {power_of_ten(exponent + 1), std::max(0, -(exponent + 1))};
}

std::vector<double> tick_values(double low, double high, double step) {
    std::vector<double> ticks;
    if (!(step > 0.0) || !std::isfinite(low) || !std::isfinite(high) || high < low) return ticks;
    const double first = std::ceil(low / step), last = std::floor(high / step);
    if (last - first > 199.0) return ticks;
    for (double k = first; k <= last; k += 1.0) ticks.push_back(k * step);
    return ticks;
}

}  // namespace marvist
