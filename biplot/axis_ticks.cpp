#include "biplot/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace marvist {

TickStep round_step(double at_least) {
    if (!(at_least > 0.0) || !std::isfinite(at_least)) return {};
    int exponent = static_cast<int>(std::floor(std::log10(at_least)));
    double power = std::pow(10.0, exponent);
    // log10 may land one off near powers of ten.
    if (power > at_least) power = std::pow(10.0, --exponent);
    if (power * 10.0 <= at_least) power = std::pow(10.0, ++exponent);
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * power >= at_least) return {multiple * power, std::max(0, -exponent)};
    }
    return {10.0 * power, std::max(0, -(exponent + 1))};
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
