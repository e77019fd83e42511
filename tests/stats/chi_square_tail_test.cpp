// Upper-tail chi-square probabilities against textbook quantiles and closed
// forms.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "stats/chi_square_tail.h"

namespace marvist {
namespace {

double tail(double statistic, std::int64_t df) { return chi_square_upper_tail(statistic, df).value(); }

// Wilson & Hilferty's cube-root normal approximation, accurate to a few
// parts in 1e5 and better for hundreds of degrees of freedom.
double wilson_hilferty(double x, double k) {
    const double z = (std::cbrt(x / k) - (1.0 - 2.0 / (9.0 * k))) / std::sqrt(2.0 / (9.0 * k));
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

TEST(ChiSquareTail, FivePercentPointsOfTheTables) {
    EXPECT_NEAR(tail(3.841459, 1), 0.05, 1e-7);
    EXPECT_NEAR(tail(5.991465, 2), 0.05, 1e-7);
    EXPECT_NEAR(tail(18.307, 10), 0.05, 1e-5);   // 18.307038 to 3 decimals
    EXPECT_NEAR(tail(124.342, 100), 0.05, 1e-5);  // 124.3421
    EXPECT_NEAR(tail(6.634897, 1), 0.01, 1e-7);
}

TEST(ChiSquareTail, ClosedFormsForOneAndTwoDegreesOfFreedom) {
    for (const double x : {1e-8, 0.1, 1.0, 3.5, 20.0, 150.0}) {
        EXPECT_NEAR(tail(x, 2), std::exp(-x / 2.0), 1e-14 * std::exp(-x / 2.0)) << x;
        EXPECT_NEAR(tail(x, 1), std::erfc(std::sqrt(x / 2.0)), 1e-13 * std::erfc(std::sqrt(x / 2.0))) << x;
    }
}

TEST(ChiSquareTail, ManyDegreesOfFreedomFollowTheCubeRootNormalLaw) {
    for (const double k : {1000.0, 1e6, 1e9}) {
        for (const double z : {-2.0, 0.0, 1.6448536, 3.0}) {
            const double x = k + z * std::sqrt(2.0 * k);
            const double tolerance = k == 1000.0 ? 2e-4 : 1e-6;
            EXPECT_NEAR(tail(x, static_cast<std::int64_t>(k)), wilson_hilferty(x, k), tolerance) << k << " " << z;
        }
    }
}

TEST(ChiSquareTail, EdgesOfTheDomain) {
    EXPECT_EQ(tail(0.0, 1), 1.0);
    EXPECT_EQ(tail(0.0, 500), 1.0);
    EXPECT_EQ(tail(-1e-12, 3), 1.0);  // a statistic rounded below 0
    EXPECT_EQ(tail(std::numeric_limits<double>::infinity(), 4), 0.0);
    const double far = tail(2000.0, 1);  // about 1e-437: below the smallest double
    EXPECT_GE(far, 0.0);
    EXPECT_LT(far, 1e-300);
    EXPECT_FALSE(chi_square_upper_tail(1.0, 0));
    EXPECT_FALSE(chi_square_upper_tail(1.0, -3));
    EXPECT_FALSE(chi_square_upper_tail(std::numeric_limits<double>::quiet_NaN(), 2));
}

}  // namespace
}  // namespace marvist
