#include "stats/hypergeometric.h"

#include <algorithm>
#include <cmath>

#include "stats/log_factorial.h"

namespace marvist {
namespace {

// Inversion is used while min(sample, marked) is at most this (after the
// symmetries): the chance of 0 is then a product of at most that many
// factors and the search takes at most that many steps.
constexpr std::int64_t kInversionLimit = 32;

// The hat of the ratio-of-uniforms method: 2 sqrt(2/e) and 3 - 2 sqrt(3/e).
constexpr double kHatScale = 1.7155277699214135;
constexpr double kHatOffset = 0.8989161620588988;

// Inversion from 0 for the number k of the `small` items of one kind that
// fall into a sample of `large` items, out of `total`, where
// small <= large <= total / 2:
// P(0) = prod_{i < small} (total - large - i) / (total - i),
// P(k + 1) = P(k) (small - k)(large - k) / ((k + 1)(total - small - large + k + 1)).
std::int64_t draw_by_inversion(RandomStream& stream, std::int64_t small, std::int64_t large, std::int64_t total) {
    double p = 1.0;
    for (std::int64_t i = 0; i < small; ++i)
        p = p * static_cast<double>(total - large - i) / static_cast<double>(total - i);
    double u = uniform_real(stream);
    std::int64_t k = 0;
    while (u > p && k < small) {
        u = u - p;
        p = p * static_cast<double>((small - k) * (large - k)) /
            static_cast<double>((k + 1) * (total - small - large + k + 1));
        ++k;
    }
    return k;
}

double log_weight(std::int64_t k, std::int64_t marked, std::int64_t sample, std::int64_t rest) {
    return log_factorial(k) + log_factorial(marked - k) + log_factorial(sample - k) + log_factorial(rest + k);
}

// Stadlober's HRUA for k marked items in a sample, where sample and marked
// are at most total / 2. The density is scaled to 1 at its mode; the hat
// is centred at the mean + 1/2 with a width from the variance.
std::int64_t draw_by_ratio_of_uniforms(RandomStream& stream, std::int64_t marked, std::int64_t sample,
                                       std::int64_t total) {
    const std::int64_t rest = total - marked - sample;  // >= 0
    const double n = static_cast<double>(total);
    const double p = static_cast<double>(marked) / n;
    const double q = static_cast<double>(total - marked) / n;
    const double mean = static_cast<double>(sample) * p;
    const double variance = static_cast<double>(total - sample) * static_cast<double>(sample) * p * q / (n - 1.0);
    const double centre = mean + 0.5;
    const double spread = std::sqrt(variance + 0.5);
    const double width = kHatScale * spread + kHatOffset;
    // The mode floor((sample + 1)(marked + 1) / (total + 2)), in exact integers.
    const auto product = static_cast<unsigned __int128>(sample + 1) * static_cast<unsigned __int128>(marked + 1);
    const auto mode = static_cast<std::int64_t>(product / static_cast<unsigned __int128>(total + 2));
    const double log_mode_weight = log_weight(mode, marked, sample, rest);
    // Values beyond 16 spreads above the centre have a chance below 1e-50.
    const double bound = std::min(static_cast<double>(std::min(sample, marked) + 1), std::floor(centre + 16.0 * spread));
    for (;;) {
        const double u = uniform_real(stream);
        const double v = uniform_real(stream);
        const double x = centre + width * (v - 0.5) / u;
        if (x < 0.0 || x >= bound) continue;
        const auto k = static_cast<std::int64_t>(std::floor(x));
        // t = log of the density at k over the density at the mode.
        const double t = log_mode_weight - log_weight(k, marked, sample, rest);
        if (u * (4.0 - u) - 3.0 <= t) return k;  // 2 log u <= u(4 - u) - 3
        if (u * (u - t) >= 1.0) continue;        // 2 log u >= u - 1/u
        if (2.0 * portable_log(u) <= t) return k;
    }
}

}  // namespace

std::int64_t draw_hypergeometric(RandomStream& stream, std::int64_t marked, std::int64_t unmarked,
                                 std::int64_t sample) {
    const std::int64_t total = marked + unmarked;
    if (sample == 0 || marked == 0) return 0;
    if (unmarked == 0) return sample;
    if (sample == total) return marked;
    // Symmetries: draw k for the smaller kind and the smaller side of the
    // sample, then map back.
    const std::int64_t taken = std::min(sample, total - sample);
    const std::int64_t kind = std::min(marked, unmarked);
    std::int64_t k = 0;
    if (std::min(taken, kind) <= kInversionLimit)
        k = draw_by_inversion(stream, std::min(taken, kind), std::max(taken, kind), total);
    else
        k = draw_by_ratio_of_uniforms(stream, kind, taken, total);
    if (marked > unmarked) k = taken - k;  // the marked items in the taken side
    if (taken < sample) k = marked - k;    // the marked items left for the sample
    return k;
}

}  // namespace marvist
